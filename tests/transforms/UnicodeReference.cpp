#include "UnicodeReference.h"

#include <QFile>
#include <QStringList>

namespace {

// "0053 0073" as a string of those code points.
QString codePoints(const QString &field)
{
    QList<char32_t> points;
    for (const QString &part : field.split(u' ', Qt::SkipEmptyParts))
        points.append(char32_t(part.toUInt(nullptr, 16)));
    return QString::fromUcs4(points.constData(), points.size());
}

QStringList readLines(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(file.readAll()).split(u'\n') : QStringList();
}

quint32 pairKey(char16_t base, char16_t mark)
{
    return (quint32(base) << 16) | mark;
}

} // namespace

bool UnicodeReference::load(const QString &dataFolder)
{
    return loadUnicodeData(dataFolder + "/UnicodeData-3.2.0.txt")
        && loadSpecialCasing(dataFolder + "/SpecialCasing-3.2.0.txt");
}

bool UnicodeReference::loadUnicodeData(const QString &path)
{
    bool ok = false;
    for (const QString &line : readLines(path, &ok)) {
        const QStringList fields = line.split(u';');
        if (fields.size() < 15)
            continue;
        const char32_t code = fields[0].toUInt(nullptr, 16);
        // Field 12 upper, 13 lower, 14 title; an empty field means no mapping.
        if (!fields[12].isEmpty())
            m_upper.insert(code, codePoints(fields[12]));
        if (!fields[13].isEmpty())
            m_lower.insert(code, codePoints(fields[13]));
        if (!fields[14].isEmpty())
            m_title.insert(code, codePoints(fields[14]));

        const QStringList decomposition = fields[5].split(u' ', Qt::SkipEmptyParts);
        if (decomposition.size() == 2 && decomposition[0] == "<wide>")
            m_wide.insert(char16_t(code), char16_t(decomposition[1].toUInt(nullptr, 16)));
        if (decomposition.size() == 2 && decomposition[0] == "<narrow>")
            m_narrow.insert(char16_t(code), char16_t(decomposition[1].toUInt(nullptr, 16)));
        if (decomposition.size() == 2 && !decomposition[0].startsWith(u'<') && code <= 0xFFFF)
            m_composed.insert(
                pairKey(char16_t(decomposition[0].toUInt(nullptr, 16)), char16_t(decomposition[1].toUInt(nullptr, 16))),
                char16_t(code));
    }
    return ok && !m_upper.isEmpty();
}

bool UnicodeReference::loadSpecialCasing(const QString &path)
{
    bool ok = false;
    int unconditional = 0;
    for (const QString &line : readLines(path, &ok)) {
        const QString entry = line.section(u'#', 0, 0).trimmed();
        if (entry.isEmpty())
            continue;
        QStringList fields = entry.split(u';');
        for (QString &field : fields)
            field = field.trimmed();
        if (fields.size() > 4 && !fields[4].isEmpty())
            continue; // depends on language or context
        // <code>; <lower>; <title>; <upper>
        const char32_t code = fields[0].toUInt(nullptr, 16);
        m_lower.insert(code, codePoints(fields[1]));
        m_title.insert(code, codePoints(fields[2]));
        m_upper.insert(code, codePoints(fields[3]));
        ++unconditional;
    }
    return ok && unconditional > 0;
}

QString UnicodeReference::mapped(const QHash<char32_t, QString> &table, char32_t codePoint)
{
    const auto it = table.constFind(codePoint);
    return it != table.constEnd() ? *it : QString::fromUcs4(&codePoint, 1);
}

bool UnicodeReference::isCased(char32_t codePoint) const
{
    const QString self = QString::fromUcs4(&codePoint, 1);
    return lower(codePoint) != self || upper(codePoint) != self || title(codePoint) != self;
}

char16_t UnicodeReference::composed(char16_t base, char16_t mark) const
{
    return m_composed.value(pairKey(base, mark), 0);
}
