#pragma once
// A private session bus for one test program: a dbus-daemon of its own, with
// a folder of service files that the test fills, so that calls to a name can
// start a program as the desktop's bus would. The test machine needs no bus
// of its own. Constructing it points this process's session bus (Qt's and
// GLib's) at the private one, so it must exist before either is first used.

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TestSessionBus
{
public:
    TestSessionBus();
    ~TestSessionBus();
    TestSessionBus(const TestSessionBus &) = delete;
    TestSessionBus &operator=(const TestSessionBus &) = delete;

    // Empty when the bus is running; otherwise why it is not.
    QString error() const { return m_error; }
    QString address() const { return m_address; }
    QString servicesFolder() const;

    // Lets the bus start program with arguments when a call comes to name.
    bool addService(const QString &name, const QString &program, const QStringList &arguments = {});
    bool removeService(const QString &name);

    // This process's environment with the bus as its session bus, for the
    // programs a test starts.
    QProcessEnvironment environment() const;

    // The pid of the process that owns name, or 0.
    qint64 ownerPid(const QString &name) const;

    // Ends the program that the bus started for name: its service file goes,
    // the program is asked to end (SIGTERM, which the main program takes as
    // a request to close its window) and the name is waited for to be free.
    // False when no program owned the name or it did not end within 30 s.
    bool endStartedProgram(const QString &name);

private:
    bool start();
    bool reloadServices();

    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QString m_error;
};
