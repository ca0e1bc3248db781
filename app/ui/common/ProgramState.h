#pragma once
// The process-wide flags. busy: start-up, a preview run, a rename run or
// an open select-setting dialog of a request from outside is at work; the
// main window refuses to close and requests from outside wait. ready:
// start-up has finished (never cleared). renaming: a rename run is at work;
// requests from outside are held until it has ended and taken then, as the
// rename run of the older program, which took no events, made them wait.

#include <QObject>

namespace quillbay {

class ProgramState : public QObject
{
    Q_OBJECT

public:
    explicit ProgramState(QObject *parent = nullptr) : QObject(parent) {}

    bool busy() const { return m_busy; }
    bool ready() const { return m_ready; }
    bool renaming() const { return m_renaming; }
    void setBusy(bool busy);
    void setReady();
    void setRenaming(bool renaming) { m_renaming = renaming; }

signals:
    void busyChanged(bool busy);
    void becameReady();

private:
    bool m_busy = false;
    bool m_ready = false;
    bool m_renaming = false;
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
