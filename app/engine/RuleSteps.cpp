#include "engine/RuleSteps.h"

#include "base/RegExp.h"
#include "engine/transforms/NameText.h"

#include <algorithm>

namespace quillbay {

QString placeValue(const QString &name, const QString &value, const QString &position)
{
    if (position == QLatin1String("replace"))
        return value;
    if (position == QLatin1String("before"))
        return value + name;
    return name + value;
}

QString addText(const QString &name, const QString &text, const QString &position)
{
    return position == QLatin1String("after") ? name + text : text + name;
}

QString removeText(const QString &name, const QString &text)
{
    if (text.isEmpty())
        return name;
    QString out = name;
    return out.remove(text, Qt::CaseInsensitive);
}

QString replaceText(const QString &name, const QString &pattern, const QString &replaceWith)
{
    if (pattern.isEmpty())
        return name;
    QString out = name;
    return out.replace(pattern, replaceWith, Qt::CaseInsensitive);
}

// The rule's class [\s\u00a0\u3000\u2000-\u200b\u202f]: ASCII white space
// (the patterns' \s), plus the no-break, ideographic and typographic spaces
// that names pick up from documents and web pages.
bool isNameSpace(char16_t u)
{
    switch (u) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0xA0:
    case 0x202F:
    case 0x3000:
        return true;
    default:
        return u >= 0x2000 && u <= 0x200B;
    }
}

QString applySpaceRule(const QString &text, const QString &option)
{
    const bool removeAll = option == QLatin1String("removeAll");
    QString out;
    out.reserve(text.size());
    bool inRun = false;
    for (QChar c : text) {
        if (isNameSpace(c.unicode())) {
            if (!inRun && !removeAll)
                out.append(u' ');
            inRun = true;
        } else {
            out.append(c);
            inRun = false;
        }
    }
    if (!removeAll && inRun)
        out.chop(1); // the run at the end, now a single space
    return out;
}

QString applyCaseRule(const QString &text, const QString &option, bool sentenceAllowed)
{
    if (option == QLatin1String("lower"))
        return NameText::ToLowerName(text);
    if (option == QLatin1String("upper"))
        return NameText::ToUpperName(text);
    if (sentenceAllowed && option == QLatin1String("sentence"))
        return NameText::toSentenceCase(text);
    return NameText::CapitalizeWords(text);
}

QString applyWidthRule(const QString &text, const QString &option)
{
    if (option == QLatin1String("Wide"))
        return NameText::ToWide(text, false);
    if (option == QLatin1String("WideKatakana"))
        return NameText::ToWide(text, true);
    return NameText::ToNarrow(text, true);
}

QString padDigits(const QString &digits, int width)
{
    // Built in one piece: this runs once per numbered file. A width below 1
    // keeps what the general form gives (all digits, or nothing for 0).
    if (width < 0)
        return digits;
    if (width == 0)
        return QString();
    const qsizetype count = digits.size();
    if (count >= width)
        return digits.right(width);
    const qsizetype zeros = count == 0 ? width - 1 : width - count;
    QString padded(zeros + count, Qt::Uninitialized);
    QChar *out = padded.data();
    std::fill(out, out + zeros, QChar(u'0'));
    std::copy(digits.cbegin(), digits.cend(), out + zeros);
    return padded;
}

static int countDigitGroups(const QString &name)
{
    int groups = 0;
    bool inGroup = false;
    for (QChar c : name) {
        const bool digit = c >= u'0' && c <= u'9';
        if (digit && !inGroup)
            ++groups;
        inGroup = digit;
    }
    return groups;
}

std::optional<QString> adjustDigitGroup(RegExp &matcher, const QString &name, int width, int n, bool fromEnd)
{
    const int k = fromEnd ? countDigitGroups(name) - n : n - 1;
    if (k < 0)
        return std::nullopt;
    QString pattern = QStringLiteral("^(\\D*");
    for (int i = 0; i < k; ++i)
        pattern += QStringLiteral("\\d+\\D+");
    pattern += QStringLiteral(")(\\d+)(.*)$");
    matcher.setPattern(pattern);
    matcher.setGlobal(false);
    matcher.setIgnoreCase(false);
    const auto matches = matcher.Execute(name);
    if (!matches || matches->isEmpty())
        return std::nullopt;
    const RegExpMatch &m = matches->first();
    if (m.subMatches.size() < 3)
        return std::nullopt;
    return m.subMatches[0] + padDigits(m.subMatches[1], width) + m.subMatches[2];
}

} // namespace quillbay
