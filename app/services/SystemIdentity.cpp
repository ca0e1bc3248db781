#include "services/SystemIdentity.h"

#include <QSysInfo>

namespace quillbay {

static SystemIdentity ntSystem(int major)
{
    if (major < 4)
        return {true, 3, QStringLiteral("Microsoft Windows NT 3")};
    if (major == 4)
        return {true, 4, QStringLiteral("Microsoft Windows NT 4")};
    if (major == 5)
        return {true, 5, QStringLiteral("Microsoft Windows 2000/XP")};
    return {true, 6, QStringLiteral("Unknown version of Microsoft Windows")};
}

static SystemIdentity consumerSystem(int major, int minor)
{
    if (major >= 6)
        return {false, 6, QStringLiteral("Microsoft Windows Me")};
    if (major == 5 || (major == 4 && minor > 0))
        return {false, 5, QStringLiteral("Microsoft Windows 98")};
    return {false, 4, QStringLiteral("Microsoft Windows 95")};
}

SystemIdentity identifySystem(const std::optional<VersionRecord> &record)
{
    if (!record)
        return {};
    switch (record->family) {
    case PlatformFamily::NT:
        return ntSystem(record->major);
    case PlatformFamily::Consumer:
        return consumerSystem(record->major, record->minor);
    case PlatformFamily::Win32s:
        return {false, 1, QStringLiteral("Microsoft Win32s")};
    case PlatformFamily::Other:
        break;
    }
    return {};
}

SystemIdentity identifyRunningSystem()
{
    SystemIdentity system;
    system.ntFamily = true;
    system.level = 6;
    system.name = QSysInfo::prettyProductName();
    return system;
}

bool systemSupported(const SystemIdentity &system)
{
    // Only the NT and consumer families reach level 4: Win32s is level 1, an
    // unknown system level 0, NT 3 level 3.
    return system.level >= 4;
}

bool windows2000OrLater(const SystemIdentity &system)
{
    return system.ntFamily && system.level >= 5;
}

} // namespace quillbay
