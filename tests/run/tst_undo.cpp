// Reversing past runs: reports read backwards into new previews, and those
// previews carried out on real files.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/TemporaryName.h"
#include "run/Undo.h"
#include "text/UiText.h"

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

private slots:
    void initTestCase() { UiText::setLanguage(UiLanguage::English); }

    void readsBackwardsKeepingOnlyRenamedEntries()
    {
        QTemporaryDir dir;
        const QString path =
            writeReport(dir.path(),
                        "<files version='1.0' date='2004-01-31 18:05:09'>"
                        "<file name='a' newName='b' folder='/x' id='f1' include='True' renamed='yes' extra='kept'/>"
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
