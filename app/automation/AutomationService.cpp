#include "automation/AutomationService.h"

#include "automation/AutomationAdaptor.h"

#include <QDBusConnectionInterface>

namespace quillbay {

AutomationService::AutomationService(FolderRequestQueue &queue, const QDBusConnection &connection)
    : m_connection(connection)
{
    new AutomationAdaptor(&m_application, queue, m_connection); // owned by m_application
}

AutomationService::~AutomationService() { Stop(); }

static bool fail(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
    return false;
}

bool AutomationService::Start(QString *errorText)
{
    if (!m_connection.isConnected())
        return fail(errorText, m_connection.lastError().message());
    if (!m_objectRegistered) {
        m_objectRegistered = m_connection.registerObject(ObjectPath(), &m_application, QDBusConnection::ExportAdaptors);
        if (!m_objectRegistered)
            return fail(errorText, QStringLiteral("The object %1 is served already.").arg(ObjectPath()));
    }
    if (!m_nameOwned) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            m_connection.interface()->registerService(ServiceName(), QDBusConnectionInterface::DontQueueService,
                                                      QDBusConnectionInterface::DontAllowReplacement);
        m_nameOwned = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
        if (!m_nameOwned)
            return fail(errorText, reply.isValid() ? QStringLiteral("The name %1 is owned by another program.").arg(ServiceName())
                                                   : reply.error().message());
    }
    return true;
}

void AutomationService::Stop()
{
    if (m_nameOwned)
        m_connection.interface()->unregisterService(ServiceName());
    if (m_objectRegistered)
        m_connection.unregisterObject(ObjectPath());
    m_nameOwned = false;
    m_objectRegistered = false;
}

} // namespace quillbay
