#pragma once
// The handle of a running preview for whoever waits for it: a cancel request
// and the progress so far, both safe to use from another thread than the one
// the preview runs on. The preview polls the request often and publishes its
// progress once per folder, so neither costs the walk anything worth measuring.
//
// A window that runs the preview on a worker thread calls requestCancel() from
// its Cancel button and reads progress() from a timer. A preview run on the
// window's own thread instead needs the event hook: the window's events are
// processed there, at most every 500 ms, which is when a Cancel press arrives.

#include <QElapsedTimer>
#include <QtGlobal>
#include <atomic>
#include <functional>

namespace quillbay {

struct PreviewProgress {
    quint64 foldersExamined = 0;
    quint64 filesExamined = 0;
    quint64 entriesFound = 0;
};

class PreviewControl
{
public:
    // Any thread. A request made before the preview starts is dropped by its start.
    void requestCancel() { m_requested.store(true, std::memory_order_relaxed); }
    // Any thread: what the running (or last) preview has done so far.
    PreviewProgress progress() const
    {
        return {m_folders.load(std::memory_order_relaxed), m_files.load(std::memory_order_relaxed),
                m_entries.load(std::memory_order_relaxed)};
    }
    // Optional, set before the preview starts: called on the preview's thread
    // at most every intervalMs milliseconds.
    void setEventHook(std::function<void()> hook, int intervalMs = 500)
    {
        m_hook = std::move(hook);
        m_hookInterval = intervalMs;
    }

    // The preview's own side, on its thread.
    void start()
    {
        m_requested.store(false, std::memory_order_relaxed);
        m_cancelled = false;
        m_calls = 0;
        m_work = {};
        publish();
        m_timer.start();
    }
    bool cancelled() const { return m_cancelled; }
    // The figures change once per folder, so they are published as they
    // change: a window reading them sees the walk's progress even when each
    // item takes long (a slow rule, a slow disk).
    void noteFolder(quint64 files)
    {
        ++m_work.foldersExamined;
        m_work.filesExamined += files;
        publish();
    }
    void noteEntries(quint64 entries)
    {
        m_work.entriesFound = entries;
        publish();
    }
    // Publishes the last figures (the end of a preview).
    void finish() { publish(); }

    // Whether the preview is to stop: asked before each child folder and each
    // item of a listing.
    bool PollCancel()
    {
        if (++m_calls % 256 != 0)
            return m_cancelled || (m_cancelled = m_requested.load(std::memory_order_relaxed));
        if (m_hook && m_timer.elapsed() >= m_hookInterval) {
            m_timer.restart();
            m_hook();
        }
        if (m_requested.load(std::memory_order_relaxed))
            m_cancelled = true;
        return m_cancelled;
    }

private:
    void publish()
    {
        m_folders.store(m_work.foldersExamined, std::memory_order_relaxed);
        m_files.store(m_work.filesExamined, std::memory_order_relaxed);
        m_entries.store(m_work.entriesFound, std::memory_order_relaxed);
    }

    std::atomic<bool> m_requested{false};
    std::atomic<quint64> m_folders{0};
    std::atomic<quint64> m_files{0};
    std::atomic<quint64> m_entries{0};
    std::function<void()> m_hook;
    int m_hookInterval = 500;
    bool m_cancelled = false;
    unsigned m_calls = 0;
    PreviewProgress m_work; // the preview's own figures, published as they change
    QElapsedTimer m_timer;
};

} // namespace quillbay
