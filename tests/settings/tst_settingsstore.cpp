#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsStore.h"
#include "text/UiText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstring>

#include <csignal>
#include <sys/resource.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

QString attr(pugi::xml_node e, const char *name)
{
    const pugi::xml_attribute a = e.attribute(name);
    return a ? QString::fromUtf8(a.value()) : QStringLiteral("<missing>");
}

bool isUtf16File(const QByteArray &bytes)
{
    const QByteArray head = QByteArray("\xff\xfe", 2)
        + QByteArray::fromRawData(reinterpret_cast<const char *>(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), 78);
    return bytes.startsWith(head);
}

// Everything a settings store needs, around one data folder.
struct Store {
    SettingsDocument settings;
    Options options;
    SettingsStore store{settings, options};
    QStringList messages;

    explicit Store(const QString &dataFolder)
    {
        store.setFolders(DataFolders::inFolder(dataFolder), QString());
        store.setMessageSink([this](const QString &text, const QString &title) { messages << title << text; });
    }
};

const char *kOldFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<settings version=\"1.0\" select=\"Photos\">"
    "<setting name=\"Photos\"><folders><folder path=\"/a\" id=\"f7\"/><folder path=\"/b\" id=\"f7\"/></folders>"
    "<newNameRules><rule id=\"r9\" type=\"add\" text=\"x\"/><rule id=\"r9\" text=\"no type\"/></newNameRules>"
    "<unknownElement keep=\"yes\"/></setting>"
    "<setting name=\"Music\"><newFolderNameRules><rule id=\"r1\" type=\"case\"/></newFolderNameRules>"
    "</setting></settings>";

} // namespace

// Child mode of the test executable: saves the settings file over and over,
// alternating two large documents, until it is killed.
int runSaveLoop(const QString &dataFolder)
{
    Store s(dataFolder);
    s.store.LoadSettings();
    const std::string big(1 << 20, 'a');
    for (int n = 0;; ++n) {
        const std::string pad(big.size(), n % 2 == 0 ? 'a' : 'b');
        XmlTools::setAttribute(s.settings.SettingsRoot(), "pad", QString::fromStdString(pad));
        if (!s.store.SaveSettingsFile())
            return 1;
        std::printf("saved\n");
        std::fflush(stdout);
    }
}

class SettingsStoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;

    QString freshFolder()
    {
        const QString path = m_dir.filePath(QString::number(++m_case));
        QDir().mkpath(path);
        return path;
    }

    // Starts the save loop, lets it finish `completed` saves, then kills it as
    // soon as the next save has its temporary file: after writing began, before
    // the rename. True when the kill landed there (the temporary file is left).
    static bool killDuringSave(const QString &folder, int completed)
    {
        const QDir dir(folder);
        const QStringList temporaryFiles{QStringLiteral("Setting.xml.*")};
        const qsizetype leftBefore = dir.entryList(temporaryFiles).size();
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--save-loop"), folder});
        child.start();
        if (!child.waitForStarted())
            return false;
        int saved = 0;
        while (saved < completed && child.waitForReadyRead(30000)) {
            while (child.canReadLine())
                saved += child.readLine().startsWith("saved") ? 1 : 0;
        }
        QElapsedTimer waited;
        waited.start();
        while (dir.entryList(temporaryFiles).size() == leftBefore && waited.elapsed() < 30000)
            QThread::usleep(200);
        child.kill();
        child.waitForFinished(20000);
        // A save that ended between the look and the kill (its temporary file
        // then belongs to the next save) said so before the kill.
        for (const QByteArray &line : child.readAllStandardOutput().split('\n'))
            saved += line.startsWith("saved") ? 1 : 0;
        return saved == completed && dir.entryList(temporaryFiles).size() > leftBefore;
    }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void firstStartCreatesFoldersAndWritesBothFiles()
    {
        const QString home = m_dir.filePath(QStringLiteral("fresh-home"));
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.toUtf8());
        SettingsDocument settings;
        Options options;
        SettingsStore store(settings, options);
        store.ResolveDataFolders(m_dir.filePath(QStringLiteral("program")));
        qputenv("XDG_DATA_HOME", saved);

        QCOMPARE(store.folders().makerFolder, home + QStringLiteral("/Tolvane"));
        QCOMPARE(store.folders().dataFolder, home + QStringLiteral("/Tolvane/Quillbay"));
        QCOMPARE(store.folders().reportFolder, home + QStringLiteral("/Tolvane/Quillbay/Report"));
        int prepared = 0;
        store.setReportFolderPreparer([&] { ++prepared; });
        QVERIFY(store.CreateDataFolders());
        QVERIFY(QFileInfo(store.folders().dataFolder).isDir());
        QCOMPARE(prepared, 1);

        static_cast<void>(options.readOptionsFile());
        Registry registry{RegistryStore(m_dir.filePath(QStringLiteral("fresh-registry.txt")))};
        options.BuildOptions(registry);
        const SettingsLoadOutcome outcome = store.LoadSettings();
        QCOMPARE(outcome.source, SettingsLoadOutcome::Source::DefaultDocument);
        QVERIFY(!outcome.fileExisted);
        QCOMPARE(attr(settings.SelectedSetting(), "name"), QStringLiteral("Setting 1"));
        QVERIFY(!QFile::exists(store.folders().settingsFile));

        QVERIFY(store.SaveSettingsWithRetry([](const QString &, const QString &, const QString &) { return false; }));
        const QByteArray settingsBytes = readFile(store.folders().settingsFile);
        const QByteArray optionsBytes = readFile(store.folders().optionsFile);
        QVERIFY(isUtf16File(settingsBytes));
        QVERIFY(isUtf16File(optionsBytes));
        // The file on disk is the document in memory.
        QCOMPARE(settingsBytes, XmlTools::serialize(settings.document()));
        QVERIFY(
            optionsBytes.contains(QByteArray::fromRawData(reinterpret_cast<const char *>(u"ReportHoldingDays"), 34)));
        QVERIFY(QDir(store.folders().dataFolder).entryList({QStringLiteral("Setting_Unusable*")}).isEmpty());
    }

    void noDataHomeUsesTheProgramFolder()
    {
        const QByteArray savedData = qgetenv("XDG_DATA_HOME");
        const QByteArray savedHome = qgetenv("HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("HOME");
        const DataFolders folders = DataFolders::resolve(QStringLiteral("/opt/quillbay"));
        qputenv("XDG_DATA_HOME", savedData);
        qputenv("HOME", savedHome);
        QVERIFY(folders.makerFolder.isEmpty());
        QCOMPARE(folders.dataFolder, QStringLiteral("/opt/quillbay"));
        QCOMPARE(folders.settingsFile, QStringLiteral("/opt/quillbay/Setting.xml"));
    }

    void programFolderOfAnInstalledProgram()
    {
        QTemporaryDir prefix(QDir::homePath() + QStringLiteral("/prefix-XXXXXX"));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QCOMPARE(DataFolders::programFolder(bin), bin);
        QDir().mkpath(prefix.filePath(QStringLiteral("share/quillbay")));
        QCOMPARE(DataFolders::programFolder(bin), prefix.filePath(QStringLiteral("share/quillbay")));
        QCOMPARE(DataFolders::programFolder(prefix.path()), prefix.path());
    }

    void olderFileIsUpgradedWithBackup()
    {
        Store s(freshFolder());
        const DataFolders &f = s.store.folders();
        writeFile(f.settingsFile, kOldFile);
        writeFile(f.backupFile, "an older backup");
        const SettingsLoadOutcome outcome = s.store.LoadSettings();
        QCOMPARE(outcome.source, SettingsLoadOutcome::Source::UpgradedFile);
        QVERIFY(outcome.backupError.isEmpty());
        QCOMPARE(s.messages.value(0), QStringLiteral("Quillbay the Renamer"));
        QCOMPARE(s.messages.value(1), UiText::LoadText(952) + QStringLiteral("\r\n") + f.backupFile);
        QCOMPARE(readFile(f.backupFile), QByteArray(kOldFile));

        const pugi::xml_node root = s.settings.SettingsRoot();
        QCOMPARE(attr(root, "version"), QStringLiteral("2.0"));
        QCOMPARE(s.settings.SettingCount(), 2);
        const pugi::xml_node photos = s.settings.SelectedSetting();
        QCOMPARE(attr(photos, "name"), QStringLiteral("Photos"));
        QCOMPARE(attr(photos.child("folders").first_child(), "id"), QStringLiteral("f1"));
        QCOMPARE(attr(photos.child("folders").last_child(), "id"), QStringLiteral("f2"));
        const pugi::xml_node rules = photos.child("newNameRules");
        QCOMPARE(std::distance(rules.children("rule").begin(), rules.children("rule").end()), 1);
        QCOMPARE(attr(rules.first_child(), "id"), QStringLiteral("r1"));
        QVERIFY(photos.child("unknownElement"));
        QCOMPARE(attr(s.settings.FindSetting(QStringLiteral("Music")).child("newFolderNameRules").first_child(), "id"),
                 QStringLiteral("r2"));
        // The file itself is rewritten only by the next save; the backup stays.
        QCOMPARE(readFile(f.settingsFile), QByteArray(kOldFile));
        QVERIFY(s.store.SaveSettingsFile());
        QCOMPARE(readFile(f.backupFile), QByteArray(kOldFile));
        SettingsDocument again;
        QVERIFY(again.loadFile(f.settingsFile));
        QCOMPARE(attr(again.SettingsRoot(), "version"), QStringLiteral("2.0"));
    }

    void failedBackupIsMadeBeforeTheFirstSave()
    {
        Store s(freshFolder());
        const DataFolders &f = s.store.folders();
        writeFile(f.settingsFile, kOldFile);
        QVERIFY(QDir().mkpath(f.backupFile)); // a folder where the backup should go
        const SettingsLoadOutcome outcome = s.store.LoadSettings();
        QCOMPARE(outcome.source, SettingsLoadOutcome::Source::UpgradedFile);
        QVERIFY(!outcome.backupError.isEmpty());
        QCOMPARE(s.store.pendingCopy(), SettingsStore::PendingCopy::Backup);
        // No save may replace the old file while its backup is missing.
        QVERIFY(!s.store.SaveSettingsFile());
        QCOMPARE(readFile(f.settingsFile), QByteArray(kOldFile));
        QVERIFY(QDir().rmdir(f.backupFile));
        QVERIFY(s.store.SaveSettingsFile());
        QCOMPARE(readFile(f.backupFile), QByteArray(kOldFile));
        QVERIFY(readFile(f.settingsFile) != QByteArray(kOldFile));
    }

    void versions_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("used");
        const QByteArray two = "<setting name=\"Mine\"/><setting name=\"Other\"/>";
        QTest::newRow("2.5") << "<settings version=\"2.5\" select=\"Other\">" + two + "</settings>" << true;
        QTest::newRow("2.0") << "<settings version=\"2.0\">" + two + "</settings>" << true;
        QTest::newRow("3.0") << "<settings version=\"3.0\">" + two + "</settings>" << false;
        QTest::newRow("two") << "<settings version=\"two\">" + two + "</settings>" << false;
        QTest::newRow("no version") << "<settings>" + two + "</settings>" << false;
        QTest::newRow("2,5") << "<settings version=\"2,5\">" + two + "</settings>" << false;
        QTest::newRow("other root") << "<settingz version=\"2.0\">" + two + "</settingz>" << false;
        QTest::newRow("older without setting") << QByteArray("<settings version=\"1.0\"/>") << false;
        QTest::newRow("not XML") << QByteArray("<settings version=\"2.0\"><setting>") << false;
        QTest::newRow("empty file") << QByteArray() << false;
    }

    void versions()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, used);
        Store s(freshFolder());
        const DataFolders &f = s.store.folders();
        writeFile(f.settingsFile, content);
        const SettingsLoadOutcome outcome = s.store.LoadSettings();
        QVERIFY(s.messages.isEmpty());
        if (used) {
            QCOMPARE(outcome.source, SettingsLoadOutcome::Source::File);
            QCOMPARE(s.settings.SettingNames(), (QStringList{"Mine", "Other"}));
            QVERIFY(s.store.SaveSettingsFile());
            QVERIFY(QDir(f.dataFolder).entryList({QStringLiteral("Setting_Unusable*")}).isEmpty());
            return;
        }
        QCOMPARE(outcome.source, SettingsLoadOutcome::Source::DefaultDocument);
        QVERIFY(!outcome.problem.isEmpty());
        QCOMPARE(attr(s.settings.SelectedSetting(), "name"), QStringLiteral("Setting 1"));
        // The unusable file stays until the first save, which keeps a copy first.
        QCOMPARE(readFile(f.settingsFile), content);
        QVERIFY(s.store.SaveSettingsFile());
        QCOMPARE(readFile(f.dataFolder + QStringLiteral("/Setting_Unusable1.xml")), content);
        QVERIFY(isUtf16File(readFile(f.settingsFile)));
        // Later saves keep nothing more.
        QVERIFY(s.store.SaveSettingsFile());
        QVERIFY(!QFile::exists(f.dataFolder + QStringLiteral("/Setting_Unusable2.xml")));
    }

    void keptCopiesNeverReplaceEachOther()
    {
        const QString folder = freshFolder();
        for (int round = 1; round <= 2; ++round) {
            Store s(folder);
            const QByteArray content = "broken " + QByteArray::number(round);
            writeFile(s.store.folders().settingsFile, content);
            s.store.LoadSettings();
            QVERIFY(s.store.SaveSettingsFile());
            QCOMPARE(readFile(folder + QStringLiteral("/Setting_Unusable%1.xml").arg(round)), content);
        }
    }

    void fileWithoutSettingGetsSettingOne()
    {
        Store s(freshFolder());
        writeFile(s.store.folders().settingsFile, "<settings version=\"2.0\"/>");
        QCOMPARE(s.store.LoadSettings().source, SettingsLoadOutcome::Source::File);
        QCOMPARE(s.settings.SettingCount(), 1);
        QCOMPARE(attr(s.settings.SettingsRoot(), "select"), QStringLiteral("Setting 1"));
        QCOMPARE(attr(s.settings.SelectedSetting(), "name"), QStringLiteral("Setting 1"));
    }

    void fullDiskLeavesThePreviousFile()
    {
        Store s(freshFolder());
        const DataFolders &f = s.store.folders();
        const QByteArray previous = "<settings version=\"2.0\"><setting name=\"Kept\"/></settings>";
        writeFile(f.settingsFile, previous);
        s.store.LoadSettings();
        s.settings.AddSetting(QStringLiteral("New one"));
        QStringList asked;
        {
            FileSizeLimit full(64);
            QVERIFY(!s.store.SaveSettingsFile());
            int attempts = 0;
            QVERIFY(
                !s.store.SaveSettingsWithRetry([&](const QString &text, const QString &title, const QString &reason) {
                    asked << text << title << reason;
                    return ++attempts < 2;
                }));
            QCOMPARE(attempts, 2);
        }
        QCOMPARE(asked.value(0), QStringLiteral("An attempt to write setting information to a file failed."));
        QCOMPARE(asked.value(1), QStringLiteral("Error"));
        QVERIFY(!asked.value(2).isEmpty());
        QCOMPARE(readFile(f.settingsFile), previous);
        QVERIFY(QDir(f.dataFolder).entryList({QStringLiteral("Setting.xml.*"), QStringLiteral("app.xml.*")}).isEmpty());
        // With room again, the retry succeeds.
        QVERIFY(s.store.SaveSettingsWithRetry({}));
        QVERIFY(
            readFile(f.settingsFile).contains(QByteArray::fromRawData(reinterpret_cast<const char *>(u"New one"), 14)));
    }

    void killedSaveLeavesAWholeFile()
    {
        const QString folder = freshFolder();
        const QString path = folder + QStringLiteral("/Setting.xml");
        writeFile(path, "<settings version=\"2.0\"><setting name=\"Start\"/></settings>");
        for (int completed = 0; completed < 3; ++completed) {
            const QByteArray before = readFile(path);
            // A kill can miss the save it aimed at on a busy machine; another try then.
            bool landed = false;
            for (int attempt = 0; attempt < 5 && !landed; ++attempt)
                landed = killDuringSave(folder, completed);
            QVERIFY2(landed, "no kill landed during a save");
            if (completed == 0) {
                QCOMPARE(readFile(path), before); // the save never finished: the old file, untouched
                continue;
            }
            SettingsDocument loaded;
            const Result<void> read = loaded.loadFile(path);
            QVERIFY2(read, qPrintable(read.error().message));
            const QString pad = attr(loaded.SettingsRoot(), "pad");
            QCOMPARE(pad.size(), 1 << 20);
            QVERIFY(pad == QString(pad.size(), u'a') || pad == QString(pad.size(), u'b'));
        }
    }

    void cleanUpOlderVersion()
    {
        Registry registry{RegistryStore(m_dir.filePath(QStringLiteral("older-registry.txt")))};
        const QString older = QStringLiteral("VB and VBA Program Settings\\Quillbay\\");
        // Written below "Software\" directly, as the older version did.
        for (const char *subkey : {"Main", "Options", "FormOptions", "FormSelectSetting", "MainForm"}) {
            QVERIFY(registry.store().update([&](RegistryContent &content) {
                content.key(QStringLiteral("Software\\") + older + QLatin1String(subkey))
                    .values.append({QStringLiteral("x"), StoredValue::ofWhole(1)});
                return true;
            }));
        }
        QVERIFY(registry.writeRegistryNumber(QStringLiteral("FolderMenu"), QStringLiteral("ShowMenu"), 1));
        SettingsStore::CleanUpOlderVersion(registry);
        QVERIFY(!registry.registryKeyExists(RegistryRoot::CurrentUser,
                                            QStringLiteral("Software\\VB and VBA Program Settings\\Quillbay"), false));
        QVERIFY(registry.readRegistry(QStringLiteral("HKCU\\Software\\Tolvane\\Quillbay\\FolderMenu\\ShowMenu")));
        // A second start finds nothing to do.
        SettingsStore::CleanUpOlderVersion(registry);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // "--save-loop <folder>": the child process that a test kills in the middle of saving.
    if (argc == 3 && std::strcmp(argv[1], "--save-loop") == 0)
        return runSaveLoop(QString::fromLocal8Bit(argv[2]));
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsstore.moc"
