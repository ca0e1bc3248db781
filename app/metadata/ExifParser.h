#pragma once
// Recognises a JPEG or TIFF file in an open stream and collects its camera
// data: the JPEG marker walk with the frame size and the Exif segment, the
// TIFF directory walk, and the values derived when a camera wrote only the
// APEX form of exposure time or aperture.

#include "metadata/ExifData.h"

#include <optional>

namespace quillbay {

class ByteStreamReader;

// Fills data from the stream, which must be open for reading at any position.
// False when the stream holds neither a JPEG nor a TIFF file.
bool parseImage(ByteStreamReader &stream, ExifData &data);

// "YYYY:MM:DD HH:MM:SS" as local date and time. No value unless the text
// starts with a digit, every part is a number and the parts make a real date
// and time of day.
std::optional<QDateTime> parseExifDateTime(const QString &text);

} // namespace quillbay
