#include "cli/Commands.h"

#include "cli/CliSupport.h"
#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/RenameExecutor.h"
#include "run/Undo.h"
#include "text/UiText.h"

#include <QFileInfo>

namespace quillbay {

namespace {

const QString kSettings = QStringLiteral("--settings");
const QString kSetting = QStringLiteral("--setting");
const QString kOutput = QStringLiteral("--output");
const QString kReportDir = QStringLiteral("--report-dir");
const QString kRun = QStringLiteral("--run");

// Parses the options of a subcommand that takes no positional arguments but
// those it names; prints usage (or what was wrong) when they do not fit.
Result<ParsedOptions> optionsOf(const QStringList &args, const QStringList &withValue, const QStringList &flags,
                                qsizetype positionals, const QString &usage)
{
    Result<ParsedOptions> options = parseOptions(args, withValue, flags);
    if (!options) {
        printError(options.error().message);
        return options;
    }
    if (options->positional.size() != positionals) {
        printError(usage);
        return Error::withMessage(usage);
    }
    return options;
}

// Loads the settings that --settings and --setting name and builds the
// preview of that setting: the body "preview" and "run" share.
int previewSelectedSetting(Manager &manager, const ParsedOptions &options)
{
    const int loaded = loadSettings(manager, settingsFileFrom(options), options.values.value(kSetting, QString()));
    if (loaded != ExitOk)
        return loaded;
    const PreviewPreconditions found = manager.CheckPreviewPreconditions();
    if (!found.met()) {
        printError(preconditionMessage(found).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return ExitPrecondition;
    }
    const Result<PreviewSummary> built = manager.BuildPreview();
    if (!built) {
        printError(criteriaErrorMessage(built.error()));
        return ExitPrecondition;
    }
    for (const QString &note : previewNotes(built.value()))
        printError(note);
    return ExitOk;
}

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

// Carries out the preview, saves its report and prints its path.
int carryOut(PreviewDocument &preview, const ReportFolders &folders)
{
    RenameExecutor executor(folders, printMessage);
    const Result<ExecutionSummary> executed = executor.ExecuteRenameList(preview);
    for (const QString &note : recoveryNotes(executor.recoveredJournals()))
        printError(note);
    if (!executed) {
        printError(executed.error().message);
        return ExitPrecondition;
    }
    for (const QString &line : failedEntryLines(preview))
        printError(line);
    if (!executed->report) {
        // The journal of the run stays and becomes its report at the next run.
        printError(reportNotSavedMessage(folders.reportFolder, executed->report.error()));
        return ExitSomeFailed;
    }
    printLine(executed->report.value());
    return executed->allSucceeded ? ExitOk : ExitSomeFailed;
}

} // namespace

QString usageText()
{
    return QStringLiteral("Usage:\n"
                          "  quillbay-cli preview [--settings FILE] [--setting NAME] [--output FILE]\n"
                          "  quillbay-cli run [--settings FILE] [--setting NAME] [--report-dir DIR]\n"
                          "  quillbay-cli undo REPORT [--report-dir DIR] [--run]\n"
                          "Without --settings, the settings file of Quillbay is read (never written).\n");
}

int previewCommand(const QStringList &args)
{
    const Result<ParsedOptions> options = optionsOf(args, {kSettings, kSetting, kOutput}, {}, 0, usageText());
    if (!options)
        return ExitUsage;
    Manager manager;
    if (const int previewed = previewSelectedSetting(manager, options.value()); previewed != ExitOk)
        return previewed;
    return writePreview(manager.preview(), options->values.value(kOutput, QString()));
}

int runCommand(const QStringList &args)
{
    const Result<ParsedOptions> options =
        optionsOf(args, {kSettings, kSetting, kReportDir}, {}, 0,
                  QStringLiteral("Usage: quillbay-cli run [--settings FILE] [--setting NAME] [--report-dir DIR]"));
    if (!options)
        return ExitUsage;
    Manager manager;
    if (const int previewed = previewSelectedSetting(manager, options.value()); previewed != ExitOk)
        return previewed;
    return carryOut(manager.preview(), reportFoldersFrom(options.value()));
}

int undoCommand(const QStringList &args)
{
    const Result<ParsedOptions> options = optionsOf(
        args, {kReportDir}, {kRun}, 1, QStringLiteral("Usage: quillbay-cli undo REPORT [--report-dir DIR] [--run]"));
    if (!options)
        return ExitUsage;
    const QString reportPath = QFileInfo(options->positional.first()).absoluteFilePath();
    PreviewDocument preview;
    if (!QFileInfo(reportPath).isFile() || !Undo::UndoFromReport(reportPath, preview, UiText::LanguageSuffix())) {
        printError(UiText::LoadText(930));
        return ExitUsage;
    }
    if (!options->flags.contains(kRun)) {
        printDocument(preview.document());
        return ExitOk;
    }
    return carryOut(preview, reportFoldersFrom(options.value()));
}

} // namespace quillbay
