// The Nautilus extension QuillbayMenu, loaded as Nautilus loads it: its
// registry reader against files written by the main program's own writer,
// its menu item by the folder-menu values, and the call it makes on the bus.

#include "NautilusStandIns.h"
#include "RegistryReader.h"

#include "FakeBusServices.h"
#include "FakeFolderTarget.h"
#include "TestSessionBus.h"
#include "automation/AutomationService.h"
#include "automation/FolderRequestQueue.h"
#include "services/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using quillbay::AutomationService;
using quillbay::Registry;
using quillbay::StoredValue;
using Delivery = FakeFolderTarget::Delivery;

namespace {

// A selection as the file manager hands it: (uri, is a folder) pairs.
using Selection = QList<QPair<QString, bool>>;

const QString kFolderMenuKey = QStringLiteral("Software\\Tolvane\\Quillbay\\FolderMenu");

struct MenuItem {
    QString name;
    QString label;
    QString tip;
};

// The values of the items the provider gives, and the items themselves
// (owned by the caller: free with nautilus_menu_item_list_free).
QList<MenuItem> describe(GList *items)
{
    QList<MenuItem> described;
    for (GList *item = items; item != nullptr; item = item->next) {
        gchar *name = nullptr;
        gchar *label = nullptr;
        gchar *tip = nullptr;
        g_object_get(item->data, "name", &name, "label", &label, "tip", &tip, nullptr);
        described.append({QString::fromUtf8(name), QString::fromUtf8(label), QString::fromUtf8(tip)});
        g_free(name);
        g_free(label);
        g_free(tip);
    }
    return described;
}

GList *selection(const Selection &entries)
{
    GList *files = nullptr;
    for (const auto &[uri, directory] : entries)
        files = g_list_append(files, qb_fake_file_info_new(uri.toUtf8().constData(), directory));
    return files;
}

QString uriOf(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString registryFile()
{
    return Registry().store().filePath();
}

// Writes the values through the main program's own registry writer; a
// missing value is written as nothing.
void writeFolderMenu(const std::optional<StoredValue> &show, const QString &title, const QString &help)
{
    QFile::remove(registryFile());
    Registry registry;
    if (show && show->kind() == StoredValue::Kind::Whole)
        registry.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), quint32(show->whole()));
    else if (show)
        registry.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), show->text());
    if (!title.isNull())
        registry.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuTitle"), title);
    if (!help.isNull())
        registry.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuHelp"), help);
}

} // namespace

class ShellMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void readerAgreesWithTheWriter_data();
    void readerAgreesWithTheWriter();
    void extensionListsOneMenuProvider();
    void itemByFolderMenuValues_data();
    void itemByFolderMenuValues();
    void itemOnlyForALocalFolder_data();
    void itemOnlyForALocalFolder();
    void activationHandsTheFolderOver_data();
    void activationHandsTheFolderOver();
    void activationStartsTheProgram();
    void failureIsShownAsError();

private:
    GList *fileItems(GList *files);
    // Activates the only item for the folder and returns it done.
    void activateFor(const QString &folder);

    std::unique_ptr<TestSessionBus> m_bus;
    NautilusMenuProvider *m_provider = nullptr;
    QTemporaryDir m_folders{QDir::homePath() + QStringLiteral("/folders-XXXXXX")};
};

void ShellMenuTest::initTestCase()
{
    m_bus = std::make_unique<TestSessionBus>();
    QVERIFY2(m_bus->error().isEmpty(), qPrintable(m_bus->error()));
    char *error = nullptr;
    GTypeModule *module = qb_extension_module_load(QUILLBAY_MENU_MODULE, &error);
    QVERIFY2(module != nullptr, error);
    const GType *types = nullptr;
    int count = 0;
    qb_extension_module_types(module, &types, &count);
    QCOMPARE(count, 1);
    m_provider = NAUTILUS_MENU_PROVIDER(g_object_new(types[0], nullptr));
    QDir(m_folders.path()).mkpath(QStringLiteral("Photos 2004"));
    QDir(m_folders.path()).mkpath(QStringLiteral("Scans"));
}

void ShellMenuTest::cleanupTestCase()
{
    g_clear_object(&m_provider);
}

GList *ShellMenuTest::fileItems(GList *files)
{
    GList *items = nautilus_menu_provider_get_file_items(m_provider, files);
    g_list_free_full(files, g_object_unref);
    return items;
}

void ShellMenuTest::readerAgreesWithTheWriter_data()
{
    QTest::addColumn<QByteArray>("file");

    // Files written by the program's own writer.
    const auto written = [](const std::function<void(Registry &)> &write) {
        QFile::remove(registryFile());
        Registry registry;
        write(registry);
        QFile in(registryFile());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    QTest::newRow("written: number and texts") << written([](Registry &r) {
        r.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 1);
        r.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuTitle"),
                            QStringLiteral("Quill&bay the Renamer"));
        r.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuHelp"),
                            QStringLiteral("100% \u30D5\u30A9\u30EB\u30C0\u30FC\n\tnext line"));
    });
    QTest::newRow("written: largest number, empty text") << written([](Registry &r) {
        r.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 4294967295u);
        r.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuTitle"), QString());
    });
    QTest::newRow("written: other keys around") << written([](Registry &r) {
        r.writeRegistryText(QStringLiteral("Options"), QStringLiteral("ShowMenu"), QStringLiteral("x"));
        r.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 0);
        r.writeRegistryNumber(QStringLiteral("FolderMenu\\Sub"), QStringLiteral("MenuTitle"), 3);
    });
    // Files as a person or an older program might leave them.
    QTest::newRow("letter case, backslashes, CRLF")
        << QByteArray("QuillbayRegistry 1\r\nkey \\SOFTWARE\\tolvane\\Quillbay\\foldermenu\\\r\n"
                      "number showmenu 7\r\ntext MENUTITLE A%26B\r\n");
    QTest::newRow("unreadable lines are skipped")
        << QByteArray("QuillbayRegistry 1\nnumber ShowMenu 1\nkey Software\\Tolvane\\Quillbay\\FolderMenu\n"
                      "number ShowMenu 4294967296\nnumber ShowMenu +1\ntext MenuTitle bad%4\ndword MenuHelp 1\n"
                      "number ShowMenu 007\ntext MenuTitle good%20one\ntext  MenuHelp x\n");
    QTest::newRow("broken key line keeps the key before it")
        << QByteArray("key Software\\Tolvane\\Quillbay\\FolderMenu\nkey bad%zz\nnumber ShowMenu 2\n"
                      "key Other\nkey %5C\ntext MenuTitle other\n");
    QTest::newRow("key in two blocks, first value counts") << QByteArray(
        "key Software\\Tolvane\\Quillbay\\FolderMenu\nbytes ShowMenu 01000000\nkey Other\n"
        "key Software\\Tolvane\\Quillbay\\FolderMenu\nnumber ShowMenu 5\ntext MenuHelp %\nnumber ShowMenu 6\n");
    QTest::newRow("header only later, empty file parts")
        << QByteArray("\n\nQuillbayRegistry 1\nkey Software\\Tolvane\\Quillbay\\FolderMenu\n\n"
                      "number ShowMenu 3");
}

void ShellMenuTest::readerAgreesWithTheWriter()
{
    QFETCH(QByteArray, file);
    QVERIFY(!file.isEmpty());
    QFile out(registryFile());
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    Registry registry;
    for (const QString &name : {QStringLiteral("ShowMenu"), QStringLiteral("MenuTitle"), QStringLiteral("MenuHelp")}) {
        const std::optional<StoredValue> expected =
            registry.readRegistry(QStringLiteral("HKCU\\") + kFolderMenuKey + u'\\' + name);
        QbRegistryValue value;
        qb_registry_lookup(file.constData(), gsize(file.size()), QB_FOLDER_MENU_KEY, name.toUtf8().constData(), &value);
        const QString context = name + QStringLiteral(" in ") + QString::fromUtf8(file);
        if (!expected) {
            QVERIFY2(value.type == QB_REGISTRY_ABSENT, qPrintable(context));
        } else if (expected->kind() == StoredValue::Kind::Whole) {
            QVERIFY2(value.type == QB_REGISTRY_NUMBER, qPrintable(context));
            QCOMPARE(qint64(value.number), expected->whole());
        } else if (expected->kind() == StoredValue::Kind::Text) {
            QVERIFY2(value.type == QB_REGISTRY_TEXT, qPrintable(context));
            QCOMPARE(QString::fromUtf8(value.text), expected->text());
        } else {
            QVERIFY2(value.type == QB_REGISTRY_BYTES, qPrintable(context));
        }
        qb_registry_value_clear(&value);
    }
}

void ShellMenuTest::extensionListsOneMenuProvider()
{
    QVERIFY(NAUTILUS_IS_MENU_PROVIDER(m_provider));
    QCOMPARE(QString::fromUtf8(G_OBJECT_TYPE_NAME(m_provider)), QStringLiteral("QuillbayContextMenu"));
}

void ShellMenuTest::itemByFolderMenuValues_data()
{
    QTest::addColumn<std::optional<StoredValue>>("show");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("label"); // empty: no item
    QTest::addColumn<QString>("tip");

    const QString defaultTitle = QStringLiteral("Open with Quillbay the Renamer");
    const QString defaultHelp = QStringLiteral("Add the folder to Quillbay the Renamer");
    QTest::newRow("shown, texts from the program") << std::optional(StoredValue::ofWhole(1)) << "Quill&bay the Renamer"
                                                   << "Add the folder"
                                                   << "Quill_bay the Renamer"
                                                   << "Add the folder";
    QTest::newRow("shown, no texts: defaults")
        << std::optional(StoredValue::ofWhole(1)) << QString() << QString() << defaultTitle << defaultHelp;
    QTest::newRow("any number but 0 shows it")
        << std::optional(StoredValue::ofWhole(2)) << "a_b && c (&Z)" << QString() << "a__b & c (_Z)" << defaultHelp;
    QTest::newRow("ShowMenu 0") << std::optional(StoredValue::ofWhole(0)) << "x"
                                << "y" << QString() << QString();
    QTest::newRow("ShowMenu as text") << std::optional(StoredValue::ofText(QStringLiteral("1"))) << "x"
                                      << "y" << QString() << QString();
    QTest::newRow("no ShowMenu") << std::optional<StoredValue>() << "x"
                                 << "y" << QString() << QString();
}

void ShellMenuTest::itemByFolderMenuValues()
{
    QFETCH(std::optional<StoredValue>, show);
    QFETCH(QString, title);
    QFETCH(QString, help);
    QFETCH(QString, label);
    QFETCH(QString, tip);
    writeFolderMenu(show, title, help);

    GList *items = fileItems(selection({{uriOf(m_folders.filePath(QStringLiteral("Scans"))), true}}));
    const QList<MenuItem> described = describe(items);
    nautilus_menu_item_list_free(items);
    if (label.isEmpty()) {
        QVERIFY(described.isEmpty());
        return;
    }
    QCOMPARE(described.size(), 1);
    QCOMPARE(described[0].label, label);
    QCOMPARE(described[0].tip, tip);
}

void ShellMenuTest::itemOnlyForALocalFolder_data()
{
    QTest::addColumn<Selection>("entries");
    QTest::addColumn<bool>("item");
    QTest::newRow("a file") << Selection{{uriOf(QStringLiteral("/data/a.txt")), false}} << false;
    QTest::newRow("a remote folder") << Selection{{QStringLiteral("sftp://host/photos"), true}} << false;
    QTest::newRow("a file, then a folder")
        << Selection{{uriOf(QStringLiteral("/data/a.txt")), false}, {uriOf(QStringLiteral("/data")), true}} << true;
    QTest::newRow("nothing selected") << Selection{} << false;
}

void ShellMenuTest::itemOnlyForALocalFolder()
{
    QFETCH(Selection, entries);
    QFETCH(bool, item);
    writeFolderMenu(StoredValue::ofWhole(1), QString(), QString());
    GList *items = fileItems(selection(entries));
    QCOMPARE(g_list_length(items), item ? 1u : 0u);
    nautilus_menu_item_list_free(items);
}

void ShellMenuTest::activationHandsTheFolderOver_data()
{
    QTest::addColumn<bool>("background");
    QTest::addColumn<Selection>("entries");
    QTest::addColumn<QString>("folder"); // below the test's folders

    const QString photos = m_folders.filePath(QStringLiteral("Photos 2004"));
    const QString scans = m_folders.filePath(QStringLiteral("Scans"));
    QTest::newRow("first of several folders")
        << false
        << Selection{{uriOf(QStringLiteral("/data/a.txt")), false}, {uriOf(photos), true}, {uriOf(scans), true}}
        << photos;
    QTest::newRow("the folder shown (background)") << true << Selection{{uriOf(scans), true}} << scans;
}

void ShellMenuTest::activationHandsTheFolderOver()
{
    QFETCH(bool, background);
    QFETCH(Selection, entries);
    QFETCH(QString, folder);
    writeFolderMenu(StoredValue::ofWhole(1), QString(), QString());
    FakeFolderTarget window;
    window.closeAtOnce = true;
    quillbay::FolderRequestQueue queue(window);
    AutomationService service(queue);
    QVERIFY(service.start().ok());

    GList *items = nullptr;
    if (background) {
        NautilusFileInfo *current = qb_fake_file_info_new(entries.first().first.toUtf8().constData(), TRUE);
        items = nautilus_menu_provider_get_background_items(m_provider, current);
        g_object_unref(current);
    } else {
        items = fileItems(selection(entries));
    }
    QCOMPARE(g_list_length(items), 1u);
    nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(items->data));
    nautilus_menu_item_list_free(items);
    QTRY_COMPARE(window.deliveries, (QList<Delivery>{{folder, 0}}));
    QTest::qWait(200);
    QCOMPARE(window.deliveries.size(), 1);
}

void ShellMenuTest::activationStartsTheProgram()
{
    writeFolderMenu(StoredValue::ofWhole(1), QString(), QString());
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/started-XXXXXX"));
    const QString recordFile = folder.filePath(QStringLiteral("record.txt"));
    QVERIFY(m_bus->addService(AutomationService::serviceName(), QStringLiteral(FAKE_QUILLBAY), {recordFile}));
    QCOMPARE(m_bus->ownerPid(AutomationService::serviceName()), 0);

    const QString scans = m_folders.filePath(QStringLiteral("Scans"));
    GList *items = fileItems(selection({{uriOf(scans), true}}));
    QCOMPARE(g_list_length(items), 1u);
    nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(items->data));
    nautilus_menu_item_list_free(items);

    QFile record(recordFile);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > QByteArray("ready\n").size(), 30000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll()), QStringLiteral("ready\ndeliver 0 ") + scans + u'\n');

    QVERIFY(m_bus->endStartedProgram(AutomationService::serviceName()));
}

void ShellMenuTest::failureIsShownAsError()
{
    writeFolderMenu(StoredValue::ofWhole(1), QString(), QString());
    FailingFolderService failing;
    QVERIFY(failing.serve());
    FakeNotifications notices;
    QVERIFY(notices.serve());

    const QString scans = m_folders.filePath(QStringLiteral("Scans"));
    GList *items = fileItems(selection({{uriOf(scans), true}}));
    nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(items->data));
    nautilus_menu_item_list_free(items);
    QTRY_COMPARE(notices.summaries, QStringList{QStringLiteral("Error: ") + FailingFolderService::errorMessage()});
    QCOMPARE(failing.paths, QStringList{scans});
    QCOMPARE(notices.icons, QStringList{QStringLiteral("dialog-information")});
    failing.withdraw();
    notices.withdraw();
}

QTEST_GUILESS_MAIN(ShellMenuTest)
#include "tst_shellmenu.moc"
