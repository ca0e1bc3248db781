#include "services/FileManagerMenus.h"
#include "services/Registry.h"
#include "settings/FolderMenu.h"
#include "settings/HelpFile.h"
#include "settings/Options.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay;

namespace {

bool writeUtf8(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray optionsFileWith(const QByteArray &params)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><appSetting><object name=\"Options\">" + params
        + "</object></appSetting>";
}

QStringList keysOf(const OptionsTable &table)
{
    QStringList keys;
    for (const OptionsTable::Entry &e : table.entries())
        keys << e.key;
    return keys;
}

} // namespace

class OptionsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;

    // A fresh data folder, program folder and registry store for each case.
    struct Fixture {
        QString data, program, optionsFile;
        Registry registry;
    };
    Fixture fixture()
    {
        const QString base = m_dir.filePath(QString::number(++m_case));
        Fixture f{base + QStringLiteral("/data"),
                  base + QStringLiteral("/program"),
                  {},
                  Registry(RegistryStore(base + QStringLiteral("/registry.txt")))};
        f.optionsFile = f.data + QStringLiteral("/app.xml");
        QDir().mkpath(f.data);
        QDir().mkpath(f.program);
        return f;
    }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void defaultsInTheirOrder()
    {
        Fixture f = fixture();
        Options options(f.optionsFile, f.program);
        QVERIFY(!options.readOptionsFile());
        options.BuildOptions(f.registry);
        QCOMPARE(keysOf(options.table()),
                 (QStringList{"UiLang", "UiLoad", "FontNameOfFormControl", "FontSizeOfFormControl", "ReportHoldingDays",
                              "FolderContextMenu", "FolderContextMenuAccessKey"}));
        QCOMPARE(options.table().text(OptionKey::UiLang), QStringLiteral("en"));
        QCOMPARE(*options.table().get(OptionKey::FontSize), StoredValue::ofWhole(14));
        QCOMPARE(*options.table().get(OptionKey::ReportHoldingDays), StoredValue::ofWhole(60));
        QCOMPARE(options.table().text(OptionKey::FolderContextMenuAccessKey), QStringLiteral("B"));

        // The options object is created, with one param per key after StoreOptions.
        options.StoreOptions();
        const pugi::xml_node object =
            options.document().document_element().find_child_by_attribute("object", "name", "Options");
        QVERIFY(object);
        QCOMPARE(std::distance(object.children("param").begin(), object.children("param").end()), 7);
        QCOMPARE(QString::fromUtf8(object.first_child().attribute("name").value()), QStringLiteral("UiLang"));
        QCOMPARE(QString::fromUtf8(object.last_child().attribute("value").value()), QStringLiteral("B"));
    }

    void fileValues_data()
    {
        QTest::addColumn<QByteArray>("param");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("holding days abc") << QByteArray(R"(<param name="ReportHoldingDays" value="abc"/>)")
                                          << "ReportHoldingDays" << int(StoredValue::Kind::Whole) << "60";
        QTest::newRow("holding days 7.5") << QByteArray(R"(<param name="ReportHoldingDays" value="7.5"/>)")
                                          << "ReportHoldingDays" << int(StoredValue::Kind::Real) << "7.5";
        QTest::newRow("holding days 30") << QByteArray(R"(<param name="ReportHoldingDays" value="30"/>)")
                                         << "ReportHoldingDays" << int(StoredValue::Kind::Whole) << "30";
        QTest::newRow("font size empty") << QByteArray(R"(<param name="FontSizeOfFormControl" value=""/>)")
                                         << "FontSizeOfFormControl" << int(StoredValue::Kind::Whole) << "14";
        QTest::newRow("menu switch without value") << QByteArray(R"(<param name="FolderContextMenu"/>)")
                                                   << "FolderContextMenu" << int(StoredValue::Kind::Whole) << "0";
        QTest::newRow("font name text") << QByteArray(R"(<param name="FontNameOfFormControl" value="Noto Sans"/>)")
                                        << "FontNameOfFormControl" << int(StoredValue::Kind::Text) << "Noto Sans";
        QTest::newRow("numeric access key") << QByteArray(R"(<param name="FolderContextMenuAccessKey" value="25"/>)")
                                            << "FolderContextMenuAccessKey" << int(StoredValue::Kind::Whole) << "25";
    }

    void fileValues()
    {
        QFETCH(QByteArray, param);
        QFETCH(QString, key);
        QFETCH(int, kind);
        QFETCH(QString, text);
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile, optionsFileWith(param)));
        Options options(f.optionsFile, f.program);
        QVERIFY(options.readOptionsFile());
        options.BuildOptions(f.registry);
        const auto value = options.table().get(key);
        QVERIFY(value);
        QCOMPARE(int(value->kind()), kind);
        QCOMPARE(value->toText(), text);
    }

    void otherLetterCaseIsAnotherKey()
    {
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile, optionsFileWith(R"(<param name="fontsizeofformcontrol" value="9"/>)")));
        Options options(f.optionsFile, f.program);
        QVERIFY(options.readOptionsFile());
        options.BuildOptions(f.registry);
        QCOMPARE(options.table().text(OptionKey::FontSize), QStringLiteral("14"));
        QCOMPARE(options.table().text(QStringLiteral("fontsizeofformcontrol")), QStringLiteral("9"));
        QCOMPARE(keysOf(options.table()).last(), QStringLiteral("fontsizeofformcontrol"));
        // It is written back as a key of its own.
        options.StoreOptions();
        const pugi::xml_node object =
            options.document().document_element().find_child_by_attribute("object", "name", "Options");
        QVERIFY(object.find_child_by_attribute("param", "name", "fontsizeofformcontrol"));
        QCOMPARE(
            QString::fromUtf8(
                object.find_child_by_attribute("param", "name", "FontSizeOfFormControl").attribute("value").value()),
            QStringLiteral("14"));
    }

    void olderRegistryLocationComesBeforeTheFile()
    {
        Fixture f = fixture();
        QVERIFY(f.registry.writeRegistryNumber(QStringLiteral("Options"), QStringLiteral("ReportHoldingDays"), 10));
        QVERIFY(f.registry.writeRegistryText(QStringLiteral("Options"), QStringLiteral("FontNameOfFormControl"),
                                             QStringLiteral("Serif")));
        QVERIFY(f.registry.writeRegistryText(QStringLiteral("Options"), QStringLiteral("FontSizeOfFormControl"),
                                             QStringLiteral("big")));
        QVERIFY(writeUtf8(f.optionsFile, optionsFileWith(R"(<param name="FontNameOfFormControl" value="Sans"/>)")));
        Options options(f.optionsFile, f.program);
        static_cast<void>(options.readOptionsFile());
        options.BuildOptions(f.registry);
        QCOMPARE(*options.table().get(OptionKey::ReportHoldingDays), StoredValue::ofWhole(10));
        QCOMPARE(options.table().text(OptionKey::FontName), QStringLiteral("Sans"));
        QCOMPARE(options.table().text(OptionKey::FontSize), QStringLiteral("14"));
    }

    void unknownObjectsAndParamsSurvive()
    {
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile,
                          "<appSetting><object name=\"Plugin\" x=\"1\"><param name=\"a\" value=\"b\"/></object>"
                          "<object name=\"Options\"><param name=\"Extra\" value=\"e\"/></object></appSetting>"));
        Options options(f.optionsFile, f.program);
        QVERIFY(options.readOptionsFile());
        options.BuildOptions(f.registry);
        options.StoreOptions();
        QVERIFY(options.save());
        Options again(f.optionsFile, f.program);
        QVERIFY(again.readOptionsFile());
        const pugi::xml_node root = again.document().document_element();
        QVERIFY(root.find_child_by_attribute("object", "name", "Plugin").find_child_by_attribute("param", "name", "a"));
        again.BuildOptions(f.registry);
        QCOMPARE(again.table().text(QStringLiteral("Extra")), QStringLiteral("e"));
    }

    void deliveredOptionsFileIsCopiedOnlyWhenMissing()
    {
        Fixture f = fixture();
        const QByteArray delivered = optionsFileWith(R"(<param name="ReportHoldingDays" value="5"/>)");
        QVERIFY(writeUtf8(f.program + QStringLiteral("/app.xml"), delivered));
        Options options(f.optionsFile, f.program);
        QVERIFY(options.readOptionsFile());
        options.BuildOptions(f.registry);
        QCOMPARE(options.table().text(OptionKey::ReportHoldingDays), QStringLiteral("5"));

        QVERIFY(writeUtf8(f.optionsFile, optionsFileWith(R"(<param name="ReportHoldingDays" value="9"/>)")));
        Options second(f.optionsFile, f.program);
        QVERIFY(second.readOptionsFile());
        second.BuildOptions(f.registry);
        QCOMPARE(second.table().text(OptionKey::ReportHoldingDays), QStringLiteral("9"));
    }

    void unreadableOptionsFileGivesDefaults()
    {
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile, "<appSetting><object"));
        Options options(f.optionsFile, f.program);
        QVERIFY(!options.readOptionsFile());
        QCOMPARE(QString::fromUtf8(options.document().document_element().name()), QStringLiteral("appSetting"));
        options.BuildOptions(f.registry);
        QCOMPARE(options.table().text(OptionKey::ReportHoldingDays), QStringLiteral("60"));
    }

    void positions()
    {
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile,
                          "<appSetting><object name=\"FormMain\"><param name=\"Left\" value=\"-300\"/>"
                          "<param name=\"Top\" value=\"7.5\"/></object></appSetting>"));
        Options options(f.optionsFile, f.program);
        QVERIFY(options.readOptionsFile());
        QCOMPARE(options.readPosition(QStringLiteral("FormMain"), QStringLiteral("Left"), 500), -300);
        QCOMPARE(options.readPosition(QStringLiteral("FormMain"), QStringLiteral("Top"), 500), 500);
        // A missing param is created with its default.
        QCOMPARE(options.readPosition(QStringLiteral("FormSelectSetting"), QStringLiteral("SettingIndex"), 0), 0);
        const pugi::xml_node created = options.document()
                                           .document_element()
                                           .find_child_by_attribute("object", "name", "FormSelectSetting")
                                           .find_child_by_attribute("param", "name", "SettingIndex");
        QCOMPARE(QString::fromUtf8(created.attribute("value").value()), QStringLiteral("0"));
        options.writePosition(QStringLiteral("FormOptions"), QStringLiteral("Left"), 1234);
        QCOMPARE(options.readPosition(QStringLiteral("FormOptions"), QStringLiteral("Left"), 1000), 1234);
        // The bad value stays as it is until a window writes its position.
        QCOMPARE(QString::fromUtf8(
                     options.document().document_element().first_child().last_child().attribute("value").value()),
                 QStringLiteral("7.5"));
    }

    void accessKeys_data()
    {
        QTest::addColumn<QString>("fileText");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("title");
        QTest::newRow("1") << "1"
                           << "B"
                           << "Quill&bay the Renamer";
        QTest::newRow("0") << "0"
                           << "A"
                           << "Quillb&ay the Renamer";
        QTest::newRow("25") << "25"
                            << "Z"
                            << "Quillbay the Renamer (&Z)";
        QTest::newRow("26") << "26"
                            << "B"
                            << "Quill&bay the Renamer";
        QTest::newRow("-1") << "-1"
                            << "B"
                            << "Quill&bay the Renamer";
        QTest::newRow("X") << "X"
                           << "X"
                           << "Quillbay the Renamer (&X)";
        QTest::newRow("x") << "x"
                           << "B"
                           << "Quill&bay the Renamer";
        QTest::newRow("Q") << "Q"
                           << "Q"
                           << "&Quillbay the Renamer";
        QTest::newRow("R") << "R"
                           << "R"
                           << "Quillbay the &Renamer";
        QTest::newRow("empty") << ""
                               << "B"
                               << "Quill&bay the Renamer";
        QTest::newRow("two letters") << "XY"
                                     << "B"
                                     << "Quill&bay the Renamer";
    }

    void accessKeys()
    {
        QFETCH(QString, fileText);
        QFETCH(QString, key);
        QFETCH(QString, title);
        const QChar letter = FolderMenu::accessKey(StoredValue::fromText(fileText));
        QCOMPARE(QString(letter), key);
        QCOMPARE(FolderMenu::MenuTitle(QStringLiteral("Quillbay the Renamer"), letter), title);
    }

    void folderMenuValues()
    {
        Fixture f = fixture();
        QVERIFY(writeUtf8(f.optionsFile,
                          optionsFileWith(R"(<param name="FolderContextMenu" value="1"/>)"
                                          R"(<param name="FolderContextMenuAccessKey" value="25"/>)")));
        Options options(f.optionsFile, f.program);
        static_cast<void>(options.readOptionsFile());
        options.BuildOptions(f.registry);
        const FileManagerMenus menus(QStringLiteral("QuillbayOpener"), f.data + QStringLiteral("/share"),
                                     f.data + QStringLiteral("/config"), {});
        QVERIFY(options.WriteFolderMenuValues(f.registry, menus).ok());
        const QString key = QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\FolderMenu\\");
        QCOMPARE(f.registry.readRegistry(key + QStringLiteral("ShowMenu"))->whole(), Q_INT64_C(1));
        QCOMPARE(f.registry.readRegistry(key + QStringLiteral("MenuTitle"))->text(),
                 QStringLiteral("Quillbay the Renamer (&Z)"));
        QCOMPARE(f.registry.readRegistry(key + QStringLiteral("MenuHelp"))->text(),
                 QStringLiteral("Add the folder to Quillbay the Renamer"));

        // Switched off: ShowMenu 0, title and help left as they were.
        options.table().set(OptionKey::FolderContextMenu, StoredValue::ofWhole(2));
        options.table().set(OptionKey::FolderContextMenuAccessKey, StoredValue::ofText(QStringLiteral("B")));
        QVERIFY(options.WriteFolderMenuValues(f.registry, menus).ok());
        QCOMPARE(f.registry.readRegistry(key + QStringLiteral("ShowMenu"))->whole(), Q_INT64_C(0));
        QCOMPARE(f.registry.readRegistry(key + QStringLiteral("MenuTitle"))->text(),
                 QStringLiteral("Quillbay the Renamer (&Z)"));
    }

    void helpFile()
    {
        Fixture f = fixture();
        QStringList launched;
        HelpFile help(f.program, [&](const QString &program, const QStringList &arguments) {
            launched << program << arguments;
            return true;
        });
        QCOMPARE(help.helpFilePath(), f.program + QStringLiteral("/Quillbay.html"));
        QVERIFY(writeUtf8(f.program + QStringLiteral("/QuillbayEn.html"), "<html/>"));
        QCOMPARE(help.helpFilePath(), f.program + QStringLiteral("/QuillbayEn.html"));
        QVERIFY(help.showHelp(0));
        QCOMPARE(launched.value(0), QStringLiteral("xdg-open"));
        QCOMPARE(launched.value(1), QUrl::fromLocalFile(f.program + QStringLiteral("/QuillbayEn.html")).toString());
        launched.clear();
        QVERIFY(help.showHelp(12));
        QVERIFY(launched.value(1).endsWith(QStringLiteral("#context-12")));

        HelpFile failing(f.program, [](const QString &, const QStringList &) { return false; });
        QVERIFY(!failing.showHelp(0));
    }
};

QTEST_GUILESS_MAIN(OptionsTest)

#include "tst_options.moc"
