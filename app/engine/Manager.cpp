#include "engine/Manager.h"

namespace quillbay {

Manager::Manager() = default;

PreviewResult Manager::BuildPreview()
{
    PreviewRun run(m_settings, m_preview, m_temporaryNames, m_cancel);
    return run.BuildPreview();
}

} // namespace quillbay
