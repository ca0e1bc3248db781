// quillbay-cli: previews, carries out and reverses renames without a window.

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "text/UiText.h"

#include <QCoreApplication>
#include <QStringList>

using namespace quillbay;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("preview"))
        return previewCommand(args);
    if (command == QLatin1String("run"))
        return runCommand(args);
    if (command == QLatin1String("undo"))
        return undoCommand(args);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        printLine(usageText());
        return ExitOk;
    }
    if (!command.isEmpty()) {
        const int id = command.startsWith(u'-') ? 30110 : 30112;
        printError(
            UiText::LoadTextWith(id, {QStringLiteral("&option;"), command, QStringLiteral("&command;"), command}));
    }
    printError(usageText());
    return ExitUsage;
}
