#include "TestFiles.h"
#include "services/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay;
using namespace quillbay::test;

class RegistryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString storePath() const { return m_dir.filePath(QStringLiteral("config/Tolvane/Quillbay/registry.txt")); }

private slots:
    void init() { QFile::remove(storePath()); }

    void defaultPathFollowsConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("cfg")).toUtf8());
        QCOMPARE(RegistryStore::defaultFilePath(), m_dir.filePath(QStringLiteral("cfg/Tolvane/Quillbay/registry.txt")));
        qputenv("XDG_CONFIG_HOME", "relative/ignored");
        QCOMPARE(RegistryStore::defaultFilePath(),
                 QDir(qEnvironmentVariable("HOME")).filePath(QStringLiteral(".config/Tolvane/Quillbay/registry.txt")));
        qputenv("XDG_CONFIG_HOME", saved);
    }

    void writtenValuesReadBackByType()
    {
        Registry registry{RegistryStore(storePath())};
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 1));
        QVERIFY(registry.writeRegistryText(QStringLiteral("FolderMenu"), QStringLiteral("MenuTitle"),
                                           QStringLiteral("Quill&bay the Renamer")));
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 4294967295u));

        const auto show =
            registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\FolderMenu\\ShowMenu"));
        QVERIFY(show);
        QCOMPARE(show->kind(), StoredValue::Kind::Whole);
        QCOMPARE(show->whole(), Q_INT64_C(4294967295));
        // Key paths and value names are compared without regard to case.
        const auto title = registry.readRegistry(
            QStringLiteral("HKEY_CURRENT_USER\\software\\tolvane\\quillbay\\foldermenu\\menutitle"));
        QVERIFY(title);
        QCOMPARE(title->text(), QStringLiteral("Quill&bay the Renamer"));

        const QList<RegistryNamedValue> values = registry.registryValues(
            RegistryRoot::CurrentUser, QStringLiteral("Software\\Tolvane\\Quillbay\\FolderMenu"));
        QCOMPARE(values.size(), 2); // rewriting ShowMenu replaced it in place
        QCOMPARE(values[0].name, QStringLiteral("ShowMenu"));
        QCOMPARE(values[1].name, QStringLiteral("MenuTitle"));

        // The file is the documented plain text, readable without this program.
        const QByteArray expected = "QuillbayRegistry 1\n"
                                    "key Software\\Tolvane\\Quillbay\\FolderMenu\n"
                                    "number ShowMenu 4294967295\n"
                                    "text MenuTitle Quill&bay%20the%20Renamer\n";
        QCOMPARE(readFile(storePath()), expected);
    }

    void textSurvivesEveryCharacter()
    {
        Registry registry{RegistryStore(storePath())};
        const QString text = QStringLiteral("a b%c\nd\re\tf=\"g\"\\h \u65E5\u672C \U0001F600 ");
        const QString name = QStringLiteral("name with space%");
        QVERIFY(registry.writeRegistryText(QStringLiteral("Odd Key"), name, text));
        QVERIFY(registry.writeRegistryText(QStringLiteral("Odd Key"), QString(), QString()));
        const auto read = registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\Odd Key\\") + name);
        QVERIFY(read);
        QCOMPARE(read->text(), text);
        const auto unnamed = registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\Odd Key\\"));
        QVERIFY(unnamed);
        QCOMPARE(unnamed->text(), QString());
        // One record per line whatever the text holds.
        QCOMPARE(readFile(storePath()).count('\n'), 4);
    }

    void bytesRoundTrip()
    {
        RegistryContent content;
        content.key(QStringLiteral("Software\\Tolvane\\Quillbay\\Options"))
            .values.append({QStringLiteral("Blob"), StoredValue::ofBytes(QByteArray("\x00\xff\x7f", 3))});
        content.key(QStringLiteral("Software\\Tolvane\\Quillbay\\Options"))
            .values.append({QStringLiteral("Empty"), StoredValue::ofBytes({})});
        const RegistryContent back = RegistryContent::parse(content.serialize());
        QCOMPARE(back.unreadableLines, 0);
        QCOMPARE(back.keys.size(), 1);
        QCOMPARE(back.keys[0].values[0].value, StoredValue::ofBytes(QByteArray("\x00\xff\x7f", 3)));
        QCOMPARE(back.keys[0].values[1].value, StoredValue::ofBytes({}));
    }

    void damagedLinesAreSkipped()
    {
        const RegistryContent content = RegistryContent::parse("QuillbayRegistry 1\n"
                                                               "number Orphan 1\n"
                                                               "key A\\B\n"
                                                               "number Big 4294967296\n"
                                                               "number Neg -1\n"
                                                               "text Bad%2 x\n"
                                                               "bytes Odd abc\n"
                                                               "future Kind 1\n"
                                                               "text Good ok\r\n");
        QCOMPARE(content.unreadableLines, 6);
        QCOMPARE(content.keys.size(), 1);
        QCOMPARE(content.keys[0].values.size(), 1);
        QCOMPARE(content.keys[0].values[0].name, QStringLiteral("Good"));
        QCOMPARE(content.keys[0].values[0].value.text(), QStringLiteral("ok"));
    }

    void machineRootReadsAsAbsent()
    {
        Registry registry{RegistryStore(storePath())};
        QVERIFY(registry.writeRegistryText(QStringLiteral("Options"), QStringLiteral("UiLang"), QStringLiteral("en")));
        QVERIFY(!registry.registryKeyExists(RegistryRoot::LocalMachine,
                                            QStringLiteral("Software\\Tolvane\\Quillbay\\Options"), false));
        QVERIFY(
            registry.registryValues(RegistryRoot::LocalMachine, QStringLiteral("Software\\Tolvane\\Quillbay\\Options"))
                .isEmpty());
        QVERIFY(!registry.readRegistry(QStringLiteral("HKLM\\Software\\Tolvane\\Quillbay\\Options\\UiLang")));
        QVERIFY(!registry.deleteRegistryKey(QStringLiteral("HKLM\\Software\\Tolvane\\Quillbay\\Options\\")));
        QVERIFY(!registry.readRegistry(QStringLiteral("HKXX\\Software\\Tolvane\\Quillbay\\Options\\UiLang")));
        QVERIFY(registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\Options\\UiLang")));
    }

    void keysExistAboveTheirSubkeys()
    {
        Registry registry{RegistryStore(storePath())};
        QVERIFY(!registry.registryKeyExists(RegistryRoot::CurrentUser, QStringLiteral("Software\\Tolvane"), false));
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 0));
        QVERIFY(registry.registryKeyExists(RegistryRoot::CurrentUser, QStringLiteral("Software\\Tolvane"), false));
        QVERIFY(registry.registryKeyExists(RegistryRoot::CurrentUser,
                                           QStringLiteral("Software\\Tolvane\\Quillbay\\FolderMenu\\"), true));
        QVERIFY(!registry.registryKeyExists(RegistryRoot::CurrentUser, QStringLiteral("Software\\Tolv"), false));
    }

    void deleteKeyRefusesKeysWithSubkeys()
    {
        Registry registry{RegistryStore(storePath())};
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("A\\B"), QStringLiteral("n"), 1));
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("A"), QStringLiteral("n"), 2));
        QVERIFY(!registry.deleteRegistryKey(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\A\\")));
        QVERIFY(registry.deleteRegistryKey(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\A\\B\\")));
        QVERIFY(registry.deleteRegistryKey(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\A\\")));
        QVERIFY(!registry.registryKeyExists(RegistryRoot::CurrentUser, QStringLiteral("Software\\Tolvane\\Quillbay\\A"),
                                            false));
        QVERIFY(!registry.deleteRegistryKey(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\A\\")));
    }

    void deleteValueByPathWithoutTrailingSeparator()
    {
        Registry registry{RegistryStore(storePath())};
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("K"), QStringLiteral("one"), 1));
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("K"), QStringLiteral("two"), 2));
        QVERIFY(registry.deleteRegistryKey(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\K\\ONE")));
        QVERIFY(!registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\K\\one")));
        QVERIFY(registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\K\\two")));
    }

    void unreadableStoreIsNeverWrittenOver()
    {
        // A store that exists but cannot be read (here: a folder in its place)
        // reads as empty, and no write replaces it.
        const QString path = m_dir.filePath(QStringLiteral("blocked/registry.txt"));
        QVERIFY(QDir().mkpath(path));
        writeFile(path + QStringLiteral("/inside"), "kept");
        Registry registry{RegistryStore(path)};
        QVERIFY(!registry.writeRegistryText(QStringLiteral("X"), QStringLiteral("y"), QStringLiteral("z")));
        QVERIFY(!registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\X\\y")));
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(readFile(path + QStringLiteral("/inside")), QByteArray("kept"));
    }

    void storeWithoutLocationFailsQuietly()
    {
        Registry registry{RegistryStore(QString())};
        QVERIFY(!registry.writeRegistryText(QStringLiteral("X"), QStringLiteral("y"), QStringLiteral("z")));
        QVERIFY(!registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\X\\y")));
        QVERIFY(!registry.registryKeyExists(RegistryRoot::CurrentUser, QStringLiteral("Software"), false));
    }
};

QTEST_GUILESS_MAIN(RegistryTest)

#include "tst_registry.moc"
