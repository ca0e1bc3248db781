#pragma once
// The toolbar's images: the desktop's icon theme where it has a fitting icon
// (freedesktop names), otherwise a small drawing of our own, so the toolbar
// never shows empty buttons.

#include <QIcon>
#include <QString>

namespace quillbay {

// The icon of a toolbar button key ("SettingAdd", "SettingRemove",
// "SettingDuplicate", "FolderAdd", "FolderRemove", "RenamePreview").
QIcon toolbarIcon(const QString &key);

// Our own drawing for the key, used where the theme has none.
QIcon drawnToolbarIcon(const QString &key);

} // namespace quillbay
