#include "automation/FolderRequestQueue.h"

#include <QMetaObject>

namespace quillbay {

FolderRequestQueue::FolderRequestQueue(FolderRequestTarget &target, QObject *parent) : QObject(parent), m_target(target)
{
    m_renameCheck.setInterval(RenameCheckMilliseconds);
    connect(&m_renameCheck, &QTimer::timeout, this, [this] {
        if (!m_target.renaming())
            releaseAfterRename();
    });
}

FolderRequestQueue::~FolderRequestQueue()
{
    for (Request &request : m_heldDuringRename)
        answer(request.done);
    if (m_pending)
        answer(m_pending->done);
}

void FolderRequestQueue::answer(Completion &done)
{
    if (!done)
        return;
    Completion call = std::move(done);
    done = nullptr;
    call();
}

void FolderRequestQueue::FolderOpen(const QString &path, int mode, Completion done)
{
    Request request{path, mode, done ? std::move(done) : Completion([] {})};
    // Requests that arrived during a rename run keep their order: a new one
    // queues behind them even when the run has just ended.
    if (m_target.renaming() || !m_heldDuringRename.isEmpty()) {
        holdDuringRename(std::move(request));
        return;
    }
    take(std::move(request));
}

void FolderRequestQueue::take(Request request)
{
    if (m_target.windowExists())
        m_target.raiseWindow();
    if (m_target.busy()) {
        keepPending(std::move(request));
    } else if (!m_target.windowExists()) {
        answer(request.done);
    } else if (m_target.ready()) {
        m_target.DeliverRequest(request.path, request.mode, std::move(request.done));
    } else {
        keepPending(std::move(request));
    }
}

void FolderRequestQueue::keepPending(Request request)
{
    if (request.path.isEmpty()) {
        answer(request.done);
        return;
    }
    if (m_pending)
        answer(m_pending->done);
    // Only the end of start-up delivers a pending request. One kept later
    // (during a preview run or an open dialog) is never carried out, so its
    // caller is answered now instead of waiting for ever.
    if (m_target.ready())
        answer(request.done);
    m_pending = std::move(request);
}

void FolderRequestQueue::storePendingRequest(const QString &path, int mode)
{
    if (path.isEmpty())
        return;
    if (m_pending)
        answer(m_pending->done);
    m_pending = Request{path, mode, [] {}};
}

void FolderRequestQueue::DeliverPendingRequest()
{
    if (!m_pending)
        return;
    Request request = std::move(*m_pending);
    m_pending.reset();
    m_target.DeliverRequest(request.path, request.mode, request.done ? std::move(request.done) : Completion([] {}));
}

void FolderRequestQueue::holdDuringRename(Request request)
{
    m_heldDuringRename.append(std::move(request));
    if (!m_renameCheck.isActive())
        m_renameCheck.start();
}

void FolderRequestQueue::releaseAfterRename()
{
    m_renameCheck.stop();
    const QList<Request> held = std::move(m_heldDuringRename);
    m_heldDuringRename.clear();
    // One request per turn of the event loop, as separate calls would come:
    // the dialog that the first opens is open (and the program busy) when the
    // next is taken.
    for (const Request &request : held) {
        QMetaObject::invokeMethod(
            this, [this, request] { FolderOpen(request.path, request.mode, request.done); }, Qt::QueuedConnection);
    }
}

} // namespace quillbay
