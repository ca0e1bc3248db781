#pragma once
// A request to end the program from outside (SIGTERM when the session ends,
// SIGHUP, SIGINT from a terminal) is turned into a close of the main window,
// which saves the settings as any close does, instead of ending the process
// on the spot and losing the edits of the session.
//
// The signal handler only writes a byte into a pipe; the event loop reads it
// on the window's thread and calls the handler there.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quillbay {

class TerminationRequests : public QObject
{
    Q_OBJECT

public:
    // Installs the signal handlers; handler runs on this thread, in the event
    // loop, once per signal received.
    explicit TerminationRequests(std::function<void()> handler, QObject *parent = nullptr);
    ~TerminationRequests() override;

    bool installed() const { return m_notifier != nullptr; }

private:
    void readRequests();

    std::function<void()> m_handler;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quillbay
