#pragma once
// Turns the journal of a run that ended without its report into that report,
// so that what the run did can still be read and undone.

#include "base/Result.h"
#include "run/PreviewDocument.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace quillbay {

class JournalRecovery
{
public:
    struct Outcome {
        QString journalPath;
        // The path of the report made from the journal: empty when the run
        // had not begun any entry (the journal is then just deleted).
        Result<QString> report = QString();
    };

    // Every journal in the report folder that no running program holds becomes
    // a report (named by the time its run started), and is then deleted. A
    // journal whose report cannot be saved stays for the next attempt. Then
    // the temporary files of report saves that were cut short go
    // (ReportStore::removeAbandonedSaves): both are what an interrupted run
    // leaves behind.
    static QList<Outcome> recoverAll(const QString &reportFolder);

    // The report of one journal: the entries its run begun, each with its
    // outcome. An entry the run was carrying out when it stopped is looked up
    // on disk: it counts as renamed when its old name is gone and its new name
    // (or the temporary name it was passing through) is there; otherwise it is
    // left out, as nothing was done to it. False when content is no journal.
    static bool buildReport(const QByteArray &content, PreviewDocument &report, QDateTime &start);
};

} // namespace quillbay
