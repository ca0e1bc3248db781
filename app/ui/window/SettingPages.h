#pragma once
// The five tab pages of the setting editor, in tab order: Look in, Files
// Criteria, New file name, Folders Criteria, New folder name. The pages
// register their commands (adding and removing folders and rules, resetting
// the criteria) with the window's commands.

#include <QList>

namespace quillbay {

class SettingHost;
class SettingPage;
class WindowCommands;

QList<SettingPage *> createSettingPages(SettingHost &host, WindowCommands &commands);

} // namespace quillbay
