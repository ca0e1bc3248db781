// quillbay-cli run and undo as a user runs them: exit codes, messages, the
// report path on standard output, and a run killed in the middle.

#include "ProgramRun.h"
#include "RunFixture.h"
#include "TemporaryHome.h"

#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/types.h>

using namespace quillbay::test;

class CliRunTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;
    QString m_files;
    QString m_reports;

    ProgramRun cli(const QStringList &args)
    {
        return runProgram(QStringLiteral(QUILLBAY_CLI), args, m_home->environment());
    }
    QString writeSettings(const QString &folder, const QString &name = "Setting.xml")
    {
        const QString path = m_home->path(name);
        writeFile(path,
                  QStringLiteral("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><folders>"
                                 "<folder path=\"%1\"/></folders><newNameRules><rule type=\"add\" "
                                 "text=\"new-\"/></newNameRules></setting></settings>")
                      .arg(folder)
                      .toUtf8());
        return path;
    }
    void makeFiles(int count)
    {
        QDir().mkpath(m_files);
        for (int i = 0; i < count; ++i)
            writeFile(m_files + QStringLiteral("/file %1.txt").arg(i), QByteArray::number(i));
    }
    bool allOriginal(int count) const
    {
        if (namesIn(m_files).size() != count)
            return false;
        for (int i = 0; i < count; ++i)
            if (readFile(m_files + QStringLiteral("/file %1.txt").arg(i)) != QByteArray::number(i))
                return false;
        return true;
    }
    QStringList journals() const { return QDir(m_reports).entryList({"*.journal"}, QDir::Files); }
    // How many entries the journals in the report folder have begun.
    int begunEntries() const
    {
        int n = 0;
        for (const QString &name : journals())
            n += int(readFile(m_reports + u'/' + name).count("\nB\t"));
        return n;
    }

    QStringList savesInProgress() const { return QDir(m_reports).entryList({".report-*"}, QDir::Files | QDir::Hidden); }

    // Starts quillbay-cli run on fresh files and kills it once caught (the
    // child stepped in short slices: stopped, looked at, let go) where
    // caught() says; tried with more files when a run was too quick to catch.
    // count is the number of files of the last attempt.
    bool killRunWhen(int &count, const std::function<bool()> &caught)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            count = 3000 << (2 * attempt);
            init();
            makeFiles(count);
            QProcess child;
            child.setProcessEnvironment(m_home->environment());
            child.start(QStringLiteral(QUILLBAY_CLI),
                        {"run", "--settings", writeSettings(m_files), "--report-dir", m_reports});
            if (!child.waitForStarted())
                return false;
            const pid_t pid = pid_t(child.processId());
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 60000 && child.state() == QProcess::Running) {
                ::kill(pid, SIGSTOP);
                if (caught()) {
                    ::kill(pid, SIGKILL);
                    child.waitForFinished(10000);
                    qInfo("killed in a run of %d files", count);
                    return true;
                }
                ::kill(pid, SIGCONT);
                QThread::usleep(journals().isEmpty() ? 2000 : 100);
            }
            child.waitForFinished(10000);
        }
        return false;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        m_files = m_home->path("files");
        m_reports = m_home->path("reports");
    }

    void runUndoAndRunTheUndo()
    {
        makeFiles(3);
        const ProgramRun run = cli({"run", "--settings", writeSettings(m_files), "--report-dir", m_reports});
        QCOMPARE(run.exitCode, 0);
        const QString report = run.out.trimmed();
        QVERIFY2(QFileInfo(report).isFile() && report.startsWith(m_reports), qPrintable(run.out + run.err));
        QVERIFY(!allOriginal(3));
        QCOMPARE(namesIn(m_files).size(), 3);
        // The style sheets go beside the report folder, where the reports name them.
        QVERIFY(QFileInfo::exists(m_home->path("ReportEn.xsl")));

        const ProgramRun preview = cli({"undo", report});
        QCOMPARE(preview.exitCode, 0);
        QVERIFY(!allOriginal(3));
        pugi::xml_document doc;
        QVERIFY(doc.load_string(preview.out.toUtf8().constData()));
        QCOMPARE(int(std::distance(doc.document_element().begin(), doc.document_element().end())), 3);
        QVERIFY(
            QString::fromUtf8(doc.document_element().first_child().attribute("newName").value()).startsWith("file "));

        const ProgramRun undo = cli({"undo", report, "--run", "--report-dir", m_reports});
        QCOMPARE(undo.exitCode, 0);
        QVERIFY(allOriginal(3));
        QVERIFY(QFileInfo(undo.out.trimmed()).isFile());
        QVERIFY(undo.out.trimmed() != report);
        QVERIFY(journals().isEmpty());
    }

    void nameBeginningWithAByteOrderMarkKeepsIt()
    {
        // U+FEFF at the start of a name is part of the name; here it is the
        // only difference between two files.
        QDir().mkpath(m_files);
        const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("photo.jpg");
        writeFile(m_files + u'/' + bom, "with mark");
        writeFile(m_files + QStringLiteral("/photo.jpg"), "plain");
        const ProgramRun run = cli({"run", "--settings", writeSettings(m_files), "--report-dir", m_reports});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(m_files + QStringLiteral("/new-") + bom), QByteArray("with mark"));
        QCOMPARE(readFile(m_files + QStringLiteral("/new-photo.jpg")), QByteArray("plain"));

        const ProgramRun undo = cli({"undo", run.out.trimmed(), "--run", "--report-dir", m_reports});
        QCOMPARE(undo.exitCode, 0);
        QCOMPARE(readFile(m_files + u'/' + bom), QByteArray("with mark"));
        QCOMPARE(readFile(m_files + QStringLiteral("/photo.jpg")), QByteArray("plain"));
    }

    void defaultReportFolderIsUnderXdgDataHome()
    {
        makeFiles(1);
        const ProgramRun run = cli({"run", "--settings", writeSettings(m_files)});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.trimmed().startsWith(m_home->dataFolder() + "/Report/"), qPrintable(run.out));
        QVERIFY(QFileInfo::exists(m_home->dataFolder() + "/ReportJa.xsl"));
    }

    void failuresExitWithThreeAndAreListed()
    {
        makeFiles(2);
        const ProgramRun run = cli({"run", "--settings", writeSettings(m_files), "--report-dir", m_reports});
        QCOMPARE(run.exitCode, 0);
        // One renamed file disappears before the undo, which is told to try
        // it all the same.
        const QStringList renamed = namesIn(m_files);
        QVERIFY(QFile::remove(m_files + u'/' + renamed.first()));
        const ProgramRun undo = cli({"undo", run.out.trimmed(), "--run", "--force", "--report-dir", m_reports});
        QCOMPARE(undo.exitCode, 3);
        QVERIFY2(undo.err.contains("Not renamed: " + m_files + u'/' + renamed.first() + " -> ")
                     && undo.err.contains(" (File not found)"),
                 qPrintable(undo.err));
        QVERIFY(QFileInfo(undo.out.trimmed()).isFile());
    }

    void unusableInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("undo of a corrupted report")
            << QStringList{"undo", "@/broken.xml"} << 2
            << "Cannot read the report file: @/broken.xml (The content seems corrupted)";
        QTest::newRow("undo of no file") << QStringList{"undo", "@/none.xml"} << 2
                                         << "Cannot read the report file: @/none.xml (No such file or directory)";
        QTest::newRow("undo without report") << QStringList{"undo"} << 2 << "Usage";
        QTest::newRow("undo of a settings file")
            << QStringList{"undo", "@/missing.xml", "--run"} << 0 << "The file holds nothing to reverse: @/missing.xml";
        QTest::newRow("undo of an entry without its new name")
            << QStringList{"undo", "@/edited.xml", "--run"} << 0
            << "Skipped an entry without the attribute \"newName\": f7: /x/a.txt";
        QTest::newRow("run without settings file") << QStringList{"run"} << 2 << "Cannot read the settings file";
        QTest::newRow("run with unknown option") << QStringList{"run", "--settings", "x", "--what"} << 2 << "--what";
        QTest::newRow("run of missing folder")
            << QStringList{"run", "--settings", "@/missing.xml"} << 1
            << "Skipped a folder in \"Look in\" that does not exist: @/no such folder";
    }
    void unusableInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        writeFile(m_home->path("broken.xml"), "<files><file name='a'");
        writeFile(m_home->path("edited.xml"), "<files><file name='a.txt' folder='/x' id='f7' renamed='yes'/></files>");
        writeSettings(m_home->path("no such folder"), "missing.xml");
        for (QString &a : args)
            a.replace("@", m_home->root());
        message.replace("@", m_home->root());
        const ProgramRun r = cli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void undoLeavesChangedItemsAloneUnlessForced()
    {
        makeFiles(4);
        const ProgramRun run = cli({"run", "--settings", writeSettings(m_files), "--report-dir", m_reports});
        QCOMPARE(run.exitCode, 0);
        const QString report = run.out.trimmed();
        writeFile(m_files + "/new-file 0.txt", "appended to");
        QVERIFY(QFile::remove(m_files + "/new-file 1.txt"));
        QVERIFY(QFile::remove(m_files + "/new-file 2.txt") && QDir(m_files).mkdir("new-file 2.txt"));

        const ProgramRun undo = cli({"undo", report, "--run", "--report-dir", m_reports});
        QCOMPARE(undo.exitCode, 3); // not everything was reversed
        const QString leftOut = "Left out of the reversal (--force reverses it anyway): " + m_files;
        QVERIFY2(undo.err.contains(leftOut + "/new-file 0.txt (Changed since the run)")
                     && undo.err.contains(leftOut + "/new-file 1.txt (Missing)")
                     && undo.err.contains(leftOut + "/new-file 2.txt (Replaced by another file)"),
                 qPrintable(undo.err));
        QCOMPARE(namesIn(m_files), QStringList({"file 3.txt", "new-file 0.txt", "new-file 2.txt"}));
        QCOMPARE(readFile(m_files + "/file 3.txt"), QByteArray("3"));

        const ProgramRun forced = cli({"undo", report, "--run", "--force", "--report-dir", m_reports});
        QVERIFY2(forced.err.contains("Reversed although it may not be the item the run renamed: " + m_files
                                     + "/new-file 0.txt (Changed since the run)"),
                 qPrintable(forced.err));
        QCOMPARE(readFile(m_files + "/file 0.txt"), QByteArray("appended to"));
        QVERIFY(QFileInfo(m_files + "/new-file 2.txt").isDir()); // a file entry never moves a folder
    }

    void editedReportCannotReachOtherFolders()
    {
        writeFile(m_home->path("outside/victim"), "precious");
        QDir().mkpath(m_files);
        const QString report = m_home->path("edited.xml");
        writeFile(report,
                  QStringLiteral("<files version='1.0'>"
                                 "<file name='taken' newName='victim' folder='%1/../outside' renamed='yes'/>"
                                 "<file name='../outside/taken' newName='victim' folder='%1' renamed='yes'/>"
                                 "</files>")
                      .arg(m_files)
                      .toUtf8());
        const ProgramRun undo = cli({"undo", report, "--run", "--force", "--report-dir", m_reports});
        QCOMPARE(undo.exitCode, 3);
        QVERIFY2(undo.err.count("Not reversed: ") == 2 && undo.err.contains("Nothing was reversed"),
                 qPrintable(undo.err));
        QVERIFY(undo.out.isEmpty()); // no run, no report
        QCOMPARE(namesIn(m_home->path("outside")), QStringList({"victim"}));
        QCOMPARE(readFile(m_home->path("outside/victim")), QByteArray("precious"));
        QCOMPARE(namesIn(m_files), QStringList());
    }

    void fullDiskForTheJournalSaysSo()
    {
        // A report folder on a file system of its own, filled up: in a mount
        // namespace of the test's own, where the system allows one.
        makeFiles(2);
        QDir().mkpath(m_reports);
        const QString script = QStringLiteral("mount -t tmpfs -o size=64k tmpfs '%1' || exit 99; "
                                              "cat /dev/zero > '%1/fill' 2>/dev/null; exec '%2' run --settings '%3' "
                                              "--report-dir '%1'")
                                   .arg(m_reports, QStringLiteral(QUILLBAY_CLI), writeSettings(m_files));
        const ProgramRun r = runProgram("unshare", {"-rm", "sh", "-c", script}, m_home->environment());
        if (r.exitCode == 99 || r.exitCode == -1 || r.err.contains("unshare"))
            QSKIP("no mount namespace for a full file system here");
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Not enough space available on local disk.") && !r.err.contains("refused"),
                 qPrintable(r.err));
        QVERIFY(allOriginal(2));
    }

    void killedWhileSavingItsReportLeavesNoDebris()
    {
        int count = 0;
        QVERIFY2(killRunWhen(count, [&] { return !savesInProgress().isEmpty(); }),
                 "every run ended before it could be stopped while saving its report");
        const QStringList debris = savesInProgress();
        QCOMPARE(debris.size(), 1);
        // Another program's save in progress: its temporary file, held locked.
        const QString held = m_reports + QStringLiteral("/.report-%1-Held01").arg(::getpid());
        writeFile(held, "<files version='1.0'>");
        const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
        const auto release = qScopeGuard([fd] { ::close(fd); });

        QDir().mkpath(m_home->path("empty"));
        const ProgramRun next =
            cli({"run", "--settings", writeSettings(m_home->path("empty"), "empty.xml"), "--report-dir", m_reports});
        QCOMPARE(next.exitCode, 0);
        QCOMPARE(savesInProgress(), QStringList({QFileInfo(held).fileName()}));
        // The killed run's journal became its report all the same.
        QVERIFY(journals().isEmpty());
        QVERIFY(next.err.contains("Saved the report of an interrupted run: "));
    }

    void killedRunIsRecoveredByTheNextRunAndUndone()
    {
        // Entries are carried out one after the other: once the second has
        // begun, the first rename is done.
        int count = 0;
        const bool killedMidway = killRunWhen(count, [&] {
            const int begun = begunEntries();
            return begun > 1 && begun < count;
        });
        QVERIFY2(killedMidway, "every run ended before it could be stopped in the middle");
        QCOMPARE(journals().size(), 1);
        QVERIFY(QDir(m_reports).entryList({"*.xml"}).isEmpty());
        QVERIFY(!allOriginal(count));

        // The next run (of a folder with nothing to rename) makes the report.
        QDir().mkpath(m_home->path("empty"));
        const ProgramRun next =
            cli({"run", "--settings", writeSettings(m_home->path("empty"), "empty.xml"), "--report-dir", m_reports});
        QCOMPARE(next.exitCode, 0);
        QVERIFY(journals().isEmpty());
        const QString prefix = "Saved the report of an interrupted run: ";
        QVERIFY2(next.err.contains(prefix), qPrintable(next.err));
        const QString recovered = next.err.mid(next.err.indexOf(prefix) + prefix.size()).section(u'\n', 0, 0);
        LoadedReport report;
        loadReport(recovered, report);
        QVERIFY(report.count() > 0);

        const ProgramRun undo = cli({"undo", recovered, "--run", "--report-dir", m_reports});
        QVERIFY2(undo.exitCode == 0, qPrintable(undo.err.left(2000)));
        QVERIFY2(allOriginal(count), qPrintable(namesIn(m_files).mid(0, 20).join(", ")));
    }
};

QTEST_GUILESS_MAIN(CliRunTest)
#include "tst_cli_run.moc"
