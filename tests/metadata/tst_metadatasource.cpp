#include "CompoundFileBuilder.h"
#include "ExifBuilder.h"
#include "metadata/MetadataSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillbay;
using namespace quillbay::test;

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QByteArray id3(const QByteArray &title)
{
    QByteArray trailer = "TAG" + (title + QByteArray(30, '\0')).left(30);
    trailer += (QByteArray("Band") + QByteArray(30, '\0')).left(30);
    trailer += (QByteArray("Record") + QByteArray(30, '\0')).left(30);
    trailer += "2001";
    trailer += (QByteArray("Live") + QByteArray(30, '\0')).left(30);
    return trailer + char(1);
}

} // namespace

class TestMetadataSource : public QObject
{
    Q_OBJECT

private slots:
    void exifFacts()
    {
        QTemporaryDir dir;
        TiffBuilder t(false);
        t.ascii(Ifd::Zero, 0x010F, "Maker")
            .ascii(Ifd::Zero, 0x0110, "M1")
            .ascii(Ifd::Exif, 0x9003, "2005:06:07 08:09:10")
            .rational(Ifd::Exif, 0x829A, 10, 1250)
            .rational(Ifd::Exif, 0x9202, 5, 1)
            .shortValue(Ifd::Exif, 0x9209, 0x18);
        const QString path =
            writeFile(dir, QStringLiteral("a.jpg"), jpegFile(exifSegment(t.build()) + frameSegment(320, 240)));
        const auto source = makeFileMetadataSource();
        const std::optional<ExifFacts> facts = source->readExif(path);
        QVERIFY(facts);
        QVERIFY(facts->hasDateTime);
        QCOMPARE(facts->dateTime, QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10)));
        QCOMPARE(facts->width, 320);
        QCOMPARE(facts->height, 240);
        QCOMPARE(facts->manufacturer, QStringLiteral("Maker"));
        QCOMPARE(facts->model, QStringLiteral("M1"));
        QCOMPARE(facts->flash, QStringLiteral("No Flash"));
        QCOMPARE(facts->fNumber, QStringLiteral("5.7")); // tests run in the C locale
        QCOMPARE(facts->exposureTime, QStringLiteral("0.00800"));
        QCOMPARE(facts->exposureTimeReciprocal, QStringLiteral("125"));

        // The same source reads the next file afresh.
        const QString plain = writeFile(dir, QStringLiteral("b.jpg"), jpegFile(frameSegment(10, 20)));
        const std::optional<ExifFacts> second = source->readExif(plain);
        QVERIFY(second);
        QVERIFY(!second->hasDateTime);
        QCOMPARE(second->manufacturer, QString());
        QCOMPARE(second->width, 10);
        QVERIFY(!source->readExif(writeFile(dir, QStringLiteral("c.jpg"), "not a picture")));
    }

    void mp3Facts()
    {
        QTemporaryDir dir;
        const auto source = makeFileMetadataSource();
        const std::optional<Mp3Facts> facts =
            source->readMp3(writeFile(dir, QStringLiteral("s.mp3"), QByteArray(300, 'x') + id3("Song")));
        QVERIFY(facts);
        QCOMPARE(facts->songTitle, QStringLiteral("Song"));
        QCOMPARE(facts->artist, QStringLiteral("Band"));
        QCOMPARE(facts->album, QStringLiteral("Record"));
        QCOMPARE(facts->year, QStringLiteral("2001"));
        QCOMPARE(facts->comment, QStringLiteral("Live"));
        QVERIFY(!source->readMp3(writeFile(dir, QStringLiteral("t.mp3"), QByteArray(300, 'x'))));
    }

    void officeFacts()
    {
        QTemporaryDir dir;
        SectionBuilder s;
        s.codePage(1252).lpstr(2, "Title").lpstr(3, "Subject").lpstr(4, "Author");
        const QString path = dir.filePath(QStringLiteral("d.doc"));
        QVERIFY(
            writeCompoundFile(path, {{"\005SummaryInformation", propertySetStream({{SummaryFormatId, s.build()}})}}));
        const auto source = makeFileMetadataSource();
        const std::optional<OfficeFacts> facts = source->readOffice(path);
        QVERIFY(facts);
        QCOMPARE(facts->title, QStringLiteral("Title"));
        QCOMPARE(facts->subject, QStringLiteral("Subject"));
        QCOMPARE(facts->author, QStringLiteral("Author"));
        QVERIFY(!source->readOffice(writeFile(dir, QStringLiteral("e.doc"), "plain text")));
        QVERIFY(!source->readOffice(dir.filePath(QStringLiteral("missing.doc"))));
    }
};

QTEST_GUILESS_MAIN(TestMetadataSource)
#include "tst_metadatasource.moc"
