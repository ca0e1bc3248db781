#pragma once
// Hands paths to the main program through its automation object
// "Quillbay.Application" on the session bus.

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <functional>

namespace quillbay {

class FolderOpener
{
public:
    // Shows the description of an error to the user.
    using ErrorNotice = std::function<void(const QString &description)>;

    FolderOpener(const QDBusConnection &connection, ErrorNotice notice);

    // Reaches the main program, which the bus starts when it is not running.
    // False when there is no bus or the program cannot be started.
    bool connect();

    // FolderOpen(path, 0) for each path in order. Each call waits, without a
    // time limit, until the main program has finished with the path (its
    // select-setting dialog may stay open for minutes), so the next path is
    // passed only then. The first failure is shown and ends the work: the
    // paths after it are not passed. False after a failure.
    bool openAll(const QStringList &paths);

private:
    QDBusConnection m_connection;
    ErrorNotice m_notice;
};

} // namespace quillbay
