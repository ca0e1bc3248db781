#include "automation/AutomationAdaptor.h"

#include "automation/FolderRequestQueue.h"
#include "automation/LinkCommand.h"

#include <QDir>

namespace quillbay {

namespace {

// An empty path is let through: the window ignores it, as it would from any other door.
bool acceptablePath(const QString &path)
{
    return path.isEmpty() || QDir::isAbsolutePath(path);
}

} // namespace

AutomationAdaptor::AutomationAdaptor(QObject *application, FolderRequestQueue &queue, const QDBusConnection &connection)
    : QDBusAbstractAdaptor(application), m_queue(queue), m_connection(connection)
{
}

void AutomationAdaptor::FolderOpen(const QString &sFolderPath, int iMode, const QDBusMessage &message)
{
    if (!acceptablePath(sFolderPath)) {
        m_connection.send(message.createErrorReply(
            QDBusError::InvalidArgs, QStringLiteral("The path \"%1\" is not an absolute path.").arg(sFolderPath)));
        return;
    }
    message.setDelayedReply(true);
    QDBusConnection connection = m_connection;
    const QDBusMessage reply = message.createReply();
    m_queue.FolderOpen(sFolderPath, iMode, [connection, reply]() mutable { connection.send(reply); });
}

bool AutomationAdaptor::LinkExecute(const QString &command)
{
    const std::optional<QString> path = openCommandPath(command);
    if (!path || !acceptablePath(*path))
        return false;
    // An empty path has no effect, as the window would ignore it.
    if (!path->isEmpty())
        m_queue.FolderOpen(*path, 0, {});
    return true;
}

} // namespace quillbay
