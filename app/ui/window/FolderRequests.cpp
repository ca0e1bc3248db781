#include "ui/window/FolderRequests.h"

#include "settings/SettingsDocument.h"
#include "ui/common/ProgramState.h"
#include "ui/dialogs/frmSelectSetting.h"
#include "ui/panes/LookInPaths.h"
#include "ui/window/frmMain.h"

namespace quillbay {

void FolderRequests::DeliverRequest(const QString &path, int mode)
{
    if (mode == AddDirectly)
        AddPathDirectly(path);
    else
        ReceivePath(path);
}

void FolderRequests::ReceivePath(const QString &path)
{
    if (path.isEmpty())
        return;
    const LookInRequest request = checkLookInPath(path, &m_window, MissingPath::Report);
    if (!request.valid)
        return;
    ProgramContext &context = m_window.context();
    BusyScope busy(context.state);
    frmSelectSetting dialog(context.options, m_window.settings().SettingNames(), &m_window);
    dialog.exec();
    if (dialog.cancelled())
        return;
    SettingsDocument &settings = m_window.settings();
    if (!settings.SelectSetting(dialog.settingName()))
        return;
    m_window.RefreshSettingList();
    const QString setting = m_window.CurrentSettingName();
    if (dialog.choice() == frmSelectSetting::SingleFolder)
        settings.RemoveAllFolderEntries(setting);
    applyLookInRequest(settings, setting, request);
    m_window.RefreshCurrentSetting();
}

void FolderRequests::AddPathDirectly(const QString &path)
{
    if (!path.isEmpty())
        addLookInPath(m_window, path, MissingPath::Report);
}

} // namespace quillbay
