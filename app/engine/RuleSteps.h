#pragma once
// The text steps that naming rules are made of. File rules and folder rules
// share them; each works on one string and knows nothing of documents.

#include <QString>
#include <optional>

namespace quillbay {

class RegExp;

// Puts a produced value into the name: "replace", "before", or anything else after.
QString placeValue(const QString &name, const QString &value, const QString &position);
// "after" appends the text; any other position puts it first.
QString addText(const QString &name, const QString &text, const QString &position);
// Every occurrence of text removed / replaced, letters compared without regard to case.
QString removeText(const QString &name, const QString &text);
QString replaceText(const QString &name, const QString &pattern, const QString &replaceWith);

// The white-space rule: "removeAll" drops every run of white space; anything
// else makes each run one space and drops a run at the end.
QString applySpaceRule(const QString &text, const QString &option);
bool isNameSpace(char16_t u);

// Letter case: "lower", "upper", "sentence" (when allowed), otherwise capitalized words.
QString applyCaseRule(const QString &text, const QString &option, bool sentenceAllowed);
// "Wide", "WideKatakana", otherwise "Narrow".
QString applyWidthRule(const QString &text, const QString &option);

// The last width characters of (width - 1 zeros followed by digits).
QString padDigits(const QString &digits, int width);

// Pads the n-th digit group (counted from the start, or from the end when
// fromEnd is set) to width digits. No value when the rule cannot apply.
// matcher is the rule's own expression object, reused between names.
std::optional<QString> adjustDigitGroup(RegExp &matcher, const QString &name, int width, int n, bool fromEnd);

} // namespace quillbay
