#pragma once
// Thunar's custom actions file ("~/.config/Thunar/uca.xml") is the user's
// own: the program adds its one action to it and takes it away again without
// touching a byte of the rest. So the file is edited as text, at the places
// that an XML reader finds, and never written back from a parsed tree.

#include "base/Result.h"

#include <QString>

namespace quillbay {

namespace ThunarActions {

// An empty actions file, for when there is none to start from.
QString emptyFile();

// The file with the action whose unique-id is uniqueId replaced by action
// (an "<action>...</action>" element), or added before the end of the root
// element when the file has none. Fails when the file is not an actions file
// that can be read.
Result<QString> withAction(const QString &file, const QString &uniqueId, const QString &action);

// The file without the actions whose unique-id is uniqueId (each with the
// line break that follows it). The same failures.
Result<QString> withoutAction(const QString &file, const QString &uniqueId);

} // namespace ThunarActions

} // namespace quillbay
