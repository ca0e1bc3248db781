#include "services/RegistryFormat.h"

#include "base/Assert.h"
#include "base/Numbers.h"

#include <QList>

namespace quillbay {

static const QByteArray kHeader = QByteArrayLiteral("QuillbayRegistry 1");

QString RegistryContent::normalizedPath(const QString &path)
{
    qsizetype start = 0;
    qsizetype end = path.size();
    while (start < end && path[start] == u'\\')
        ++start;
    while (end > start && path[end - 1] == u'\\')
        --end;
    return path.mid(start, end - start);
}

bool RegistryContent::samePath(const QString &a, const QString &b)
{
    return normalizedPath(a).compare(normalizedPath(b), Qt::CaseInsensitive) == 0;
}

RegistryKey *RegistryContent::findKey(const QString &path)
{
    for (RegistryKey &k : keys) {
        if (samePath(k.path, path))
            return &k;
    }
    return nullptr;
}

const RegistryKey *RegistryContent::findKey(const QString &path) const
{
    return const_cast<RegistryContent *>(this)->findKey(path);
}

RegistryKey &RegistryContent::key(const QString &path)
{
    if (RegistryKey *found = findKey(path))
        return *found;
    keys.append(RegistryKey{normalizedPath(path), {}});
    return keys.last();
}

bool RegistryContent::hasSubkeys(const QString &path) const
{
    const QString prefix = normalizedPath(path) + u'\\';
    for (const RegistryKey &k : keys) {
        if (k.path.startsWith(prefix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool RegistryContent::keyExists(const QString &path) const
{
    return !normalizedPath(path).isEmpty() && (findKey(path) != nullptr || hasSubkeys(path));
}

QByteArray escapeRegistryField(const QByteArray &utf8)
{
    if (utf8.isEmpty())
        return QByteArrayLiteral("%");
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == '%' || b == 0x7f) {
            out.append('%');
            out.append(QByteArray::number(b, 16).rightJustified(2, '0').toUpper());
        } else {
            out.append(c);
        }
    }
    return out;
}

std::optional<QByteArray> unescapeRegistryField(const QByteArray &field)
{
    if (field == "%")
        return QByteArray();
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out.append(field[i]);
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = hexDigitValue(field[i + 1]);
        const int low = hexDigitValue(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return out;
}

static std::optional<QString> textField(const QByteArray &field)
{
    const auto bytes = unescapeRegistryField(field);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

static std::optional<StoredValue> parseValue(const QByteArray &kind, const QByteArray &field)
{
    if (kind == "text") {
        if (const auto text = textField(field))
            return StoredValue::ofText(*text);
    } else if (kind == "number") {
        bool ok = false;
        const qulonglong n = field.toULongLong(&ok, 10);
        if (ok && n <= 0xffffffffULL && !field.startsWith('+') && !field.startsWith('-'))
            return StoredValue::ofWhole(qint64(n));
    } else if (kind == "bytes") {
        if (field == "%")
            return StoredValue::ofBytes({});
        const QByteArray bytes = QByteArray::fromHex(field);
        if (bytes.size() * 2 == field.size())
            return StoredValue::ofBytes(bytes);
    }
    return std::nullopt;
}

RegistryContent RegistryContent::parse(const QByteArray &bytes)
{
    RegistryContent content;
    RegistryKey *current = nullptr;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || (i == 0 && line == kHeader))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (fields[0] == "key" && fields.size() == 2) {
            if (const auto path = textField(fields[1]); path && !normalizedPath(*path).isEmpty()) {
                current = &content.key(*path);
                continue;
            }
        } else if (current && fields.size() == 3) {
            const auto name = textField(fields[1]);
            const auto value = parseValue(fields[0], fields[2]);
            if (name && value) {
                current->values.append(RegistryNamedValue{*name, *value});
                continue;
            }
        }
        ++content.unreadableLines;
    }
    return content;
}

static QByteArray valueLine(const RegistryNamedValue &named)
{
    const QByteArray name = escapeRegistryField(named.name.toUtf8());
    const StoredValue &value = named.value;
    switch (value.kind()) {
    case StoredValue::Kind::Whole:
        // The registry's numbers are 32 bits without sign (Registry writes no others).
        QB_ASSERT(value.whole() >= 0 && value.whole() <= 0xffffffffLL, break);
        return "number " + name + ' ' + QByteArray::number(value.whole());
    case StoredValue::Kind::Bytes:
        return "bytes " + name + ' ' + (value.bytes().isEmpty() ? QByteArrayLiteral("%") : value.bytes().toHex());
    case StoredValue::Kind::Text:
    case StoredValue::Kind::Real:
        break;
    }
    // Texts, and numbers the format cannot hold as numbers, are kept as text.
    return "text " + name + ' ' + escapeRegistryField(value.toText().toUtf8());
}

QByteArray RegistryContent::serialize() const
{
    QByteArray out = kHeader + '\n';
    for (const RegistryKey &k : keys) {
        out += "key " + escapeRegistryField(k.path.toUtf8()) + '\n';
        for (const RegistryNamedValue &named : k.values)
            out += valueLine(named) + '\n';
    }
    return out;
}

} // namespace quillbay
