#pragma once
// Rewrites an ECMAScript pattern into a PCRE2 pattern with the same meaning.
//
// PCRE2 is compiled in 16-bit mode without UTF and with UCP (so that case-
// insensitive matching knows the case of every character). UCP widens \d, \w,
// \s and \b to Unicode, and PCRE2 gives other meanings to ".", "^", "$" in
// multi-line mode, "\v", "\a", "\e", backslash-digit and others. The
// translator therefore reads the ECMAScript syntax itself (including the
// web-compatibility rules for legacy octal escapes, identity escapes and a
// lone "{") and writes every character, class and assertion in a form that
// PCRE2 reads one way only. Characters are written as \uHHHH (the compile
// options include PCRE2_ALT_BSUX, under which \x{...} is not recognised).

#include "base/Result.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace quillbay::regexp_detail {

struct TranslatedPattern {
    QString text;                         // the PCRE2 pattern
    std::vector<qsizetype> sourceOffsets; // per code unit of Text, plus one for its end: offset in the source

    // Maps an offset in text (as PCRE2 reports it) back to the source pattern.
    qsizetype sourceOffsetOf(qsizetype textOffset) const;
};

// The pattern for PCRE2, or why the source is no ECMAScript pattern
// ("message at offset N", the offset in the source; that offset also in
// errorOffset when given, -1 on success).
Result<TranslatedPattern> translateEcmaScriptPattern(QStringView pattern, bool ignoreCase, bool multiline,
                                                     qsizetype *errorOffset = nullptr);

} // namespace quillbay::regexp_detail
