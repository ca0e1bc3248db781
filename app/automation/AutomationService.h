#pragma once
// Serves the automation object of the main program on the session bus: the
// object "/Quillbay/Application" with the interface "Quillbay.Application",
// under the name "Quillbay.Application". A call to that name starts the
// program when it is not running (the bus finds it by its service file) and
// reaches the running instance otherwise.

#include "base/Result.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace quillbay {

class FolderRequestQueue;

class AutomationService
{
public:
    static QString serviceName() { return QStringLiteral("Quillbay.Application"); }
    static QString objectPath() { return QStringLiteral("/Quillbay/Application"); }
    static QString interfaceName() { return QStringLiteral("Quillbay.Application"); }

    explicit AutomationService(FolderRequestQueue &queue,
                               const QDBusConnection &connection = QDBusConnection::sessionBus());
    ~AutomationService();
    AutomationService(const AutomationService &) = delete;
    AutomationService &operator=(const AutomationService &) = delete;

    // Whether there is a session bus to serve on.
    bool busAvailable() const { return m_connection.isConnected(); }

    // Serves the object and takes the name. Fails, with the bus's reason,
    // when there is no bus or either step fails; the program then runs on
    // without the door.
    Result<void> start();
    // Gives the name back and withdraws the object.
    void stop();

private:
    QDBusConnection m_connection;
    QObject m_application;
    bool m_objectRegistered = false;
    bool m_nameOwned = false;
};

} // namespace quillbay
