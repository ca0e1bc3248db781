#include "automation/AutomationService.h"

#include "automation/AutomationAdaptor.h"

#include <QDBusConnectionInterface>

namespace quillbay {

AutomationService::AutomationService(FolderRequestQueue &queue, const QDBusConnection &connection)
    : m_connection(connection)
{
    new AutomationAdaptor(&m_application, queue, m_connection); // owned by m_application
}

AutomationService::~AutomationService()
{
    stop();
}

Result<void> AutomationService::start()
{
    if (!m_connection.isConnected())
        return Error::withMessage(m_connection.lastError().message());
    if (!m_objectRegistered) {
        m_objectRegistered = m_connection.registerObject(objectPath(), &m_application, QDBusConnection::ExportAdaptors);
        if (!m_objectRegistered)
            return Error::withMessage(QStringLiteral("The object %1 is served already.").arg(objectPath()));
    }
    if (!m_nameOwned) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            m_connection.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                                                      QDBusConnectionInterface::DontAllowReplacement);
        m_nameOwned = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
        if (!m_nameOwned)
            return Error::withMessage(
                reply.isValid() ? QStringLiteral("The name %1 is owned by another program.").arg(serviceName())
                                : reply.error().message());
    }
    return {};
}

void AutomationService::stop()
{
    if (m_nameOwned)
        m_connection.interface()->unregisterService(serviceName());
    if (m_objectRegistered)
        m_connection.unregisterObject(objectPath());
    m_nameOwned = false;
    m_objectRegistered = false;
}

} // namespace quillbay
