#include "ui/window/FolderRequests.h"

#include "engine/FileRules.h"
#include "settings/SettingsDocument.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/ProgramState.h"
#include "ui/dialogs/frmSelectSetting.h"
#include "ui/panes/LookInFolderCheck.h"
#include "ui/window/frmMain.h"

#include <QFileInfo>

namespace quillbay {

namespace {

const char *const kFileCriteria = "fileToBeChanged";

} // namespace

void FolderRequests::DeliverRequest(const QString &path, int mode)
{
    if (mode == AddDirectly)
        AddPathDirectly(path);
    else
        ReceivePath(path);
}

FolderRequests::Request FolderRequests::checkRequest(const QString &path)
{
    Request request;
    const QFileInfo info(path);
    if (!info.isDir() && info.exists()) {
        const SplitName split = splitFileName(info.fileName());
        request.isFile = true;
        request.baseName = split.base;
        request.extension = split.ext;
    }
    const LookInCheck check = ValidateLookInFolder(path);
    if (!check.accepted) {
        showErrorText(&m_window, check.message);
        return request;
    }
    request.valid = true;
    request.folder = check.folder;
    return request;
}

void FolderRequests::applyFileCriteria(const Request &request)
{
    if (!request.isFile)
        return;
    SettingsDocument &settings = m_window.settings();
    const QString setting = m_window.CurrentSettingName();
    settings.SetSettingAttribute(setting, kFileCriteria, "startWith", request.baseName);
    settings.SetSettingAttribute(setting, kFileCriteria, "ext", request.extension);
}

void FolderRequests::ReceivePath(const QString &path)
{
    if (path.isEmpty())
        return;
    const Request request = checkRequest(path);
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
    settings.AddFolderEntry(setting, request.folder);
    applyFileCriteria(request);
    m_window.RefreshCurrentSetting();
}

void FolderRequests::AddPathDirectly(const QString &path)
{
    if (path.isEmpty())
        return;
    const Request request = checkRequest(path);
    if (!request.valid)
        return;
    applyFileCriteria(request);
    m_window.settings().AddFolderEntry(m_window.CurrentSettingName(), request.folder);
    m_window.RefreshCurrentSetting();
}

} // namespace quillbay
