#include "platform/RegExp.h"
// Being written.
