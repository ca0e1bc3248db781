#include "ui/panes/LookInFolderCheck.h"

#include "text/UiText.h"

#include <QFileInfo>

namespace quillbay {

namespace {

constexpr int kFolderNotFoundId = 942;

LookInCheck refused(int messageId)
{
    LookInCheck check;
    check.messageId = messageId;
    check.message = UiText::LoadText(messageId);
    return check;
}

} // namespace

LookInCheck ValidateLookInFolder(const QString &path)
{
    if (path.isEmpty())
        return refused(kFolderNotFoundId);
    const QFileInfo info(path);
    QString folder;
    if (info.isDir())
        folder = info.absoluteFilePath();
    else if (info.exists())
        folder = info.absolutePath();
    else
        return refused(kFolderNotFoundId);
    LookInCheck check;
    check.accepted = true;
    check.folder = folder;
    return check;
}

} // namespace quillbay
