#include "base/RegExpTranslator.h"

#include "base/Numbers.h"
#include "base/RegExpCharSets.h"

#include <utility>

namespace quillbay::regexp_detail {
namespace {

bool IsAsciiAlnum(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiLetter(int c)
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

    Result<TranslatedPattern> Run();

private:
    struct ClassAtom {
        bool IsSet = false;
        char16_t Unit = 0;
        const CodeRanges *Set = nullptr;
    };

    int At(qsizetype i) const { return i >= 0 && i < m_src.size() ? m_src[i].unicode() : -1; }
    void Emit(const QString &text);
    void EmitUnit(char16_t c) { Emit(LiteralText(c, m_ignoreCase)); }
    bool Fail(const QString &message, qsizetype offset);

    void CountGroups();
    bool TranslateToken();
    bool TranslateQuantifier(qsizetype length);
    qsizetype BracedQuantifierLength() const;
    bool OpenGroup();
    bool CloseGroup();
    bool ReadGroupName(qsizetype from, QString &name, qsizetype &end) const;
    bool TranslateAtomEscape();
    bool TranslateDecimalEscape();
    bool TranslateNamedReference();
    char16_t ReadCharacterEscape(bool inClass);
    char16_t ReadLegacyOctal();
    bool TranslateClass();
    bool ReadClassAtom(ClassAtom &atom);

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
};

void Translator::Emit(const QString &text)
{
    m_result.Text += text;
    m_result.SourceOffsets.insert(m_result.SourceOffsets.end(), size_t(text.size()), m_tokenStart);
}

bool Translator::Fail(const QString &message, qsizetype offset)
{
    m_error = Error::withMessage(QStringLiteral("%1 at offset %2").arg(message).arg(offset));
    return false;
}

// ECMAScript numbers its groups over the whole pattern, so a back-reference
// may name a group that opens later; count them first.
void Translator::CountGroups()
{
    bool inClass = false;
    for (qsizetype i = 0; i < m_src.size(); ++i) {
        const int c = At(i);
        if (c == '\\') {
            ++i;
        } else if (inClass) {
            inClass = c != ']';
        } else if (c == '[') {
            inClass = true;
        } else if (c == '(') {
            if (At(i + 1) != '?') {
                ++m_groupCount;
            } else if (At(i + 2) == '<' && At(i + 3) != '=' && At(i + 3) != '!') {
                ++m_groupCount;
                m_hasNamedGroups = true;
            }
        }
    }
}

Result<TranslatedPattern> Translator::Run()
{
    CountGroups();
    while (m_pos < m_src.size()) {
        m_tokenStart = m_pos;
        if (!TranslateToken())
            return m_error;
    }
    if (!m_openGroups.empty()) {
        Fail(QStringLiteral("missing closing parenthesis"), m_src.size());
        return m_error;
    }
    m_result.SourceOffsets.push_back(m_src.size());
    return std::move(m_result);
}

bool Translator::TranslateToken()
{
    const int c = At(m_pos);
    switch (c) {
    case '\\': return TranslateAtomEscape();
    case '[': return TranslateClass();
    case '(': return OpenGroup();
    case ')': return CloseGroup();
    case '*':
    case '+':
    case '?': return TranslateQuantifier(1);
    case '{': {
        const qsizetype length = BracedQuantifierLength();
        if (length > 0)
            return TranslateQuantifier(length);
        break; // a "{" that starts no quantifier is itself
    }
    case '|':
        Emit(QStringLiteral("|"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '^':
        Emit(m_multiline ? LineStartText() : QStringLiteral("^"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '$':
        Emit(m_multiline ? LineEndText() : QStringLiteral("$"));
        ++m_pos;
        m_canQuantify = false;
        return true;
    case '.':
        Emit(AnyButLineTerminatorText());
        ++m_pos;
        m_canQuantify = true;
        return true;
    default: break;
    }
    EmitUnit(char16_t(c));
    ++m_pos;
    m_canQuantify = true;
    return true;
}

bool Translator::TranslateQuantifier(qsizetype length)
{
    if (!m_canQuantify)
        return Fail(QStringLiteral("quantifier does not follow a repeatable item"), m_pos);
    Emit(m_src.mid(m_pos, length).toString());
    m_pos += length;
    if (At(m_pos) == '?') {
        Emit(QStringLiteral("?"));
        ++m_pos;
    }
    m_canQuantify = false; // "a**" and "a*+" (a possessive quantifier in PCRE2) are errors
    return true;
}

// Length of "{n}", "{n,}" or "{n,m}" at the current position, or 0.
qsizetype Translator::BracedQuantifierLength() const
{
    qsizetype i = m_pos + 1;
    const qsizetype firstDigits = i;
    while (At(i) >= '0' && At(i) <= '9')
        ++i;
    if (i == firstDigits)
        return 0;
    if (At(i) == ',') {
        ++i;
        while (At(i) >= '0' && At(i) <= '9')
            ++i;
    }
    return At(i) == '}' ? i + 1 - m_pos : 0;
}

bool Translator::OpenGroup()
{
    const qsizetype open = m_pos;
    if (At(open + 1) != '?') {
        Emit(QStringLiteral("("));
        m_openGroups.push_back(true);
        m_pos = open + 1;
    } else if (At(open + 2) == ':' || At(open + 2) == '=' || At(open + 2) == '!') {
        Emit(m_src.mid(open, 3).toString());
        m_openGroups.push_back(true); // lookaheads may be quantified (web compatibility)
        m_pos = open + 3;
    } else if (At(open + 2) == '<' && (At(open + 3) == '=' || At(open + 3) == '!')) {
        Emit(m_src.mid(open, 4).toString());
        m_openGroups.push_back(false);
        m_pos = open + 4;
    } else if (At(open + 2) == '<') {
        QString name;
        qsizetype end = 0;
        if (!ReadGroupName(open + 3, name, end))
            return Fail(QStringLiteral("invalid capture group name"), open + 3);
        Emit(QStringLiteral("(?<") + name + u'>');
        m_openGroups.push_back(true);
        m_pos = end;
    } else {
        return Fail(QStringLiteral("unrecognized character after (?"), open + 2);
    }
    m_canQuantify = false;
    return true;
}

// A group name that both ECMAScript and PCRE2 accept: ASCII letters, digits
// and "_", not starting with a digit, closed by ">".
bool Translator::ReadGroupName(qsizetype from, QString &name, qsizetype &end) const
{
    qsizetype i = from;
    while (IsAsciiAlnum(At(i)) || At(i) == '_')
        ++i;
    if (i == from || At(i) != '>' || (At(from) >= '0' && At(from) <= '9'))
        return false;
    name = m_src.mid(from, i - from).toString();
    end = i + 1;
    return true;
}

bool Translator::CloseGroup()
{
    if (m_openGroups.empty())
        return Fail(QStringLiteral("unmatched closing parenthesis"), m_pos);
    m_canQuantify = m_openGroups.back();
    m_openGroups.pop_back();
    Emit(QStringLiteral(")"));
    ++m_pos;
    return true;
}

bool Translator::TranslateAtomEscape()
{
    const qsizetype backslash = m_pos;
    ++m_pos;
    const int c = At(m_pos);
    if (c < 0)
        return Fail(QStringLiteral("\\ at end of pattern"), backslash);
    if (const CodeRanges *set = ClassEscapeRanges(char16_t(c))) {
        Emit(ClassEscapeText(*set));
        ++m_pos;
        m_canQuantify = true;
        return true;
    }
    if (c == 'b' || c == 'B') {
        Emit(WordBoundaryText(c == 'B'));
        ++m_pos;
        m_canQuantify = false;
        return true;
    }
    if (c >= '1' && c <= '9')
        return TranslateDecimalEscape();
    if (c == 'k' && m_hasNamedGroups)
        return TranslateNamedReference();
    EmitUnit(ReadCharacterEscape(false));
    m_canQuantify = true;
    return true;
}

// "\n": a back-reference when group n exists anywhere in the pattern, else a
// legacy octal escape ("\8" and "\9" are the digits themselves).
bool Translator::TranslateDecimalEscape()
{
    qsizetype i = m_pos;
    qint64 number = 0;
    while (At(i) >= '0' && At(i) <= '9') {
        number = std::min<qint64>(number * 10 + (At(i) - '0'), 1000000);
        ++i;
    }
    if (number <= m_groupCount) {
        Emit(QStringLiteral("\\g{%1}").arg(number));
        m_pos = i;
    } else {
        EmitUnit(ReadCharacterEscape(false));
    }
    m_canQuantify = true;
    return true;
}

bool Translator::TranslateNamedReference()
{
    QString name;
    qsizetype end = 0;
    if (At(m_pos + 1) != '<' || !ReadGroupName(m_pos + 2, name, end))
        return Fail(QStringLiteral("invalid named reference"), m_pos + 1);
    Emit(QStringLiteral("\\k<") + name + u'>');
    m_pos = end;
    m_canQuantify = true;
    return true;
}

// Reads the character escape whose letter is at the current position and
// returns its code unit. "\c" not followed by a control letter stands for a
// backslash; the "c" is then read as an ordinary character.
char16_t Translator::ReadCharacterEscape(bool inClass)
{
    const int c = At(m_pos);
    switch (c) {
    case 'f': ++m_pos; return 0x0C;
    case 'n': ++m_pos; return 0x0A;
    case 'r': ++m_pos; return 0x0D;
    case 't': ++m_pos; return 0x09;
    case 'v': ++m_pos; return 0x0B;
    case 'c': {
        const int letter = At(m_pos + 1);
        if (IsAsciiLetter(letter) || (inClass && ((letter >= '0' && letter <= '9') || letter == '_'))) {
            m_pos += 2;
            return char16_t(letter % 32);
        }
        return u'\\';
    }
    case 'x':
        if (hexDigitValue(At(m_pos + 1)) >= 0 && hexDigitValue(At(m_pos + 2)) >= 0) {
            const int value = hexDigitValue(At(m_pos + 1)) * 16 + hexDigitValue(At(m_pos + 2));
            m_pos += 3;
            return char16_t(value);
        }
        ++m_pos;
        return u'x';
    case 'u': {
        int value = 0;
        for (qsizetype k = 1; k <= 4; ++k) {
            const int digit = hexDigitValue(At(m_pos + k));
            if (digit < 0) {
                ++m_pos;
                return u'u';
            }
            value = value * 16 + digit;
        }
        m_pos += 5;
        return char16_t(value);
    }
    default: break;
    }
    if (c >= '0' && c <= '7')
        return ReadLegacyOctal();
    ++m_pos;
    return char16_t(c); // an identity escape: "\." is ".", "\a" is "a"
}

// Up to three octal digits with a value of at most 0377.
char16_t Translator::ReadLegacyOctal()
{
    const int first = At(m_pos) - '0';
    const qsizetype maxDigits = first <= 3 ? 3 : 2;
    int value = first;
    ++m_pos;
    for (qsizetype k = 1; k < maxDigits && At(m_pos) >= '0' && At(m_pos) <= '7'; ++k) {
        value = value * 8 + (At(m_pos) - '0');
        ++m_pos;
    }
    return char16_t(value);
}

bool Translator::TranslateClass()
{
    const qsizetype open = m_pos;
    ++m_pos;
    const bool negated = At(m_pos) == '^';
    if (negated)
        ++m_pos;
    CodeRanges units;
    CodeRanges sets;
    const auto add = [&](const ClassAtom &atom) {
        if (atom.IsSet) {
            sets.insert(sets.end(), atom.Set->begin(), atom.Set->end());
        } else {
            units.push_back({atom.Unit, atom.Unit});
        }
    };
    for (;;) {
        const int c = At(m_pos);
        if (c < 0)
            return Fail(QStringLiteral("missing terminating ] for character class"), open);
        if (c == ']') {
            ++m_pos;
            break;
        }
        ClassAtom first;
        if (!ReadClassAtom(first))
            return false;
        if (At(m_pos) != '-' || At(m_pos + 1) < 0 || At(m_pos + 1) == ']') {
            add(first);
            continue;
        }
        const qsizetype dash = m_pos;
        ++m_pos;
        ClassAtom last;
        if (!ReadClassAtom(last))
            return false;
        if (first.IsSet || last.IsSet) { // "[\d-z]": the three items, no range
            add(first);
            add(ClassAtom{false, u'-', nullptr});
            add(last);
        } else if (first.Unit > last.Unit) {
            return Fail(QStringLiteral("range out of order in character class"), dash);
        } else {
            units.push_back({first.Unit, last.Unit});
        }
    }
    Emit(ClassText(units, sets, negated, m_ignoreCase));
    m_canQuantify = true;
    return true;
}

bool Translator::ReadClassAtom(ClassAtom &atom)
{
    const int c = At(m_pos);
    if (c != '\\') {
        atom = {false, char16_t(c), nullptr};
        ++m_pos;
        return true;
    }
    const qsizetype backslash = m_pos;
    ++m_pos;
    const int e = At(m_pos);
    if (e < 0)
        return Fail(QStringLiteral("\\ at end of pattern"), backslash);
    if (const CodeRanges *set = ClassEscapeRanges(char16_t(e))) {
        atom = {true, 0, set};
        ++m_pos;
        return true;
    }
    if (e == 'k' && m_hasNamedGroups)
        return Fail(QStringLiteral("invalid escape sequence in character class"), backslash);
    if (e == 'b') { // backspace inside a class
        atom = {false, 0x08, nullptr};
        ++m_pos;
        return true;
    }
    atom = {false, ReadCharacterEscape(true), nullptr};
    return true;
}

} // namespace

qsizetype TranslatedPattern::SourceOffsetOf(qsizetype textOffset) const
{
    if (SourceOffsets.empty())
        return 0;
    const size_t index = std::min<size_t>(size_t(std::max<qsizetype>(textOffset, 0)), SourceOffsets.size() - 1);
    return SourceOffsets[index];
}

Result<TranslatedPattern> TranslateEcmaScriptPattern(QStringView pattern, bool ignoreCase, bool multiline)
{
    return Translator(pattern, ignoreCase, multiline).Run();
}

} // namespace quillbay::regexp_detail
