#pragma once
// The texts a user is shown about a preview: why it cannot start, and how
// many new names were found invalid. The window, the unattended run and the
// command-line tool all say the same.

#include <QString>

namespace quillbay {

// One text per failed check (bits of PreconditionBits), joined by line breaks,
// in the order no rules, no folders, missing folders.
QString PreconditionMessage(int bits);

// "The check box(es) of N new name(s) was/were cleared ..."; empty for 0.
QString InvalidCountMessage(int invalidCount);

} // namespace quillbay
