// The folder command in the file managers that read it from files: written
// when the folder-menu option is turned on, taken away when it is turned off,
// and the user's own Thunar actions left byte for byte.

#include "TestFiles.h"
#include "services/FileManagerMenus.h"
#include "services/Registry.h"
#include "services/ThunarActions.h"
#include "settings/FolderMenu.h"
#include "settings/Options.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// The user's own actions, written the way a person or an older Thunar might.
const QByteArray kUserActions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!-- my actions -->\n<actions>\n"
    "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Terminal \xe3\x81\x93\xe3\x81\x93</name>\n"
    "\t<unique-id>1521317528494802-1</unique-id>\n\t<command>exo-open --working-directory %f</command>\n"
    "\t<patterns>*</patterns>\n\t<directories/>\n</action>\n"
    "  <action><name>Edit &amp; go</name><unique-id>2</unique-id><command>x %F</command>"
    "<patterns>*.txt</patterns><text-files/></action>\n"
    "</actions>";

} // namespace

class FileManagerMenusTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;

    struct Homes {
        QString data, config, system;
        FileManagerMenus menus(const QString &opener = QStringLiteral("/usr/bin/QuillbayOpener")) const
        {
            return FileManagerMenus(opener, data, config, {system});
        }
    };
    Homes homes()
    {
        const QString base = m_dir.filePath(QString::number(++m_case));
        return {base + QStringLiteral("/share"), base + QStringLiteral("/config"), base + QStringLiteral("/etc-xdg")};
    }

    // Turns the option on or off as the options dialog does and writes the values.
    // The failures' text; empty when everything was written.
    static QString setOption(Options &options, Registry &registry, const FileManagerMenus &menus, bool on)
    {
        options.table().set(OptionKey::FolderContextMenu, StoredValue::ofWhole(on ? 1 : 0));
        return problems(options.WriteFolderMenuValues(registry, menus));
    }
    static QString problems(const Result<void> &result) { return result ? QString() : result.error().message; }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void optionOnAndOff()
    {
        const Homes h = homes();
        const FileManagerMenus menus = h.menus();
        writeFile(menus.thunarFile(), kUserActions);
        Registry registry(RegistryStore(m_dir.filePath(QStringLiteral("registry-%1.txt").arg(m_case))));
        Options options;
        options.BuildOptions(registry);

        QCOMPARE(setOption(options, registry, menus, true), QString());
        const QByteArray dolphin = readFile(menus.dolphinFile());
        QVERIFY(dolphin.contains("\nMimeType=inode/directory;\n"));
        QVERIFY(dolphin.contains("\nName=Quillbay the Renamer\n"));
        QVERIFY(dolphin.contains("\nExec=/usr/bin/QuillbayOpener %F\n"));
        QVERIFY(QFileInfo(menus.dolphinFile()).isExecutable());
        const QByteArray nemoSelected = readFile(menus.nemoFiles()[0]);
        QVERIFY(nemoSelected.contains("\nName=Quill_bay the Renamer\n"));
        QVERIFY(nemoSelected.contains("\nComment=Add the folder to Quillbay the Renamer\n"));
        QVERIFY(nemoSelected.contains("\nExec=/usr/bin/QuillbayOpener %F\n"));
        QVERIFY(nemoSelected.contains("\nSelection=notnone\n"));
        QVERIFY(readFile(menus.nemoFiles()[1]).contains("\nExec=/usr/bin/QuillbayOpener %P\n"));
        const QByteArray thunar = readFile(menus.thunarFile());
        QVERIFY(thunar.contains("<command>/usr/bin/QuillbayOpener %F</command>"));
        QVERIFY(thunar.contains("<name>Quillbay the Renamer</name>"));
        QVERIFY(thunar.startsWith(kUserActions.left(kUserActions.lastIndexOf("</actions>"))));
        QVERIFY(thunar.endsWith("</action>\n</actions>"));

        // Writing again changes nothing; a new access key changes only our entry.
        QCOMPARE(setOption(options, registry, menus, true), QString());
        QCOMPARE(readFile(menus.thunarFile()), thunar);
        options.table().set(OptionKey::FolderContextMenuAccessKey, StoredValue::ofText(QStringLiteral("Z")));
        QCOMPARE(setOption(options, registry, menus, true), QString());
        QVERIFY(readFile(menus.nemoFiles()[0]).contains("\nName=Quillbay the Renamer (_Z)\n"));
        QCOMPARE(readFile(menus.thunarFile()).count("quillbay-the-renamer-open-folder"), 1);

        QCOMPARE(setOption(options, registry, menus, false), QString());
        QVERIFY(!QFileInfo::exists(menus.dolphinFile()));
        QVERIFY(!QFileInfo::exists(menus.nemoFiles()[0]));
        QVERIFY(!QFileInfo::exists(menus.nemoFiles()[1]));
        QCOMPARE(readFile(menus.thunarFile()), kUserActions);
        QCOMPARE(
            registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\FolderMenu\\ShowMenu"))->whole(),
            Q_INT64_C(0));
    }

    void thunarFileStartsFromTheSystemsAndGoesAgain()
    {
        const Homes h = homes();
        const FileManagerMenus menus = h.menus();
        const QByteArray system =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action><name>Open Terminal Here"
            "</name><unique-id>1</unique-id><command>t</command></action>\n</actions>\n";
        writeFile(h.system + QStringLiteral("/Thunar/uca.xml"), system);
        QCOMPARE(problems(menus.write(QStringLiteral("Quill&bay the Renamer"), QStringLiteral("help"))), QString());
        const QByteArray written = readFile(menus.thunarFile());
        QVERIFY(written.contains("Open Terminal Here"));
        QVERIFY(written.contains("quillbay-the-renamer-open-folder"));
        QCOMPARE(problems(menus.remove()), QString());
        QVERIFY(!QFileInfo::exists(menus.thunarFile()));

        // Without a system file the new file holds our action alone, and goes too.
        QFile::remove(h.system + QStringLiteral("/Thunar/uca.xml"));
        QCOMPARE(problems(menus.write(QStringLiteral("T"), QStringLiteral("h"))), QString());
        QVERIFY(readFile(menus.thunarFile()).contains("quillbay-the-renamer-open-folder"));
        QCOMPARE(problems(menus.remove()), QString());
        QVERIFY(!QFileInfo::exists(menus.thunarFile()));
    }

    void thunarEditsLeaveTheRest_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("readable");

        QTest::newRow("user's actions") << QString::fromUtf8(kUserActions) << true;
        QTest::newRow("no line breaks") << "<actions><action><unique-id>a</unique-id></action></actions>" << true;
        QTest::newRow("empty root") << "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n" << true;
        QTest::newRow("ours twice among others")
            << "<actions>\n<action><unique-id>quillbay-the-renamer-open-folder</unique-id></action>\n<action><unique-id>"
               "b</unique-id></action>\n<action><unique-id> quillbay-the-renamer-open-folder </unique-id></action>\n</actions>\n"
            << true;
        QTest::newRow("not well formed") << "<actions><action></actions>" << false;
        QTest::newRow("another root") << "<menu><action/></menu>" << false;
        QTest::newRow("empty file") << "" << false;
    }

    void thunarEditsLeaveTheRest()
    {
        QFETCH(QString, file);
        QFETCH(bool, readable);
        const QString id = QStringLiteral("quillbay-the-renamer-open-folder");
        const QString action = QStringLiteral("<action><unique-id>%1</unique-id><name>N</name></action>").arg(id);
        const Result<QString> with = ThunarActions::withAction(file, id, action);
        QCOMPARE(with.ok(), readable);
        if (!readable) {
            QVERIFY(!with.error().message.isEmpty());
            return;
        }
        QCOMPARE(with->count(action), 1);
        QCOMPARE(ThunarActions::withAction(*with, id, action).valueOr(QString()), *with);
        const Result<QString> without = ThunarActions::withoutAction(*with, id);
        QVERIFY(without.ok());
        QVERIFY(!without->contains(id));
        if (!file.contains(id))
            QCOMPARE(*without, file);
    }

    void commandsQuoteTheOpenerPath()
    {
        const Homes h = homes();
        const FileManagerMenus menus = h.menus(QStringLiteral("/opt/My \"Apps\"/QuillbayOpener"));
        QCOMPARE(problems(menus.write(QStringLiteral("A&&B"), QStringLiteral("h"))), QString());
        const QByteArray dolphin = readFile(menus.dolphinFile());
        QVERIFY2(dolphin.contains("\nExec=\"/opt/My \\\\\"Apps\\\\\"/QuillbayOpener\" %F\n"), dolphin.constData());
        QVERIFY(dolphin.contains("\nName=A&B\n"));
        QVERIFY(readFile(menus.nemoFiles()[0]).contains("\nExec='/opt/My \"Apps\"/QuillbayOpener' %F\n"));
        QVERIFY(
            readFile(menus.thunarFile()).contains("<command>'/opt/My &quot;Apps&quot;/QuillbayOpener' %F</command>"));
    }

    void unusableThunarFileIsLeftAlone()
    {
        const Homes h = homes();
        const FileManagerMenus menus = h.menus();
        const QByteArray latin1 = "<actions><action><name>Caf\xe9</name></action></actions>";
        writeFile(menus.thunarFile(), latin1);
        const QString written = problems(menus.write(QStringLiteral("T"), QStringLiteral("h")));
        QCOMPARE(written.count(u'\n'), 0);
        QVERIFY2(written.contains(QStringLiteral("not UTF-8")), qPrintable(written));
        QCOMPARE(readFile(menus.thunarFile()), latin1);
        QVERIFY(QFileInfo::exists(menus.dolphinFile()));
        QVERIFY(problems(menus.remove()).contains(QStringLiteral("not UTF-8")));
        QCOMPARE(readFile(menus.thunarFile()), latin1);
    }

    void linkedThunarFileStaysALink()
    {
        const Homes h = homes();
        const FileManagerMenus menus = h.menus();
        const QString kept = h.data + QStringLiteral("/dotfiles/uca.xml");
        writeFile(kept, kUserActions);
        QDir().mkpath(QFileInfo(menus.thunarFile()).absolutePath());
        QVERIFY(QFile::link(kept, menus.thunarFile()));
        QCOMPARE(problems(menus.write(QStringLiteral("T"), QStringLiteral("h"))), QString());
        QVERIFY(QFileInfo(menus.thunarFile()).isSymLink());
        QVERIFY(readFile(kept).contains("quillbay-the-renamer-open-folder"));
        QCOMPARE(problems(menus.remove()), QString());
        QVERIFY(QFileInfo(menus.thunarFile()).isSymLink());
        QCOMPARE(readFile(kept), kUserActions);
    }
};

QTEST_GUILESS_MAIN(FileManagerMenusTest)
#include "tst_filemanagermenus.moc"
