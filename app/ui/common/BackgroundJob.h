#pragma once
// Work that must not hold up the window (a preview, a rename run, reading a
// report) runs on a thread of its own; its completion is handed back to the
// window's thread. One job at a time: the window starts the next one only
// after the last has finished, and while a job runs it leaves the documents
// the job works on alone.

#include <QObject>
#include <functional>

class QThread;

namespace quillbay {

class BackgroundJob : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundJob(QObject *parent = nullptr);
    // Waits for a job that is still running: its thread must not outlive the
    // objects it works on.
    ~BackgroundJob() override;

    bool running() const { return m_thread != nullptr; }

    // Runs work on a new thread; once it has returned, done runs on this
    // object's thread. False, and nothing started, while a job is running.
    bool start(std::function<void()> work, std::function<void()> done);

    // Blocks until the running job (if any) has returned; done is not called
    // by this, only by the event loop.
    void wait();

signals:
    void finished();

private:
    QThread *m_thread = nullptr;
};

} // namespace quillbay
