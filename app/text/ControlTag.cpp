#include "text/ControlTag.h"

#include "text/UiText.h"

namespace quillbay {

std::optional<int> parseTextId(QStringView value)
{
    if (value.isEmpty())
        return std::nullopt;
    int id = 0;
    for (QChar c : value) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        id = id * 10 + (c.unicode() - u'0');
        if (id > 65535)
            return std::nullopt;
    }
    return id;
}

ControlTag ControlTag::parse(const QString &tag)
{
    ControlTag result;
    const auto entries = QStringView(tag).split(u';', Qt::SkipEmptyParts);
    for (QStringView entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        const QString key = (equals < 0 ? entry : entry.left(equals)).toString();
        const QString value = equals < 0 ? QString() : entry.mid(equals + 1).toString();
        if (!result.m_entries.contains(key))
            result.m_entries.insert(key, value);
    }
    return result;
}

std::optional<QString> ControlTag::tableText(const QString &key) const
{
    auto entry = m_entries.constFind(key);
    if (entry == m_entries.constEnd())
        return std::nullopt;
    const std::optional<int> id = parseTextId(*entry);
    if (!id)
        return std::nullopt;
    return UiText::findText(*id);
}

QString ControlTag::caption(const QString &designed) const
{
    return tableText(QStringLiteral("c")).value_or(designed);
}

QString ControlTag::tooltip(const QString &designed) const
{
    return tableText(QStringLiteral("t")).value_or(designed);
}

} // namespace quillbay
