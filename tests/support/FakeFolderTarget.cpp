#include "FakeFolderTarget.h"

void FakeFolderTarget::DeliverRequest(const QString &path, int mode, Completion done)
{
    const Delivery delivery{path, mode};
    deliveries.append(delivery);
    if (onDelivery)
        onDelivery(delivery);
    m_openDialogs.append(std::move(done));
    if (closeAtOnce)
        closeDialog();
}

bool FakeFolderTarget::closeDialog()
{
    if (m_openDialogs.isEmpty())
        return false;
    const Completion done = m_openDialogs.takeFirst();
    done();
    return true;
}
