// libFuzzer target: the Exif reader on arbitrary file contents.
#include "metadata/Exif.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    quillbay::Exif exif;
    exif.setDecimalSeparator(QStringLiteral("."));
    exif.loadBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (int mode : {0, 1, 2, 10})
        (void)exif.exposureTimeText(mode);
    for (int mode : {0, 1, 2})
        (void)exif.dateText(mode);
    (void)exif.fNumberText();
    (void)exif.flashText();
    (void)exif.manufacturer();
    (void)exif.model();
    return 0;
}
