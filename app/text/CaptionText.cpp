#include "text/CaptionText.h"

#include "text/UiText.h"

#include <QRegularExpression>

namespace quillbay {

QString withoutAccessKey(const QString &caption)
{
    static const QRegularExpression japaneseKey(QStringLiteral("\\(&.\\)"));
    QString text = caption;
    text.remove(japaneseKey);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

QString captionInMessage(int id)
{
    QString text = withoutAccessKey(UiText::LoadText(id)).trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

} // namespace quillbay
