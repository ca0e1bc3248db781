#include "base/Result.h"

#include <cstring>

namespace quillbay {

Error Error::fromErrno(int errorNumber)
{
    return Error{errorNumber, 0, QString::fromLocal8Bit(std::strerror(errorNumber))};
}

} // namespace quillbay
