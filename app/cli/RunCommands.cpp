#include "cli/RunCommands.h"

#include "cli/CliSupport.h"
#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/RenameExecutor.h"
#include "run/Undo.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QFileInfo>

namespace quillbay {

namespace {

const QString kReportDir = QStringLiteral("--report-dir");

ReportFolders reportFoldersFrom(const ParsedOptions &options)
{
    if (options.values.contains(kReportDir))
        return ReportFolders::forReportFolder(options.values.value(kReportDir));
    return ReportFolders::underDataFolder(ReportFolders::defaultDataFolder());
}

void printMessage(const QString &text, const QString &title)
{
    printError(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

void printFailures(const PreviewDocument &report)
{
    for (const QString &line : FailedEntryLines(report))
        printError(line);
}

// Carries out the preview, saves its report and prints its path.
int carryOut(PreviewDocument &preview, const ReportFolders &folders)
{
    RenameExecutor executor(folders, printMessage);
    const ExecutionResult result = executor.ExecuteRenameList(preview);
    for (const JournalRecovery::Outcome &recovered : result.recovered) {
        if (recovered.ok && !recovered.reportPath.isEmpty())
            printError(UiText::LoadTextWith(30010, {QStringLiteral("&path;"), recovered.reportPath}));
        else if (!recovered.ok)
            printError(UiText::LoadTextWith(30011, {QStringLiteral("&path;"), recovered.journalPath,
                                                    QStringLiteral("&reason;"), recovered.errorText}));
    }
    if (!result.started) {
        printError(result.refusal);
        return ExitPrecondition;
    }
    printFailures(preview);
    if (!result.reportSaved) {
        // The journal of the run stays and becomes its report at the next run.
        printError(UiText::LoadTextWith(30012, {QStringLiteral("&path;"), folders.reportFolder,
                                                QStringLiteral("&reason;"), result.reportError}));
        return ExitSomeFailed;
    }
    printLine(result.reportPath);
    return result.allSucceeded ? ExitOk : ExitSomeFailed;
}

} // namespace

int runCommand(const QStringList &args)
{
    const ParsedOptions options =
        parseOptions(args, {QStringLiteral("--settings"), QStringLiteral("--setting"), kReportDir}, {});
    if (!options.ok || !options.positional.isEmpty()) {
        printError(options.ok ? QStringLiteral("Usage: quillbay-cli run [--settings FILE] [--setting NAME] "
                                               "[--report-dir DIR]")
                              : options.error);
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
    return carryOut(manager.preview(), reportFoldersFrom(options));
}

int undoCommand(const QStringList &args)
{
    const ParsedOptions options = parseOptions(args, {kReportDir}, {QStringLiteral("--run")});
    if (!options.ok || options.positional.size() != 1) {
        printError(options.ok ? QStringLiteral("Usage: quillbay-cli undo REPORT [--report-dir DIR] [--run]")
                              : options.error);
        return ExitUsage;
    }
    const QString reportPath = QFileInfo(options.positional.first()).absoluteFilePath();
    PreviewDocument preview;
    if (!QFileInfo(reportPath).isFile() || !Undo::UndoFromReport(reportPath, preview, UiText::LanguageSuffix())) {
        printError(UiText::LoadText(930));
        return ExitUsage;
    }
    if (!options.flags.contains(QStringLiteral("--run"))) {
        printDocument(preview.document());
        return ExitOk;
    }
    return carryOut(preview, reportFoldersFrom(options));
}

} // namespace quillbay
