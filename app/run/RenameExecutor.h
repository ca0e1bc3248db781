#pragma once
// Carries out a preview document: renames each included entry in document
// order, writes the outcome of each into the document, and saves it as the
// run's report. A journal kept while the run goes makes sure that even a run
// that never reaches its report leaves a record (see RunJournal).

#include "base/Result.h"
#include "run/JournalRecovery.h"
#include "run/PreviewDocument.h"
#include "run/ReportFolders.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace quillbay {

// What a run that started did. (A run that could not start is an error of
// its own: nothing was renamed then.)
struct ExecutionSummary {
    bool allSucceeded = false; // every included entry got its new name
    int attempted = 0;
    int failed = 0;
    QDateTime runTime; // the one reading that names the report and dates it
    // The path of the saved report, or the system's reason why it could not be
    // saved (the run's journal then stays, and becomes the report later).
    Result<QString> report = QString();
};

class RenameExecutor
{
public:
    explicit RenameExecutor(ReportFolders folders, MessageSink messages = {});

    // The clock that dates the report (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // Called after each attempted entry with the number attempted so far.
    void setEntryObserver(std::function<void(int)> observer) { m_observer = std::move(observer); }

    // Carries out the document (see above). An error (message 442 when the
    // disk or the user's quota is full, 460 otherwise, with the system's
    // reason) when the run could not start because no journal could be kept:
    // nothing was renamed then.
    Result<ExecutionSummary> ExecuteRenameList(PreviewDocument &document);

    // The reports that the last ExecuteRenameList made from the journals of
    // earlier runs that ended without theirs (it looks for them first).
    const QList<JournalRecovery::Outcome> &recoveredJournals() const { return m_recovered; }
    QString lastReportPath() const { return m_lastReportPath; }
    // True from the start of a run until its report has been saved.
    static bool renamingInProgress();

    // The include mark of an entry: absent or not convertible means included.
    static bool isIncluded(pugi::xml_node entry);
    // The same, from the entry's include attribute (which may be missing).
    static bool includedBy(pugi::xml_attribute include);

private:
    void runEntries(PreviewDocument &document, class RunJournal &journal, ExecutionSummary &summary);

    ReportFolders m_folders;
    MessageSink m_messages;
    std::function<QDateTime()> m_clock;
    std::function<void(int)> m_observer;
    QString m_lastReportPath;
    QList<JournalRecovery::Outcome> m_recovered;
};

} // namespace quillbay
