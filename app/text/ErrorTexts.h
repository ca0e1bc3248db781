#pragma once
// Why an operation failed, in the interface language.
//
// The system, the XML parser and the regular-expression engine describe their
// failures in English. Their string-table entries (30030 and up) pass that
// description on in English ("&description;") and word the reason themselves
// in Japanese, keeping only the detail that needs no translation: the name of
// the system error, the position in the file or pattern. The common file
// errors have entries of their own in both languages.

#include <QString>

namespace quillbay {

struct Error;
class RegExp;

// The reason of a failed system call ("No such file or directory"; in
// Japanese "ファイルまたはフォルダが見つかりません").
QString systemErrorText(int errorNumber);

// The reason an Error gives: the system's error in the interface language
// when the error is one of the system's as it came (Error::fromErrno), its
// message otherwise.
QString reasonOf(const Error &error);

// Why the expression was refused or could not be run.
QString regExpErrorText(const RegExp &expression);

// Why an XML text could not be parsed: the parser's description and the
// position at which it stopped.
QString xmlErrorText(const QString &parserDescription, qint64 position);

} // namespace quillbay
