#include "FolderOpener.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <limits>

namespace quillbay {

namespace {

const QString kName = QStringLiteral("Quillbay.Application");
// The bus's own word for a call without a time limit.
constexpr int kNoTimeLimit = std::numeric_limits<int>::max();

} // namespace

FolderOpener::FolderOpener(const QDBusConnection &connection, ErrorNotice notice)
    : m_connection(connection), m_notice(std::move(notice))
{
}

bool FolderOpener::Connect()
{
    if (!m_connection.isConnected())
        return false;
    // A running program needs no start, and one that runs without a service
    // file (from its build folder) could not be started by the bus anyway.
    if (m_connection.interface()->isServiceRegistered(kName))
        return true;
    // Starting a program takes as long as its start-up; the bus itself ends
    // a start that takes too long, so no limit of our own.
    QDBusMessage start = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("/org/freedesktop/DBus"),
                                                        QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("StartServiceByName"));
    start.setArguments({kName, 0u});
    return m_connection.call(start, QDBus::Block, kNoTimeLimit).type() == QDBusMessage::ReplyMessage;
}

bool FolderOpener::OpenAll(const QStringList &paths)
{
    for (const QString &path : paths) {
        QDBusMessage call = QDBusMessage::createMethodCall(kName, QStringLiteral("/Quillbay/Application"),
                                                           QStringLiteral("Quillbay.Application"),
                                                           QStringLiteral("FolderOpen"));
        call.setArguments({path, 0});
        const QDBusMessage reply = m_connection.call(call, QDBus::Block, kNoTimeLimit);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            m_notice(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
            return false;
        }
    }
    return true;
}

} // namespace quillbay
