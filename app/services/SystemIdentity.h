#pragma once
// Which operating system the program runs on, and whether it can run there.
//
// The classification works on a version record of the kind the desktop
// platform reports (a platform family, a major and a minor version). Linux
// keeps no such record: the running system is described as a current
// system of the NT kind, which every check accepts and which lets the
// platform choose the default font of the controls.

#include <QString>
#include <optional>

namespace quillbay {

enum class PlatformFamily { Win32s, Consumer, NT, Other };

struct VersionRecord {
    PlatformFamily family = PlatformFamily::Other;
    int major = 0;
    int minor = 0;
};

struct SystemIdentity {
    bool ntFamily = false;
    int level = 0; // 0 unknown, 1 Win32s, 3 ... 6 by family and version
    QString name;  // display name; empty when unknown
};

// The table of known systems; no record gives level 0 and an empty name.
SystemIdentity identifySystem(const std::optional<VersionRecord> &record);

// The system the program is running on.
SystemIdentity identifyRunningSystem();

// The start-up check: the NT family or the consumer family, each at level 4 or more.
bool systemSupported(const SystemIdentity &system);

// The flag that the choice of the controls' font reads: NT family at level 5 or more.
bool windows2000OrLater(const SystemIdentity &system);

} // namespace quillbay
