#include "platform/UnattendedRun.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/RenameExecutor.h"
#include "settings/XmlTools.h"
#include "ui/text/UiText.h"

#include <QDir>
#include <cstring>

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
        m_note(QStringLiteral("The criteria cannot be used: %1").arg(result.criteriaError));
        return false;
    }
    for (const SkippedFolder &skipped : result.skippedFolders)
        m_note(QStringLiteral("Skipped a folder that cannot be read: %1 (%2)")
                   .arg(skipped.path, QString::fromLocal8Bit(std::strerror(skipped.errorNumber))));
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
            m_note(QStringLiteral("Cannot turn %1 into a report: %2").arg(recovered.journalPath, recovered.errorText));
    }
    if (!result.started) {
        m_showMessage(result.refusal, UiText::LoadText(400));
        return Outcome::NotPossible;
    }
    for (pugi::xml_node e = m_manager.preview().root().first_child(); e; e = e.next_sibling()) {
        if (const pugi::xml_attribute error = e.attribute("error")) {
            const QString path = QDir(toQString(e.attribute("folder")))
                                     .filePath(toQString(e.attribute("name")));
            m_note(QStringLiteral("%1 -> %2: %3")
                       .arg(path, toQString(e.attribute("newName")), QString::fromUtf8(error.value())));
        }
    }
    if (!result.reportSaved) {
        m_note(QStringLiteral("Cannot save the report in %1: %2")
                   .arg(ReportFolders::underDataFolder(m_folders.dataFolder).reportFolder, result.reportError));
        return Outcome::Incomplete;
    }
    m_note(QStringLiteral("Report: %1").arg(result.reportPath));
    return result.allSucceeded ? Outcome::Done : Outcome::Incomplete;
}

} // namespace quillbay
