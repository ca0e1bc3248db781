#include "engine/transforms/WidthConversion.h"

#include "engine/transforms/NameText.h"

#include <iterator>

namespace quillbay {

namespace {

constexpr char16_t kFullWidthOffset = 0xFEE0; // U+0021-U+007E <-> U+FF01-U+FF5E
constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;

// Full-width forms of U+FF61-U+FF9D: punctuation, then katakana in the order of
// the half-width block (which is not the order of the full-width one).
constexpr char16_t kHalfWidthKatakanaBase = 0xFF61;
constexpr char16_t kFullWidthKatakana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2,                         // FF61-FF66
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, // FF67-FF6F small
    0x30FC,                                                                 // FF70
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,                                 // FF71-FF75 a i u e o
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,                                 // ka
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,                                 // sa
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,                                 // ta
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,                                 // na
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,                                 // ha
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,                                 // ma
    0x30E4, 0x30E6, 0x30E8,                                                 // ya
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED,                                 // ra
    0x30EF, 0x30F3,                                                         // FF9C-FF9D wa n
};
static_assert(std::size(kFullWidthKatakana) == 0xFF9D - 0xFF61 + 1);

struct HangulRange {
    char16_t first;
    char16_t last;
    char16_t offset;
};

// Half-width Hangul to the compatibility jamo U+3131-U+3163.
constexpr HangulRange kHangulRanges[] = {
    {0xFFA1, 0xFFBE, 0xCE70}, {0xFFC2, 0xFFC7, 0xCE73}, {0xFFCA, 0xFFCF, 0xCE75},
    {0xFFD2, 0xFFD7, 0xCE77}, {0xFFDA, 0xFFDC, 0xCE79},
};

bool inRange(char16_t u, char16_t first, char16_t last)
{
    return u >= first && u <= last;
}

// The single full-width unit for a half-width katakana and the sound mark after it,
// or 0 when the pair has no combined form.
char16_t combineSoundMark(char16_t kana, char16_t mark)
{
    const bool ha = inRange(kana, 0xFF8A, 0xFF8E);
    if (mark == kVoicedMark) {
        if (kana == 0xFF73)
            return 0x30F4; // vu
        if (inRange(kana, 0xFF76, 0xFF84) || ha)
            return char16_t(kFullWidthKatakana[kana - kHalfWidthKatakanaBase] + 1);
    } else if (mark == kSemiVoicedMark && ha) {
        return char16_t(kFullWidthKatakana[kana - kHalfWidthKatakanaBase] + 2);
    }
    return 0;
}

char16_t wideUnit(char16_t u, bool katakanaOnly)
{
    if (!katakanaOnly && inRange(u, 0x0021, 0x007E))
        return char16_t(u + kFullWidthOffset);
    for (const HangulRange &range : kHangulRanges) {
        if (inRange(u, range.first, range.last))
            return char16_t(u - range.offset);
    }
    if (inRange(u, kHalfWidthKatakanaBase, 0xFF9D))
        return kFullWidthKatakana[u - kHalfWidthKatakanaBase];
    return u;
}

} // namespace

QString WidthConversion::ToNarrow(QString text, bool keepInvalidNameChars)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (!inRange(u, 0xFF01, 0xFF5E))
            continue;
        const char16_t narrow = char16_t(u - kFullWidthOffset);
        if (keepInvalidNameChars && !NameText::IsValidNameChar(narrow))
            continue;
        c = QChar(narrow);
    }
    return text;
}

QString WidthConversion::ToWide(QStringView text, bool katakanaOnly)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (i + 1 < text.size()) {
            if (const char16_t combined = combineSoundMark(u, text[i + 1].unicode())) {
                out.append(QChar(combined));
                ++i;
                continue;
            }
        }
        out.append(QChar(wideUnit(u, katakanaOnly)));
    }
    return out;
}

} // namespace quillbay
