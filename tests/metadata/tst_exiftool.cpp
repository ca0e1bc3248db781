// Compares the Exif reader with exiftool: exiftool writes camera data into
// JPEG and TIFF files that the test makes, then both read them back.

#include "ExifBuilder.h"
#include "metadata/Exif.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// A grey TIFF image of 4 x 3 pixels without any camera data.
QByteArray plainTiff(bool bigEndian)
{
    const auto build = [bigEndian](quint32 stripOffset) {
        TiffBuilder t(bigEndian);
        t.shortValue(Ifd::Zero, 0x0100, 4)
            .shortValue(Ifd::Zero, 0x0101, 3)
            .shortValue(Ifd::Zero, 0x0102, 8)
            .shortValue(Ifd::Zero, 0x0103, 1)
            .shortValue(Ifd::Zero, 0x0106, 1)
            .longValue(Ifd::Zero, 0x0111, stripOffset)
            .shortValue(Ifd::Zero, 0x0115, 1)
            .shortValue(Ifd::Zero, 0x0116, 3)
            .longValue(Ifd::Zero, 0x0117, 12);
        return t.build();
    };
    const QByteArray layout = build(0);
    return build(quint32(layout.size())) + QByteArray(12, '\x80');
}

QByteArray plainJpeg()
{
    return jpegFile(frameSegment(32, 16));
}

bool runExiftool(const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("exiftool"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "exiftool failed:" << arguments << process.readAllStandardError();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

} // namespace

class TestExiftool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
            QSKIP("exiftool is not installed");
    }

    void agreesWithExiftool_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("byteOrder");
        QTest::addColumn<QString>("exposure");
        QTest::addColumn<QString>("fNumber");
        QTest::addColumn<int>("flash");
        QTest::newRow("JPEG, big-endian Exif") << "jpg"
                                               << "MM"
                                               << "1/125"
                                               << "2.8" << 25;
        QTest::newRow("JPEG, little-endian Exif") << "jpg"
                                                  << "II"
                                                  << "1/3"
                                                  << "5.6" << 16;
        QTest::newRow("TIFF, little-endian") << "tif"
                                             << "II"
                                             << "2.5"
                                             << "11" << 24;
        QTest::newRow("TIFF, big-endian") << "tif"
                                          << "MM"
                                          << "1/4000"
                                          << "1.4" << 1;
    }

    void agreesWithExiftool()
    {
        QFETCH(QString, kind);
        QFETCH(QString, byteOrder);
        QFETCH(QString, exposure);
        QFETCH(QString, fNumber);
        QFETCH(int, flash);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.") + kind);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kind == QLatin1String("jpg") ? plainJpeg() : plainTiff(byteOrder == QLatin1String("MM")));
        }
        QVERIFY(runExiftool(
            {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-ExifByteOrder=") + byteOrder,
             QStringLiteral("-Make=Quillbay Optics"), QStringLiteral("-Model=QB-7 Mark II"),
             QStringLiteral("-DateTimeOriginal=2004:02:29 23:59:58"), QStringLiteral("-ExposureTime=") + exposure,
             QStringLiteral("-FNumber=") + fNumber, QStringLiteral("-EXIF:Flash#=") + QString::number(flash), path}));
        QByteArray json;
        QVERIFY(runExiftool({QStringLiteral("-j"), QStringLiteral("-n"), QStringLiteral("-Make"),
                             QStringLiteral("-Model"), QStringLiteral("-DateTimeOriginal"),
                             QStringLiteral("-ExposureTime"), QStringLiteral("-FNumber"), QStringLiteral("-EXIF:Flash"),
                             QStringLiteral("-ImageWidth"), QStringLiteral("-ImageHeight"), path},
                            &json));
        const QJsonObject tool = QJsonDocument::fromJson(json).array().at(0).toObject();
        QVERIFY2(tool.contains(QLatin1String("Make")) && tool.contains(QLatin1String("Flash")), json.constData());

        Exif exif;
        exif.setDecimalSeparator(QStringLiteral("."));
        QVERIFY(exif.load(path));
        QCOMPARE(exif.manufacturer(), tool.value(QLatin1String("Make")).toString());
        QCOMPARE(exif.model(), tool.value(QLatin1String("Model")).toString());
        QVERIFY(exif.dateKnown());
        QCOMPARE(exif.dateValue().toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")),
                 tool.value(QLatin1String("DateTimeOriginal")).toString());
        QVERIFY(exif.exposureTimeKnown());
        // exiftool prints ten significant digits.
        const double toolExposure = tool.value(QLatin1String("ExposureTime")).toDouble();
        QVERIFY(std::fabs(exif.exposureTimeSeconds() - toolExposure) <= 1e-9 * toolExposure);
        QVERIFY(exif.fNumberKnown());
        QVERIFY(qFuzzyCompare(exif.fNumber(), tool.value(QLatin1String("FNumber")).toDouble()));
        QCOMPARE(exif.fNumberText(), fNumber);
        QVERIFY(exif.flashKnown());
        QCOMPARE(exif.flashFired(), (tool.value(QLatin1String("Flash")).toInt() & 1) != 0);
        QCOMPARE(qint64(exif.width()), tool.value(QLatin1String("ImageWidth")).toInteger());
        QCOMPARE(qint64(exif.height()), tool.value(QLatin1String("ImageHeight")).toInteger());
        QCOMPARE(exif.isLittleEndian(), byteOrder == QLatin1String("II"));
    }
};

QTEST_GUILESS_MAIN(TestExiftool)
#include "tst_exiftool.moc"
