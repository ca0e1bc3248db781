// The report folder and its upkeep, and showing a report to the user.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/ReportStore.h"
#include "run/ReportViewer.h"
#include "text/UiText.h"

#include <QRegularExpression>
#include <QProcess>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

struct RecordingLauncher : ProcessLauncher {
    bool detachedWorks = true;
    int runExitCode = 0;
    QStringList calls;
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        calls << program + u' ' + arguments.join(u'|');
        return detachedWorks;
    }
    int run(const QString &program, const QStringList &arguments, int) override
    {
        calls << program + u' ' + arguments.join(u'|');
        return runExitCode;
    }
};

struct RecordedMessages {
    QStringList texts;
    MessageSink sink()
    {
        return [this](const QString &text, const QString &title) { texts << title + ": " + text; };
    }
};

void setModified(const QString &path, const QDateTime &time)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class ReportsTest : public QObject
{
    Q_OBJECT

private:
    // A report of two entries, one renamed and one failed.
    static QString makeReport(const ReportPlace &place, const QString &suffix, const QString &work)
    {
        writeFile(work + "/a<b>&c.txt", "x");
        PreviewDocument doc;
        doc.NewPreviewDocument(suffix);
        doc.AddPreviewEntry("file", work, "a<b>&c.txt", "new.txt", true);
        doc.AddPreviewEntry("file", work, "vanished.txt", "whatever.txt", true);
        RenameExecutor executor(place.folders());
        const Result<ExecutionSummary> run = executor.ExecuteRenameList(doc);
        return run ? run->report.valueOr({}) : QString();
    }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void defaultFoldersFollowXdg()
    {
        qputenv("XDG_DATA_HOME", "/somewhere/data");
        QCOMPARE(ReportFolders::defaultDataFolder(), QStringLiteral("/somewhere/data/Tolvane/Quillbay"));
        qputenv("XDG_DATA_HOME", "relative/ignored");
        QCOMPARE(ReportFolders::defaultDataFolder(), QDir::homePath() + "/.local/share/Tolvane/Quillbay");
        qputenv("XDG_CACHE_HOME", "/somewhere/cache");
        QCOMPARE(ReportViewer::defaultCacheFolder(), QStringLiteral("/somewhere/cache/Tolvane/Quillbay"));
        const ReportFolders f = ReportFolders::underDataFolder("/d");
        QCOMPARE(f.reportFolder, QStringLiteral("/d/Report"));
        QCOMPARE(ReportFolders::forReportFolder("/r/reports/").dataFolder, QStringLiteral("/r"));
    }

    void prepareCreatesFolderAndPlacesStyleSheets()
    {
        ReportPlace place;
        ReportFolderKeeper keeper(place.folders());
        QVERIFY(keeper.PrepareReportFolder());
        QVERIFY(QFileInfo(place.reportFolder()).isDir());
        for (const char *name : {"ReportEn.xsl", "ReportJa.xsl"}) {
            QFile builtIn(ReportFolders::builtInStyleSheets() + u'/' + name);
            QVERIFY(builtIn.open(QIODevice::ReadOnly));
            QCOMPARE(readFile(place.data.path() + u'/' + name), builtIn.readAll());
        }
        // An older copy is refreshed; a newer one (the user's own) is kept.
        const QString en = place.data.path() + "/ReportEn.xsl";
        const QString ja = place.data.path() + "/ReportJa.xsl";
        writeFile(en, "stale");
        setModified(en, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        writeFile(ja, "customized");
        setModified(ja, QDateTime::currentDateTime().addYears(1));
        keeper.PrepareReportFolder();
        QVERIFY(readFile(en).contains("xsl:stylesheet"));
        QCOMPARE(readFile(ja), QByteArray("customized"));
    }

    void prepareReportsAFolderItCannotCreate()
    {
        QTemporaryDir dir;
        writeFile(dir.path() + "/data", "a file where the folder should be");
        RecordedMessages messages;
        ReportFolderKeeper keeper(ReportFolders::underDataFolder(dir.path() + "/data"), messages.sink());
        QVERIFY(keeper.PrepareReportFolder());
        QCOMPARE(messages.texts, QStringList({"Error: " + UiText::LoadText(460)}));
    }

    void nestedReportsMoveUpWithoutReplacing()
    {
        ReportPlace place;
        const QString r = place.reportFolder();
        QDir().mkpath(r + "/Report/keep");
        writeFile(r + "/2004-01-31 180509.xml", "outer");
        writeFile(r + "/Report/2004-01-31 180509.xml", "inner");
        writeFile(r + "/Report/2003-05-05 101010.xml", "older");
        ReportFolderKeeper keeper(place.folders());
        keeper.PrepareReportFolder();
        QCOMPARE(readFile(r + "/2004-01-31 180509.xml"), QByteArray("outer"));
        QCOMPARE(readFile(r + "/2004-01-31 180509 (2).xml"), QByteArray("inner"));
        QCOMPARE(readFile(r + "/2003-05-05 101010.xml"), QByteArray("older"));
        // Only files move; a folder still in it keeps the nested folder.
        QCOMPARE(namesIn(r + "/Report"), QStringList({"keep"}));
        QDir(r + "/Report/keep").removeRecursively();
        writeFile(r + "/Report/last.xml", "last");
        keeper.PrepareReportFolder();
        QVERIFY(!QFileInfo::exists(r + "/Report"));
        QCOMPARE(readFile(r + "/last.xml"), QByteArray("last"));
    }

    void abandonedSavesAreRemoved_data()
    {
        // The temporary file of a report save, by who wrote it and how it is held.
        QTest::addColumn<QString>("writer"); // "gone", "alive" (this process) or "none" (an earlier version)
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("removed");
        QTest::newRow("writer killed") << "gone" << false << 0 << true;
        QTest::newRow("save in progress") << "alive" << true << 0 << false;
        QTest::newRow("save in progress for long") << "alive" << true << 600 << false;
        QTest::newRow("just created, not locked yet") << "alive" << false << 0 << false;
        QTest::newRow("writer's number taken by another process") << "alive" << false << 600 << true;
        QTest::newRow("earlier version, old") << "none" << false << 600 << true;
        QTest::newRow("earlier version, recent") << "none" << false << 0 << false;
        QTest::newRow("earlier version, being written") << "none" << true << 600 << false;
    }
    void abandonedSavesAreRemoved()
    {
        QFETCH(QString, writer);
        QFETCH(bool, locked);
        QFETCH(int, ageSeconds);
        QFETCH(bool, removed);
        ReportPlace place;
        const QString folder = place.reportFolder();
        qint64 pid = 0;
        if (writer == "gone") {
            QProcess ended;
            ended.start("true");
            QVERIFY(ended.waitForStarted());
            pid = ended.processId();
            QVERIFY(ended.waitForFinished());
            QVERIFY(pid > 0);
        } else if (writer == "alive") {
            pid = ::getpid();
        }
        const QString save = folder + (pid > 0 ? QStringLiteral("/.report-%1-Ab3dEf").arg(pid) : "/.report-Ab3dEf");
        writeFile(save, "<files version='1.0'>");
        writeFile(folder + "/2004-01-31 180509.xml", "a report");
        writeFile(folder + "/.reporting", "not a save");
        if (ageSeconds > 0)
            setModified(save, QDateTime::currentDateTime().addSecs(-ageSeconds));
        const int held = ::open(QFile::encodeName(save).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0);
        const auto close = qScopeGuard([held] { ::close(held); });
        if (locked)
            QCOMPARE(::flock(held, LOCK_EX), 0);

        QCOMPARE(ReportStore::removeAbandonedSaves(folder), removed ? 1 : 0);
        QCOMPARE(QFileInfo::exists(save), !removed);
        QCOMPARE(readFile(folder + "/2004-01-31 180509.xml"), QByteArray("a report"));
        QCOMPARE(readFile(folder + "/.reporting"), QByteArray("not a save"));
    }

    void deleteOldReports_data()
    {
        QTest::addColumn<QString>("holding");
        QTest::addColumn<QStringList>("kept");
        // Files modified on these days; "now" is 2004-01-09 10:00.
        QTest::newRow("7") << "7" << QStringList({"0102", "0108", "0109"});
        QTest::newRow("0") << "0" << QStringList({"0109"});
        QTest::newRow("-3 counts as 0") << "-3" << QStringList({"0109"});
        QTest::newRow("7.5 is 8") << "7.5" << QStringList({"0101", "0102", "0108", "0109"});
        QTest::newRow("6.5 is 6") << "6.5" << QStringList({"0108", "0109"});
        QTest::newRow("not a number") << "seven" << QStringList({"1231", "0101", "0102", "0108", "0109"});
    }
    void deleteOldReports()
    {
        QFETCH(QString, holding);
        QFETCH(QStringList, kept);
        ReportPlace place;
        const QString r = place.reportFolder();
        QDir().mkpath(r);
        const QList<QPair<QString, QDateTime>> files = {
            {"1231", QDateTime(QDate(2003, 12, 31), QTime(12, 0))},
            {"0101", QDateTime(QDate(2004, 1, 1), QTime(23, 59, 59))},
            {"0102", QDateTime(QDate(2004, 1, 2), QTime(0, 0, 1))},
            {"0108", QDateTime(QDate(2004, 1, 8), QTime(23, 59, 59))},
            {"0109", QDateTime(QDate(2004, 1, 9), QTime(0, 0, 1))},
        };
        for (const auto &[name, time] : files) {
            writeFile(r + u'/' + name, "x");
            setModified(r + u'/' + name, time);
        }
        QFile::setPermissions(r + "/1231", QFileDevice::ReadOwner); // read-only files go too
        writeFile(r + "/old.journal", "a journal is never deleted for its age");
        setModified(r + "/old.journal", QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        ReportFolderKeeper keeper(place.folders());
        keeper.DeleteOldReports(holding, QDateTime(QDate(2004, 1, 9), QTime(10, 0)));
        QStringList expected = kept;
        expected << "old.journal";
        expected.sort();
        QCOMPARE(namesIn(r), expected);
    }

    void renderShowsEveryEntryAndFailuresStandOut_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("summary"); // in this order, in the summary line
        QTest::addColumn<QString>("renamed");     // the outcome of the renamed entry
        QTest::newRow("English") << "En"
                                 << "Old name" << QStringList{"Entries: 2,", "Renamed: 1,", "Failed: 1"} << "Renamed";
        // Japanese separators, and the summary's own words in the outcome column.
        QTest::newRow("Japanese") << "Ja"
                                  << "変更前の名前" << QStringList{"件数：2　／　", "変更済み：1　／　", "失敗：1"}
                                  << "変更済み";
    }
    void renderShowsEveryEntryAndFailuresStandOut()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, label);
        QFETCH(QStringList, summary);
        QFETCH(QString, renamed);
        ReportPlace place;
        QTemporaryDir work;
        const QString report = makeReport(place, suffix, work.path());
        const QString html = place.data.path() + "/page.html";
        const Result<void> rendered = ReportViewer::renderHtml(report, html);
        QVERIFY2(rendered, qPrintable(rendered.error().message));
        const QString page = QString::fromUtf8(readFile(html));
        QVERIFY(page.contains(label));
        QVERIFY(page.contains("a&lt;b&gt;&amp;c.txt")); // names are text, never markup
        QVERIFY(page.contains("new.txt"));
        QVERIFY(page.contains("vanished.txt"));
        QCOMPARE(page.count("class=\"failed\""), 1);
        QCOMPARE(page.count("class=\"ok\""), 1);
        QVERIFY(page.contains("File not found"));

        const qsizetype summaryStart = page.indexOf("<p class=\"summary\">");
        const QString summaryLine = page.mid(summaryStart, page.indexOf("</p>", summaryStart) - summaryStart)
                                        .remove(QRegularExpression("<[^>]*>"))
                                        .replace(QRegularExpression("[ \\t\\r\\n]+"), " ");
        qsizetype at = 0;
        for (const QString &piece : summary) {
            at = summaryLine.indexOf(piece, at);
            QVERIFY2(at >= 0, qPrintable(summaryLine));
        }
        QVERIFY(page.contains("<td class=\"outcome\">" + renamed + "</td>"));
    }

    void renderUsesOnlyStyleSheetsOfItsOwnNaming()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/Report");
        // A sheet beside the report that would show its own text, named by an
        // address and by a path: neither is used.
        writeFile(dir.path() + "/evil.xsl",
                  "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                  "<xsl:template match='/'>EVIL</xsl:template></xsl:stylesheet>");
        for (const QString &href : {QStringLiteral("../evil.xsl"), QStringLiteral("http://127.0.0.1:9/evil.xsl")}) {
            const QString report = dir.path() + "/Report/r.xml";
            const QByteArray text = "<?xml version='1.0'?><?xml-stylesheet type='text/xsl' href='" + href.toUtf8()
                + "' ?><files version='1.0' date='2004-01-31 18:05:09'>"
                  "<file name='a' newName='b' folder='/x' id='f1' renamed='yes'/></files>";
            writeFile(report, text);
            QVERIFY(ReportViewer::renderHtml(report, dir.path() + "/out.html"));
            const QByteArray page = readFile(dir.path() + "/out.html");
            QVERIFY(!page.contains("EVIL"));
            QVERIFY(page.contains("Old name"));
        }
    }

    void openLastReportInBrowser()
    {
        ReportPlace place;
        QTemporaryDir work;
        QTemporaryDir cache;
        const QString report = makeReport(place, "En", work.path());
        RecordingLauncher launcher;
        RecordedMessages messages;
        ReportViewer viewer(launcher, cache.path(), messages.sink());
        const ReportViewer::Shown shown = viewer.OpenLastReport(report);
        QVERIFY(shown.inBrowser);
        QCOMPARE(shown.page, cache.path() + "/Reports/" + QFileInfo(report).completeBaseName() + ".html");
        QVERIFY(QFileInfo(shown.page).size() > 0);
        QCOMPARE(launcher.calls, QStringList({"xdg-open " + shown.page}));
        QVERIFY(messages.texts.isEmpty());
    }

    void openLastReportWithoutBrowser_data()
    {
        QTest::addColumn<int>("fileManagerExit");
        QTest::addColumn<bool>("folderOpened");
        QTest::newRow("file manager selects the report") << 0 << false;
        QTest::newRow("no file manager service") << 1 << true;
    }
    void openLastReportWithoutBrowser()
    {
        QFETCH(int, fileManagerExit);
        QFETCH(bool, folderOpened);
        ReportPlace place;
        QTemporaryDir work;
        QTemporaryDir cache;
        const QString report = makeReport(place, "En", work.path());
        RecordingLauncher launcher;
        launcher.detachedWorks = false;
        launcher.runExitCode = fileManagerExit;
        RecordedMessages messages;
        ReportViewer viewer(launcher, cache.path(), messages.sink());
        const ReportViewer::Shown shown = viewer.OpenLastReport(report);
        QVERIFY(!shown.inBrowser);
        QCOMPARE(messages.texts, QStringList({"Error: " + UiText::LoadText(431)}));
        QCOMPARE(launcher.calls.size(), folderOpened ? 3 : 2);
        QVERIFY(launcher.calls[1].startsWith("gdbus call|--session"));
        QVERIFY(launcher.calls[1].contains("org.freedesktop.FileManager1.ShowItems"));
        QVERIFY(launcher.calls[1].contains("['" + QUrl::fromLocalFile(report).toEncoded() + "']"));
        if (folderOpened)
            QCOMPARE(launcher.calls[2], "xdg-open " + place.reportFolder());
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "tst_reports.moc"
