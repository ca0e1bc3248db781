#pragma once
// The engine and owner of the program's documents. A thin facade: each
// operation hands the work to the class that knows it.

#include "engine/CancelPoll.h"
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
    CancelPoll &cancelPoll() { return m_cancel; }

    int CheckPreviewPreconditions() { return PreviewRun::CheckPreviewPreconditions(m_settings); }
    PreviewResult BuildPreview();
    bool SetEntryInclude(const QString &id, bool include) { return m_preview.SetEntryInclude(id, include); }

private:
    SettingsDocument m_settings;
    PreviewDocument m_preview;
    TemporaryNameSource m_temporaryNames;
    CancelPoll m_cancel;
};

} // namespace quillbay
