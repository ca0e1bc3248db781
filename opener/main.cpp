// QuillbayOpener: hands the folders and files named on its command line to
// Quillbay the Renamer, starting it when it is not running, one after the
// other, and ends. Switches (arguments beginning with "-") are skipped.
//
// Exit status: 0 when every path was passed, 1 when the main program failed
// to take one (the user has been told), 2 when the bus or the main program
// could not be reached (nothing is shown then).

#include "ErrorNotice.h"
#include "FolderOpener.h"
#include "OpenerArguments.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {

int handOver(const QDBusConnection &bus, const QStringList &arguments)
{
    using namespace quillbay;
    FolderOpener opener(bus, [&bus](const QString &description) { showErrorNotice(bus, description); });
    if (!opener.connect())
        return 2;
    return opener.openAll(openerPaths(argumentsFromArgv(arguments), QDir::currentPath())) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString name = QStringLiteral("QuillbayOpener");
    const int status =
        handOver(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name), app.arguments().mid(1));
    QDBusConnection::disconnectFromBus(name);
    // Qt's bus thread can still be taking in a message while the program's
    // static objects are torn down at the end, and then prints warnings about
    // types it no longer knows. Nothing here needs that tear-down: the
    // opener ends at once, with its output written out.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
