// Finding the entries of a preview document by id, as the preview list does
// when the user ticks or clears an entry: built entry by entry, loaded from a
// report, changed by a run, and large.

#include "RunFixture.h"

#include "run/RenameExecutor.h"
#include "run/Undo.h"

#include <QElapsedTimer>

using namespace quillbay;
using namespace quillbay::test;

class PreviewDocumentTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_work;

    // A report file of the given entries (raw XML between <files> and </files>).
    QString writeReport(const QString &name, const QByteArray &entries)
    {
        const QString path = m_work.filePath(name);
        writeFile(path, "<?xml version='1.0'?><files version='1.0'>" + entries + "</files>");
        return path;
    }

private slots:
    // The entry an id finds: the file entry, else the folder entry, the first
    // of two of one kind; ids of any shape.
    void findsByIdAfterLoad_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("found"); // name of the entry found, empty for none
        QTest::newRow("counter id") << "f1"
                                    << "one";
        QTest::newRow("file before folder") << "f3"
                                            << "file three";
        QTest::newRow("first of two files") << "f4"
                                            << "first four";
        QTest::newRow("leading zero") << "f05"
                                      << "five";
        QTest::newRow("other shape") << "x7"
                                     << "seven";
        QTest::newRow("huge number") << "f99999999999"
                                     << "huge";
        QTest::newRow("missing") << "f2"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void findsByIdAfterLoad()
    {
        QFETCH(QString, id);
        QFETCH(QString, found);
        const QString path = writeReport(QStringLiteral("ids.xml"),
                                         "<file id='f1' name='one'/><folder id='f3' name='folder three'/>"
                                         "<file id='f3' name='file three'/><file id='f4' name='first four'/>"
                                         "<file id='f4' name='second four'/><file id='f05' name='five'/>"
                                         "<folder id='x7' name='seven'/><file id='f99999999999' name='huge'/>"
                                         "<other id='f2' name='not an entry'/>");
        PreviewDocument doc;
        QVERIFY(doc.loadFile(path));
        QCOMPARE(doc.entryCount(), 8);
        QCOMPARE(attr(doc.findEntry(id), "name"), found);
        QCOMPARE(doc.SetEntryInclude(id, false), !found.isEmpty());
        if (!found.isEmpty())
            QCOMPARE(attr(doc.findEntry(id), "include"), QStringLiteral("false"));
    }

    // Entries added after a look-up, and entries removed by a run, are seen.
    void followsChanges()
    {
        PreviewDocument doc;
        doc.AddPreviewEntry("file", m_work.path(), "a", "b", true);
        QVERIFY(doc.SetEntryInclude(QStringLiteral("f1"), false));
        for (int i = 0; i < 40; ++i)
            doc.AddPreviewEntry("file", m_work.path(), QString::number(i), QStringLiteral("n%1").arg(i), true);
        QCOMPARE(doc.entryCount(), 41);
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f41")), "name"), QStringLiteral("39"));
        doc.removeEntry(doc.findEntry(QStringLiteral("f41")));
        QVERIFY(!doc.findEntry(QStringLiteral("f41")));
        QCOMPARE(doc.entryCount(), 40);

        // A run drops the entries that are not included.
        writeFile(m_work.filePath(QStringLiteral("0")), "0");
        ReportPlace place;
        QVERIFY(RenameExecutor(place.folders()).ExecuteRenameList(doc));
        QVERIFY(!doc.findEntry(QStringLiteral("f1")));
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f2")), "renamed"), QStringLiteral("yes"));
        QCOMPARE(doc.entryCount(), 39);

        // An undo fills the document anew, ids from f1.
        const QString report = writeReport(QStringLiteral("undo.xml"),
                                           "<file id='f9' name='a' newName='b' folder='/x' renamed='yes'/>"
                                           "<file id='f8' name='c' newName='d' folder='/x' renamed='yes'/>");
        QVERIFY(Undo::UndoFromReport(report, doc, QStringLiteral("En")));
        QCOMPARE(doc.entryCount(), 2);
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f1")), "name"), QStringLiteral("d"));
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f2")), "name"), QStringLiteral("b"));
        QVERIFY(!doc.findEntry(QStringLiteral("f9")));
    }

    // Ticking every entry of a large preview one by one stays quick (a search
    // from the start for each one would take minutes here).
    void everyEntryOfALargePreview()
    {
        constexpr int count = 200000;
        PreviewDocument doc;
        for (int i = 0; i < count; ++i)
            doc.AddPreviewEntry("file", QStringLiteral("/folder"), QString::number(i), QStringLiteral("x"), true);
        QElapsedTimer timer;
        timer.start();
        for (int i = count; i >= 1; --i)
            QVERIFY(doc.SetEntryInclude(QStringLiteral("f%1").arg(i), i % 2 == 0));
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f7")), "include"), QStringLiteral("false"));
        QCOMPARE(attr(doc.findEntry(QStringLiteral("f8")), "include"), QStringLiteral("true"));
    }
};

QTEST_GUILESS_MAIN(PreviewDocumentTest)
#include "tst_previewdocument.moc"
