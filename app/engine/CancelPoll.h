#pragma once
// Cooperative cancellation of a long preview. The walk asks often; only every
// few hundred questions is the clock read, and only every half second does
// the window get to process its events and notice a cancel request.

#include <QElapsedTimer>
#include <atomic>
#include <functional>

namespace quillbay {

class CancelPoll
{
public:
    // Called at most every 500 ms during a run: the window processes its
    // pending events there (which is when a cancel button press arrives).
    void setEventHook(std::function<void()> hook) { m_hook = std::move(hook); }
    void requestCancel() { m_requested = true; }

    void reset()
    {
        m_requested = false;
        m_cancelled = false;
        m_calls = 0;
        m_timer.start();
    }
    bool cancelled() const { return m_cancelled; }

    bool PollCancel()
    {
        if (++m_calls % 256 != 0 || m_timer.elapsed() <= 500)
            return m_cancelled || (m_cancelled = m_requested.load());
        m_timer.restart();
        if (m_hook)
            m_hook();
        if (m_requested)
            m_cancelled = true;
        return m_cancelled;
    }

private:
    std::function<void()> m_hook;
    std::atomic<bool> m_requested{false};
    bool m_cancelled = false;
    unsigned m_calls = 0;
    QElapsedTimer m_timer;
};

} // namespace quillbay
