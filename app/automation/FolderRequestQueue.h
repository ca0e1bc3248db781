#pragma once
// Decides what happens with a folder that another program hands in: deliver
// it to the window now, keep it in the single pending slot until start-up has
// finished, or let it go with only the window brought to the front.
//
// Each request carries a completion that answers its caller. It is called when
// the work is done: after the window has finished with a delivered request,
// at once for a request that only raised the window, and, for a request kept
// during start-up, when start-up has delivered it (or when a later request
// has taken its place). So a caller that waits for the answer, as the opener
// does between two paths, never sends its next path before the dialog of the
// previous one has closed.

#include "automation/FolderRequestTarget.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

namespace quillbay {

class FolderRequestQueue : public QObject
{
public:
    using Completion = FolderRequestTarget::Completion;

    explicit FolderRequestQueue(FolderRequestTarget &target, QObject *parent = nullptr);
    // Answers every caller still waiting, so none is left without a reply.
    ~FolderRequestQueue() override;

    // A request from outside: raise the window, then deliver, keep or drop
    // it by the program's state. While a rename run is in progress the
    // request waits, and is taken when the run has ended.
    void FolderOpen(const QString &path, int mode, Completion done);

    // The folder of the command line, which start-up reads last: it takes
    // the pending slot (an empty path is ignored).
    void storePendingRequest(const QString &path, int mode);

    // Called by start-up right after it has cleared busy and set ready:
    // delivers the pending request, if there is one.
    void DeliverPendingRequest();

    bool hasPendingRequest() const { return m_pending.has_value(); }
    QString pendingPath() const { return m_pending ? m_pending->path : QString(); }
    int heldDuringRenameCount() const { return int(m_heldDuringRename.size()); }

    // How often a waiting request looks whether the rename run has ended.
    static constexpr int RenameCheckMilliseconds = 100;

private:
    struct Request {
        QString path;
        int mode = 0;
        Completion done;
    };

    void take(Request request);
    void keepPending(Request request);
    void holdDuringRename(Request request);
    void releaseAfterRename();
    static void answer(Completion &done);

    FolderRequestTarget &m_target;
    std::optional<Request> m_pending;
    QList<Request> m_heldDuringRename;
    QTimer m_renameCheck;
};

} // namespace quillbay
