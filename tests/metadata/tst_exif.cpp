#include "ExifBuilder.h"
#include "metadata/Exif.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// Camera data as a typical camera writes it, in the given byte order.
TiffBuilder cameraData(bool bigEndian)
{
    TiffBuilder t(bigEndian);
    t.ascii(Ifd::Zero, 0x010F, "Maker Co")
        .ascii(Ifd::Zero, 0x0110, "Snap 300")
        .ascii(Ifd::Zero, 0x010E, "  holiday  ")
        .ascii(Ifd::Zero, 0x0132, "2003:12:24 18:30:05")
        .rational(Ifd::Exif, 0x829A, 10, 1250)
        .rational(Ifd::Exif, 0x829D, 28, 10)
        .shortValue(Ifd::Exif, 0x8827, 200)
        .shortValue(Ifd::Exif, 0x8822, 2)
        .entry(Ifd::Exif, 0x9000, 7, 4, "0220")
        .ascii(Ifd::Exif, 0x9003, "2003:12:24 18:30:06")
        .rational(Ifd::Exif, 0x9102, 4, 1)
        .srational(Ifd::Exif, 0x9203, -3, 2)
        .shortValue(Ifd::Exif, 0x9209, 0x19)
        .longValue(Ifd::Exif, 0xA002, 640)
        .longValue(Ifd::Exif, 0xA003, 480);
    return t;
}

Exif loaded(const QByteArray &bytes)
{
    Exif exif;
    exif.setDecimalSeparator(QStringLiteral("."));
    exif.loadBytes(bytes);
    return exif;
}

} // namespace

class TestExif : public QObject
{
    Q_OBJECT

private slots:
    void readsCameraDataFromJpeg()
    {
        const Exif exif = loaded(jpegFile(exifSegment(cameraData(true).build()) + frameSegment(640, 480)));
        QVERIFY(exif.isJpeg());
        QVERIFY(!exif.isTiff());
        QVERIFY(!exif.isLittleEndian());
        QVERIFY(exif.hasExifVersion());
        QCOMPARE(exif.manufacturer(), QStringLiteral("Maker Co"));
        QCOMPARE(exif.model(), QStringLiteral("Snap 300"));
        QCOMPARE(exif.description(), QStringLiteral("holiday"));
        QCOMPARE(exif.width(), 640u);
        QCOMPARE(exif.height(), 480u);
        QCOMPARE(exif.flashText(), QStringLiteral("Flash"));
        QCOMPARE(exif.fNumberText(), QStringLiteral("2.8"));
        QCOMPARE(exif.isoSpeed(), 200u);
        QCOMPARE(exif.exposureProgram(), 2u);
        QCOMPARE(exif.compressedBitsPerPixel(), 4.0);
        QCOMPARE(exif.brightnessValue(), -1.5);
        QVERIFY(qFuzzyCompare(exif.brightnessPower(), std::pow(2.0, -1.5)));
        // DateTimeOriginal of the Exif IFD comes after DateTime of IFD0.
        QVERIFY(exif.dateKnown());
        QCOMPARE(exif.dateValue(), QDateTime(QDate(2003, 12, 24), QTime(18, 30, 6)));
    }

    void exposureTimeTexts()
    {
        const Exif exif = loaded(cameraData(false).build());
        QVERIFY(exif.exposureTimeIsFraction());
        QCOMPARE(exif.exposureTimeNumerator(), 1u);
        QCOMPARE(exif.exposureTimeDenominator(), 125u);
        QCOMPARE(exif.exposureTimeText(5), QStringLiteral("1_125"));
        QCOMPARE(exif.exposureTimeText(0), QStringLiteral("0.00800"));
        QCOMPARE(exif.exposureTimeText(10), QStringLiteral("125"));
    }

    void textsUseTheGivenSeparators()
    {
        Exif exif;
        exif.setDecimalSeparator(QStringLiteral(","));
        exif.setFractionSeparator(QStringLiteral("-"));
        QVERIFY(exif.loadBytes(cameraData(false).build()));
        QCOMPARE(exif.exposureTimeText(0), QStringLiteral("0,00800"));
        QCOMPARE(exif.exposureTimeText(1), QStringLiteral("1-125"));
        QCOMPARE(exif.fNumberText(), QStringLiteral("2,8"));
    }

    void derivedValues_data()
    {
        QTest::addColumn<QByteArray>("tiff");
        QTest::addColumn<QString>("fNumber");
        QTest::addColumn<bool>("derived");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("reciprocal");
        QTest::addColumn<QString>("fraction");
        QTest::newRow("aperture 5") << TiffBuilder(false).rational(Ifd::Exif, 0x9202, 5, 1).build() << "5.7" << true
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("FNumber wins over aperture")
            << TiffBuilder(false).rational(Ifd::Exif, 0x9202, 5, 1).rational(Ifd::Exif, 0x829D, 4, 1).build() << "4"
            << false << ""
            << ""
            << "";
        QTest::newRow("negative aperture")
            << TiffBuilder(false).srational(Ifd::Exif, 0x9202, -1, 1).build() << "" << false << ""
            << ""
            << "";
        // Tv 7 is 1/128 s; a derived time is no fraction, so mode 5 reads as mode 0.
        QTest::newRow("shutter speed") << TiffBuilder(true).srational(Ifd::Exif, 0x9201, 7, 1).build() << "" << false
                                       << "0.00781"
                                       << "128"
                                       << "0.00781";
        QTest::newRow("ExposureTime wins over shutter speed")
            << TiffBuilder(true).srational(Ifd::Exif, 0x9201, 7, 1).rational(Ifd::Exif, 0x829A, 1, 30).build() << ""
            << false << "0.0333"
            << "30.0"
            << "1_30";
        QTest::newRow("long exposure") << TiffBuilder(false).rational(Ifd::Exif, 0x829A, 30, 1).build() << "" << false
                                       << "30.00"
                                       << "0.033"
                                       << "30_1";
        QTest::newRow("zero denominators are absent")
            << TiffBuilder(false).rational(Ifd::Exif, 0x829A, 1, 0).rational(Ifd::Exif, 0x829D, 28, 0).build() << ""
            << false << ""
            << ""
            << "";
        QTest::newRow("zero exposure is absent")
            << TiffBuilder(false).rational(Ifd::Exif, 0x829A, 0, 10).build() << "" << false << ""
            << ""
            << "";
    }

    void derivedValues()
    {
        QFETCH(QByteArray, tiff);
        const Exif exif = loaded(tiff);
        QTEST(exif.fNumberText(), "fNumber");
        QTEST(exif.fNumberIsDerived(), "derived");
        QTEST(exif.exposureTimeText(0), "plain");
        QTEST(exif.exposureTimeText(10), "reciprocal");
        QTEST(exif.exposureTimeText(5), "fraction");
    }

    void flashText_data()
    {
        QTest::addColumn<int>("flash");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x18") << 0x18 << "No Flash";
        QTest::newRow("0x19") << 0x19 << "Flash";
        QTest::newRow("0x00") << 0x00 << "No Flash";
        QTest::newRow("absent") << -1 << "";
    }

    void flashText()
    {
        QFETCH(int, flash);
        TiffBuilder t(false);
        t.ascii(Ifd::Zero, 0x010F, "M");
        if (flash >= 0)
            t.shortValue(Ifd::Exif, 0x9209, quint16(flash));
        const Exif exif = loaded(t.build());
        QTEST(exif.flashText(), "text");
        QCOMPARE(exif.flashKnown(), flash >= 0);
    }

    void byteOrderTwinsAgree()
    {
        const Exif little = loaded(cameraData(false).build());
        const Exif big = loaded(cameraData(true).build());
        QVERIFY(little.isTiff() && big.isTiff());
        QVERIFY(little.isLittleEndian());
        QVERIFY(!big.isLittleEndian());
        QVERIFY(!little.manufacturer().isEmpty());
        QCOMPARE(big.manufacturer(), little.manufacturer());
        QCOMPARE(big.model(), little.model());
        QCOMPARE(big.description(), little.description());
        QCOMPARE(big.width(), little.width());
        QCOMPARE(big.height(), little.height());
        QCOMPARE(big.dateValue(), little.dateValue());
        QCOMPARE(big.dateText(0), little.dateText(0));
        for (int mode : {0, 1, 10})
            QCOMPARE(big.exposureTimeText(mode), little.exposureTimeText(mode));
        QCOMPARE(big.fNumberText(), little.fNumberText());
        QCOMPARE(big.flashText(), little.flashText());
        QCOMPARE(big.isoSpeed(), little.isoSpeed());
        QCOMPARE(big.brightnessValue(), little.brightnessValue());
        QCOMPARE(big.hasExifVersion(), little.hasExifVersion());
    }

    void jfifBeforeExifHidesCameraData()
    {
        const QByteArray exif = exifSegment(cameraData(false).build());
        const Exif hidden = loaded(jpegFile(jfifSegment() + exif + frameSegment(800, 600)));
        QVERIFY(hidden.hasJfif());
        QCOMPARE(hidden.width(), 800u);
        QCOMPARE(hidden.height(), 600u);
        QCOMPARE(hidden.manufacturer(), QString());
        QCOMPARE(hidden.exposureTimeText(0), QString());
        QVERIFY(!hidden.dateKnown());

        const Exif seen = loaded(jpegFile(exif + jfifSegment() + frameSegment(800, 600)));
        QCOMPARE(seen.manufacturer(), QStringLiteral("Maker Co"));
        // PixelXDimension came first; the larger frame raises it.
        QCOMPARE(seen.width(), 800u);
    }

    void jpegWithoutExifGivesFrameSize()
    {
        Exif exif;
        QVERIFY(exif.loadBytes(jpegFile(jfifSegment() + frameSegment(1024, 768, 0xC2))));
        QCOMPARE(exif.width(), 1024u);
        QCOMPARE(exif.height(), 768u);
        QCOMPARE(exif.manufacturer(), QString());
        QCOMPARE(exif.flashText(), QString());
        QCOMPARE(exif.fNumberText(), QString());
        QCOMPARE(exif.exposureTimeText(0), QString());
        QCOMPARE(exif.dateText(0), QString());
    }

    void nothingAfterTheScanIsRead()
    {
        const QByteArray late = frameSegment(4000, 3000);
        const QByteArray bytes = jpegFile(frameSegment(100, 50)) + late;
        const Exif exif = loaded(bytes);
        QCOMPARE(exif.width(), 100u);
    }

    void sizeTags()
    {
        TiffBuilder t(true);
        t.shortValue(Ifd::Zero, 0x0100, 300)
            .longValue(Ifd::Zero, 0x0101, 200)
            .shortValue(Ifd::One, 0x0100, 160) // a thumbnail: smaller, so it does not count
            .shortValue(Ifd::One, 0x0101, 120);
        const Exif exif = loaded(t.build());
        QCOMPARE(exif.width(), 300u);
        QCOMPARE(exif.height(), 200u);
        // Pixel dimensions set the size outright, even when smaller; IFD1 comes
        // after the Exif IFD and raises it again.
        t.longValue(Ifd::Exif, 0xA002, 30).shortValue(Ifd::Exif, 0xA003, 20);
        const Exif withThumbnail = loaded(t.build());
        QCOMPARE(withThumbnail.width(), 160u);
        QCOMPARE(withThumbnail.height(), 120u);
        TiffBuilder u(false);
        u.shortValue(Ifd::Zero, 0x0100, 300).longValue(Ifd::Exif, 0xA002, 30).shortValue(Ifd::Exif, 0xA003, 20);
        const Exif exif2 = loaded(u.build());
        QCOMPARE(exif2.width(), 30u);
        QCOMPARE(exif2.height(), 20u);
    }

    void dateTexts_data()
    {
        QTest::addColumn<QList<QByteArray>>("dates"); // DateTime, DateTimeOriginal, DateTimeDigitized
        QTest::addColumn<QString>("mode0");
        QTest::addColumn<QString>("mode1");
        QTest::addColumn<QString>("mode2");
        QTest::newRow("digitized wins") << QList<QByteArray>{"2001:01:01 01:01:01", "2002:02:02 02:02:02",
                                                             " 2003:12:24 18:30:05 "}
                                        << "2003:12:24 18:30:05"
                                        << "20031224T183005"
                                        << "2003-12-24 18-30-05";
        QTest::newRow("only DateTime") << QList<QByteArray>{"1999:07:04 09:08:07", "", ""} << "1999:07:04 09:08:07"
                                       << "19990704T090807"
                                       << "1999-07-04 09-08-07";
        QTest::newRow("blank later tag keeps the good date")
            << QList<QByteArray>{"", "2002:02:02 02:02:02", "0000:00:00 00:00:00"} << "2002:02:02 02:02:02"
            << "20020202T020202"
            << "2002-02-02 02-02-02";
        QTest::newRow("not a date") << QList<QByteArray>{"", "unknown", ""} << ""
                                    << ""
                                    << "";
        QTest::newRow("non-numeric part") << QList<QByteArray>{"2003:1x:24 18:30:05", "", ""} << ""
                                          << ""
                                          << "";
        QTest::newRow("impossible day") << QList<QByteArray>{"2003:02:30 18:30:05", "", ""} << ""
                                        << ""
                                        << "";
        QTest::newRow("too short") << QList<QByteArray>{"2003:02:03", "", ""} << ""
                                   << ""
                                   << "";
    }

    void dateTexts()
    {
        QFETCH(QList<QByteArray>, dates);
        TiffBuilder t(false);
        if (!dates[0].isEmpty())
            t.ascii(Ifd::Zero, 0x0132, dates[0]);
        if (!dates[1].isEmpty())
            t.ascii(Ifd::Exif, 0x9003, dates[1]);
        if (!dates[2].isEmpty())
            t.ascii(Ifd::Exif, 0x9004, dates[2]);
        const Exif exif = loaded(t.build());
        QTEST(exif.dateText(0), "mode0");
        QTEST(exif.dateText(1), "mode1");
        QTEST(exif.dateText(2), "mode2");
        QCOMPARE(exif.dateKnown(), !exif.dateText(0).isEmpty());
    }

    void highBytesBecomeLatin1Characters()
    {
        const Exif exif = loaded(TiffBuilder(false).ascii(Ifd::Zero, 0x010F, "Caf\xE9 \xFF").build());
        QCOMPARE(exif.manufacturer(), QString::fromUtf16(u"Caf\u00E9 \u00FF"));
        // Short texts live in the value field itself.
        const Exif shortText = loaded(TiffBuilder(true).ascii(Ifd::Zero, 0x0110, "X1").build());
        QCOMPARE(shortText.model(), QStringLiteral("X1"));
    }

    void loadClearsThePreviousFile()
    {
        Exif exif;
        QVERIFY(exif.loadBytes(cameraData(false).build()));
        QVERIFY(!exif.manufacturer().isEmpty());
        QVERIFY(exif.loadBytes(jpegFile(frameSegment(10, 10))));
        QCOMPARE(exif.manufacturer(), QString());
        QVERIFY(!exif.dateKnown());
        QVERIFY(!exif.exposureTimeKnown());
        QVERIFY(!exif.loadBytes("GIF89a..."));
        QCOMPARE(exif.width(), 0u);
    }

    void loadsFilesFromDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.tif"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cameraData(true).build());
        file.close();
        Exif exif;
        QVERIFY(exif.load(path));
        QCOMPARE(exif.model(), QStringLiteral("Snap 300"));
        QVERIFY(!exif.load(dir.filePath(QStringLiteral("missing.jpg"))));
        QVERIFY(!exif.load(dir.path()));
    }

    // Damaged and hostile structures end with what was read, never hang.
    void hostileStructures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("make");

        TiffBuilder loop(false);
        loop.ascii(Ifd::Zero, 0x010F, "Loop");
        QByteArray selfLoop = loop.build();
        // IFD0's next-directory offset points at IFD0 itself.
        const int nextAt = 8 + 2 + 12;
        selfLoop.replace(nextAt, 4, loop.u32(8));
        QTest::newRow("IFD chain loops") << selfLoop << "Loop";

        TiffBuilder pointerLoop(true);
        pointerLoop.ascii(Ifd::Zero, 0x010F, "Ptr").longValue(Ifd::Zero, 0x8769, 8);
        QTest::newRow("Exif pointer to IFD0") << pointerLoop.build() << "Ptr";

        TiffBuilder far(false);
        far.ascii(Ifd::Zero, 0x010F, "Far").longValue(Ifd::Zero, 0x8769, 0x7FFFFFF0);
        QTest::newRow("Exif pointer past the end") << far.build() << "Far";

        TiffBuilder huge(false);
        huge.ascii(Ifd::Zero, 0x010F, "Huge").entry(Ifd::Zero, 0x0110, 2, 0xFFFFFFFF, huge.u32(40));
        QTest::newRow("ASCII with a huge count") << huge.build() << "Huge";

        TiffBuilder beyond(true);
        beyond.ascii(Ifd::Zero, 0x010F, "Beyond").entry(Ifd::Zero, 0x829A, 5, 1, beyond.u32(0xFFFFFFF0));
        QTest::newRow("rational offset past the end") << beyond.build() << "Beyond";

        QByteArray truncated = exifSegment(cameraData(false).build());
        truncated.truncate(40);
        QTest::newRow("truncated segment") << jpegFile(QByteArray()).left(2) + truncated << "";

        QByteArray shortSegment = exifSegment(cameraData(false).build());
        shortSegment[2] = 0;
        shortSegment[3] = 30; // the segment ends inside IFD0
        QTest::newRow("segment length cuts the Exif data") << jpegFile(shortSegment) << "";

        QTest::newRow("zero segment length") << QByteArray("\xFF\xD8\xFF\xE1\x00\x00Exif", 10) << "";
        QTest::newRow("header only") << QByteArray("MM\x00\x2A", 4) << "";
        QTest::newRow("first IFD past the end") << QByteArray("II\x2A\x00\xFF\xFF\xFF\x7F", 8) << "";
    }

    void hostileStructures()
    {
        QFETCH(QByteArray, bytes);
        Exif exif;
        QVERIFY(exif.loadBytes(bytes));
        QTEST(exif.manufacturer(), "make");
    }

    void unknownTypeDoesNotStopTheWalk()
    {
        TiffBuilder odd(false);
        odd.entry(Ifd::Zero, 0x010F, 99, 3, "abc").ascii(Ifd::Zero, 0x0110, "Typed");
        QCOMPARE(loaded(odd.build()).model(), QStringLiteral("Typed"));
    }

    // Random damage to valid files: every load must end, within the bounds of
    // the data (the sanitizer build checks the bounds).
    void randomDamage()
    {
        QRandomGenerator random(20031224);
        const QList<QByteArray> originals = {
            jpegFile(exifSegment(cameraData(false).build()) + frameSegment(640, 480)),
            cameraData(true).build(),
        };
        Exif exif;
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = originals[round % 2];
            const int changes = 1 + int(random.bounded(8));
            for (int i = 0; i < changes; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            if (random.bounded(4) == 0)
                bytes.truncate(random.bounded(int(bytes.size())));
            exif.loadBytes(bytes);
        }
        QVERIFY(exif.loadBytes(originals[0]));
        QCOMPARE(exif.manufacturer(), QStringLiteral("Maker Co"));
    }
};

QTEST_GUILESS_MAIN(TestExif)
#include "tst_exif.moc"
