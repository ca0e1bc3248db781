// Reversing past runs: reports read backwards into new previews, and those
// previews carried out on real files.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/TemporaryName.h"
#include "run/Undo.h"
#include "text/UiText.h"

#include <cstdio>

using namespace quillbay;
using namespace quillbay::test;

class UndoTest : public QObject
{
    Q_OBJECT

private:
    ReportPlace m_place;
    Result<ExecutionSummary> execute(PreviewDocument &doc)
    {
        RenameExecutor executor(m_place.folders());
        return executor.ExecuteRenameList(doc);
    }
    static QString writeReport(const QString &folder, const QByteArray &body)
    {
        const QString path = folder + "/report.xml";
        pugi::xml_document doc;
        const bool parsed = doc.load_string(body.constData());
        if (!parsed || !XmlTools::saveToPath(doc, path, PreviewDocument::prologueFor("En")))
            return {};
        return path;
    }
    static QStringList entryTexts(const PreviewDocument &doc)
    {
        QStringList out;
        for (pugi::xml_node e = doc.root().first_child(); e; e = e.next_sibling())
            out << QStringLiteral("%1:%2>%3:%4")
                       .arg(QString::fromUtf8(e.name()), attr(e, "name"), attr(e, "newName"), attr(e, "id"));
        return out;
    }

    // The "cleared" attributes of a reversal's entries, in order ("" for none).
    static QStringList clearedMarks(const PreviewDocument &doc)
    {
        QStringList out;
        for (pugi::xml_node e = doc.root().first_child(); e; e = e.next_sibling())
            out << attr(e, "cleared");
        return out;
    }
    // What a user or another program does to a renamed file after the run.
    static void changeAfterRun(const QString &path, const QString &change)
    {
        if (change == "append") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            f.write(" and more");
        } else if (change == "touch") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime(QDate(2020, 5, 1), QTime(12, 0)), QFileDevice::FileModificationTime));
        } else if (change == "save-over") {
            // As editors save: a new file written beside it, renamed over it.
            writeFile(path + ".new", "edited");
            QCOMPARE(std::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)), 0);
        } else if (change == "delete" || change == "folder" || change == "symlink") {
            QVERIFY(QFile::remove(path));
            if (change == "folder")
                QVERIFY(QDir().mkdir(path));
            if (change == "symlink")
                QVERIFY(QFile::link("elsewhere", path));
        }
    }

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void changesAfterTheRunClearTheEntry_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("cleared");       // the reversal entry's reason, empty for none
        QTest::addColumn<bool>("movesWhenChecked"); // checked again, the entry is reversed
        QTest::newRow("unchanged") << "none"
                                   << "" << true;
        QTest::newRow("appended to") << "append"
                                     << "changed" << true;
        QTest::newRow("time changed") << "touch"
                                      << "changed" << true;
        QTest::newRow("editor-style save") << "save-over"
                                           << "replaced" << true;
        QTest::newRow("deleted") << "delete"
                                 << "missing" << false;
        QTest::newRow("swapped for a folder") << "folder"
                                              << "replaced" << false;
        QTest::newRow("swapped for a symbolic link") << "symlink"
                                                     << "replaced" << true;
    }
    void changesAfterTheRunClearTheEntry()
    {
        QFETCH(QString, change);
        QFETCH(QString, cleared);
        QFETCH(bool, movesWhenChecked);
        QTemporaryDir work;
        const QString w = work.path();
        writeFile(w + "/a.txt", "a");
        writeFile(w + "/b.txt", "b");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w, "a.txt", "A.txt", true);
        doc.AddPreviewEntry("file", w, "b.txt", "B.txt", true);
        const Result<ExecutionSummary> r = execute(doc);
        QVERIFY(r->allSucceeded);
        changeAfterRun(w + "/A.txt", change);

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), reversal, "En"));
        QCOMPARE(clearedMarks(reversal), QStringList({"", cleared}));
        QCOMPARE(RenameExecutor::isIncluded(reversal.findEntry("f2")), cleared.isEmpty());
        const Result<ExecutionSummary> back = execute(reversal);
        QVERIFY(back->allSucceeded);
        QCOMPARE(readFile(w + "/b.txt"), QByteArray("b"));
        QCOMPARE(namesIn(w).contains("a.txt"), cleared.isEmpty());
        if (cleared.isEmpty())
            return;

        // The user checks the entry again: it is carried out as the report says.
        PreviewDocument again;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), again, "En"));
        QCOMPARE(attr(again.findEntry("f2"), "cleared"), cleared);
        QVERIFY(again.SetEntryInclude("f2", true));
        const QByteArray content = change == "symlink" ? QByteArray() : readFile(w + "/A.txt");
        QVERIFY(execute(again));
        QCOMPARE(namesIn(w).contains("a.txt"), movesWhenChecked);
        if (movesWhenChecked && change != "symlink")
            QCOMPARE(readFile(w + "/a.txt"), content);
        QCOMPARE(readFile(w + "/b.txt"), QByteArray("b"));
    }

    void reportWithoutIdentityReversesAsBefore()
    {
        QTemporaryDir work;
        const QString w = work.path();
        writeFile(w + "/new.txt", "not what the run renamed");
        const QString path = writeReport(work.path(),
                                         QStringLiteral("<files version='1.0'><file name='old.txt' "
                                                        "newName='new.txt' folder='%1' id='f1' "
                                                        "renamed='yes'/></files>")
                                             .arg(w)
                                             .toUtf8());
        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(path, reversal, "En"));
        QCOMPARE(clearedMarks(reversal), QStringList({""}));
        QVERIFY(RenameExecutor::isIncluded(reversal.findEntry("f1")));
        QVERIFY(execute(reversal)->allSucceeded);
        QCOMPARE(readFile(w + "/old.txt"), QByteArray("not what the run renamed"));
    }

    void editedReportsCannotReachOtherFolders_data()
    {
        // In the entries, @ stands for the test's folder, which holds an
        // empty folder "inside" and a folder "outside" with a file "victim".
        QTest::addColumn<QString>("entry");
        QTest::newRow("relative folder") << "folder='outside' name='taken' newName='victim'";
        QTest::newRow("parent component") << "folder='@/inside/../outside' name='taken' newName='victim'";
        QTest::newRow("current component") << "folder='@/./outside' name='taken' newName='victim'";
        QTest::newRow("trailing parent") << "folder='@/outside/inside/..' name='taken' newName='victim'";
        QTest::newRow("no folder") << "name='taken' newName='victim'";
        QTest::newRow("name with a slash") << "folder='@/inside' name='../outside/taken' newName='victim'";
        QTest::newRow("new name with a slash") << "folder='@/inside' name='x' newName='../outside/victim'";
        QTest::newRow("new name is the parent") << "folder='@/outside/victim' name='x' newName='..'";
    }
    void editedReportsCannotReachOtherFolders()
    {
        QFETCH(QString, entry);
        QTemporaryDir work;
        const QString w = work.path();
        QVERIFY(QDir().mkpath(w + "/inside"));
        writeFile(w + "/outside/victim", "precious");
        const QString path = writeReport(w,
                                         QStringLiteral("<files version='1.0'><file %1 id='f1' renamed='yes'/></files>")
                                             .arg(entry.replace("@", w))
                                             .toUtf8());
        // A relative folder would be resolved against the current folder.
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(w));
        const auto restore = qScopeGuard([&current] { QDir::setCurrent(current); });

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(path, reversal, "En"));
        QCOMPARE(clearedMarks(reversal), QStringList({"refused"}));
        QVERIFY(!RenameExecutor::isIncluded(reversal.findEntry("f1")));
        // Checked again, the run refuses it all the same.
        QVERIFY(reversal.SetEntryInclude("f1", true));
        const Result<ExecutionSummary> back = execute(reversal);
        QCOMPARE(back->failed, 1);
        QCOMPARE(attr(reversal.root().first_child(), "error"), UiText::LoadText(20052));
        QCOMPARE(namesIn(w), QStringList({"inside", "outside", "report.xml"}));
        QCOMPARE(namesIn(w + "/inside"), QStringList());
        QCOMPARE(namesIn(w + "/outside"), QStringList({"victim"}));
        QCOMPARE(readFile(w + "/outside/victim"), QByteArray("precious"));
    }

    void readsBackwardsKeepingOnlyRenamedEntries()
    {
        QTemporaryDir dir;
        const QString path = writeReport(
            dir.path(),
            "<files version='1.0' date='2004-01-31 18:05:09'>"
            "<file name='a' newName='b' folder='/x' id='f1' include='True' renamed='yes' extra='kept' cleared='taken'/>"
            "<file name='c' newName='d' folder='/x' id='f2' error='File not found'/>"
            "<!-- a comment is no entry -->"
            "<folder name='e' newName='f' folder='/' id='f3' renamed='YES'/>"
            "<file name='g' folder='/x' id='f4' renamed='yes'/>"
            "<other name='h' newName='i' renamed='yes'/>"
            "<file name='j' newName='k' folder='/x' id='f5' renamed='no'/>"
            "<file name='l' newName='m' folder='/x' id='f6' renamed='Yes'/>"
            "</files>");
        QVERIFY(!path.isEmpty());
        PreviewDocument preview;
        preview.AddPreviewEntry("file", "/old", "left", "over", true); // replaced by the reversal
        QVERIFY(Undo::UndoFromReport(path, preview, "Ja"));
        QCOMPARE(preview.languageSuffix(), QStringLiteral("Ja"));
        QCOMPARE(entryTexts(preview), QStringList({"file:m>l:f1", "folder:f>e:f2", "file:b>a:f3"}));
        const pugi::xml_node last = preview.root().last_child();
        QCOMPARE(attr(last, "include"), QStringLiteral("True"));
        QCOMPARE(attr(last, "extra"), QStringLiteral("kept"));
        QCOMPARE(attr(last, "folder"), QStringLiteral("/x"));
        QVERIFY(!hasAttr(last, "renamed"));
        QVERIFY(!hasAttr(last, "cleared")); // the old preview's verdict
        QCOMPARE(preview.NextEntryId(), QStringLiteral("f4"));
    }

    void unreadableReportsLeaveThePreviewAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not XML") << QByteArray("<files><file name='a'");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("missing file") << QByteArray("<missing>");
    }
    void unreadableReportsLeaveThePreviewAlone()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.path() + "/broken.xml";
        if (content != "<missing>")
            writeFile(path, content);
        PreviewDocument preview;
        preview.AddPreviewEntry("file", "/x", "a", "b", true);
        QVERIFY(!Undo::UndoFromReport(path, preview, "En"));
        QCOMPARE(entryTexts(preview), QStringList({"file:a>b:f1"}));
    }

    void reportWhereEverythingFailedGivesEmptyPreview()
    {
        QTemporaryDir work;
        PreviewDocument doc;
        doc.AddPreviewEntry("file", work.path(), "missing1", "x", true);
        doc.AddPreviewEntry("folder", work.path(), "missing2", "y", true);
        const Result<ExecutionSummary> r = execute(doc);
        QCOMPARE(r->failed, 2);
        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), reversal, "En"));
        QCOMPARE(reversal.entryCount(), 0);
    }

    void swapReversalAndReversalOfReversal()
    {
        QTemporaryDir work;
        const QString w = work.path();
        writeFile(w + "/A.txt", "first");
        writeFile(w + "/B.txt", "second");
        TemporaryNameSource names(11);
        const QString tmp = names.MakeTemporaryName(w, 100)->name;
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w, "A.txt", tmp, true);
        doc.AddPreviewEntry("file", w, "B.txt", "A.txt", true);
        doc.AddPreviewEntry("file", w, tmp, "B.txt", true);
        const Result<ExecutionSummary> swapped = execute(doc);
        QVERIFY(swapped->allSucceeded);
        QCOMPARE(readFile(w + "/A.txt"), QByteArray("second"));

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(swapped->report.valueOr({}), reversal, "En"));
        // The temporary name is found where the last entry took it.
        QCOMPARE(clearedMarks(reversal), QStringList({"", "", ""}));
        QCOMPARE(entryTexts(reversal),
                 QStringList({"file:B.txt>" + tmp + ":f1", "file:A.txt>B.txt:f2", "file:" + tmp + ">A.txt:f3"}));
        const Result<ExecutionSummary> restored = execute(reversal);
        QVERIFY(restored->allSucceeded);
        QCOMPARE(readFile(w + "/A.txt"), QByteArray("first"));
        QCOMPARE(readFile(w + "/B.txt"), QByteArray("second"));
        QCOMPARE(namesIn(w), QStringList({"A.txt", "B.txt"}));

        PreviewDocument again;
        QVERIFY(Undo::UndoFromReport(restored->report.valueOr({}), again, "En"));
        QVERIFY(execute(again)->allSucceeded);
        QCOMPARE(readFile(w + "/A.txt"), QByteArray("second"));
        QCOMPARE(readFile(w + "/B.txt"), QByteArray("first"));
        QCOMPARE(namesIn(w), QStringList({"A.txt", "B.txt"}));
    }

    void folderAndContentsReversal()
    {
        QTemporaryDir work;
        const QString w = work.path();
        QDir(w).mkpath("album/disc 1");
        writeFile(w + "/album/disc 1/track.mp3", "music");
        writeFile(w + "/album/cover.jpg", "cover");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w + "/album/disc 1", "track.mp3", "01 Track.mp3", true);
        doc.AddPreviewEntry("folder", w + "/album", "disc 1", "Disc 1", true);
        doc.AddPreviewEntry("file", w + "/album", "cover.jpg", "Cover.jpg", true);
        doc.AddPreviewEntry("folder", w, "album", "Album", true);
        const Result<ExecutionSummary> r = execute(doc);
        QVERIFY(r->allSucceeded);
        QCOMPARE(readFile(w + "/Album/Disc 1/01 Track.mp3"), QByteArray("music"));

        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), reversal, "En"));
        // The items inside renamed folders are found under the folders' new names.
        QCOMPARE(clearedMarks(reversal), QStringList({"", "", "", ""}));
        // The folder comes back first, so the paths inside it are valid again.
        QCOMPARE(QString::fromUtf8(reversal.root().first_child().name()), QStringLiteral("folder"));
        const Result<ExecutionSummary> back = execute(reversal);
        QVERIFY(back->allSucceeded);
        QCOMPARE(back->attempted, 4);
        QCOMPARE(readFile(w + "/album/disc 1/track.mp3"), QByteArray("music"));
        QCOMPARE(readFile(w + "/album/cover.jpg"), QByteArray("cover"));
        QCOMPARE(namesIn(w), QStringList({"album"}));
    }

    void reversalOntoATakenNameLeavesThatFileAlone()
    {
        QTemporaryDir work;
        const QString w = work.path();
        writeFile(w + "/old.txt", "mine");
        PreviewDocument doc;
        doc.AddPreviewEntry("file", w, "old.txt", "new.txt", true);
        const Result<ExecutionSummary> r = execute(doc);
        writeFile(w + "/old.txt", "someone else's");
        PreviewDocument reversal;
        QVERIFY(Undo::UndoFromReport(r->report.valueOr({}), reversal, "En"));
        const Result<ExecutionSummary> back = execute(reversal);
        QCOMPARE(back->failed, 1);
        QCOMPARE(readFile(w + "/old.txt"), QByteArray("someone else's"));
        QCOMPARE(readFile(w + "/new.txt"), QByteArray("mine"));
    }
};

QTEST_GUILESS_MAIN(UndoTest)
#include "tst_undo.moc"
