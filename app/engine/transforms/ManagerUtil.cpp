#include "engine/transforms/ManagerUtil.h"

// Interim stand-ins built on Qt's case mapping; the exact tables replace them.
namespace quillbay {

QString ManagerUtil::ToLowerName(const QString &text) { return text.toLower(); }
QString ManagerUtil::ToUpperName(const QString &text) { return text.toUpper(); }

QString ManagerUtil::CapitalizeWords(const QString &text)
{
    QString out = text;
    bool previousCased = false;
    for (QChar &c : out) {
        const bool cased = c.isLetter() && (c.isLower() || c.isUpper() || c.isTitleCase());
        if (cased)
            c = previousCased ? c.toLower() : c.toTitleCase();
        previousCased = cased;
    }
    return out;
}

QString ManagerUtil::ToSentenceCase(const QString &text)
{
    QString lower = ToLowerName(text);
    if (lower.isEmpty())
        return lower;
    return ToUpperName(lower.left(1)) + lower.mid(1);
}

QString ManagerUtil::ToNarrow(const QString &text, bool) { return text; }
QString ManagerUtil::ToWide(const QString &text, bool) { return text; }

bool ManagerUtil::IsValidNameChar(char16_t u)
{
    return !QStringView(u"*/:<>?\\|").contains(QChar(u));
}

} // namespace quillbay
