#include "base/Utf8Text.h"

#include <QStringDecoder>

namespace quillbay {

QString textFromUtf8(QByteArrayView utf8)
{
    // Stateless: every call decodes on its own. ConvertInitialBom: keep U+FEFF.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

namespace {

// The length of the well-formed UTF-8 sequence at p (end excluded), 0 when
// there is none.
int sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = p[0];
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || end - p < length)
        return 0;
    for (int i = 1; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((lead == 0xE0 && p[1] < 0xA0) || (lead == 0xED && p[1] > 0x9F) || (lead == 0xF0 && p[1] < 0x90)
        || (lead == 0xF4 && p[1] > 0x8F))
        return 0;
    return length;
}

} // namespace

QString visibleText(QByteArrayView bytes)
{
    QString out;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        if (*p >= 0x20 && *p < 0x7F && *p != '\\') {
            out += QChar(*p++);
            continue;
        }
        if (const int length = *p >= 0x80 ? sequenceLength(p, end) : 0) {
            out += textFromUtf8(QByteArrayView(p, length));
            p += length;
            continue;
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        out += QStringLiteral("\\x");
        out += QChar(kHex[*p >> 4]);
        out += QChar(kHex[*p & 0xF]);
        ++p;
    }
    return out;
}

} // namespace quillbay
