#include "settings/Utf16FileDecoder.h"

#include "base/Utf8Text.h"

#include <QChar>
#include <memory>

namespace quillbay {

namespace {

constexpr qint64 kPieceBytes = 256 * 1024;

} // namespace

DecodedUtf16File decodeUtf16LeFile(QFile &file, void *(*allocate)(std::size_t), void (*release)(void *))
{
    DecodedUtf16File result;
    char bom[2];
    if (file.read(bom, 2) != 2 || uchar(bom[0]) != 0xFF || uchar(bom[1]) != 0xFE) {
        result.outcome =
            file.error() != QFileDevice::NoError ? DecodedUtf16File::ReadFailed : DecodedUtf16File::NotUtf16Le;
        return result;
    }
    const qint64 size = file.size();
    if (size % 2 != 0) {
        result.outcome = DecodedUtf16File::Irregular;
        return result;
    }
    // A code unit becomes at most three bytes (a pair of them, four).
    const std::size_t capacity = std::size_t(size - 2) / 2 * 3 + 1;
    char *const text = static_cast<char *>(allocate(capacity));
    if (!text) {
        result.outcome = DecodedUtf16File::NoMemory;
        return result;
    }
    const auto fail = [&](DecodedUtf16File::Outcome outcome) {
        release(text);
        result.outcome = outcome;
        return result;
    };

    const std::unique_ptr<char[]> piece(new char[kPieceBytes]);
    char *out = text;
    qint64 total = 2;
    char16_t pendingHigh = 0; // a high surrogate at the end of a piece waits for its partner
    for (;;) {
        const qint64 got = file.read(piece.get(), kPieceBytes);
        if (got < 0)
            return fail(DecodedUtf16File::ReadFailed);
        if (got == 0)
            break;
        total += got;
        // Pieces are even in size except the last one of a file of odd size,
        // and the size was checked: an odd piece means the file changed.
        if (got % 2 != 0 || total > size)
            return fail(DecodedUtf16File::Irregular);
        const auto *bytes = reinterpret_cast<const uchar *>(piece.get());
        for (qint64 i = 0; i < got; i += 2) {
            const char16_t unit = char16_t(bytes[i] | bytes[i + 1] << 8);
            if (pendingHigh) {
                if (!QChar::isLowSurrogate(unit))
                    return fail(DecodedUtf16File::Irregular);
                out = putUtf8(out, QChar::surrogateToUcs4(pendingHigh, unit));
                pendingHigh = 0;
            } else if (QChar::isHighSurrogate(unit)) {
                pendingHigh = unit;
            } else if (QChar::isLowSurrogate(unit)) {
                return fail(DecodedUtf16File::Irregular);
            } else {
                out = putUtf8(out, unit);
            }
        }
    }
    if (pendingHigh || total != size)
        return fail(DecodedUtf16File::Irregular);
    *out = 0;
    result.outcome = DecodedUtf16File::Decoded;
    result.text = text;
    result.length = std::size_t(out - text);
    return result;
}

} // namespace quillbay
