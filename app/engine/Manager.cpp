#include "engine/Manager.h"

namespace quillbay {

Manager::Manager() = default;

Result<PreviewSummary> Manager::BuildPreview()
{
    PreviewRun run(m_settings, m_preview, m_temporaryNames, m_previewControl);
    return run.BuildPreview();
}

} // namespace quillbay
