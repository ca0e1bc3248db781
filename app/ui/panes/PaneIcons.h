#pragma once
// The images of the tab pages' small buttons, drawn here so that they look
// the same on every desktop: the blue plus that adds a rule (the blank
// option pane's text names it), the remove cross, and the image and sound
// file-type buttons of the files criteria.

#include <QIcon>

namespace quillbay {

enum class PaneIcon { AddRule, RemoveRule, ImageTypes, SoundTypes };

QIcon paneIcon(PaneIcon which);

} // namespace quillbay
