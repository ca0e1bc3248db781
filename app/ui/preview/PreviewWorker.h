#pragma once
// The work behind the preview pane, done on a thread of its own so that the
// window stays responsive: the preview run, the rename run and the reading of
// a report for a reversal. One job at a time. While a job runs, the window
// leaves the preview document alone; each job ends by reading the entries the
// list is to show (PreviewEntries), still on its thread, and hands them over
// on the window's thread.

#include "engine/PreviewRun.h"
#include "run/RenameExecutor.h"
#include "ui/common/BackgroundJob.h"
#include "ui/preview/PreviewEntries.h"

#include <QObject>
#include <atomic>
#include <functional>

namespace quillbay {

class Manager;

struct PreviewOutcome {
    Result<PreviewSummary> summary = PreviewSummary();
    PreviewEntries entries;
};

struct RunOutcome {
    // An error when the run could not start (nothing was renamed).
    Result<ExecutionSummary> summary = ExecutionSummary();
    QList<JournalRecovery::Outcome> recovered; // reports made from journals of earlier runs
    PreviewEntries entries;
    QList<QPair<QString, QString>> messages; // text and title of what the run had to say
};

struct ReversalOutcome {
    Result<void> read; // an error when the report could not be loaded
    PreviewEntries entries;
};

class PreviewWorker : public QObject
{
    Q_OBJECT

public:
    explicit PreviewWorker(Manager &manager, QObject *parent = nullptr);

    bool running() const { return m_job.running(); }
    // Blocks until the running job has returned (its completion still comes
    // through the event loop).
    void wait() { m_job.wait(); }

    // Each returns false, and starts nothing, while a job runs; done is
    // called on this object's thread.
    bool startPreview(std::function<void(PreviewOutcome &)> done);
    // Carries out the preview document; its report goes to folders.
    bool startRun(const ReportFolders &folders, std::function<void(RunOutcome &)> done);
    // Fills the preview document with the reversal of the report at path.
    bool startReversal(const QString &reportPath, const QString &languageSuffix,
                       std::function<void(ReversalOutcome &)> done);

    // Any time: asks a running preview to stop.
    void requestCancel();
    // What the running (or last) preview has done so far.
    PreviewProgress previewProgress() const;
    // Entries a running rename has attempted.
    int entriesDone() const { return m_entriesDone.load(std::memory_order_relaxed); }

private:
    template<typename Outcome>
    bool start(std::function<void(Outcome &)> work, std::function<void(Outcome &)> done);

    Manager &m_manager;
    BackgroundJob m_job;
    std::atomic<int> m_entriesDone{0};
};

} // namespace quillbay
