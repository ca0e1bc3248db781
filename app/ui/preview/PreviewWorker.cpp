#include "ui/preview/PreviewWorker.h"

#include "engine/Manager.h"
#include "run/Undo.h"
#include "settings/XmlTools.h"

#include <QFileInfo>
#include <memory>

namespace quillbay {

PreviewWorker::PreviewWorker(Manager &manager, QObject *parent) : QObject(parent), m_manager(manager) {}

template<typename Outcome>
bool PreviewWorker::start(std::function<void(Outcome &)> work, std::function<void(Outcome &)> done)
{
    if (m_job.running())
        return false;
    auto outcome = std::make_shared<Outcome>();
    return m_job.start([outcome, work = std::move(work)] { work(*outcome); },
                       [outcome, done = std::move(done)] { done(*outcome); });
}

bool PreviewWorker::startPreview(std::function<void(PreviewOutcome &)> done)
{
    Manager &manager = m_manager;
    return start<PreviewOutcome>(
        [&manager](PreviewOutcome &outcome) {
            outcome.summary = manager.BuildPreview();
            if (outcome.summary && !outcome.summary->cancelled)
                outcome.entries = PreviewEntries::read(manager.preview(), false);
        },
        std::move(done));
}

bool PreviewWorker::startRun(const ReportFolders &folders, std::function<void(RunOutcome &)> done)
{
    Manager &manager = m_manager;
    m_entriesDone.store(0, std::memory_order_relaxed);
    std::atomic<int> &entriesDone = m_entriesDone;
    return start<RunOutcome>(
        [&manager, &entriesDone, folders](RunOutcome &outcome) {
            RenameExecutor executor(folders, [&outcome](const QString &text, const QString &title) {
                outcome.messages.append({text, title});
            });
            PreviewEntries::markShownEntries(manager.preview());
            executor.setEntryObserver(
                [&entriesDone](int attempted) { entriesDone.store(attempted, std::memory_order_relaxed); });
            outcome.summary = executor.ExecuteRenameList(manager.preview());
            outcome.recovered = executor.recoveredJournals();
            outcome.entries = PreviewEntries::read(manager.preview(), outcome.summary.ok());
        },
        std::move(done));
}

bool PreviewWorker::startReversal(const QString &reportPath, const QString &languageSuffix,
                                  std::function<void(ReversalOutcome &)> done)
{
    Manager &manager = m_manager;
    return start<ReversalOutcome>(
        [&manager, reportPath, languageSuffix](ReversalOutcome &outcome) {
            outcome.read = Undo::UndoFromReport(reportPath, manager.preview(), languageSuffix);
            if (!outcome.read.ok())
                return;
            // The reversal's own report names the run it reverses.
            XmlTools::setAttribute(manager.preview().root(), "reverses", QFileInfo(reportPath).fileName());
            outcome.entries = PreviewEntries::read(manager.preview(), false);
        },
        std::move(done));
}

void PreviewWorker::requestCancel()
{
    m_manager.previewControl().requestCancel();
}

PreviewProgress PreviewWorker::previewProgress() const
{
    return m_manager.previewControl().progress();
}

} // namespace quillbay
