#include "FolderOpener.h"

#include <QDBusMessage>
#include <limits>

namespace quillbay {

namespace {

const QString kName = QStringLiteral("Quillbay.Application");
// The bus's own word for a call without a time limit.
constexpr int kNoTimeLimit = std::numeric_limits<int>::max();

QDBusMessage busCall(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(arguments);
    return call;
}

} // namespace

FolderOpener::FolderOpener(const QDBusConnection &connection, ErrorNotice notice)
    : m_connection(connection), m_notice(std::move(notice))
{
}

bool FolderOpener::connect()
{
    if (!m_connection.isConnected())
        return false;
    // A running program needs no start, and one that runs without a service
    // file (from its build folder) could not be started by the bus anyway.
    // (The bus is asked directly: Qt's interface object to it sets up signal
    // handling that this short-lived program does not need.)
    const QDBusMessage owned = m_connection.call(busCall(QStringLiteral("NameHasOwner"), {kName}));
    if (owned.type() == QDBusMessage::ReplyMessage && owned.arguments().value(0).toBool())
        return true;
    // Starting a program takes as long as its start-up; the bus itself ends
    // a start that takes too long, so no limit of our own.
    const QDBusMessage started =
        m_connection.call(busCall(QStringLiteral("StartServiceByName"), {kName, 0u}), QDBus::Block, kNoTimeLimit);
    return started.type() == QDBusMessage::ReplyMessage;
}

bool FolderOpener::openAll(const QStringList &paths)
{
    for (const QString &path : paths) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kName, QStringLiteral("/Quillbay/Application"),
                                           QStringLiteral("Quillbay.Application"), QStringLiteral("FolderOpen"));
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
