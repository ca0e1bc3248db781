#include "TemporaryHome.h"
#include "TestFiles.h"
#include "base/Arguments.h"
#include "main/Startup.h"
#include "services/SingleInstance.h"
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
#include <unistd.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

struct Finished {
    int exitCode = -1;
    QString standardError;
};

// Whether the process has its handler for SIGTERM in place (the caught
// signals of /proc/<pid>/status).
bool catchesTermination(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

// Starts the program. Unless it was asked for the unattended run, it shows
// its window (on a display of its own that shows nothing) and is then asked
// to end as the desktop asks at the end of a session, which closes the
// window as the user would.
Finished runProgram(const TemporaryHome &home, const QStringList &arguments, bool withRuntimeFolder = true)
{
    QProcess process;
    QProcessEnvironment environment = home.environment(withRuntimeFolder);
    const bool windowed = !readCommandLine(arguments).immediateRun;
    if (windowed) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("minimal"));
        // What the platform layer says of the display that shows nothing is
        // not the program's to say.
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("default.warning=false"));
    }
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(QUILLBAY_PROGRAM));
    process.setArguments(arguments);
    process.start();
    Finished finished;
    if (windowed && process.waitForStarted()) {
        QElapsedTimer waited;
        waited.start();
        while (!catchesTermination(process.processId()) && waited.elapsed() < 30000
               && process.state() == QProcess::Running)
            QThread::msleep(10);
        ::kill(pid_t(process.processId()), SIGTERM);
    }
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        finished.standardError = QStringLiteral("<did not finish>");
        return finished;
    }
    finished.exitCode = process.exitCode();
    finished.standardError = QString::fromUtf8(process.readAllStandardError());
    return finished;
}

// Another process that holds the instance lock until it is killed.
class LockHolder
{
public:
    explicit LockHolder(const QString &lockFile)
    {
        m_process.setProgram(QCoreApplication::applicationFilePath());
        m_process.setArguments({QStringLiteral("--hold-lock"), lockFile});
        m_process.start();
    }
    ~LockHolder()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    bool waitUntilLocked()
    {
        return m_process.waitForReadyRead(20000) && m_process.readAllStandardOutput().startsWith("locked");
    }
    bool killHard()
    {
        m_process.kill(); // SIGKILL: nothing of the process runs any more
        return m_process.waitForFinished(20000);
    }

private:
    QProcess m_process;
};

const QString kSettingWithRule = QStringLiteral(
    "<settings version=\"2.0\" select=\"Photos\">"
    "<setting name=\"Other\"><folders><folder path=\"%1\"/></folders>"
    "<newNameRules><rule type=\"add\" text=\"wrong_\" position=\"before\"/></newNameRules></setting>"
    "<setting name=\"Photos\"><folders childFolders=\"deep\" subFoldersDepth=\"0\"><folder path=\"%1\"/></folders>"
    "<fileToBeChanged ext=\"txt\"/>"
    "<newNameRules><rule type=\"add\" text=\"new_\" position=\"before\"/></newNameRules></setting></settings>");

} // namespace

// Child mode of the test executable: takes the instance lock and keeps it.
int runLockHolder(const QString &lockFile)
{
    SingleInstance instance;
    if (instance.acquire(lockFile) != SingleInstance::Outcome::Acquired)
        return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void firstStartWritesTheUsersFiles()
    {
        TemporaryHome home;
        const Finished run = runProgram(home, {});
        QCOMPARE(run.standardError, QString());
        QCOMPARE(run.exitCode, int(ExitNormal));
        const QByteArray settings = readFile(home.dataFolder() + QStringLiteral("/Setting.xml"));
        QVERIFY(settings.startsWith("\xff\xfe"));
        QVERIFY(settings.contains(utf16(QStringLiteral("select=\"Setting 1\""))));
        QVERIFY(
            readFile(home.dataFolder() + QStringLiteral("/app.xml")).contains(utf16(QStringLiteral("<appSetting>"))));
        QVERIFY(QFileInfo(home.dataFolder() + QStringLiteral("/Report")).isDir());
        QVERIFY(QFileInfo::exists(home.dataFolder() + QStringLiteral("/ReportEn.xsl")));
        QVERIFY(readFile(home.registryFile()).contains("number ShowMenu 0\n"));
    }

    void secondInstanceIsRefusedAndStaleLockIgnored_data()
    {
        QTest::addColumn<bool>("withRuntimeFolder");
        QTest::newRow("lock in the runtime folder") << true;
        QTest::newRow("lock in the data folder") << false;
    }

    void secondInstanceIsRefusedAndStaleLockIgnored()
    {
        QFETCH(bool, withRuntimeFolder);
        TemporaryHome home;
        const QString lockFile = withRuntimeFolder ? home.runtimeFolder() + QStringLiteral("/Tolvane-Quillbay.lock")
                                                   : home.dataFolder() + QStringLiteral("/Quillbay.lock");
        LockHolder first(lockFile);
        QVERIFY(first.waitUntilLocked());

        const Finished second = runProgram(home, {QStringLiteral("-exec")}, withRuntimeFolder);
        QCOMPARE(second.exitCode, int(ExitStartRefused));
        QCOMPARE(second.standardError, QStringLiteral("Error: This program is already running.\n"));
        // The refused start wrote nothing, and the first instance still holds its lock.
        QVERIFY(!QFileInfo::exists(home.dataFolder() + QStringLiteral("/Setting.xml")));
        SingleInstance probe;
        QCOMPARE(probe.acquire(lockFile), SingleInstance::Outcome::AnotherInstance);

        // A killed instance leaves its lock file behind, which must not block the next start.
        QVERIFY(first.killHard());
        QVERIFY(QFileInfo::exists(lockFile));
        const Finished next = runProgram(home, {}, withRuntimeFolder);
        QCOMPARE(next.standardError, QString());
        QCOMPARE(next.exitCode, int(ExitNormal));
        QVERIFY(QFileInfo::exists(home.dataFolder() + QStringLiteral("/Setting.xml")));
    }

    void unattendedRun_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("renames");
        QTest::newRow("-exec") << QStringLiteral("-exec") << true;
        QTest::newRow("/exec") << QStringLiteral("/exec") << true;
        QTest::newRow("-EXEC") << QStringLiteral("-EXEC") << false;
        QTest::newRow("-exe") << QStringLiteral("-exe") << false;
    }

    void unattendedRun()
    {
        QFETCH(QString, argument);
        QFETCH(bool, renames);
        TemporaryHome home;
        const QString files = home.path(QStringLiteral("files"));
        writeFile(files + QStringLiteral("/a.txt"), "a");
        writeFile(files + QStringLiteral("/b.txt"), "b");
        writeFile(files + QStringLiteral("/c.jpg"), "c");
        writeFile(home.dataFolder() + QStringLiteral("/Setting.xml"), kSettingWithRule.arg(files).toUtf8());

        const Finished run = runProgram(home, {argument});
        QCOMPARE(run.exitCode, int(ExitNormal));
        const QStringList names = QDir(files).entryList(QDir::Files, QDir::Name);
        const QStringList reports =
            QDir(home.dataFolder() + QStringLiteral("/Report")).entryList({QStringLiteral("*.xml")});
        if (!renames) {
            QCOMPARE(names, (QStringList{"a.txt", "b.txt", "c.jpg"}));
            QVERIFY(reports.isEmpty());
            return;
        }
        QCOMPARE(names, (QStringList{"c.jpg", "new_a.txt", "new_b.txt"}));
        QCOMPARE(readFile(files + QStringLiteral("/new_a.txt")), QByteArray("a"));
        QCOMPARE(reports.size(), 1);
        const QByteArray report = readFile(home.dataFolder() + QStringLiteral("/Report/") + reports.first());
        QVERIFY(report.contains(utf16(QStringLiteral("newName=\"new_b.txt\""))));
        QVERIFY(run.standardError.contains(reports.first()));
        // The settings were saved on the way out, in the program's own format.
        QVERIFY(readFile(home.dataFolder() + QStringLiteral("/Setting.xml")).startsWith("\xff\xfe"));
    }

    void unattendedRunWithoutRules()
    {
        TemporaryHome home;
        const QString files = home.path(QStringLiteral("files"));
        writeFile(files + QStringLiteral("/a.txt"), "a");
        writeFile(home.dataFolder() + QStringLiteral("/Setting.xml"),
                  QStringLiteral("<settings version=\"2.0\"><setting name=\"S\"><folders><folder path=\"%1\"/>"
                                 "</folders></setting></settings>")
                      .arg(files)
                      .toUtf8());
        const Finished run = runProgram(home, {QStringLiteral("-exec")});
        QCOMPARE(run.exitCode, int(ExitRunNotPossible));
        QVERIFY(run.standardError.contains(UiText::LoadText(1276)));
        QCOMPARE(QDir(files).entryList(QDir::Files), QStringList{"a.txt"});
    }

    void freeSpace_data()
    {
        QTest::addColumn<qint64>("programFree");
        QTest::addColumn<qint64>("dataFree");
        QTest::addColumn<bool>("starts");
        QTest::newRow("exactly enough") << qint64(10000000) << qint64(10000000) << true;
        QTest::newRow("program folder short") << qint64(9999999) << qint64(10000000) << false;
        QTest::newRow("data folder short") << qint64(10000000) << qint64(9999999) << false;
        QTest::newRow("unknown counts as enough") << qint64(-1) << qint64(-1) << true;
    }

    void freeSpace()
    {
        QFETCH(qint64, programFree);
        QFETCH(qint64, dataFree);
        QFETCH(bool, starts);
        TemporaryHome home;
        const QString program = home.path(QStringLiteral("program"));
        const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path(QStringLiteral("home/.local/share")).toUtf8());

        QStringList messages;
        QStringList notes;
        StartupEnvironment env;
        env.programFolder = program;
        env.registryFile = home.registryFile();
        env.lockFile = home.runtimeFolder() + QStringLiteral("/test.lock");
        env.showMessage = [&](const QString &text, const QString &title) { messages << title + u'|' + text; };
        env.note = [&](const QString &text) { notes << text; };
        env.freeBytes = [&](const QString &path) -> std::optional<qint64> {
            const qint64 free = path == program ? programFree : dataFree;
            return free < 0 ? std::nullopt : std::optional<qint64>(free);
        };
        env.arguments = {QStringLiteral("/some/folder")};
        Startup startup(env);
        const int status = startup.run();
        qputenv("XDG_DATA_HOME", savedDataHome);

        if (!starts) {
            QCOMPARE(status, int(ExitStartRefused));
            QCOMPARE(messages, QStringList{"Error|Not enough space available on local disk."});
            QVERIFY(!QFileInfo::exists(home.dataFolder() + QStringLiteral("/Setting.xml")));
            QVERIFY(startup.flags().busy());
            QVERIFY(!startup.flags().ready());
            return;
        }
        QCOMPARE(status, int(ExitNormal));
        QVERIFY(messages.isEmpty());
        QCOMPARE(notes.filter(QStringLiteral("free space")).size(), programFree < 0 ? 2 : 0);
        QVERIFY(!startup.flags().busy());
        QVERIFY(startup.flags().ready());
        QCOMPARE(startup.pendingOpenPath(), QStringLiteral("/some/folder"));
        QVERIFY(QFileInfo::exists(home.dataFolder() + QStringLiteral("/Setting.xml")));
    }

    void freeBytesOfAFolderNotYetCreated()
    {
        QTemporaryDir dir;
        const std::optional<qint64> existing = freeBytes(dir.path());
        QVERIFY(existing);
        QVERIFY(*existing > 0);
        // A data folder that does not exist yet is measured on the file system that will hold it.
        const std::optional<qint64> missing = freeBytes(dir.filePath(QStringLiteral("not/yet/there")));
        QVERIFY(missing);
        QVERIFY(qAbs(*missing - *existing) < 64 * 1024 * 1024);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("not"))));
    }

    // The notice is shown to the user (a message box of the window, here
    // collected) with the path of the backup copy.
    void olderSettingsFileAnnouncesItsUpgrade()
    {
        TemporaryHome home;
        writeFile(home.dataFolder() + QStringLiteral("/Setting.xml"),
                  "<settings version=\"1.5\"><setting name=\"Old\"/></settings>");
        const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path(QStringLiteral("home/.local/share")).toUtf8());
        QStringList messages;
        StartupEnvironment env;
        env.programFolder = home.path(QStringLiteral("program"));
        env.registryFile = home.registryFile();
        env.lockFile = home.runtimeFolder() + QStringLiteral("/test.lock");
        env.showMessage = [&](const QString &text, const QString &title) { messages << title + u'|' + text; };
        env.freeBytes = [](const QString &) { return std::optional<qint64>(1LL << 40); };
        const int status = Startup(env).run();
        qputenv("XDG_DATA_HOME", savedDataHome);
        QCOMPARE(status, int(ExitNormal));
        QCOMPARE(messages,
                 QStringList{QStringLiteral("Quillbay the Renamer|") + UiText::LoadText(952) + QStringLiteral("\r\n")
                             + home.dataFolder() + QStringLiteral("/Setting_OldVersion1.xml")});
        QCOMPARE(readFile(home.dataFolder() + QStringLiteral("/Setting_OldVersion1.xml")),
                 QByteArray("<settings version=\"1.5\"><setting name=\"Old\"/></settings>"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // "--hold-lock <file>": the other process that holds the instance lock.
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return runLockHolder(QString::fromLocal8Bit(argv[2]));
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
