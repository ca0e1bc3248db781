#include "EngineJobs.h"

#include "ExternalJobs.h"

#include "engine/Manager.h"
#include "run/RenameExecutor.h"
#include "run/Undo.h"
#include "settings/XmlTools.h"

#include <QFile>
#include <QHash>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillbay;

namespace bench {

namespace {

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

// One line of /proc/self/status in bytes ("VmRSS", "VmHWM").
long long statusBytes(const char *key)
{
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long long kib = -1;
    const size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
            kib = std::atoll(line + keyLength + 1);
            break;
        }
    }
    std::fclose(f);
    return kib < 0 ? -1 : kib * 1024;
}

// Lets the next VmHWM reading show the peak from now on.
bool resetPeakRss()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, "5", 1) == 1;
    ::close(fd);
    return ok;
}

std::string checkPreview(Manager &manager, const Result<PreviewSummary> &built)
{
    if (!built)
        return "criteria: " + built.error().message.toStdString();
    const PreviewSummary &result = built.value();
    if (result.ruleFailures > 0)
        return "rule failures: " + result.firstRuleError.toStdString();
    if (result.invalidCount > 0)
        return std::to_string(result.invalidCount) + " invalid new names";
    if (!result.skippedFolders.isEmpty())
        return "skipped folders";
    if (manager.preview().entryCount() == 0)
        return "empty preview";
    return {};
}

bool loadJob(Manager &manager, Job job, const std::string &root, Layout layout)
{
    return manager.settings().loadText(settingsText(job, root, layout)) && manager.CheckPreviewPreconditions().met();
}

// Empties the report folder so that every run finds it alike (the run looks
// through it for journals of interrupted runs).
void clearFolder(const std::string &folder)
{
    removeTree(folder);
    ::mkdir(folder.c_str(), 0755);
}

} // namespace

QString settingsText(Job job, const std::string &root, Layout layout)
{
    const QString depth = layout == Layout::Flat ? QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"0\"")
                                                 : QStringLiteral("childFolders=\"all\" subFoldersDepth=\"0\"");
    const QString criteria = job == Job::WithDate
        ? QStringLiteral("<fileToBeChanged dateModified=\"True\" days=\"1\"/>")
        : QStringLiteral("<fileToBeChanged/>");
    const QString date = job == Job::WithDate
        ? QStringLiteral("<rule type=\"date\" option=\"short date 2\" position=\"after\"/>")
        : QString();
    return QStringLiteral(
               "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"Bench\">"
               "<setting name=\"Bench\"><folders %1><folder path=\"%2\"/></folders>%3"
               "<newNameRules>"
               "<rule type=\"regexpBase\" pattern=\"\\s+\" replace=\"_\" global=\"true\" ignoreCase=\"true\"/>"
               "<rule type=\"add\" text=\"%4\" position=\"before\"/>%5"
               "<rule type=\"numbering\" start=\"1\" column=\"6\" prefix=\"_\" position=\"after\"/>"
               "</newNameRules><newFolderNameRules/></setting></settings>")
        .arg(depth, qs(root).toHtmlEscaped(), criteria, QString::fromLatin1(newNamePrefix()), date);
}

bool writeSettingsFile(const std::string &path, Job job, const std::string &root, Layout layout)
{
    QFile file(QString::fromStdString(path));
    const QByteArray bytes = settingsText(job, root, layout).toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

PreviewTiming timePreview(Job job, const EngineContext &context, Layout layout)
{
    PreviewTiming timing;
    Manager manager;
    if (!loadJob(manager, job, context.treeRoot, layout)) {
        timing.failure = "settings or preconditions";
        return timing;
    }
    Stopwatch watch;
    const Result<PreviewSummary> result = manager.BuildPreview();
    timing.sample = watch.elapsed();
    timing.failure = checkPreview(manager, result);
    timing.entries = manager.preview().entryCount();
    return timing;
}

std::optional<RenameList> basicRenames(const EngineContext &context, Layout layout, std::string *failure)
{
    Manager manager;
    if (!loadJob(manager, Job::Basic, context.treeRoot, layout)) {
        *failure = "settings or preconditions";
        return std::nullopt;
    }
    *failure = checkPreview(manager, manager.BuildPreview());
    if (!failure->empty())
        return std::nullopt;
    RenameList list;
    QHash<QByteArray, int> folderIndex;
    for (pugi::xml_node e = manager.preview().root().first_child(); e; e = e.next_sibling()) {
        const QByteArray folder(e.attribute("folder").value());
        auto it = folderIndex.find(folder);
        if (it == folderIndex.end()) {
            it = folderIndex.insert(folder, int(list.folders.size()));
            list.folders.push_back(folder.toStdString());
        }
        list.pairs.push_back(RenamePair{*it, e.attribute("name").value(), e.attribute("newName").value()});
    }
    return list;
}

ChainTiming timeRunChain(const EngineContext &context, Layout layout, int expectedFiles)
{
    ChainTiming timing;
    clearFolder(context.reportFolder);
    Manager manager;
    if (!loadJob(manager, Job::Basic, context.treeRoot, layout)) {
        timing.failure = "settings or preconditions";
        return timing;
    }
    timing.failure = checkPreview(manager, manager.BuildPreview());
    if (!timing.failure.empty())
        return timing;
    timing.entries = manager.preview().entryCount();

    RenameExecutor executor(ReportFolders::forReportFolder(qs(context.reportFolder)));
    Stopwatch watch;
    const Result<ExecutionSummary> run = executor.ExecuteRenameList(manager.preview());
    timing.run = watch.elapsed();
    if (!run) {
        timing.failure = "run: " + run.error().message.toStdString();
        return timing;
    }
    if (!run->allSucceeded || !run->report || run->attempted != timing.entries) {
        timing.failure =
            "run: " + std::to_string(run->failed) + " failed, report " + (run->report ? "saved" : "not saved");
        return timing;
    }
    if (countFilesWithPrefix(context.treeRoot, newNamePrefix()) != expectedFiles) {
        timing.failure = "run: the tree does not hold the new names";
        return timing;
    }

    PreviewDocument undo;
    watch.restart();
    const bool undone = Undo::UndoFromReport(run->report.value(), undo, QStringLiteral("En")).ok();
    timing.undoPreview = watch.elapsed();
    if (!undone || undo.entryCount() != timing.entries) {
        timing.failure = "undo preview";
        return timing;
    }
    watch.restart();
    const Result<ExecutionSummary> back = executor.ExecuteRenameList(undo);
    timing.undoRun = watch.elapsed();
    if (!back)
        timing.failure = "undo run: " + back.error().message.toStdString();
    else if (!back->allSucceeded || back->attempted != timing.entries
             || countFilesWithPrefix(context.treeRoot, newNamePrefix()) != 0)
        timing.failure = "undo run: " + std::to_string(back->failed) + " failed";
    return timing;
}

int memoryChildMain(const QString &settingsFile)
{
    Manager manager;
    if (!manager.settings().loadFile(settingsFile) || !manager.CheckPreviewPreconditions().met())
        return 2;
    const long long rssBefore = statusBytes("VmRSS");
    if (!resetPeakRss() || rssBefore < 0)
        return 3;
    Stopwatch watch;
    const Result<PreviewSummary> result = manager.BuildPreview();
    const double seconds = watch.elapsed().wall;
    const long long peak = statusBytes("VmHWM");
    const long long rssAfter = statusBytes("VmRSS");
    if (!checkPreview(manager, result).empty())
        return 4;
    std::printf("%lld %lld %d %.6f\n", peak - rssBefore, rssAfter - rssBefore, manager.preview().entryCount(), seconds);
    return 0;
}

MemoryChildReport runMemoryChild(const std::string &selfPath, const std::string &settingsFile,
                                 const std::string &workFolder, const std::string &scratchFolder)
{
    const ProcessRun run = runProcess({selfPath, "--memory-child", settingsFile}, workFolder, "", scratchFolder);
    MemoryChildReport r;
    r.exitCode = run.exitCode;
    r.ok = run.exitCode == 0
        && std::sscanf(run.output.c_str(), "%lld %lld %d %lf", &r.peakBytes, &r.retainedBytes, &r.entries, &r.seconds)
            == 4;
    return r;
}

} // namespace bench
