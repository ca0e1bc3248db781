#include "TestSessionBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextStream>
#include <signal.h>
#include <sys/prctl.h>

namespace {

// Below the test's own home (which the test set-up points into the build
// tree), never in the system's temporary folder.
QString folderTemplate()
{
    return QDir::homePath() + QStringLiteral("/session-bus-XXXXXX");
}

QString quotedForServiceFile(const QString &argument)
{
    QString quoted = argument;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

TestSessionBus::TestSessionBus() : m_folder(folderTemplate())
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no folder for the bus: ") + m_folder.errorString();
        return;
    }
    if (start())
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

TestSessionBus::~TestSessionBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

QString TestSessionBus::servicesFolder() const
{
    return m_folder.filePath(QStringLiteral("services"));
}

bool TestSessionBus::start()
{
    QDir().mkpath(servicesFolder());
    // An abstract socket leaves no file behind, wherever the build tree lies.
    const QString socket = QStringLiteral("quillbay-test-%1-%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QRandomGenerator::global()->generate64(), 0, 16);
    const QString configPath = m_folder.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly)) {
        m_error = config.errorString();
        return false;
    }
    QTextStream(&config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                            "<busconfig>\n  <type>session</type>\n"
                         << "  <listen>unix:abstract=" << socket << "</listen>\n"
                         << "  <servicedir>" << servicesFolder().toHtmlEscaped() << "</servicedir>\n"
                         << "  <policy context=\"default\">\n"
                            "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                            "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n";
    config.close();

    // The daemon ends with the test even when the test is killed.
    m_daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                    QStringLiteral("--config-file=") + configPath});
    if (!m_daemon.waitForStarted(10000)) {
        m_error = QStringLiteral("dbus-daemon does not start: ") + m_daemon.errorString();
        return false;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty()) {
        m_error = QStringLiteral("dbus-daemon gave no address: ") + QString::fromUtf8(m_daemon.readAllStandardError());
        return false;
    }
    return true;
}

bool TestSessionBus::reloadServices()
{
    const QDBusMessage reload =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig"));
    return QDBusConnection::sessionBus().call(reload).type() == QDBusMessage::ReplyMessage;
}

bool TestSessionBus::addService(const QString &name, const QString &program, const QStringList &arguments)
{
    QFile file(QDir(servicesFolder()).filePath(name + QStringLiteral(".service")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString exec = quotedForServiceFile(program);
    for (const QString &argument : arguments)
        exec += u' ' + quotedForServiceFile(argument);
    QTextStream(&file) << "[D-BUS Service]\nName=" << name << "\nExec=" << exec << '\n';
    file.close();
    return reloadServices();
}

bool TestSessionBus::removeService(const QString &name)
{
    QFile::remove(QDir(servicesFolder()).filePath(name + QStringLiteral(".service")));
    return reloadServices();
}

QProcessEnvironment TestSessionBus::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return environment;
}

bool TestSessionBus::endStartedProgram(const QString &name)
{
    const qint64 pid = ownerPid(name);
    removeService(name);
    if (pid <= 0)
        return false;
    ::kill(pid_t(pid), SIGTERM);
    return QTest::qWaitFor([&] { return ownerPid(name) == 0; }, 30000);
}

qint64 TestSessionBus::ownerPid(const QString &name) const
{
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(name);
    return pid.isValid() ? pid.value() : 0;
}
