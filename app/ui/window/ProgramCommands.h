#pragma once
// The commands of the Tools and Help menus: the report folder in the file
// manager, the options dialog, the help pages and the About box.

namespace quillbay {

class frmMain;

class ProgramCommands
{
public:
    // Registers its handlers with the window's commands.
    explicit ProgramCommands(frmMain &window);

    void openReportFolder();
    void showOptions();
    void showHelp();
    void showAbout();

private:
    frmMain &m_window;
};

} // namespace quillbay
