#include "main/UnattendedRun.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/RenameExecutor.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"


namespace quillbay {

UnattendedRun::UnattendedRun(Manager &manager, const DataFolders &folders, UserMessage showMessage,
                             std::function<void(const QString &)> note)
    : m_manager(manager), m_folders(folders), m_showMessage(std::move(showMessage)), m_note(std::move(note))
{
}

UnattendedRun::Outcome UnattendedRun::Run()
{
    Outcome outcome = Outcome::NotPossible;
    if (buildPreview())
        outcome = carryOut();
    // The preview list is emptied whatever happened.
    m_manager.preview().NewPreviewDocument(UiText::LanguageSuffix());
    return outcome;
}

bool UnattendedRun::buildPreview()
{
    const int bits = m_manager.CheckPreviewPreconditions();
    if (bits != 0) {
        m_showMessage(PreconditionMessage(bits), UiText::LoadText(400));
        return false;
    }
    const PreviewResult result = m_manager.BuildPreview();
    if (!result.criteriaError.isEmpty()) {
        m_note(UiText::LoadTextWith(30006, {QStringLiteral("&reason;"), result.criteriaError}));
        return false;
    }
    for (const SkippedFolder &skipped : result.skippedFolders)
        m_note(SkippedFolderMessage(skipped));
    if (result.invalidCount > 0)
        m_note(InvalidCountMessage(result.invalidCount));
    return result.notCancelled;
}

UnattendedRun::Outcome UnattendedRun::carryOut()
{
    RenameExecutor executor(ReportFolders::underDataFolder(m_folders.dataFolder), m_showMessage);
    const ExecutionResult result = executor.ExecuteRenameList(m_manager.preview());
    for (const JournalRecovery::Outcome &recovered : result.recovered) {
        if (!recovered.ok)
            m_note(UiText::LoadTextWith(30011, {QStringLiteral("&path;"), recovered.journalPath,
                                                QStringLiteral("&reason;"), recovered.errorText}));
    }
    if (!result.started) {
        m_showMessage(result.refusal, UiText::LoadText(400));
        return Outcome::NotPossible;
    }
    for (const QString &line : FailedEntryLines(m_manager.preview()))
        m_note(line);
    if (!result.reportSaved) {
        m_note(UiText::LoadTextWith(30012, {QStringLiteral("&path;"),
                                            ReportFolders::underDataFolder(m_folders.dataFolder).reportFolder,
                                            QStringLiteral("&reason;"), result.reportError}));
        return Outcome::Incomplete;
    }
    m_note(QStringLiteral("Report: %1").arg(result.reportPath));
    return result.allSucceeded ? Outcome::Done : Outcome::Incomplete;
}

} // namespace quillbay
