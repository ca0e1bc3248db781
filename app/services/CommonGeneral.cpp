#include "services/CommonGeneral.h"

namespace quillbay {

CommonGeneral::CommonGeneral(RegistryStore store) : m_registry(std::move(store)) {}

bool CommonGeneral::CheckSystem(const SystemIdentity &system)
{
    m_ntFamily = system.ntFamily;
    m_windows2000OrLater = Windows2000OrLater(system);
    return SystemSupported(system);
}

} // namespace quillbay
