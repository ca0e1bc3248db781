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

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    using namespace quillbay;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    FolderOpener opener(bus, [&bus](const QString &description) { ShowErrorNotice(bus, description); });
    if (!opener.Connect())
        return 2;
    const QStringList arguments = ArgumentsFromArgv(app.arguments().mid(1));
    return opener.OpenAll(OpenerPaths(arguments, QDir::currentPath())) ? 0 : 1;
}
