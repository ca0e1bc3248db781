#include "settings/SettingsDocument.h"
// Being written.
