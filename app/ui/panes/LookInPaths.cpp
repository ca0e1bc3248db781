#include "ui/panes/LookInPaths.h"

#include "engine/FileRules.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsSchema.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/panes/LookInFolderCheck.h"
#include "ui/window/SettingHost.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace quillbay {

namespace {

constexpr int kNetworkFilesId = 941;

// "smb://server/share", "sftp://host/path": a place that is not a path of
// this machine's file system.
bool isRemoteAddress(const QString &path)
{
    return !path.startsWith(u'/') && path.contains(QLatin1String("://"));
}

} // namespace

LookInRequest checkLookInPath(const QString &path, QWidget *messageOwner, MissingPath missing)
{
    LookInRequest request;
    if (path.isEmpty())
        return request;
    if (isRemoteAddress(path)) {
        showError(messageOwner, kNetworkFilesId);
        return request;
    }
    const QFileInfo info(path);
    if (!info.exists() && missing == MissingPath::Ignore)
        return request;
    if (info.exists() && !info.isDir()) {
        const SplitName split = splitFileName(info.fileName());
        request.isFile = true;
        request.baseName = split.base;
        request.extension = split.ext;
    }
    const LookInCheck check = ValidateLookInFolder(path);
    if (!check.accepted) {
        showErrorText(messageOwner, check.message);
        return request;
    }
    request.valid = true;
    request.folder = check.folder;
    return request;
}

void applyLookInRequest(SettingsDocument &settings, const QString &settingName, const LookInRequest &request)
{
    if (!request.valid)
        return;
    if (request.isFile) {
        settings.SetSettingAttribute(settingName, kFileCriteria, "startWith", request.baseName);
        settings.SetSettingAttribute(settingName, kFileCriteria, "ext", request.extension);
    }
    settings.AddFolderEntry(settingName, request.folder);
}

void addLookInPath(SettingHost &host, const QString &path, MissingPath missing)
{
    const LookInRequest request = checkLookInPath(path, host.dialogParent(), missing);
    if (!request.valid)
        return;
    applyLookInRequest(host.settings(), host.CurrentSettingName(), request);
    host.RefreshCurrentSetting();
}

QStringList droppedPaths(const QMimeData &data)
{
    QStringList paths;
    if (data.hasUrls()) {
        for (const QUrl &url : data.urls())
            paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
        return paths;
    }
    if (data.hasText()) {
        // A line break after the text is the sender's, not part of the name.
        QString text = data.text();
        while (text.endsWith(u'\n') || text.endsWith(u'\r'))
            text.chop(1);
        if (text.startsWith(QLatin1String("file://")))
            text = QUrl(text).toLocalFile();
        if (!text.isEmpty())
            paths << text;
    }
    return paths;
}

} // namespace quillbay
