#include "FakeBusServices.h"

#include <QDBusConnectionInterface>

namespace {

bool serveObject(const QString &name, const QString &path, QObject *object)
{
    QDBusConnection connection = QDBusConnection::sessionBus();
    return connection.registerObject(path, object, QDBusConnection::ExportAllSlots) && connection.registerService(name);
}

} // namespace

bool FailingFolderService::serve()
{
    return serveObject(QStringLiteral("Quillbay.Application"), QStringLiteral("/Quillbay/Application"), this);
}

void FailingFolderService::withdraw()
{
    QDBusConnection::sessionBus().unregisterService(QStringLiteral("Quillbay.Application"));
    QDBusConnection::sessionBus().unregisterObject(QStringLiteral("/Quillbay/Application"));
}

void FailingFolderService::FolderOpen(const QString &sFolderPath, int iMode, const QDBusMessage &message)
{
    Q_UNUSED(iMode);
    paths.append(sFolderPath);
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(QDBusError::Failed, errorMessage()));
}

bool FakeNotifications::serve()
{
    return serveObject(QStringLiteral("org.freedesktop.Notifications"),
                       QStringLiteral("/org/freedesktop/Notifications"), this);
}

void FakeNotifications::withdraw()
{
    QDBusConnection::sessionBus().unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    QDBusConnection::sessionBus().unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
}

uint FakeNotifications::Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                               const QString &body, const QStringList &actions, const QVariantMap &hints,
                               int expireTimeout)
{
    Q_UNUSED(appName);
    Q_UNUSED(replacesId);
    Q_UNUSED(body);
    Q_UNUSED(actions);
    Q_UNUSED(hints);
    Q_UNUSED(expireTimeout);
    summaries.append(summary);
    icons.append(appIcon);
    return uint(summaries.size());
}
