#pragma once
// The engine and owner of the program's documents. A thin facade: each
// operation hands the work to the class that knows it.

#include "engine/PreviewControl.h"
#include "engine/PreviewRun.h"
#include "run/PreviewDocument.h"
#include "run/TemporaryName.h"
#include "settings/SettingsDocument.h"

namespace quillbay {

class Manager
{
public:
    Manager();

    SettingsDocument &settings() { return m_settings; }
    PreviewDocument &preview() { return m_preview; }
    TemporaryNameSource &temporaryNames() { return m_temporaryNames; }
    // The cancel request and the progress of a running preview (any thread).
    PreviewControl &previewControl() { return m_previewControl; }

    PreviewPreconditions CheckPreviewPreconditions() { return PreviewRun::CheckPreviewPreconditions(m_settings); }
    Result<PreviewSummary> BuildPreview();
    // The design's Boolean: whether there is such an entry, which is no failure.
    bool SetEntryInclude(const QString &id, bool include) { return m_preview.SetEntryInclude(id, include); }

private:
    SettingsDocument m_settings;
    PreviewDocument m_preview;
    TemporaryNameSource m_temporaryNames;
    PreviewControl m_previewControl;
};

} // namespace quillbay
