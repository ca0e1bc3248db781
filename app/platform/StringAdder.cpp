#include "platform/StringAdder.h"
// Being written.
