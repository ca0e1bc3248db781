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

QString PcreMessage(int errorCode)
{
    std::array<PCRE2_UCHAR, 256> buffer{};
    const int length = pcre2_get_error_message(errorCode, buffer.data(), buffer.size());
    if (length < 0)
        return QStringLiteral("regular expression error %1").arg(errorCode);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer.data()), length);
}

PCRE2_SPTR Units(const QString &text)
{
    return reinterpret_cast<PCRE2_SPTR>(text.utf16());
}

} // namespace

struct RegExp::Impl {
    QString Pattern;
    bool Global = false;
    bool IgnoreCase = false;
    bool Multiline = false;

    bool UpToDate = false; // Code (or CompileError) belongs to Pattern and the switches
    QString CompileError;
    pcre2_code *Code = nullptr;
    pcre2_match_data *MatchData = nullptr;
    pcre2_match_context *MatchContext = nullptr;
    pcre2_jit_stack *JitStack = nullptr;
    uint32_t GroupCount = 0;
    bool HasNamedGroups = false;
    std::optional<regexp_detail::ReplacementTemplate> Replacement;

    QString ErrorText;

    Impl() = default;
    Impl(const Impl &) = delete;
    Impl &operator=(const Impl &) = delete;
    ~Impl()
    {
        ReleaseCode();
        pcre2_match_context_free(MatchContext);
        pcre2_jit_stack_free(JitStack);
    }

    void ReleaseCode()
    {
        pcre2_match_data_free(MatchData);
        pcre2_code_free(Code);
        MatchData = nullptr;
        Code = nullptr;
        Replacement.reset();
    }

    bool EnsureMatchContext();
    bool EnsureCompiled();
    int GroupNumberOfName(QStringView name) const;
    template<typename OnMatch>
    bool ForEachMatch(const QString &subject, bool global, OnMatch &&onMatch);
};

bool RegExp::Impl::EnsureMatchContext()
{
    if (MatchContext)
        return true;
    MatchContext = pcre2_match_context_create(nullptr);
    if (!MatchContext)
        return false;
    pcre2_set_match_limit(MatchContext, kMatchLimit);
    JitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (JitStack) // without it JIT code uses its small default stack
        pcre2_jit_stack_assign(MatchContext, nullptr, JitStack);
    return true;
}

bool RegExp::Impl::EnsureCompiled()
{
    if (UpToDate)
        return Code != nullptr;
    ReleaseCode();
    UpToDate = true;
    CompileError.clear();
    if (!EnsureMatchContext()) {
        CompileError = PcreMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    const Result<regexp_detail::TranslatedPattern> translated =
        regexp_detail::TranslateEcmaScriptPattern(Pattern, IgnoreCase, Multiline);
    if (!translated) {
        CompileError = translated.error().message;
        return false;
    }
    // Multi-line anchors are already written out by the translator (ECMAScript
    // line terminators differ from PCRE2's newline); the option costs nothing.
    const uint32_t options = kCompileOptions | (IgnoreCase ? PCRE2_CASELESS : 0u) | (Multiline ? PCRE2_MULTILINE : 0u);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    Code = pcre2_compile(Units(translated->Text), PCRE2_SIZE(translated->Text.size()), options, &errorCode,
                         &errorOffset, nullptr);
    if (!Code) {
        CompileError = QStringLiteral("%1 at offset %2")
                           .arg(PcreMessage(errorCode))
                           .arg(translated->SourceOffsetOf(qsizetype(errorOffset)));
        return false;
    }
    pcre2_jit_compile(Code, PCRE2_JIT_COMPLETE); // on failure the interpreter runs the pattern
    MatchData = pcre2_match_data_create_from_pattern(Code, nullptr);
    if (!MatchData) {
        ReleaseCode();
        CompileError = PcreMessage(PCRE2_ERROR_NOMEMORY);
        return false;
    }
    uint32_t nameCount = 0;
    pcre2_pattern_info(Code, PCRE2_INFO_CAPTURECOUNT, &GroupCount);
    pcre2_pattern_info(Code, PCRE2_INFO_NAMECOUNT, &nameCount);
    HasNamedGroups = nameCount > 0;
    return true;
}

int RegExp::Impl::GroupNumberOfName(QStringView name) const
{
    const QString terminated = name.toString(); // utf16() of a QString ends with a zero unit
    const int number = pcre2_substring_number_from_name(Code, Units(terminated));
    return number > 0 ? number : 0;
}

// Runs the pattern over the subject as JavaScript's global matching does:
// each search starts where the last match ended, or one code unit further
// on after an empty match. onMatch receives PCRE2's output vector.
template<typename OnMatch>
bool RegExp::Impl::ForEachMatch(const QString &subject, bool global, OnMatch &&onMatch)
{
    const PCRE2_SPTR units = Units(subject);
    const PCRE2_SIZE length = PCRE2_SIZE(subject.size());
    PCRE2_SIZE start = 0;
    for (;;) {
        const int rc = pcre2_match(Code, units, length, start, 0, MatchData, MatchContext);
        if (rc == PCRE2_ERROR_NOMATCH)
            return true;
        if (rc < 0) {
            ErrorText = PcreMessage(rc);
            return false;
        }
        const PCRE2_SIZE *offsets = pcre2_get_ovector_pointer(MatchData);
        onMatch(static_cast<const size_t *>(offsets));
        if (!global)
            return true;
        start = offsets[1] > offsets[0] ? offsets[1] : offsets[0] + 1;
        if (start > length)
            return true;
    }
}

RegExp::RegExp()
    : d(std::make_unique<Impl>())
{
}

RegExp::~RegExp() = default;

QString RegExp::Pattern() const
{
    return d->Pattern;
}

void RegExp::SetPattern(const QString &pattern)
{
    if (pattern != d->Pattern)
        d->UpToDate = false;
    d->Pattern = pattern;
}

bool RegExp::Global() const
{
    return d->Global;
}

void RegExp::SetGlobal(bool on)
{
    d->Global = on; // matching only; the compiled code stays valid
}

bool RegExp::IgnoreCase() const
{
    return d->IgnoreCase;
}

void RegExp::SetIgnoreCase(bool on)
{
    if (on != d->IgnoreCase) {
        d->IgnoreCase = on;
        d->UpToDate = false;
    }
}

bool RegExp::Multiline() const
{
    return d->Multiline;
}

void RegExp::SetMultiline(bool on)
{
    if (on != d->Multiline) {
        d->Multiline = on;
        d->UpToDate = false;
    }
}

bool RegExp::Compile()
{
    d->ErrorText.clear();
    if (d->EnsureCompiled())
        return true;
    d->ErrorText = d->CompileError;
    return false;
}

std::optional<bool> RegExp::Test(const QString &subject)
{
    if (!Compile())
        return std::nullopt;
    bool found = false;
    if (!d->ForEachMatch(subject, false, [&](const size_t *) { found = true; }))
        return std::nullopt;
    return found;
}

std::optional<QList<RegExpMatch>> RegExp::Execute(const QString &subject)
{
    if (!Compile())
        return std::nullopt;
    QList<RegExpMatch> matches;
    const QChar *units = subject.constData();
    const auto part = [&](size_t start, size_t end) {
        // A group that did not take part stays a null string.
        if (start > end || end > size_t(subject.size()))
            return QString();
        return QString(units + start, qsizetype(end - start)); // empty but not null when empty
    };
    const bool ok = d->ForEachMatch(subject, d->Global, [&](const size_t *offsets) {
        RegExpMatch match;
        match.FirstIndex = qsizetype(offsets[0]);
        match.Length = qsizetype(offsets[1] - offsets[0]);
        match.Value = part(offsets[0], offsets[1]);
        match.SubMatches.reserve(d->GroupCount);
        for (uint32_t group = 1; group <= d->GroupCount; ++group)
            match.SubMatches.append(part(offsets[2 * group], offsets[2 * group + 1]));
        matches.append(std::move(match));
    });
    if (!ok)
        return std::nullopt;
    return matches;
}

std::optional<QString> RegExp::Replace(const QString &subject, const QString &replacement)
{
    if (!Compile())
        return std::nullopt;
    if (!d->Replacement || d->Replacement->Text() != replacement) {
        std::function<int(QStringView)> byName;
        if (d->HasNamedGroups)
            byName = [this](QStringView name) { return d->GroupNumberOfName(name); };
        d->Replacement.emplace(replacement, int(d->GroupCount), byName);
    }
    const regexp_detail::ReplacementTemplate &replacementTemplate = *d->Replacement;
    QString result;
    qsizetype copied = 0;
    bool matched = false;
    const bool ok = d->ForEachMatch(subject, d->Global, [&](const size_t *offsets) {
        if (!matched) {
            result.reserve(subject.size() + replacement.size());
            matched = true;
        }
        result += QStringView(subject).sliced(copied, qsizetype(offsets[0]) - copied);
        replacementTemplate.AppendTo(result, subject, offsets);
        copied = qsizetype(offsets[1]);
    });
    if (!ok)
        return std::nullopt;
    if (!matched)
        return subject;
    result += QStringView(subject).sliced(copied);
    return result;
}

QString RegExp::ErrorText() const
{
    return d->ErrorText;
}

} // namespace quillbay
