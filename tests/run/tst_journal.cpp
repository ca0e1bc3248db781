// The journal of a run: what a run that never reached its report leaves
// behind, and how the next run turns it into a report that undo can reverse.

#include "RunFixture.h"

#include "run/ItemIdentity.h"
#include "run/JournalRecovery.h"
#include "run/RenameErrors.h"
#include "run/RenameExecutor.h"
#include "run/RunJournal.h"
#include "run/TemporaryName.h"
#include "run/Undo.h"
#include "text/UiText.h"

#include <QProcess>

using namespace quillbay;
using namespace quillbay::test;

class JournalTest : public QObject
{
    Q_OBJECT

private:
    static QStringList journalsIn(const QString &folder)
    {
        return QDir(folder).entryList({"*.journal"}, QDir::Files | QDir::Hidden);
    }
    static QByteArray journalText(const QString &folder, QByteArray lines)
    {
        return "QBJ1\tEn\t2004-01-31T18:05:09\n" + lines.replace("@", QFile::encodeName(folder));
    }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void fieldsSurviveEscaping()
    {
        const char *awkward = "tab\there\nnew line\\back\rslash";
        std::string line;
        appendJournalField(line, awkward);
        QVERIFY(line.find('\t') == std::string::npos);
        QVERIFY(line.find('\n') == std::string::npos);
        QCOMPARE(unescapeJournalField(line.data(), line.data() + line.size()), std::string(awkward));
    }

    void journalRecordsOutcomes()
    {
        QTemporaryDir work;
        QTemporaryDir reports;
        writeFile(work.path() + "/still here", "x");
        RunJournal journal;
        const Result<void> created =
            journal.create(reports.path(), "Ja", QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9)));
        QVERIFY2(created, qPrintable(created.error().message));
        const QByteArray folder = QFile::encodeName(work.path());
        QVERIFY(journal.begin("file", "f1", folder, "a\tb", "c\nd", "true"));
        ItemIdentity moved;
        moved.device = 2049;
        moved.inode = 4242;
        moved.size = 17;
        moved.modifiedSeconds = -5;
        moved.modifiedNanoseconds = 1200;
        QVERIFY(journal.renamed(&moved));
        QVERIFY(journal.begin("folder", "f2", folder, "gone", "new", ""));
        EntryFailure failure = programFailure(ErrorNumber::FolderNotFound);
        QVERIFY(journal.failed(failure));
        QVERIFY(journal.begin("file", "f3", "/elsewhere", "x", "y", ""));
        QVERIFY(journal.renamed());
        QVERIFY(journal.begin("file", "f4", "/elsewhere", "z", "w", ""));
        QVERIFY(journal.renamed());
        // The last entry was cut off before its outcome: its name is still
        // there, so nothing was done to it.
        QVERIFY(journal.begin("file", "f5", folder, "still here", "moved", ""));
        journal.close();

        QFile f(journal.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        PreviewDocument report;
        QDateTime start;
        QVERIFY(JournalRecovery::buildReport(f.readAll(), report, start));
        QCOMPARE(start, QDateTime(QDate(2004, 1, 31), QTime(18, 5, 9)));
        QCOMPARE(report.languageSuffix(), QStringLiteral("Ja"));
        QCOMPARE(report.entryCount(), 4);
        const pugi::xml_node first = report.root().first_child();
        QCOMPARE(attr(first, "folder"), work.path());
        QCOMPARE(attr(first.next_sibling(), "folder"), work.path());
        QCOMPARE(attr(report.root().last_child(), "folder"), QStringLiteral("/elsewhere"));
        QCOMPARE(attr(report.root().last_child(), "name"), QStringLiteral("z"));
        QCOMPARE(attr(first, "name"), QStringLiteral("a\tb"));
        QCOMPARE(attr(first, "newName"), QStringLiteral("c\nd"));
        QCOMPARE(attr(first, "id"), QStringLiteral("f1"));
        QCOMPARE(attr(first, "include"), QStringLiteral("true"));
        QCOMPARE(attr(first, "renamed"), QStringLiteral("yes"));
        // What the entry moved comes with it, so that its reversal can check it.
        const std::optional<ItemIdentity> recorded = ItemIdentity::readFrom(first);
        QVERIFY(recorded);
        QCOMPARE(recorded->inode, moved.inode);
        QCOMPARE(recorded->device, moved.device);
        QCOMPARE(recorded->size, moved.size);
        QCOMPARE(attr(first, "mtime"), QStringLiteral("-5.000001200"));
        QVERIFY(!hasAttr(first.next_sibling().next_sibling(), "ino")); // renamed without an identity
        const pugi::xml_node second = first.next_sibling();
        QCOMPARE(QString::fromUtf8(second.name()), QStringLiteral("folder"));
        QVERIFY(!hasAttr(second, "include"));
        QVERIFY(!hasAttr(second, "renamed"));
        QCOMPARE(attr(second, "error"), QStringLiteral("The folder is not found."));
    }

    void unfinishedEntryIsLookedUpOnDisk_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("newName"); // empty: left out of the report
        QTest::newRow("renamed, outcome not yet written")
            << QStringList{"new"} << QByteArray("B\tfile\tf1\t@\told\tnew\t\n") << "new";
        QTest::newRow("not yet renamed") << QStringList{"old"} << QByteArray("B\tfile\tf1\t@\told\tnew\t\n")
                                         << QString();
        QTest::newRow("caught under its temporary name")
            << QStringList{".quillbay-1.tmp"} << QByteArray("B\tfile\tf1\t@\told\tNEW\t\nT\t.quillbay-1.tmp\n")
            << ".quillbay-1.tmp";
        QTest::newRow("through the temporary name and on")
            << QStringList{"NEW"} << QByteArray("B\tfile\tf1\t@\told\tNEW\t\nT\t.quillbay-1.tmp\n") << "NEW";
        QTest::newRow("line cut short") << QStringList{"new"} << QByteArray("B\tfile\tf1\t@\told\tne") << QString();
        QTest::newRow("stranded") << QStringList{".quillbay-2.tmp", "NEW"}
                                  << QByteArray("B\tfile\tf1\t@\told\tNEW\t\nT\t.quillbay-2.tmp\nS\t.quillbay-2.tmp\n"
                                                "E\t58\tFile already exists\n")
                                  << ".quillbay-2.tmp";
    }
    void unfinishedEntryIsLookedUpOnDisk()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QByteArray, lines);
        QFETCH(QString, newName);
        QTemporaryDir work;
        for (const QString &name : onDisk)
            writeFile(work.path() + u'/' + name, "x");
        PreviewDocument report;
        QDateTime start;
        QVERIFY(JournalRecovery::buildReport(journalText(work.path(), lines), report, start));
        QCOMPARE(report.entryCount(), newName.isEmpty() ? 0 : 1);
        if (!newName.isEmpty()) {
            QCOMPARE(attr(report.root().first_child(), "newName"), newName);
            QCOMPARE(attr(report.root().first_child(), "renamed"), QStringLiteral("yes"));
        }
    }

    void recoveryLeavesLiveAndForeignJournalsAlone()
    {
        QTemporaryDir reports;
        RunJournal live;
        QVERIFY(live.create(reports.path(), "En", QDateTime::currentDateTime()));
        QVERIFY(live.begin("file", "f1", "/nowhere", "a", "b", ""));
        QVERIFY(live.renamed());
        writeFile(reports.path() + "/garbage.journal", "not a journal at all\n");
        writeFile(reports.path() + "/empty.journal", QByteArray(4096, '\0')); // ended before its header
        const QList<JournalRecovery::Outcome> outcomes = JournalRecovery::recoverAll(reports.path());
        QCOMPARE(outcomes.size(), 2);
        QVERIFY(outcomes[0].report); // the empty one, removed
        QVERIFY(outcomes[0].report.value().isEmpty());
        QVERIFY(!outcomes[1].report);
        QCOMPARE(outcomes[1].report.error().message, UiText::LoadText(930));
        QCOMPARE(journalsIn(reports.path()).size(), 2);
        live.close();
        // Once its run has ended, the journal becomes a report.
        const QList<JournalRecovery::Outcome> later = JournalRecovery::recoverAll(reports.path());
        QCOMPARE(later.size(), 2);
        QCOMPARE(journalsIn(reports.path()), QStringList({"garbage.journal"}));
        QCOMPARE(QDir(reports.path()).entryList({"*.xml"}).size(), 1);
    }

    void killedRunBecomesAReportThatUndoes()
    {
        QTemporaryDir work;
        QTemporaryDir data;
        const QString reportFolder = data.path() + "/Report";
        const int n = 40;
        PreviewDocument preview;
        for (int i = 0; i < n; ++i) {
            writeFile(work.path() + QStringLiteral("/file %1.txt").arg(i), QByteArray::number(i));
            QDir(work.path()).mkpath(QStringLiteral("dir %1").arg(i));
        }
        // A swap through a temporary name, then plain renames of files and folders.
        TemporaryNameSource names(3);
        const QString tmp = names.MakeTemporaryName(work.path(), 100)->name;
        preview.AddPreviewEntry("file", work.path(), "file 0.txt", tmp, true);
        preview.AddPreviewEntry("file", work.path(), "file 1.txt", "file 0.txt", true);
        preview.AddPreviewEntry("file", work.path(), tmp, "file 1.txt", true);
        for (int i = 2; i < n; ++i) {
            preview.AddPreviewEntry("file", work.path(), QStringLiteral("file %1.txt").arg(i),
                                    QStringLiteral("renamed %1.txt").arg(i), true);
            preview.AddPreviewEntry("folder", work.path(), QStringLiteral("dir %1").arg(i),
                                    QStringLiteral("DIR %1").arg(i), true);
        }
        const QStringList before = namesIn(work.path());
        const QString previewPath = data.path() + "/preview.xml";
        QVERIFY(XmlTools::saveToPath(preview.document(), previewPath, preview.prologue()));

        QProcess child;
        child.start(QStringLiteral(QUILLBAY_HELPER), {previewPath, reportFolder, "30"});
        QVERIFY(child.waitForStarted());
        QByteArray out;
        while (!out.contains("paused") && child.waitForReadyRead(10000))
            out += child.readAllStandardOutput();
        QVERIFY2(out.contains("paused"), out.constData());
        child.kill(); // SIGKILL: no handler, no report
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(journalsIn(reportFolder).size(), 1);
        QVERIFY(QDir(reportFolder).entryList({"*.xml"}).isEmpty());
        QVERIFY(namesIn(work.path()) != before);

        // The next run, of an empty preview, turns the journal into a report.
        PreviewDocument empty;
        RenameExecutor next(ReportFolders::forReportFolder(reportFolder));
        QVERIFY(next.ExecuteRenameList(empty));
        QCOMPARE(next.recoveredJournals().size(), 1);
        const Result<QString> report = next.recoveredJournals()[0].report;
        QVERIFY(report);
        QVERIFY(journalsIn(reportFolder).isEmpty());
        LoadedReport recovered;
        loadReport(report.value(), recovered);
        QCOMPARE(recovered.count(), 30);
        for (int i = 0; i < 30; ++i)
            QCOMPARE(attr(recovered.entry(i), "renamed"), QStringLiteral("yes"));

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(report.value(), reversal, "En"));
        QCOMPARE(reversal.entryCount(), 30);
        const Result<ExecutionSummary> undone = next.ExecuteRenameList(reversal);
        QVERIFY(undone->allSucceeded);
        QCOMPARE(namesIn(work.path()), before);
        for (int i = 0; i < n; ++i)
            QCOMPARE(readFile(work.path() + QStringLiteral("/file %1.txt").arg(i)), QByteArray::number(i));
    }
};

QTEST_GUILESS_MAIN(JournalTest)
#include "tst_journal.moc"
