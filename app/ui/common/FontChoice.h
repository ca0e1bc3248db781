#pragma once
// The font of every window's controls. There is one shared font, the
// application font: windows never set fonts of their own, so a font chosen in
// the options dialog reaches every open window at once.
//
// Without a chosen font name the desktop's own font stays in force (family
// and size): the desktop font is what the user already reads everywhere else.
// A Japanese interface takes a Japanese font family when one is installed,
// keeping the desktop's size, so that kana and kanji and the Latin letters
// beside them come from one design.

#include <QString>

class QFont;

namespace quillbay {

class OptionsTable;

// Whether asking the font system for that family gives that family back
// (letter case ignored); a substitute does not count.
bool FontExists(const QString &name);

// At start-up, after the options table exists: the chosen name and size of
// the options (FontNameOfFormControl, FontSizeOfFormControl) when a name is
// set; otherwise the desktop's font, with a Japanese family for a Japanese
// interface. Returns the font now in force.
QFont applyFontOptions(const OptionsTable &options);

// After the options dialog: the named family at size points becomes the
// shared font when that family exists; otherwise nothing changes. Returns
// whether it changed.
bool ApplyChosenFont(const QString &name, int size);

// The family used for a Japanese interface without a chosen font: the first
// installed of the common Japanese desktop families; empty when none is.
QString japaneseFontFamily();

} // namespace quillbay
