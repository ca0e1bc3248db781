#pragma once
// The two process-wide flags. busy: start-up, a preview run, a rename run or
// an open select-setting dialog of a request from outside is at work; the
// main window refuses to close and requests from outside wait. ready:
// start-up has finished (never cleared).

#include <QObject>

namespace quillbay {

class ProgramState : public QObject
{
    Q_OBJECT

public:
    explicit ProgramState(QObject *parent = nullptr) : QObject(parent) {}

    bool busy() const { return m_busy; }
    bool ready() const { return m_ready; }
    void setBusy(bool busy);
    void setReady();

signals:
    void busyChanged(bool busy);
    void becameReady();

private:
    bool m_busy = false;
    bool m_ready = false;
};

// Sets busy for the life of the object and clears it again at its end.
class BusyScope
{
public:
    explicit BusyScope(ProgramState &state) : m_state(state) { m_state.setBusy(true); }
    ~BusyScope() { m_state.setBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    ProgramState &m_state;
};

} // namespace quillbay
