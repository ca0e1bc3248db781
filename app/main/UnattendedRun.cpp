#include "main/UnattendedRun.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/RenameExecutor.h"
#include "text/UiText.h"

namespace quillbay {

UnattendedRun::UnattendedRun(Manager &manager, const DataFolders &folders, UserMessage showMessage,
                             std::function<void(const QString &)> note)
    : m_manager(manager), m_folders(folders), m_showMessage(std::move(showMessage)), m_note(std::move(note))
{
}

UnattendedRun::Outcome UnattendedRun::run()
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
    const PreviewPreconditions found = m_manager.CheckPreviewPreconditions();
    if (!found.met()) {
        m_showMessage(preconditionMessage(found), UiText::LoadText(400));
        return false;
    }
    const Result<PreviewSummary> built = m_manager.BuildPreview();
    if (!built) {
        m_note(criteriaErrorMessage(built.error()));
        return false;
    }
    for (const QString &note : previewNotes(built.value()))
        m_note(note);
    return !built->cancelled;
}

UnattendedRun::Outcome UnattendedRun::carryOut()
{
    const ReportFolders folders = ReportFolders::underDataFolder(m_folders.dataFolder);
    RenameExecutor executor(folders, m_showMessage);
    const Result<ExecutionSummary> executed = executor.ExecuteRenameList(m_manager.preview());
    for (const QString &note : recoveryNotes(executor.recoveredJournals()))
        m_note(note);
    if (!executed) {
        m_showMessage(executed.error().message, UiText::LoadText(400));
        return Outcome::NotPossible;
    }
    for (const QString &line : failedEntryLines(m_manager.preview()))
        m_note(line);
    if (!executed->report) {
        m_note(reportNotSavedMessage(folders.reportFolder, executed->report.error()));
        return Outcome::Incomplete;
    }
    m_note(QStringLiteral("Report: %1").arg(executed->report.value()));
    return executed->allSucceeded ? Outcome::Done : Outcome::Incomplete;
}

} // namespace quillbay
