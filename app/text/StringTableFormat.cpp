#include "text/StringTableFormat.h"

namespace quillbay {

namespace {

constexpr int kLargestId = 65535; // identifiers are 16-bit

std::optional<int> parseId(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 5)
        return std::nullopt;
    int id = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        id = id * 10 + (c.unicode() - u'0');
    }
    if (id > kLargestId)
        return std::nullopt;
    return id;
}

QString lineError(int lineNumber, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
}

} // namespace

std::optional<QString> unescapeTableText(QStringView escaped)
{
    QString text;
    text.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped[i];
        if (c != u'\\') {
            text.append(c);
            continue;
        }
        if (++i == escaped.size())
            return std::nullopt;
        switch (escaped[i].unicode()) {
        case u'r':
            text.append(u'\r');
            break;
        case u'n':
            text.append(u'\n');
            break;
        case u't':
            text.append(u'\t');
            break;
        case u'\\':
            text.append(u'\\');
            break;
        default:
            return std::nullopt;
        }
    }
    return text;
}

ParsedStringTable parseStringTable(QByteArrayView utf8)
{
    ParsedStringTable table;
    QString content = QString::fromUtf8(utf8);
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);

    const QStringList lines = content.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int lineNumber = int(index) + 1;
        QStringView line = lines[index];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;

        const qsizetype equals = line.indexOf(u'=');
        const std::optional<int> id = equals < 0 ? std::nullopt : parseId(line.left(equals));
        if (!id) {
            table.errors.append(
                lineError(lineNumber, QStringLiteral("expected <id>=<text> with an id from 0 to 65535")));
            continue;
        }
        std::optional<QString> text = unescapeTableText(line.mid(equals + 1));
        if (!text) {
            table.errors.append(
                lineError(lineNumber, QStringLiteral("unknown escape (only \\r \\n \\t \\\\ are allowed)")));
            continue;
        }
        if (table.texts.contains(*id)) {
            table.errors.append(lineError(lineNumber, QStringLiteral("id %1 appears more than once").arg(*id)));
            continue;
        }
        table.texts.insert(*id, *text);
        table.ids.append(*id);
    }
    return table;
}

} // namespace quillbay
