#include "ui/common/ProgramState.h"

namespace quillbay {

void ProgramState::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void ProgramState::setReady()
{
    if (m_ready)
        return;
    m_ready = true;
    emit becameReady();
}

} // namespace quillbay
