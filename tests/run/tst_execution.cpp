// Carrying out preview documents on real files: order, include marks, the
// checks before each rename, and that no rename ever replaces anything.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/ReportStore.h"
#include "run/TemporaryName.h"
#include "text/UiText.h"

#include <QProcess>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quillbay;
using namespace quillbay::test;

class ExecutionTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QString w() const { return m_work.path(); }
    Result<ExecutionSummary> run(PreviewDocument &doc, const ReportPlace &place, const QDateTime &at = {})
    {
        RenameExecutor executor(place.folders());
        if (at.isValid())
            executor.setClock([at] { return at; });
        return executor.ExecuteRenameList(doc);
    }

    // The attributes by which a report identifies the file now at path.
    static QString identityAttributes(const QString &path)
    {
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            return QStringLiteral("<missing>");
        return QStringLiteral(" dev=\"%1\" ino=\"%2\" kind=\"file\" size=\"%3\" mtime=\"%4.%5\"")
            .arg(quint64(st.st_dev))
            .arg(quint64(st.st_ino))
            .arg(qint64(st.st_size))
            .arg(qint64(st.st_mtim.tv_sec))
            .arg(qint64(st.st_mtim.tv_nsec), 9, 10, QChar(u'0'));
    }

private slots:
    void initTestCase()
    {
        UiText::setLanguage(UiLanguage::English);
        QVERIFY(m_work.isValid());
    }
    void cleanup()
    {
        for (const QString &name : namesIn(w()))
            QVERIFY(QFileInfo(w() + u'/' + name).isDir() ? QDir(w() + u'/' + name).removeRecursively()
                                                         : QFile::remove(w() + u'/' + name));
    }

    void swapThroughTemporaryName()
    {
        writeFile(w() + "/a.txt", "content of a");
        writeFile(w() + "/b.txt", "content of b");
        TemporaryNameSource names(7);
        const auto tmp = names.MakeTemporaryName(w(), 100);
        QVERIFY(tmp);
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "a.txt", tmp->name, true);
        doc.AddPreviewEntry("file", w(), "b.txt", "a.txt", true);
        doc.AddPreviewEntry("file", w(), tmp->name, "b.txt", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r.ok());
        QVERIFY(r->allSucceeded);
        QCOMPARE(r->attempted, 3);
        QCOMPARE(readFile(w() + "/a.txt"), QByteArray("content of b"));
        QCOMPARE(readFile(w() + "/b.txt"), QByteArray("content of a"));
        QCOMPARE(namesIn(w()), QStringList({"a.txt", "b.txt"}));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(report.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(attr(report.entry(i), "renamed"), QStringLiteral("yes"));
            QVERIFY(!hasAttr(report.entry(i), "error"));
        }
        // A run that ended normally leaves its report, not its journal.
        QCOMPARE(namesIn(place.reportFolder()), QStringList({QFileInfo(r->report.valueOr({})).fileName()}));
    }

    void caseOnlyRename()
    {
        writeFile(w() + "/readme.txt", "read me");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "readme.txt", "README.TXT", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r->allSucceeded);
        QCOMPARE(namesIn(w()), QStringList({"README.TXT"}));
        QCOMPARE(readFile(w() + "/README.TXT"), QByteArray("read me"));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "renamed"), QStringLiteral("yes"));
    }

    void caseOnlyRenameOntoAnotherFileFails()
    {
        // On a file system that tells case apart, README.TXT is a file of its own.
        writeFile(w() + "/readme.txt", "lower");
        writeFile(w() + "/README.TXT", "upper");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "readme.txt", "README.TXT", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(!r->allSucceeded);
        QCOMPARE(readFile(w() + "/readme.txt"), QByteArray("lower"));
        QCOMPARE(readFile(w() + "/README.TXT"), QByteArray("upper"));
        QCOMPARE(namesIn(w()), QStringList({"README.TXT", "readme.txt"}));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "error"), QStringLiteral("File already exists"));
    }

    void includeMarks_data()
    {
        QTest::addColumn<QString>("include");
        QTest::addColumn<bool>("carriedOut");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("number") << "-1" << true;
        QTest::newRow("not a flag") << "maybe" << true;
    }
    void includeMarks()
    {
        QFETCH(QString, include);
        QFETCH(bool, carriedOut);
        writeFile(w() + "/one.txt", "1");
        writeFile(w() + "/two.txt", "2");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "one.txt", "uno.txt", true);
        pugi::xml_node marked = doc.AddPreviewEntry("file", w(), "two.txt", "dos.txt", true);
        if (!include.isNull())
            XmlTools::setAttribute(marked, "include", include);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r->allSucceeded);
        QCOMPARE(QFile::exists(w() + "/dos.txt"), carriedOut);
        QCOMPARE(QFile::exists(w() + "/two.txt"), !carriedOut);
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(report.count(), carriedOut ? 2 : 1);
        QCOMPARE(attr(report.entry(0), "name"), QStringLiteral("one.txt"));
    }

    void uncheckedThroughSetEntryInclude()
    {
        writeFile(w() + "/keep.txt", "k");
        PreviewDocument doc;
        const QString id = attr(doc.AddPreviewEntry("file", w(), "keep.txt", "gone.txt", true), "id");
        QVERIFY(doc.SetEntryInclude(id, false));
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r->allSucceeded);
        QCOMPARE(r->attempted, 0);
        QCOMPARE(namesIn(w()), QStringList({"keep.txt"}));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(report.count(), 0);
    }

    void vanishedSourcesFailAndOthersGoOn()
    {
        writeFile(w() + "/a.txt", "a");
        writeFile(w() + "/b.txt", "b");
        writeFile(w() + "/c.txt", "c");
        QDir(w()).mkdir("folder");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "a.txt", "A1.txt", true);
        doc.AddPreviewEntry("file", w(), "b.txt", "B1.txt", true);
        doc.AddPreviewEntry("folder", w(), "nofolder", "x", true);
        doc.AddPreviewEntry("file", w(), "folder", "not-a-file", true); // a folder is no file
        doc.AddPreviewEntry("folder", w(), "c.txt", "not-a-folder", true);
        doc.AddPreviewEntry("file", w() + "/nowhere", "c.txt", "d.txt", true);
        doc.AddPreviewEntry("file", w(), "c.txt", "C1.txt", true);
        QVERIFY(QFile::remove(w() + "/b.txt"));
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(!r->allSucceeded);
        QCOMPARE(r->failed, 5);
        QCOMPARE(namesIn(w()), QStringList({"A1.txt", "C1.txt", "folder"}));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        const QStringList expected = {QString(),        "File not found",           "The folder is not found.",
                                      "File not found", "The folder is not found.", "File not found",
                                      QString()};
        QCOMPARE(report.count(), int(expected.size()));
        for (int i = 0; i < report.count(); ++i) {
            QCOMPARE(attr(report.entry(i), "error"), expected[i]);
            QCOMPARE(hasAttr(report.entry(i), "renamed"), expected[i].isEmpty());
        }
    }

    void badNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("newName");
        QTest::newRow("slash in new name") << "f.txt"
                                           << "../escaped.txt";
        QTest::newRow("slash in name") << "sub/f.txt"
                                       << "g.txt";
        QTest::newRow("dot dot") << "f.txt"
                                 << "..";
        QTest::newRow("empty") << "f.txt"
                               << "";
        QTest::newRow("too long") << "f.txt" << QString(300, u'x');
    }
    void badNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, newName);
        QDir(w()).mkdir("sub");
        writeFile(w() + "/f.txt", "f");
        writeFile(w() + "/sub/f.txt", "sub f");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), name, newName, true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(!r->allSucceeded);
        QCOMPARE(namesIn(w()), QStringList({"f.txt", "sub"}));
        QCOMPARE(namesIn(w() + "/sub"), QStringList({"f.txt"}));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "error"), QStringLiteral("Bad file name or number"));
    }

    void folderContentsBeforeFolder()
    {
        QDir(w()).mkpath("photos/2004");
        writeFile(w() + "/photos/2004/img.jpg", "jpeg");
        writeFile(w() + "/photos/list.txt", "list");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w() + "/photos/2004", "img.jpg", "Img.JPG", true);
        doc.AddPreviewEntry("folder", w() + "/photos", "2004", "Year 2004", true);
        doc.AddPreviewEntry("file", w() + "/photos", "list.txt", "List.txt", true);
        doc.AddPreviewEntry("folder", w(), "photos", "Photos", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r->allSucceeded);
        QCOMPARE(readFile(w() + "/Photos/Year 2004/Img.JPG"), QByteArray("jpeg"));
        QCOMPARE(readFile(w() + "/Photos/List.txt"), QByteArray("list"));
        QCOMPARE(namesIn(w()), QStringList({"Photos"}));
    }

    void folderSwapWithoutTemporaryNameFailsBoth()
    {
        QDir(w()).mkpath("p/inner");
        QDir(w()).mkpath("q");
        writeFile(w() + "/q/file", "q");
        PreviewDocument doc;
        doc.AddPreviewEntry("folder", w(), "p", "q", true);
        doc.AddPreviewEntry("folder", w(), "q", "p", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QCOMPARE(r->failed, 2);
        QCOMPARE(namesIn(w() + "/p"), QStringList({"inner"}));
        QCOMPARE(namesIn(w() + "/q"), QStringList({"file"}));
        QCOMPARE(namesIn(w()), QStringList({"p", "q"}));
    }

    void renameOntoFileCreatedAfterPreview()
    {
        writeFile(w() + "/draft.txt", "the draft");
        writeFile(w() + "/other.txt", "other");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "draft.txt", "final.txt", true);
        doc.AddPreviewEntry("file", w(), "other.txt", "others.txt", true);
        writeFile(w() + "/final.txt", "someone else's final");
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QCOMPARE(r->failed, 1);
        QCOMPARE(readFile(w() + "/draft.txt"), QByteArray("the draft"));
        QCOMPARE(readFile(w() + "/final.txt"), QByteArray("someone else's final"));
        QCOMPARE(readFile(w() + "/others.txt"), QByteArray("other"));
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        QCOMPARE(attr(report.entry(0), "error"), QStringLiteral("File already exists"));
        QVERIFY(!hasAttr(report.entry(0), "renamed"));
        QCOMPARE(attr(report.entry(1), "renamed"), QStringLiteral("yes"));
    }

    void folderOntoEmptyFolderFails()
    {
        // A plain rename would silently replace an empty folder.
        QDir(w()).mkpath("src/content");
        QDir(w()).mkpath("empty");
        PreviewDocument doc;
        doc.AddPreviewEntry("folder", w(), "src", "empty", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QCOMPARE(r->failed, 1);
        QCOMPARE(namesIn(w() + "/src"), QStringList({"content"}));
        QVERIFY(QFileInfo(w() + "/empty").isDir());
    }

    void reportNameAndDateFromOneReading()
    {
        writeFile(w() + "/x", "x");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "x", "y", true);
        ReportPlace place;
        int readings = 0;
        RenameExecutor executor(place.folders());
        // A clock that moves on by one second at every reading.
        executor.setClock([&readings] { return QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9)).addSecs(readings++); });
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        QVERIFY(r->report.ok());
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        const QString date = attr(report.root(), "date");
        QVERIFY2(QFileInfo(r->report.valueOr({})).fileName() == ReportStore::fileStem(r->runTime) + ".xml",
                 qPrintable(r->report.valueOr({})));
        QCOMPARE(date, ReportStore::dateText(r->runTime));
        QCOMPARE(executor.lastReportPath(), r->report.valueOr({}));
        QCOMPARE(ReportStore::fileStem(QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9))),
                 QStringLiteral("2004-01-31 180509"));
        QCOMPARE(ReportStore::dateText(QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9))),
                 QStringLiteral("2004-01-31 18:05:09"));
    }

    void twoRunsInOneSecondKeepBothReports()
    {
        writeFile(w() + "/1", "1");
        const QDateTime at(QDate(2004, 1, 31), QTime(18, 5, 9));
        ReportPlace place;
        PreviewDocument first;
        first.AddPreviewEntry("file", w(), "1", "2", true);
        const Result<ExecutionSummary> r1 = run(first, place, at);
        PreviewDocument second;
        second.AddPreviewEntry("file", w(), "2", "3", true);
        const Result<ExecutionSummary> r2 = run(second, place, at);
        QCOMPARE(QFileInfo(r1->report.valueOr({})).fileName(), QStringLiteral("2004-01-31 180509.xml"));
        QCOMPARE(QFileInfo(r2->report.valueOr({})).fileName(), QStringLiteral("2004-01-31 180509 (2).xml"));
        LoadedReport a;
        loadReport(r1->report.valueOr({}), a);
        QCOMPARE(attr(a.entry(0), "newName"), QStringLiteral("2"));
        LoadedReport b;
        loadReport(r2->report.valueOr({}), b);
        QCOMPARE(attr(b.entry(0), "newName"), QStringLiteral("3"));
    }

    void reportFormat_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("English") << "En";
        QTest::newRow("Japanese") << "Ja";
    }
    void reportFormat()
    {
        QFETCH(QString, suffix);
        writeFile(w() + "/名前.txt", "n");
        PreviewDocument doc;
        doc.NewPreviewDocument(suffix);
        doc.AddPreviewEntry("file", w(), "名前.txt", "新しい名前.txt", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place, QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9)));
        const QByteArray bytes = readFile(r->report.valueOr({}));
        QVERIFY(bytes.startsWith("\xff\xfe"));
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        const QString expected =
            "<?xml version='1.0' encoding='UTF-16'?><?xml-stylesheet type='text/xsl' href='../Report" + suffix
            + ".xsl' ?><files version=\"1.0\" date=\"2004-01-31 18:05:09\"><file name=\"名前.txt\" "
              "newName=\"新しい名前.txt\" folder=\""
            + w() + "\" id=\"f1\" renamed=\"yes\"" + identityAttributes(w() + "/新しい名前.txt") + "/></files>";
        QCOMPARE(text, expected);
    }

    void runRecordsWhatItRenamed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("file") << "file";
        QTest::newRow("folder") << "folder";
        QTest::newRow("symbolic link") << "symlink";
    }
    void runRecordsWhatItRenamed()
    {
        QFETCH(QString, kind);
        if (kind == "file")
            writeFile(w() + "/item", "twelve bytes");
        else if (kind == "folder")
            QVERIFY(QDir(w()).mkdir("item"));
        else
            QVERIFY(QFile::link("nowhere", w() + "/item"));
        PreviewDocument doc;
        doc.AddPreviewEntry(kind == "folder" ? "folder" : "file", w(), "item", "renamed item", true);
        ReportPlace place;
        const Result<ExecutionSummary> r = run(doc, place);
        QVERIFY(r->allSucceeded);
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        const pugi::xml_node entry = report.entry(0);
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(w() + "/renamed item").constData(), &st), 0);
        QCOMPARE(attr(entry, "kind"), kind);
        QCOMPARE(attr(entry, "ino"), QString::number(quint64(st.st_ino)));
        QCOMPARE(attr(entry, "dev"), QString::number(quint64(st.st_dev)));
        // Only a file is known by its size and time as well.
        QCOMPARE(attr(entry, "size"), kind == "file" ? QStringLiteral("12") : QString());
        QCOMPARE(hasAttr(entry, "mtime"), kind == "file");
    }

    void renamingFlagLastsForTheRun()
    {
        writeFile(w() + "/f", "f");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "f", "g", true);
        ReportPlace place;
        RenameExecutor executor(place.folders());
        bool seen = false;
        executor.setEntryObserver([&seen](int) { seen = RenameExecutor::renamingInProgress(); });
        QVERIFY(!RenameExecutor::renamingInProgress());
        static_cast<void>(executor.ExecuteRenameList(doc));
        QVERIFY(seen);
        QVERIFY(!RenameExecutor::renamingInProgress());
    }

    void largeFolderWithChainsAndAVanishingFile()
    {
        // Enough entries in one folder for the run to work from its listing.
        const int n = 300;
        for (int i = 0; i < n; ++i)
            writeFile(w() + QStringLiteral("/f%1").arg(i), QByteArray::number(i));
        PreviewDocument doc;
        // A chain: f1 -> f0 must wait until f0 -> g0 has freed its name.
        doc.AddPreviewEntry("file", w(), "f0", "g0", true);
        doc.AddPreviewEntry("file", w(), "f1", "f0", true);
        for (int i = 2; i < n; ++i)
            doc.AddPreviewEntry("file", w(), QStringLiteral("f%1").arg(i), QStringLiteral("g%1").arg(i), true);
        doc.AddPreviewEntry("file", w(), "f0", "h0", true); // f0 is now the former f1
        ReportPlace place;
        RenameExecutor executor(place.folders());
        const QString victim = w() + "/f250";
        executor.setEntryObserver([&](int attempted) {
            if (attempted == 200)
                QFile::remove(victim); // after the listing was read
        });
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        QCOMPARE(r->failed, 1);
        QCOMPARE(readFile(w() + "/g0"), QByteArray("0"));
        QCOMPARE(readFile(w() + "/h0"), QByteArray("1"));
        QCOMPARE(readFile(w() + "/g299"), QByteArray("299"));
        QVERIFY(!QFile::exists(w() + "/g250"));
        QCOMPARE(namesIn(w()).size(), n - 1);
    }

    void fewEntriesOfAFolder_data()
    {
        // Five entries: a small folder's listing is read at the first of them;
        // a large folder's is not (it would hold far more names than entries).
        QTest::addColumn<int>("files");
        QTest::newRow("small folder") << 10;
        QTest::newRow("large folder") << 400;
    }
    void fewEntriesOfAFolder()
    {
        QFETCH(int, files);
        for (int i = 0; i < files; ++i)
            writeFile(w() + QStringLiteral("/f%1").arg(i), QByteArray::number(i));
        QDir(w()).mkdir("sub");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "f0", "g0", true);
        doc.AddPreviewEntry("file", w(), "sub", "x", true); // a folder is no file
        doc.AddPreviewEntry("file", w(), "missing", "y", true);
        doc.AddPreviewEntry("file", w(), "f1", "f2", true); // taken
        doc.AddPreviewEntry("file", w(), "f3", "g3", true); // removed during the run
        ReportPlace place;
        RenameExecutor executor(place.folders());
        executor.setEntryObserver([&](int attempted) {
            if (attempted == 1)
                QFile::remove(w() + "/f3");
        });
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        QCOMPARE(r->failed, 4);
        LoadedReport report;
        loadReport(r->report.valueOr({}), report);
        const QStringList expected = {QString(), "File not found", "File not found", "File already exists",
                                      "File not found"};
        QCOMPARE(report.count(), int(expected.size()));
        for (int i = 0; i < report.count(); ++i)
            QCOMPARE(attr(report.entry(i), "error"), expected[i]);
        QCOMPARE(readFile(w() + "/g0"), QByteArray("0"));
        QCOMPARE(readFile(w() + "/f1"), QByteArray("1"));
        QCOMPARE(readFile(w() + "/f2"), QByteArray("2"));
        QVERIFY(QFileInfo(w() + "/sub").isDir());
        QCOMPARE(namesIn(w()).size(), files); // f3 gone, sub added
    }

    void noRecordNoRun()
    {
        // Where no journal can be kept, nothing is renamed: a run cut short
        // could not be reversed.
        writeFile(w() + "/a", "a");
        QTemporaryDir data;
        writeFile(data.path() + "/Report", "a file where the report folder should be");
        QStringList messages;
        RenameExecutor executor(ReportFolders::underDataFolder(data.path()),
                                [&messages](const QString &text, const QString &) { messages << text; });
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "a", "b", true);
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        QVERIFY(!r.ok());
        QVERIFY(r.error().message.startsWith(UiText::LoadText(460)));
        QVERIFY(!messages.isEmpty());
        QCOMPARE(namesIn(w()), QStringList({"a"}));
        QVERIFY(!RenameExecutor::renamingInProgress());
    }

    void unsavedReportIsNotLost()
    {
        writeFile(w() + "/a", "a");
        ReportPlace place;
        RenameExecutor executor(place.folders());
        bool frozen = false;
        // Once the run has begun, the report folder refuses new files.
        executor.setEntryObserver([&](int) {
            frozen = QProcess::execute("chattr", {"+i", place.reportFolder()}) == 0;
        });
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w(), "a", "b", true);
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        if (!frozen)
            QSKIP("chattr +i is not available on this file system");
        QProcess::execute("chattr", {"-i", place.reportFolder()});
        QVERIFY(r.ok());
        QVERIFY(!r->report.ok());
        QVERIFY(!r->report.error().message.isEmpty());
        QVERIFY(r->report.valueOr({}).isEmpty());
        const QStringList left = namesIn(place.reportFolder());
        QCOMPARE(left.size(), 1);
        QVERIFY(left[0].endsWith(".journal"));
        // The next run saves the report of this one.
        PreviewDocument empty;
        RenameExecutor next(place.folders());
        QVERIFY(next.ExecuteRenameList(empty));
        QCOMPARE(next.recoveredJournals().size(), 1);
        LoadedReport report;
        loadReport(next.recoveredJournals()[0].report.value(), report);
        QCOMPARE(attr(report.entry(0), "newName"), QStringLiteral("b"));
        QCOMPARE(attr(report.entry(0), "renamed"), QStringLiteral("yes"));
    }

    void concurrentCreationNeverLosesContent()
    {
        const int n = 400;
        for (int i = 0; i < n; ++i)
            writeFile(w() + QStringLiteral("/src%1").arg(i), "original " + QByteArray::number(i));
        PreviewDocument doc;
        for (int i = 0; i < n; ++i)
            doc.AddPreviewEntry("file", w(), QStringLiteral("src%1").arg(i), QStringLiteral("dst%1").arg(i), true);
        std::atomic<bool> stop{false};
        std::atomic<int> created{0};
        const QByteArray folder = QFile::encodeName(w());
        // Another program creates the target names while the run goes, from
        // the far end, so that the two meet in the middle.
        std::thread intruder([&] {
            while (!stop) {
                for (int i = n - 1; i >= 0 && !stop; --i) {
                    const QByteArray path = folder + "/dst" + QByteArray::number(i);
                    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
                    if (fd >= 0) {
                        const QByteArray content = "intruder " + QByteArray::number(i);
                        if (::write(fd, content.constData(), size_t(content.size())) == content.size())
                            ++created;
                        ::close(fd);
                    }
                }
            }
        });
        ReportPlace place;
        RenameExecutor executor(place.folders());
        executor.setEntryObserver([&](int attempted) {
            if (attempted == n)
                stop = true;
        });
        const Result<ExecutionSummary> r = executor.ExecuteRenameList(doc);
        stop = true;
        intruder.join();
        QSet<QByteArray> contents;
        for (const QString &name : namesIn(w()))
            contents.insert(readFile(w() + u'/' + name));
        for (int i = 0; i < n; ++i)
            QVERIFY2(contents.contains("original " + QByteArray::number(i)), qPrintable(QString::number(i)));
        QCOMPARE(namesIn(w()).size(), n + created.load());
        QCOMPARE(r->attempted, n);
        QVERIFY(created.load() > 0);
    }
};

QTEST_GUILESS_MAIN(ExecutionTest)
#include "tst_execution.moc"
