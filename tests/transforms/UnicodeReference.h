#pragma once
// Expected results read straight from the Unicode 3.2 data files of the
// repository, parsed here on their own so that the tests do not share a line of
// code with the table generator.

#include <QHash>
#include <QString>

class UnicodeReference
{
public:
    // Reads UnicodeData and SpecialCasing from the folder; false if either is missing.
    bool Load(const QString &dataFolder);

    // Full mappings; a code point without a mapping maps to itself.
    QString Lower(char32_t codePoint) const { return Mapped(m_lower, codePoint); }
    QString Upper(char32_t codePoint) const { return Mapped(m_upper, codePoint); }
    QString Title(char32_t codePoint) const { return Mapped(m_title, codePoint); }
    bool IsCased(char32_t codePoint) const;

    // Target of a "<wide>" or "<narrow>" compatibility decomposition, 0 when there is none.
    char16_t WideDecomposition(char16_t unit) const { return m_wide.value(unit, 0); }
    char16_t NarrowDecomposition(char16_t unit) const { return m_narrow.value(unit, 0); }
    // The character whose canonical decomposition is base followed by mark, 0 when none.
    char16_t Composed(char16_t base, char16_t mark) const;

private:
    bool LoadUnicodeData(const QString &path);
    bool LoadSpecialCasing(const QString &path);
    static QString Mapped(const QHash<char32_t, QString> &table, char32_t codePoint);

    QHash<char32_t, QString> m_lower;
    QHash<char32_t, QString> m_upper;
    QHash<char32_t, QString> m_title;
    QHash<char16_t, char16_t> m_wide;
    QHash<char16_t, char16_t> m_narrow;
    QHash<quint32, char16_t> m_composed;
};
