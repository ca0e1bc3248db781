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
    bool load(const QString &dataFolder);

    // Full mappings; a code point without a mapping maps to itself.
    QString lower(char32_t codePoint) const { return mapped(m_lower, codePoint); }
    QString upper(char32_t codePoint) const { return mapped(m_upper, codePoint); }
    QString title(char32_t codePoint) const { return mapped(m_title, codePoint); }
    bool isCased(char32_t codePoint) const;

    // Target of a "<wide>" or "<narrow>" compatibility decomposition, 0 when there is none.
    char16_t wideDecomposition(char16_t unit) const { return m_wide.value(unit, 0); }
    char16_t narrowDecomposition(char16_t unit) const { return m_narrow.value(unit, 0); }
    // The character whose canonical decomposition is base followed by mark, 0 when none.
    char16_t composed(char16_t base, char16_t mark) const;

private:
    bool loadUnicodeData(const QString &path);
    bool loadSpecialCasing(const QString &path);
    static QString mapped(const QHash<char32_t, QString> &table, char32_t codePoint);

    QHash<char32_t, QString> m_lower;
    QHash<char32_t, QString> m_upper;
    QHash<char32_t, QString> m_title;
    QHash<char16_t, char16_t> m_wide;
    QHash<char16_t, char16_t> m_narrow;
    QHash<quint32, char16_t> m_composed;
};
