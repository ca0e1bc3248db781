#pragma once
// Picks a folder: the desktop's own folder dialog where the platform offers
// one (a portal in a sandbox, the desktop's dialog elsewhere), Qt's dialog
// otherwise. Only folders of the file system can be returned.

#include <QString>

class QWidget;

namespace quillbay {

class FolderPicker
{
public:
    explicit FolderPicker(QWidget *owner) : m_owner(owner) {}

    void setTitle(const QString &title) { m_title = title; }
    // The folder the dialog starts in; empty: the user's home.
    void setRoot(const QString &root) { m_root = root; }

    // Shows the dialog; true when a folder was chosen (then path() and
    // displayName() tell which). A cancelled dialog leaves them as they were.
    bool browse();
    QString path() const { return m_path; }
    QString displayName() const { return m_displayName; }

private:
    QWidget *m_owner;
    QString m_title;
    QString m_root;
    QString m_path;
    QString m_displayName;
};

} // namespace quillbay
