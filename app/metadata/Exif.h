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
    bool Load(const QString &path);
    // The same for the bytes of a file held in memory.
    bool LoadBytes(const QByteArray &bytes);

    bool IsJpeg() const { return m_data.isJpeg; }
    bool IsTiff() const { return m_data.isTiff; }
    bool IsLittleEndian() const { return m_data.littleEndian; }
    bool HasExifVersion() const { return m_data.hasExifVersion; }
    bool HasJfif() const { return m_data.hasJfif; }

    quint32 Width() const { return m_data.width; }
    quint32 Height() const { return m_data.height; }
    QString Manufacturer() const { return m_data.manufacturer; }
    QString Model() const { return m_data.model; }
    QString Description() const { return m_data.description; }

    bool DateKnown() const { return m_data.dateKnown; }
    QDateTime DateValue() const { return m_data.dateValue; }
    // Mode 0: as recorded; mode 1: compact (20031224T183005); any other mode:
    // 2003-12-24 18-30-05. Empty without a valid date.
    QString DateText(int mode) const;

    bool ExposureTimeKnown() const { return m_data.exposureKnown; }
    bool ExposureTimeIsFraction() const { return m_data.exposureIsFraction; }
    quint32 ExposureTimeNumerator() const { return m_data.exposureNumerator; }
    quint32 ExposureTimeDenominator() const { return m_data.exposureDenominator; }
    double ExposureTimeSeconds() const { return m_data.exposureSeconds; }
    // Mode 0: seconds, 3 significant digits; mode 10: 1/seconds, 2 digits;
    // any other mode: the reduced fraction (1_125), or mode 0 when the time
    // was derived from the shutter speed. Empty when unknown.
    QString ExposureTimeText(int mode) const;

    double ShutterSpeedValue() const { return m_data.shutterSpeedValue; }
    double ApertureValue() const { return m_data.apertureValue; }
    double BrightnessValue() const { return m_data.brightnessValue; }
    double BrightnessPower() const { return m_data.brightnessPower; }

    bool FNumberKnown() const { return m_data.fNumberKnown; }
    bool FNumberIsDerived() const { return m_data.fNumberDerived; }
    double FNumber() const { return m_data.fNumber; }
    QString FNumberText() const;

    bool FlashKnown() const { return m_data.flashKnown; }
    bool FlashFired() const { return m_data.flashFired; }
    // "Flash", "No Flash", or empty without a Flash tag.
    QString FlashText() const;

    quint32 IsoSpeed() const { return m_data.isoSpeed; }
    quint32 ExposureProgram() const { return m_data.exposureProgram; }
    double CompressedBitsPerPixel() const { return m_data.compressedBitsPerPixel; }

    QString FractionSeparator() const { return m_fractionSeparator; }
    void SetFractionSeparator(const QString &separator) { m_fractionSeparator = separator; }
    // The user's decimal separator unless set otherwise.
    QString DecimalSeparator() const { return m_decimalSeparator; }
    void SetDecimalSeparator(const QString &separator) { m_decimalSeparator = separator; }

private:
    ExifData m_data;
    QString m_fractionSeparator = QStringLiteral("_");
    QString m_decimalSeparator;
};

} // namespace quillbay
