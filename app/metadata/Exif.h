#pragma once
// The camera data of one image file (a JPEG file with an Exif segment, or a
// TIFF file), as values and as texts fit for a file name. One object serves a
// whole preview run: every load starts by clearing what the previous file left.

#include "metadata/ExifData.h"

#include <QByteArray>
#include <QString>

namespace quillbay {

class Exif
{
public:
    Exif();

    // Reads the file. False when it cannot be opened or is neither a JPEG nor
    // a TIFF file; a damaged file gives whatever was read before the damage.
    bool load(const QString &path);
    // The same for the bytes of a file held in memory.
    bool loadBytes(const QByteArray &bytes);

    bool isJpeg() const { return m_data.isJpeg; }
    bool isTiff() const { return m_data.isTiff; }
    bool isLittleEndian() const { return m_data.littleEndian; }
    bool hasExifVersion() const { return m_data.hasExifVersion; }
    bool hasJfif() const { return m_data.hasJfif; }

    quint32 width() const { return m_data.width; }
    quint32 height() const { return m_data.height; }
    QString manufacturer() const { return m_data.manufacturer; }
    QString model() const { return m_data.model; }
    QString description() const { return m_data.description; }

    bool dateKnown() const { return m_data.dateKnown; }
    QDateTime dateValue() const { return m_data.dateValue; }
    // Mode 0: as recorded; mode 1: compact (20031224T183005); any other mode:
    // 2003-12-24 18-30-05. Empty without a valid date.
    QString dateText(int mode) const;

    bool exposureTimeKnown() const { return m_data.exposureKnown; }
    bool exposureTimeIsFraction() const { return m_data.exposureIsFraction; }
    quint32 exposureTimeNumerator() const { return m_data.exposureNumerator; }
    quint32 exposureTimeDenominator() const { return m_data.exposureDenominator; }
    double exposureTimeSeconds() const { return m_data.exposureSeconds; }
    // Mode 0: seconds, 3 significant digits; mode 10: 1/seconds, 2 digits;
    // any other mode: the reduced fraction (1_125), or mode 0 when the time
    // was derived from the shutter speed. Empty when unknown.
    QString exposureTimeText(int mode) const;

    double shutterSpeedValue() const { return m_data.shutterSpeedValue; }
    double apertureValue() const { return m_data.apertureValue; }
    double brightnessValue() const { return m_data.brightnessValue; }
    double brightnessPower() const { return m_data.brightnessPower; }

    bool fNumberKnown() const { return m_data.fNumberKnown; }
    bool fNumberIsDerived() const { return m_data.fNumberDerived; }
    double fNumber() const { return m_data.fNumber; }
    QString fNumberText() const;

    bool flashKnown() const { return m_data.flashKnown; }
    bool flashFired() const { return m_data.flashFired; }
    // "Flash", "No Flash", or empty without a Flash tag.
    QString flashText() const;

    quint32 isoSpeed() const { return m_data.isoSpeed; }
    quint32 exposureProgram() const { return m_data.exposureProgram; }
    double compressedBitsPerPixel() const { return m_data.compressedBitsPerPixel; }

    QString fractionSeparator() const { return m_fractionSeparator; }
    void setFractionSeparator(const QString &separator) { m_fractionSeparator = separator; }
    // The user's decimal separator unless set otherwise.
    QString decimalSeparator() const { return m_decimalSeparator; }
    void setDecimalSeparator(const QString &separator) { m_decimalSeparator = separator; }

private:
    ExifData m_data;
    QString m_fractionSeparator = QStringLiteral("_");
    QString m_decimalSeparator;
};

} // namespace quillbay
