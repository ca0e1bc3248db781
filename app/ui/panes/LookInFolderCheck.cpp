#include "ui/panes/LookInFolderCheck.h"

#include "text/UiText.h"

#include <QDir>
#include <QFileInfo>

namespace quillbay {

namespace {

constexpr int kSystemFolderId = 940;
constexpr int kNetworkFolderId = 941;
constexpr int kFolderNotFoundId = 942;

LookInCheck refused(int messageId, const QString &systemFolder = QString())
{
    LookInCheck check;
    check.messageId = messageId;
    check.message = UiText::LoadTextWith(messageId, {QStringLiteral("&winFolder;"), systemFolder});
    return check;
}

} // namespace

QString systemFolderOf(const QString &path)
{
    if (path == QLatin1String("/"))
        return path;
    static const QStringList folders{
        QStringLiteral("/bin"),  QStringLiteral("/boot"), QStringLiteral("/dev"),  QStringLiteral("/etc"),
        QStringLiteral("/proc"), QStringLiteral("/run"),  QStringLiteral("/sbin"), QStringLiteral("/sys"),
        QStringLiteral("/usr"),  QStringLiteral("/var"),
    };
    for (const QString &folder : folders) {
        if (pathIsAtOrBelow(path, folder))
            return folder;
    }
    // /lib, /lib32, /lib64, /libx32 ...: the first component decides.
    const QString top = u'/' + path.section(u'/', 1, 1);
    return top.startsWith(QLatin1String("/lib")) ? top : QString();
}

LookInCheck ValidateLookInFolder(const QString &path, const QString &mountTable)
{
    if (path.isEmpty())
        return refused(kFolderNotFoundId);
    const QFileInfo info(path);
    QString folder;
    if (info.isDir())
        folder = QDir::cleanPath(info.absoluteFilePath());
    else if (info.exists())
        folder = QDir::cleanPath(info.absolutePath());
    else
        return refused(kFolderNotFoundId);
    const QString target = QFileInfo(folder).canonicalFilePath();
    if (target.isEmpty())
        return refused(kFolderNotFoundId);
    if (folderIsOnNetwork(target, mountTable))
        return refused(kNetworkFolderId);
    if (const QString system = systemFolderOf(target); !system.isEmpty())
        return refused(kSystemFolderId, system);
    LookInCheck check;
    check.accepted = true;
    check.folder = folder;
    return check;
}

} // namespace quillbay
