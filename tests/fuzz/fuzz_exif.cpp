// libFuzzer target: the Exif reader on arbitrary file contents.
#include "metadata/Exif.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    quillbay::Exif exif;
    exif.SetDecimalSeparator(QStringLiteral("."));
    exif.LoadBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (int mode : {0, 1, 2, 10})
        (void)exif.ExposureTimeText(mode);
    for (int mode : {0, 1, 2})
        (void)exif.DateText(mode);
    (void)exif.FNumberText();
    (void)exif.FlashText();
    (void)exif.Manufacturer();
    (void)exif.Model();
    return 0;
}
