#include "engine/transforms/NameText.h"

#include "engine/transforms/CaseTables.h"
#include "engine/transforms/WidthConversion.h"

namespace quillbay {

namespace {

// Calls visit(codePoint) for every code point of text: a high surrogate followed
// by a low one is a single code point, an unpaired surrogate is visited as itself.
template<typename Visit>
void forEachCodePoint(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t codePoint = text[i].unicode();
        if (QChar::isHighSurrogate(codePoint) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(char16_t(codePoint), text[i + 1].unicode());
            ++i;
        }
        visit(codePoint);
    }
}

// Room for the longest possible result, so that appending never reallocates.
QString reservedResult(QStringView text)
{
    QString out;
    out.reserve(text.size() * CaseTables::kMaxGrowth);
    return out;
}

QString mapEveryCodePoint(QStringView text, CaseMapping mapping)
{
    QString out = reservedResult(text);
    forEachCodePoint(text, [&](char32_t codePoint) { CaseTables::appendMapped(mapping, codePoint, out); });
    return out;
}

} // namespace

QString NameText::ToLowerName(const QString &text)
{
    return mapEveryCodePoint(text, CaseMapping::Lower);
}

QString NameText::ToUpperName(const QString &text)
{
    return mapEveryCodePoint(text, CaseMapping::Upper);
}

QString NameText::CapitalizeWords(const QString &text)
{
    QString out = reservedResult(text);
    bool previousCased = false;
    forEachCodePoint(text, [&](char32_t codePoint) {
        const bool cased = CaseTables::isCased(codePoint);
        if (cased)
            CaseTables::appendMapped(previousCased ? CaseMapping::Lower : CaseMapping::Title, codePoint, out);
        else
            CaseTables::appendCodePoint(codePoint, out);
        previousCased = cased;
    });
    return out;
}

QString NameText::toSentenceCase(const QString &text)
{
    const QString lower = ToLowerName(text);
    if (lower.isEmpty())
        return lower;
    const bool pair = lower.size() > 1 && lower[0].isHighSurrogate() && lower[1].isLowSurrogate();
    const qsizetype firstLength = pair ? 2 : 1;
    const char32_t first = pair ? QChar::surrogateToUcs4(lower[0], lower[1]) : lower[0].unicode();

    QString out = reservedResult(lower);
    CaseTables::appendMapped(CaseMapping::Upper, first, out);
    out.append(QStringView(lower).mid(firstLength));
    return out;
}

QString NameText::ToNarrow(const QString &text, bool fileNameMode)
{
    return WidthConversion::ToNarrow(text, fileNameMode);
}

QString NameText::ToWide(const QString &text, bool katakanaOnly)
{
    return WidthConversion::ToWide(text, katakanaOnly);
}

bool NameText::IsValidNameChar(char16_t codeUnit)
{
    // Asked for every character of every new name: a switch, not a search.
    switch (codeUnit) {
    case u'*':
    case u'/':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'\\':
    case u'|':
        return false;
    default:
        return true;
    }
}

} // namespace quillbay
