#include "services/CommonGeneral.h"

namespace quillbay {

CommonGeneral::CommonGeneral(RegistryStore store) : m_registry(std::move(store)) {}

bool CommonGeneral::checkSystem(const SystemIdentity &system)
{
    m_ntFamily = system.ntFamily;
    m_windows2000OrLater = quillbay::windows2000OrLater(system);
    return systemSupported(system);
}

} // namespace quillbay
