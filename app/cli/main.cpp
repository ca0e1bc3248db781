// quillbay-cli: previews, carries out and reverses renames without a window.

#include "cli/CliSupport.h"
#include "cli/RunCommands.h"
#include "engine/Manager.h"

#include <QCoreApplication>
#include <QStringList>

using namespace quillbay;

static const char usage[] =
    "Usage:\n"
    "  quillbay-cli preview [--settings FILE] [--setting NAME] [--output FILE]\n"
    "  quillbay-cli run [--settings FILE] [--setting NAME] [--report-dir DIR]\n"
    "  quillbay-cli undo REPORT [--report-dir DIR] [--run]\n"
    "Without --settings, the settings file of Quillbay is read (never written).\n";

static int previewCommand(const QStringList &args)
{
    const ParsedOptions options =
        parseOptions(args, {QStringLiteral("--settings"), QStringLiteral("--setting"), QStringLiteral("--output")}, {});
    if (!options.ok || !options.positional.isEmpty()) {
        printError(options.ok ? QString::fromLatin1(usage) : options.error);
        return ExitUsage;
    }
    Manager manager;
    int code = loadSettings(manager, settingsFileFrom(options),
                            options.values.value(QStringLiteral("--setting"), QString()));
    if (code != ExitOk)
        return code;
    code = buildPreview(manager);
    if (code != ExitOk)
        return code;
    return writePreview(manager, options.values.value(QStringLiteral("--output"), QString()));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printError(QString::fromLatin1(usage));
        return ExitUsage;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("preview"))
        return previewCommand(args);
    if (command == QLatin1String("run"))
        return runCommand(args);
    if (command == QLatin1String("undo"))
        return undoCommand(args);
    printError(QString::fromLatin1(usage));
    return ExitUsage;
}
