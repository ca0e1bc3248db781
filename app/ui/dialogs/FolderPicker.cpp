#include "ui/dialogs/FolderPicker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quillbay {

bool FolderPicker::browse()
{
    QFileDialog dialog(m_owner, m_title, m_root.isEmpty() ? QDir::homePath() : m_root);
    dialog.setObjectName(QStringLiteral("dlgFolderPicker"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString chosen = dialog.selectedFiles().constFirst();
    // A place without a path in the file system (a network location of the
    // desktop's dialog) gives no folder.
    if (chosen.isEmpty() || !QFileInfo(chosen).isAbsolute())
        return false;
    m_path = QDir::cleanPath(chosen);
    m_displayName = QFileInfo(m_path).fileName();
    return true;
}

} // namespace quillbay
