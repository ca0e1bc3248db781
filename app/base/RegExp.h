#pragma once
// The one regular-expression class of the program: ECMAScript syntax and
// JavaScript replacement rules, on UTF-16 code units as they are. One class
// differs from today's JavaScript: \s (and \S) is ASCII white space only, as in
// the older scripting engine whose patterns the settings were written for.
//
// Failures are results: a pattern the engine rejects, or a match that runs
// into the engine's limits, makes the operation return no value and leaves a
// readable errorText(); nothing throws, crashes or hangs.

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace quillbay {

struct RegExpMatch {
    qsizetype firstIndex = 0; // 0-based position in the subject, in code units
    qsizetype length = 0;
    QString value;
    QList<QString> subMatches; // one per capturing group; a group that did not take part is a null QString
};

class RegExp
{
public:
    RegExp();
    ~RegExp();
    RegExp(const RegExp &) = delete;
    RegExp &operator=(const RegExp &) = delete;

    QString pattern() const;
    void setPattern(const QString &pattern);
    bool Global() const;
    void setGlobal(bool on);
    bool IgnoreCase() const;
    void setIgnoreCase(bool on);
    bool Multiline() const;
    void setMultiline(bool on);

    // Compiles now (otherwise compilation happens at first use); false when the pattern is rejected.
    bool compile();

    std::optional<bool> Test(const QString &subject);
    std::optional<QList<RegExpMatch>> Execute(const QString &subject);
    std::optional<QString> Replace(const QString &subject, const QString &replacement);

    // Why the last operation gave no value (in English, as the engine words it).
    QString errorText() const;
    // Where in the pattern the last operation found it wrong (0-based, in code
    // units); -1 when the pattern was not at fault (no memory, a match that
    // hit its limits).
    qsizetype errorOffset() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace quillbay
