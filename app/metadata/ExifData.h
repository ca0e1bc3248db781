#pragma once
// The values the Exif reader takes from one image file. Every load starts
// from a fresh ExifData, so nothing of the previous file survives.

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace quillbay {

struct ExifData {
    bool isJpeg = false;
    bool isTiff = false;
    bool littleEndian = false;
    bool hasExifVersion = false;
    bool hasJfif = false;

    quint32 width = 0;
    quint32 height = 0;

    QString manufacturer;
    QString model;
    QString description;

    QString dateText; // the date tag's text, trimmed
    bool dateKnown = false;
    QDateTime dateValue; // local time, as the camera recorded it

    quint32 exposureNumerator = 0; // reduced by the greatest common divisor
    quint32 exposureDenominator = 0;
    double exposureSeconds = 0;
    bool exposureKnown = false;
    bool exposureIsFraction = false;

    double shutterSpeedValue = 0; // APEX Tv
    bool shutterSpeedKnown = false;

    double fNumber = 0;
    bool fNumberKnown = false;
    bool fNumberDerived = false;

    double apertureValue = 0; // APEX Av
    bool apertureKnown = false;

    double brightnessValue = 0; // APEX Bv
    double brightnessPower = 0; // 2 to the power of Bv
    bool brightnessKnown = false;

    bool flashKnown = false;
    bool flashFired = false;

    quint32 isoSpeed = 0;
    bool isoSpeedKnown = false;
    quint32 exposureProgram = 0;
    bool exposureProgramKnown = false;
    double compressedBitsPerPixel = 0;
    bool compressedBitsPerPixelKnown = false;
};

} // namespace quillbay
