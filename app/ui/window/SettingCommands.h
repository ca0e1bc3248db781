#pragma once
// The commands of the Setting menu that no tab page owns: add, duplicate,
// rename and remove a setting, save now, and remove all naming rules.

namespace quillbay {

class frmMain;

class SettingCommands
{
public:
    // Registers its handlers with the window's commands.
    explicit SettingCommands(frmMain &window);

    void addSetting();
    void duplicateSetting();
    void renameSetting();
    void removeSetting();
    void saveNow();
    void removeAllNamingRules();

private:
    frmMain &m_window;
};

} // namespace quillbay
