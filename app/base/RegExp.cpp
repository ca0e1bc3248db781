#include "base/RegExp.h"

#include "base/RegExpTranslator.h"
#include "base/ReplacementTemplate.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <array>

namespace quillbay {
namespace {

// PCRE2 runs on the UTF-16 code units as they are (NEVER_UTF: a lone
// surrogate is just a unit, as in ECMAScript); UCP gives case-insensitive
// matching the case of every character. The translator takes back what UCP
// widens (\d, \w, \s, \b). ALT_BSUX reads \uHHHH as ECMAScript does.
constexpr uint32_t kCompileOptions = PCRE2_UCP | PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF
    | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_NEVER_UTF | PCRE2_NEVER_BACKSLASH_C;

// A pattern that backtracks without end on a text stops with an error within
// a fraction of a second instead of hanging the program.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 1024 * 1024;

QString pcreMessage(int errorCode)
{
    std::array<PCRE2_UCHAR, 256> buffer{};
    const int length = pcre2_get_error_message(errorCode, buffer.data(), buffer.size());
    if (length < 0)
        return QStringLiteral("regular expression error %1").arg(errorCode);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer.data()), length);
}

PCRE2_SPTR unitsOf(const QString &text)
{
    return reinterpret_cast<PCRE2_SPTR>(text.utf16());
}

} // namespace

struct RegExp::Impl {
    QString pattern;
    bool global = false;
    bool ignoreCase = false;
    bool multiline = false;

    bool upToDate = false; // Code (or compileError) belongs to pattern and the switches
    QString compileError;
    qsizetype compileErrorOffset = -1;
    pcre2_code *code = nullptr;
    pcre2_match_data *matchData = nullptr;
    pcre2_match_context *matchContext = nullptr;
    pcre2_jit_stack *jitStack = nullptr;
    uint32_t groupCount = 0;
    bool hasNamedGroups = false;
    std::optional<regexp_detail::ReplacementTemplate> replacement;

    QString errorText;
    qsizetype lastErrorOffset = -1;

    Impl() = default;
    Impl(const Impl &) = delete;
    Impl &operator=(const Impl &) = delete;
    ~Impl()
    {
        releaseCode();
        pcre2_match_context_free(matchContext);
        pcre2_jit_stack_free(jitStack);
    }

    void releaseCode()
    {
        pcre2_match_data_free(matchData);
        pcre2_code_free(code);
        matchData = nullptr;
        code = nullptr;
        replacement.reset();
    }

    bool ensureMatchContext();
    bool ensureCompiled();
    int groupNumberOfName(QStringView name) const;
    template<typename OnMatch>
    bool forEachMatch(const QString &subject, bool allMatches, OnMatch &&onMatch);
};

bool RegExp::Impl::ensureMatchContext()
{
    if (matchContext)
        return true;
    matchContext = pcre2_match_context_create(nullptr);
    if (!matchContext)
        return false;
    pcre2_set_match_limit(matchContext, kMatchLimit);
    jitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (jitStack) // without it JIT code uses its small default stack
        pcre2_jit_stack_assign(matchContext, nullptr, jitStack);
    return true;
}

bool RegExp::Impl::ensureCompiled()
{
    if (upToDate)
        return code != nullptr;
    releaseCode();
    upToDate = true;
    compileError.clear();
    compileErrorOffset = -1;
    if (!ensureMatchContext()) {
        compileError = pcreMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    const Result<regexp_detail::TranslatedPattern> translated =
        regexp_detail::translateEcmaScriptPattern(pattern, ignoreCase, multiline, &compileErrorOffset);
    if (!translated) {
        compileError = translated.error().message;
        return false;
    }
    // Multi-line anchors are already written out by the translator (ECMAScript
    // line terminators differ from PCRE2's newline); the option costs nothing.
    const uint32_t options = kCompileOptions | (ignoreCase ? PCRE2_CASELESS : 0u) | (multiline ? PCRE2_MULTILINE : 0u);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code = pcre2_compile(unitsOf(translated->text), PCRE2_SIZE(translated->text.size()), options, &errorCode,
                         &errorOffset, nullptr);
    if (!code) {
        compileErrorOffset = translated->sourceOffsetOf(qsizetype(errorOffset));
        compileError = QStringLiteral("%1 at offset %2").arg(pcreMessage(errorCode)).arg(compileErrorOffset);
        return false;
    }
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE); // on failure the interpreter runs the pattern
    matchData = pcre2_match_data_create_from_pattern(code, nullptr);
    if (!matchData) {
        releaseCode();
        compileError = pcreMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    uint32_t nameCount = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groupCount);
    pcre2_pattern_info(code, PCRE2_INFO_NAMECOUNT, &nameCount);
    hasNamedGroups = nameCount > 0;
    return true;
}

int RegExp::Impl::groupNumberOfName(QStringView name) const
{
    const QString terminated = name.toString(); // utf16() of a QString ends with a zero unit
    const int number = pcre2_substring_number_from_name(code, unitsOf(terminated));
    return number > 0 ? number : 0;
}

// Runs the pattern over the subject as JavaScript's global matching does:
// each search starts where the last match ended, or one code unit further
// on after an empty match. onMatch receives PCRE2's output vector.
template<typename OnMatch>
bool RegExp::Impl::forEachMatch(const QString &subject, bool allMatches, OnMatch &&onMatch)
{
    const PCRE2_SPTR units = unitsOf(subject);
    const PCRE2_SIZE length = PCRE2_SIZE(subject.size());
    PCRE2_SIZE start = 0;
    for (;;) {
        const int rc = pcre2_match(code, units, length, start, 0, matchData, matchContext);
        if (rc == PCRE2_ERROR_NOMATCH)
            return true;
        if (rc < 0) {
            errorText = pcreMessage(rc);
            return false;
        }
        const PCRE2_SIZE *offsets = pcre2_get_ovector_pointer(matchData);
        onMatch(static_cast<const size_t *>(offsets));
        if (!allMatches)
            return true;
        start = offsets[1] > offsets[0] ? offsets[1] : offsets[0] + 1;
        if (start > length)
            return true;
    }
}

RegExp::RegExp() : m_impl(std::make_unique<Impl>()) {}

RegExp::~RegExp() = default;

QString RegExp::pattern() const
{
    return m_impl->pattern;
}

void RegExp::setPattern(const QString &pattern)
{
    if (pattern != m_impl->pattern)
        m_impl->upToDate = false;
    m_impl->pattern = pattern;
}

bool RegExp::Global() const
{
    return m_impl->global;
}

void RegExp::setGlobal(bool on)
{
    m_impl->global = on; // matching only; the compiled code stays valid
}

bool RegExp::IgnoreCase() const
{
    return m_impl->ignoreCase;
}

void RegExp::setIgnoreCase(bool on)
{
    if (on != m_impl->ignoreCase) {
        m_impl->ignoreCase = on;
        m_impl->upToDate = false;
    }
}

bool RegExp::Multiline() const
{
    return m_impl->multiline;
}

void RegExp::setMultiline(bool on)
{
    if (on != m_impl->multiline) {
        m_impl->multiline = on;
        m_impl->upToDate = false;
    }
}

bool RegExp::compile()
{
    m_impl->errorText.clear();
    m_impl->lastErrorOffset = -1;
    if (m_impl->ensureCompiled())
        return true;
    m_impl->errorText = m_impl->compileError;
    m_impl->lastErrorOffset = m_impl->compileErrorOffset;
    return false;
}

std::optional<bool> RegExp::Test(const QString &subject)
{
    if (!compile())
        return std::nullopt;
    bool found = false;
    if (!m_impl->forEachMatch(subject, false, [&](const size_t *) { found = true; }))
        return std::nullopt;
    return found;
}

std::optional<QList<RegExpMatch>> RegExp::Execute(const QString &subject)
{
    if (!compile())
        return std::nullopt;
    QList<RegExpMatch> matches;
    const QChar *units = subject.constData();
    const auto part = [&](size_t start, size_t end) {
        // A group that did not take part stays a null string.
        if (start > end || end > size_t(subject.size()))
            return QString();
        return QString(units + start, qsizetype(end - start)); // empty but not null when empty
    };
    const bool ok = m_impl->forEachMatch(subject, m_impl->global, [&](const size_t *offsets) {
        RegExpMatch match;
        match.firstIndex = qsizetype(offsets[0]);
        match.length = qsizetype(offsets[1] - offsets[0]);
        match.value = part(offsets[0], offsets[1]);
        match.subMatches.reserve(m_impl->groupCount);
        for (uint32_t group = 1; group <= m_impl->groupCount; ++group)
            match.subMatches.append(part(offsets[2 * group], offsets[2 * group + 1]));
        matches.append(std::move(match));
    });
    if (!ok)
        return std::nullopt;
    return matches;
}

std::optional<QString> RegExp::Replace(const QString &subject, const QString &replacement)
{
    if (!compile())
        return std::nullopt;
    if (!m_impl->replacement || m_impl->replacement->text() != replacement) {
        std::function<int(QStringView)> byName;
        if (m_impl->hasNamedGroups)
            byName = [this](QStringView name) { return m_impl->groupNumberOfName(name); };
        m_impl->replacement.emplace(replacement, int(m_impl->groupCount), byName);
    }
    const regexp_detail::ReplacementTemplate &replacementTemplate = *m_impl->replacement;
    QString result;
    qsizetype copied = 0;
    bool matched = false;
    const bool ok = m_impl->forEachMatch(subject, m_impl->global, [&](const size_t *offsets) {
        if (!matched) {
            result.reserve(subject.size() + replacement.size());
            matched = true;
        }
        result += QStringView(subject).sliced(copied, qsizetype(offsets[0]) - copied);
        replacementTemplate.appendTo(result, subject, offsets);
        copied = qsizetype(offsets[1]);
    });
    if (!ok)
        return std::nullopt;
    if (!matched)
        return subject;
    result += QStringView(subject).sliced(copied);
    return result;
}

QString RegExp::errorText() const
{
    return m_impl->errorText;
}

qsizetype RegExp::errorOffset() const
{
    return m_impl->lastErrorOffset;
}

} // namespace quillbay
