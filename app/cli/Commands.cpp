#include "cli/Commands.h"

#include "base/Utf8Text.h"
#include "cli/CliSupport.h"
#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/ClearedReason.h"
#include "run/RenameExecutor.h"
#include "run/Undo.h"
#include "settings/XmlTools.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <QDir>
#include <QFileInfo>

namespace quillbay {

namespace {

const QString kSettings = QStringLiteral("--settings");
const QString kSetting = QStringLiteral("--setting");
const QString kOutput = QStringLiteral("--output");
const QString kReportDir = QStringLiteral("--report-dir");
const QString kRun = QStringLiteral("--run");
const QString kForce = QStringLiteral("--force");

constexpr int kUsageHeadingId = 30100;
constexpr int kHelpDescriptionId = 30109;
constexpr int kSettingsNoteId = 30107;
constexpr int kExitStatusNoteId = 30108;
constexpr int kUnexpectedArgumentId = 30113;
constexpr int kReportNotGivenId = 30114;
constexpr int kReportUnreadableId = 30020;
constexpr int kReportCorruptedId = 30037;

// How a subcommand is called and what it does, as the table words them.
struct Synopsis {
    int callId;
    int descriptionId;
};
constexpr Synopsis kPreviewSynopsis{30101, 30104};
constexpr Synopsis kRunSynopsis{30102, 30105};
constexpr Synopsis kUndoSynopsis{30103, 30106};

QString indented(int depth, const QString &text)
{
    return QString(depth, u' ') + text;
}

QString usageLine(const Synopsis &synopsis)
{
    return UiText::LoadText(kUsageHeadingId) + u' ' + UiText::LoadText(synopsis.callId);
}

// "--help" after a subcommand: how it is called and what it does.
int printHelp(const Synopsis &synopsis)
{
    printLine(usageLine(synopsis) + u'\n' + indented(2, UiText::LoadText(synopsis.descriptionId)));
    return ExitOk;
}

// Parses the options of a subcommand, which takes as many positional
// arguments as it names; prints what was wrong, and how the command is called,
// when they do not fit.
Result<ParsedOptions> optionsOf(const QStringList &args, const QStringList &withValue, const QStringList &flags,
                                qsizetype positionals, const Synopsis &synopsis)
{
    Result<ParsedOptions> options = parseOptions(args, withValue, flags);
    if (options && options->positional.size() > positionals) {
        const QString extra = options->positional.at(positionals);
        options = Error::fromText(kUnexpectedArgumentId,
                                  UiText::LoadTextWith(kUnexpectedArgumentId, {QStringLiteral("&argument;"), extra}));
    } else if (options && options->positional.size() < positionals) {
        // Only undo takes a positional argument: its report.
        options = Error::fromText(kReportNotGivenId, UiText::LoadText(kReportNotGivenId));
    }
    if (!options) {
        printError(options.error().message);
        printError(usageLine(synopsis));
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
    // Missing folders are left out of this run only: the settings file is never written.
    const PreviewPreconditions found = manager.CheckPreviewPreconditions();
    for (const QString &note : missingFolderNotes(found))
        printError(note);
    if (const QStringList stopping = stoppingPreconditionTexts(found); !stopping.isEmpty()) {
        for (const QString &text : stopping)
            printError(text);
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
        printError(reasonOf(executed.error()));
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

// "f4: /folder/name" for an entry of a report that lacks an attribute.
QString skippedEntryLine(const ReversalReading::SkippedEntry &skipped)
{
    return UiText::LoadTextWith(30404,
                                {QStringLiteral("&attribute;"), skipped.missingAttribute, QStringLiteral("&entry;"),
                                 skipped.id + QStringLiteral(": ") + skipped.path});
}

// Tells about every entry of a reversal whose check mark the checks cleared;
// with force, checks again those whose item may merely have changed (never a
// refused one). The number of entries left out.
int settleClearedEntries(PreviewDocument &preview, bool force)
{
    int leftOut = 0;
    for (pugi::xml_node e = preview.root().first_child(); e; e = e.next_sibling()) {
        const ClearedReason reason = clearedReasonOf(e);
        if (reason == ClearedReason::None)
            continue;
        const QString path =
            visibleText(QDir(toQString(e.attribute("folder"))).filePath(toQString(e.attribute("name"))).toUtf8());
        const QStringList fields{QStringLiteral("&path;"), path, QStringLiteral("&reason;"),
                                 reversalReasonText(reason)};
        if (reason == ClearedReason::Refused) {
            printError(UiText::LoadTextWith(30402, fields));
            ++leftOut;
        } else if (force) {
            XmlTools::setAttribute(e, "include", QStringLiteral("true"));
            printError(UiText::LoadTextWith(30401, fields));
        } else {
            printError(UiText::LoadTextWith(30400, fields));
            ++leftOut;
        }
    }
    return leftOut;
}

} // namespace

QString usageText()
{
    QStringList lines{UiText::LoadText(kUsageHeadingId)};
    for (const Synopsis &synopsis : {kPreviewSynopsis, kRunSynopsis, kUndoSynopsis}) {
        lines << indented(2, UiText::LoadText(synopsis.callId));
        lines << indented(6, UiText::LoadText(synopsis.descriptionId));
    }
    lines << indented(2, QStringLiteral("quillbay-cli --help")) << indented(6, UiText::LoadText(kHelpDescriptionId));
    lines << UiText::LoadText(kSettingsNoteId) << UiText::LoadText(kExitStatusNoteId);
    return lines.join(u'\n');
}

int previewCommand(const QStringList &args)
{
    if (asksForHelp(args))
        return printHelp(kPreviewSynopsis);
    const Result<ParsedOptions> options = optionsOf(args, {kSettings, kSetting, kOutput}, {}, 0, kPreviewSynopsis);
    if (!options)
        return ExitUsage;
    Manager manager;
    if (const int previewed = previewSelectedSetting(manager, options.value()); previewed != ExitOk)
        return previewed;
    return writePreview(manager.preview(), options->values.value(kOutput, QString()));
}

int runCommand(const QStringList &args)
{
    if (asksForHelp(args))
        return printHelp(kRunSynopsis);
    const Result<ParsedOptions> options = optionsOf(args, {kSettings, kSetting, kReportDir}, {}, 0, kRunSynopsis);
    if (!options)
        return ExitUsage;
    Manager manager;
    if (const int previewed = previewSelectedSetting(manager, options.value()); previewed != ExitOk)
        return previewed;
    return carryOut(manager.preview(), reportFoldersFrom(options.value()));
}

int undoCommand(const QStringList &args)
{
    if (asksForHelp(args))
        return printHelp(kUndoSynopsis);
    const Result<ParsedOptions> options = optionsOf(args, {kReportDir}, {kRun, kForce}, 1, kUndoSynopsis);
    if (!options)
        return ExitUsage;
    const QString reportPath = QFileInfo(options->positional.first()).absoluteFilePath();
    PreviewDocument preview;
    const Result<ReversalReading> read = Undo::readReport(reportPath, preview, UiText::LanguageSuffix());
    if (!read) {
        // A report that cannot be opened says why (a missing one: not found);
        // one that opens but cannot be read as XML is taken for corrupted.
        const Error &error = read.error();
        const QString reason = error.errorNumber != 0 && error.textId == 0 ? systemErrorText(error.errorNumber)
                                                                           : UiText::LoadText(kReportCorruptedId);
        printError(UiText::LoadTextWith(kReportUnreadableId,
                                        {QStringLiteral("&path;"), reportPath, QStringLiteral("&reason;"), reason}));
        return ExitUsage;
    }
    for (const ReversalReading::SkippedEntry &skipped : read->skipped)
        printError(skippedEntryLine(skipped));
    if (preview.entryCount() == 0) {
        printError(UiText::LoadTextWith(30403, {QStringLiteral("&path;"), reportPath}));
        return ExitOk;
    }
    const bool force = options->flags.contains(kForce);
    const int leftOut = settleClearedEntries(preview, force);
    if (!options->flags.contains(kRun)) {
        printDocument(preview.document());
        return ExitOk;
    }
    if (leftOut == preview.entryCount()) {
        printError(UiText::LoadText(30405));
        return ExitSomeFailed;
    }
    const int carried = carryOut(preview, reportFoldersFrom(options.value()));
    return carried == ExitOk && leftOut > 0 ? ExitSomeFailed : carried;
}

} // namespace quillbay
