#pragma once
// Captions of the string table used as words: in a screen reader's name of a
// control, or inside a message that names a field of the window.

#include <QString>

namespace quillbay {

// The text without the "&" of its access key, as a screen reader or a
// message names a control ("キャンセル(&C)" gives "キャンセル", "&Cancel" gives "Cancel").
QString withoutAccessKey(const QString &caption);

// The caption of entry id as a message names it: without its access key and
// without the colon that ends a label ("Base name pattern:" gives "Base name pattern").
QString captionInMessage(int id);

} // namespace quillbay
