#pragma once
// The opener's command line: which paths it hands to the main program.

#include <QString>
#include <QStringList>

namespace quillbay {

// The arguments as one command-line text, as the desktop platform passes
// them to a program: an argument with a space in it (or an empty one) is
// enclosed in double quotes, the arguments are separated by one space.
QString joinCommandLine(const QStringList &arguments);

// The arguments that reach the opener already split (as they do here) taken
// through the same reading as a command-line text: joined, then split again
// by the argument rules. An argument that this would change (one with both a
// space and a double quote, or one beginning with a double quote) cannot be
// written as such a text; the arguments are then taken as they came.
QStringList argumentsFromArgv(const QStringList &argv);

// The paths among the arguments, in order. An argument that begins with "-"
// is a switch, and no switch has a meaning. Every absolute path begins with
// "/" here, so "/" does not mark a switch. A relative path is made absolute
// against the opener's working folder, since the main program has another;
// an empty argument stays empty (the main program ignores it).
QStringList openerPaths(const QStringList &arguments, const QString &workingFolder);

} // namespace quillbay
