#pragma once
// The main window as the automation hands it folders: its state from the
// program's flags, and the folder given to its folder requests (ReceivePath,
// AddPathDirectly), which run the select-setting dialog to its end.

#include "automation/FolderRequestTarget.h"

namespace quillbay {

class ProgramState;
class frmMain;

class WindowFolderTarget : public FolderRequestTarget
{
public:
    WindowFolderTarget(ProgramState &state, frmMain &window) : m_state(state), m_window(window) {}

    bool windowExists() const override { return true; }
    void raiseWindow() override;
    bool busy() const override;
    bool ready() const override;
    bool renaming() const override;
    void DeliverRequest(const QString &path, int mode, Completion done) override;

private:
    ProgramState &m_state;
    frmMain &m_window;
};

} // namespace quillbay
