#include "base/RegExpTranslator.h"

#include "base/Numbers.h"
#include "base/RegExpCharSets.h"

#include <utility>

namespace quillbay::regexp_detail {
namespace {

bool isAsciiAlnum(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isAsciiLetter(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

class Translator
{
public:
    Translator(QStringView source, bool ignoreCase, bool multiline)
        : m_src(source), m_ignoreCase(ignoreCase), m_multiline(multiline)
    {
    }

    Result<TranslatedPattern> run();

private:
    struct ClassAtom {
        bool isSet = false;
        char16_t unit = 0;
        const CodeRanges *set = nullptr;
    };

    int at(qsizetype i) const { return i >= 0 && i < m_src.size() ? m_src[i].unicode() : -1; }
    void emitText(const QString &text);
    void emitUnit(char16_t c) { emitText(literalText(c, m_ignoreCase)); }
    bool fail(const QString &message, qsizetype offset);

public:
    qsizetype errorOffset() const { return m_errorOffset; }

private:
    void countGroups();
    bool translateToken();
    bool translateQuantifier(qsizetype length);
    qsizetype bracedQuantifierLength() const;
    bool openGroup();
    bool closeGroup();
    bool readGroupName(qsizetype from, QString &name, qsizetype &end) const;
    bool translateAtomEscape();
    bool translateDecimalEscape();
    bool translateNamedReference();
    char16_t readCharacterEscape(bool inClass);
    char16_t readLegacyOctal();
    bool translateClass();
    bool readClassAtom(ClassAtom &atom);

    QStringView m_src;
    bool m_ignoreCase;
    bool m_multiline;
    qsizetype m_pos = 0;
    qsizetype m_tokenStart = 0;
    int m_groupCount = 0;
    bool m_hasNamedGroups = false;
    bool m_canQuantify = false;
    std::vector<bool> m_openGroups; // per open group: may it be quantified once closed
    TranslatedPattern m_result;
    Error m_error;
    qsizetype m_errorOffset = -1;
};

void Translator::emitText(const QString &text)
{
    m_result.text += text;
    m_result.sourceOffsets.insert(m_result.sourceOffsets.end(), size_t(text.size()), m_tokenStart);
}

bool Translator::fail(const QString &message, qsizetype offset)
{
    m_error = Error::withMessage(QStringLiteral("%1 at offset %2").arg(message).arg(offset));
    m_errorOffset = offset;
    return false;
}

// ECMAScript numbers its groups over the whole pattern, so a back-reference
// may name a group that opens later; count them first.
void Translator::countGroups()
{
    bool inClass = false;
    for (qsizetype i = 0; i < m_src.size(); ++i) {
        const int c = at(i);
        if (c == '\\') {
            ++i;
        } else if (inClass) {
            inClass = c != ']';
        } else if (c == '[') {
            inClass = true;
        } else if (c == '(') {
            if (at(i + 1) != '?') {
                ++m_groupCount;
            } else if (at(i + 2) == '<' && at(i + 3) != '=' && at(i + 3) != '!') {
                ++m_groupCount;
                m_hasNamedGroups = true;
            }
        }
    }
}

Result<TranslatedPattern> Translator::run()
{
    countGroups();
    while (m_pos < m_src.size()) {
        m_tokenStart = m_pos;
        if (!translateToken())
            return m_error;
    }
    if (!m_openGroups.empty()) {
        fail(QStringLiteral("missing closing parenthesis"), m_src.size());
        return m_error;
    }
    m_result.sourceOffsets.push_back(m_src.size());
    return std::move(m_result);
}

bool Translator::translateToken()
{
    const int c = at(m_pos);
    switch (c) {
    case '\\':
        return translateAtomEscape();
    case '[':
        return translateClass();
    case '(':
        return openGroup();
    case ')':
        return closeGroup();
    case '*':
    case '+':
    case '?':
        return translateQuantifier(1);
    case '{': {
        const qsizetype length = bracedQuantifierLength();
        if (length > 0)
            return translateQuantifier(length);
        break; // a "{" that starts no quantifier is itself
    }
    case '|':
        emitText(QStringLiteral("|"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '^':
        emitText(m_multiline ? lineStartText() : QStringLiteral("^"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '$':
        emitText(m_multiline ? lineEndText() : QStringLiteral("$"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '.':
        emitText(anyButLineTerminatorText());
        ++m_pos;
        m_canQuantify = true;
        return true;
    default:
        break;
    }
    emitUnit(char16_t(c));
    ++m_pos;
    m_canQuantify = true;
    return true;
}

bool Translator::translateQuantifier(qsizetype length)
{
    if (!m_canQuantify)
        return fail(QStringLiteral("quantifier does not follow a repeatable item"), m_pos);
    emitText(m_src.mid(m_pos, length).toString());
    m_pos += length;
    if (at(m_pos) == '?') {
        emitText(QStringLiteral("?"));
        ++m_pos;
    }
    m_canQuantify = false; // "a**" and "a*+" (a possessive quantifier in PCRE2) are errors
    return true;
}

// Length of "{n}", "{n,}" or "{n,m}" at the current position, or 0.
qsizetype Translator::bracedQuantifierLength() const
{
    qsizetype i = m_pos + 1;
    const qsizetype firstDigits = i;
    while (at(i) >= '0' && at(i) <= '9')
        ++i;
    if (i == firstDigits)
        return 0;
    if (at(i) == ',') {
        ++i;
        while (at(i) >= '0' && at(i) <= '9')
            ++i;
    }
    return at(i) == '}' ? i + 1 - m_pos : 0;
}

bool Translator::openGroup()
{
    const qsizetype open = m_pos;
    if (at(open + 1) != '?') {
        emitText(QStringLiteral("("));
        m_openGroups.push_back(true);
        m_pos = open + 1;
    } else if (at(open + 2) == ':' || at(open + 2) == '=' || at(open + 2) == '!') {
        emitText(m_src.mid(open, 3).toString());
        m_openGroups.push_back(true); // lookaheads may be quantified (web compatibility)
        m_pos = open + 3;
    } else if (at(open + 2) == '<' && (at(open + 3) == '=' || at(open + 3) == '!')) {
        emitText(m_src.mid(open, 4).toString());
        m_openGroups.push_back(false);
        m_pos = open + 4;
    } else if (at(open + 2) == '<') {
        QString name;
        qsizetype end = 0;
        if (!readGroupName(open + 3, name, end))
            return fail(QStringLiteral("invalid capture group name"), open + 3);
        emitText(QStringLiteral("(?<") + name + u'>');
        m_openGroups.push_back(true);
        m_pos = end;
    } else {
        return fail(QStringLiteral("unrecognized character after (?"), open + 2);
    }
    m_canQuantify = false;
    return true;
}

// A group name that both ECMAScript and PCRE2 accept: ASCII letters, digits
// and "_", not starting with a digit, closed by ">".
bool Translator::readGroupName(qsizetype from, QString &name, qsizetype &end) const
{
    qsizetype i = from;
    while (isAsciiAlnum(at(i)) || at(i) == '_')
        ++i;
    if (i == from || at(i) != '>' || (at(from) >= '0' && at(from) <= '9'))
        return false;
    name = m_src.mid(from, i - from).toString();
    end = i + 1;
    return true;
}

bool Translator::closeGroup()
{
    if (m_openGroups.empty())
        return fail(QStringLiteral("unmatched closing parenthesis"), m_pos);
    m_canQuantify = m_openGroups.back();
    m_openGroups.pop_back();
    emitText(QStringLiteral(")"));
    ++m_pos;
    return true;
}

bool Translator::translateAtomEscape()
{
    const qsizetype backslash = m_pos;
    ++m_pos;
    const int c = at(m_pos);
    if (c < 0)
        return fail(QStringLiteral("\\ at end of pattern"), backslash);
    if (const CodeRanges *set = classEscapeRanges(char16_t(c))) {
        emitText(classEscapeText(*set));
        ++m_pos;
        m_canQuantify = true;
        return true;
    }
    if (c == 'b' || c == 'B') {
        emitText(wordBoundaryText(c == 'B'));
        ++m_pos;
        m_canQuantify = false;
        return true;
    }
    if (c >= '1' && c <= '9')
        return translateDecimalEscape();
    if (c == 'k' && m_hasNamedGroups)
        return translateNamedReference();
    emitUnit(readCharacterEscape(false));
    m_canQuantify = true;
    return true;
}

// "\n": a back-reference when group n exists anywhere in the pattern, else a
// legacy octal escape ("\8" and "\9" are the digits themselves).
bool Translator::translateDecimalEscape()
{
    qsizetype i = m_pos;
    qint64 number = 0;
    while (at(i) >= '0' && at(i) <= '9') {
        number = std::min<qint64>(number * 10 + (at(i) - '0'), 1000000);
        ++i;
    }
    if (number <= m_groupCount) {
        emitText(QStringLiteral("\\g{%1}").arg(number));
        m_pos = i;
    } else {
        emitUnit(readCharacterEscape(false));
    }
    m_canQuantify = true;
    return true;
}

bool Translator::translateNamedReference()
{
    QString name;
    qsizetype end = 0;
    if (at(m_pos + 1) != '<' || !readGroupName(m_pos + 2, name, end))
        return fail(QStringLiteral("invalid named reference"), m_pos + 1);
    emitText(QStringLiteral("\\k<") + name + u'>');
    m_pos = end;
    m_canQuantify = true;
    return true;
}

// Reads the character escape whose letter is at the current position and
// returns its code unit. "\c" not followed by a control letter stands for a
// backslash; the "c" is then read as an ordinary character.
char16_t Translator::readCharacterEscape(bool inClass)
{
    const int c = at(m_pos);
    switch (c) {
    case 'f':
        ++m_pos;
        return 0x0C;
    case 'n':
        ++m_pos;
        return 0x0A;
    case 'r':
        ++m_pos;
        return 0x0D;
    case 't':
        ++m_pos;
        return 0x09;
    case 'v':
        ++m_pos;
        return 0x0B;
    case 'c': {
        const int letter = at(m_pos + 1);
        if (isAsciiLetter(letter) || (inClass && ((letter >= '0' && letter <= '9') || letter == '_'))) {
            m_pos += 2;
            return char16_t(letter % 32);
        }
        return u'\\';
    }
    case 'x':
        if (hexDigitValue(at(m_pos + 1)) >= 0 && hexDigitValue(at(m_pos + 2)) >= 0) {
            const int value = hexDigitValue(at(m_pos + 1)) * 16 + hexDigitValue(at(m_pos + 2));
            m_pos += 3;
            return char16_t(value);
        }
        ++m_pos;
        return u'x';
    case 'u': {
        int value = 0;
        for (qsizetype k = 1; k <= 4; ++k) {
            const int digit = hexDigitValue(at(m_pos + k));
            if (digit < 0) {
                ++m_pos;
                return u'u';
            }
            value = value * 16 + digit;
        }
        m_pos += 5;
        return char16_t(value);
    }
    default:
        break;
    }
    if (c >= '0' && c <= '7')
        return readLegacyOctal();
    ++m_pos;
    return char16_t(c); // an identity escape: "\." is ".", "\a" is "a"
}

// Up to three octal digits with a value of at most 0377.
char16_t Translator::readLegacyOctal()
{
    const int first = at(m_pos) - '0';
    const qsizetype maxDigits = first <= 3 ? 3 : 2;
    int value = first;
    ++m_pos;
    for (qsizetype k = 1; k < maxDigits && at(m_pos) >= '0' && at(m_pos) <= '7'; ++k) {
        value = value * 8 + (at(m_pos) - '0');
        ++m_pos;
    }
    return char16_t(value);
}

bool Translator::translateClass()
{
    const qsizetype open = m_pos;
    ++m_pos;
    const bool negated = at(m_pos) == '^';
    if (negated)
        ++m_pos;
    CodeRanges units;
    CodeRanges sets;
    const auto add = [&](const ClassAtom &atom) {
        if (atom.isSet) {
            sets.insert(sets.end(), atom.set->begin(), atom.set->end());
        } else {
            units.push_back({atom.unit, atom.unit});
        }
    };
    for (;;) {
        const int c = at(m_pos);
        if (c < 0)
            return fail(QStringLiteral("missing terminating ] for character class"), open);
        if (c == ']') {
            ++m_pos;
            break;
        }
        ClassAtom first;
        if (!readClassAtom(first))
            return false;
        if (at(m_pos) != '-' || at(m_pos + 1) < 0 || at(m_pos + 1) == ']') {
            add(first);
            continue;
        }
        const qsizetype dash = m_pos;
        ++m_pos;
        ClassAtom last;
        if (!readClassAtom(last))
            return false;
        if (first.isSet || last.isSet) { // "[\d-z]": the three items, no range
            add(first);
            add(ClassAtom{false, u'-', nullptr});
            add(last);
        } else if (first.unit > last.unit) {
            return fail(QStringLiteral("range out of order in character class"), dash);
        } else {
            units.push_back({first.unit, last.unit});
        }
    }
    emitText(classText(units, sets, negated, m_ignoreCase));
    m_canQuantify = true;
    return true;
}

bool Translator::readClassAtom(ClassAtom &atom)
{
    const int c = at(m_pos);
    if (c != '\\') {
        atom = {false, char16_t(c), nullptr};
        ++m_pos;
        return true;
    }
    const qsizetype backslash = m_pos;
    ++m_pos;
    const int e = at(m_pos);
    if (e < 0)
        return fail(QStringLiteral("\\ at end of pattern"), backslash);
    if (const CodeRanges *set = classEscapeRanges(char16_t(e))) {
        atom = {true, 0, set};
        ++m_pos;
        return true;
    }
    if (e == 'k' && m_hasNamedGroups)
        return fail(QStringLiteral("invalid escape sequence in character class"), backslash);
    if (e == 'b') { // backspace inside a class
        atom = {false, 0x08, nullptr};
        ++m_pos;
        return true;
    }
    atom = {false, readCharacterEscape(true), nullptr};
    return true;
}

} // namespace

qsizetype TranslatedPattern::sourceOffsetOf(qsizetype textOffset) const
{
    if (sourceOffsets.empty())
        return 0;
    const size_t index = std::min<size_t>(size_t(std::max<qsizetype>(textOffset, 0)), sourceOffsets.size() - 1);
    return sourceOffsets[index];
}

Result<TranslatedPattern> translateEcmaScriptPattern(QStringView pattern, bool ignoreCase, bool multiline,
                                                     qsizetype *errorOffset)
{
    Translator translator(pattern, ignoreCase, multiline);
    Result<TranslatedPattern> translated = translator.run();
    if (errorOffset)
        *errorOffset = translator.errorOffset();
    return translated;
}

} // namespace quillbay::regexp_detail
