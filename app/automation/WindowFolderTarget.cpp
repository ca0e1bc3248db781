#include "automation/WindowFolderTarget.h"

#include "ui/common/ProgramState.h"
#include "ui/window/FolderRequests.h"
#include "ui/window/frmMain.h"

namespace quillbay {

void WindowFolderTarget::raiseWindow()
{
    if (m_window.isMinimized())
        m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

bool WindowFolderTarget::busy() const
{
    return m_state.busy();
}

bool WindowFolderTarget::ready() const
{
    return m_state.ready();
}

bool WindowFolderTarget::renaming() const
{
    return m_state.renaming();
}

void WindowFolderTarget::DeliverRequest(const QString &path, int mode, Completion done)
{
    // The select-setting dialog runs modally inside this call; requests that
    // come while it is open find the program busy.
    m_window.folderRequests().DeliverRequest(path, mode);
    done();
}

} // namespace quillbay
