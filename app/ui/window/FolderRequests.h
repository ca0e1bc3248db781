#pragma once
// Folders handed to the window from outside (the command line, other
// programs, the file manager). A request names a folder or a file; a file
// stands for its folder and also sets the files criteria to that file's base
// name and extension (the steps that drops share: ui/panes/LookInPaths.h).

#include <QString>

namespace quillbay {

class frmMain;

class FolderRequests
{
public:
    enum Mode { AskForSetting = 0, AddDirectly = 1 };

    explicit FolderRequests(frmMain &window) : m_window(window) {}

    // Mode 1 adds the path to the current setting at once; any other mode
    // asks which setting gets it.
    void DeliverRequest(const QString &path, int mode);

    // Checks the path, asks in the select-setting dialog which setting gets
    // it (busy while the dialog is open), and puts it there as the only
    // Look-in folder or beside the others.
    void ReceivePath(const QString &path);

    // Checks the path and adds it to the current setting without asking.
    void AddPathDirectly(const QString &path);

private:
    frmMain &m_window;
};

} // namespace quillbay
