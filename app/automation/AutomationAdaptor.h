#pragma once
// The interface "Quillbay.Application" on the session bus: the door through
// which the opener, the file manager extension and other programs hand a
// folder to the running main program. It only checks what arrives and hands
// the work to the request queue.

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace quillbay {

class FolderRequestQueue;

class AutomationAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quillbay.Application")

public:
    AutomationAdaptor(QObject *application, FolderRequestQueue &queue, const QDBusConnection &connection);

public slots:
    // Hands a folder (or a file) to the program. The reply is sent when the
    // program has finished with it (its select-setting dialog closed), so a
    // caller that waits for it passes its next folder only then. A path that
    // is not absolute is refused: the program could not know what it is
    // relative to.
    void FolderOpen(const QString &sFolderPath, int iMode, const QDBusMessage &message);

    // The open command (see LinkCommand.h): true when it is accepted. The
    // path goes the same way as a FolderOpen with mode 0; the answer does not
    // wait for the dialog.
    bool LinkExecute(const QString &command);

private:
    FolderRequestQueue &m_queue;
    QDBusConnection m_connection;
};

} // namespace quillbay
