// libFuzzer target: the MP3 tag trailer and the legacy code-page conversion.
// The first byte picks the code page, the rest is the end of a file.
#include "metadata/LegacyCodePage.h"
#include "metadata/Mp3Tag.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const encodings[] = {"CP932", "CP1252", "CP1251", "CP936",       "CP949",
                                            "CP950", "CP1258", "UTF-8",  "ISO-2022-JP", "CP874"};
    if (size == 0)
        return 0;
    const QByteArray encoding = encodings[data[0] % (sizeof encodings / sizeof *encodings)];
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    quillbay::Mp3Tag tag;
    quillbay::parseMp3Trailer(file.right(128), encoding, tag);
    (void)quillbay::decodeText(file, encoding);
    return 0;
}
