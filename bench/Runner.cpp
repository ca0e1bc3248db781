#include "Runner.h"

#include "EngineJobs.h"
#include "ExternalJobs.h"
#include "Floors.h"

#include <cstdio>
#include <sstream>
#include <sys/stat.h>

namespace bench {

namespace {

void progress(const std::string &text)
{
    std::fprintf(stderr, "  %s\n", text.c_str());
}

std::string lastLine(const std::string &text)
{
    std::istringstream in(text);
    std::string line;
    std::string last;
    while (std::getline(in, line))
        if (!line.empty())
            last = line;
    return last;
}

std::string firstLine(const std::string &text)
{
    return text.substr(0, text.find('\n'));
}

class TreeBench
{
public:
    TreeBench(const RunnerOptions &options, Layout layout, int files)
        : m_options(options), m_layout(layout), m_files(files), m_plan(planTree(layout, files)),
          m_tree(options.workFolder + "/tree"), m_reports(options.workFolder + "/reports/Report"),
          m_scratch(options.workFolder + "/scratch")
    {
        ::mkdir((options.workFolder + "/reports").c_str(), 0755);
        ::mkdir(m_scratch.c_str(), 0755);
        m_context = EngineContext{m_tree, m_reports};
    }

    TreeResult measure();

private:
    bool freshTree(Series &series)
    {
        removeTree(m_tree);
        if (makeTree(m_tree, m_plan))
            return true;
        series.failure = "cannot make the tree";
        return false;
    }
    long prefixed() const { return countFilesWithPrefix(m_tree, newNamePrefix()); }
    bool wanted(const std::string &group) const
    {
        return m_options.groups.empty() || m_options.groups.count(group) > 0;
    }

    Row walkRow();
    Row renameFloorRow(const RenameList &renames);
    Row previewRow(Job job);
    Row memoryRow();
    void chainRows(std::vector<Row> &rows);
    void cliRows(std::vector<Row> &rows);
    Row toolRow(const std::string &key, const std::string &label, const std::string &program);

    const RunnerOptions &m_options;
    Layout m_layout;
    int m_files;
    TreePlan m_plan;
    std::string m_tree;
    std::string m_reports;
    std::string m_scratch;
    EngineContext m_context;
};

Row TreeBench::walkRow()
{
    Row row{"walk", "floor: readdir+lstat walk", {}, "", 0};
    progress(row.label);
    if (!freshTree(row.series))
        return row;
    const long expected = long(m_files) + long(m_plan.folders.size()) - 1;
    for (int i = 0; i < m_options.runs && row.series.failure.empty(); ++i) {
        Stopwatch watch;
        const long seen = walkFloor(m_tree);
        row.series.samples.push_back(watch.elapsed());
        if (seen != expected)
            row.series.failure = "saw " + std::to_string(seen) + " entries";
    }
    return row;
}

Row TreeBench::renameFloorRow(const RenameList &renames)
{
    Row row{"renames", "floor: renameat2 loop", {}, "", 0};
    progress(row.label);
    for (int i = 0; i < m_options.runs && row.series.failure.empty(); ++i) {
        if (!freshTree(row.series))
            break;
        Stopwatch watch;
        const long failed = renameFloor(renames);
        row.series.samples.push_back(watch.elapsed());
        if (failed != 0 || prefixed() != m_files)
            row.series.failure = std::to_string(failed) + " renames failed";
    }
    return row;
}

Row TreeBench::previewRow(Job job)
{
    Row row = job == Job::Basic ? Row{"preview", "preview: add+numbering+regexpBase", {}, "walk", 2.0}
                                : Row{"previewDate", "preview: + date rule + date filter", {}, "walk", 0};
    row.ours = true;
    progress(row.label);
    if (!freshTree(row.series))
        return row;
    for (int i = 0; i < m_options.runs && row.series.failure.empty(); ++i) {
        const PreviewTiming t = timePreview(job, m_context, m_layout);
        row.series.samples.push_back(t.sample);
        row.series.failure = t.failure;
        row.entries = t.entries;
    }
    if (row.series.failure.empty())
        row.series.note = std::to_string(row.entries) + " entries";
    return row;
}

Row TreeBench::memoryRow()
{
    Row row{"memory", "memory: preview (basic job)", {}, "", 0};
    row.memory = true;
    progress(row.label);
    if (!freshTree(row.series))
        return row;
    const std::string settings = m_scratch + "/memory-settings.xml";
    if (!writeSettingsFile(settings, Job::Basic, m_tree, m_layout)) {
        row.series.failure = "cannot write the settings file";
        return row;
    }
    const MemoryChildReport child = runMemoryChild(m_options.selfPath, settings, m_options.workFolder, m_scratch);
    if (!child.ok) {
        row.series.failure = "the measuring child failed (exit " + std::to_string(child.exitCode) + ")";
        return row;
    }
    row.peakBytes = double(child.peakBytes);
    row.retainedBytes = double(child.retainedBytes);
    row.entries = child.entries;
    return row;
}

void TreeBench::chainRows(std::vector<Row> &rows)
{
    Row run{"run", "run: renames+journal+report", {}, "renames", 1.5};
    Row undoPreview{"undoPreview", "undo preview from the report", {}, "walk", 0};
    Row undoRun{"undoRun", "undo run: renames+journal+report", {}, "renames", 0};
    run.ours = undoPreview.ours = undoRun.ours = true;
    progress("run, undo preview, undo run");
    for (int i = 0; i < m_options.runs && run.series.failure.empty(); ++i) {
        if (!freshTree(run.series))
            break;
        const ChainTiming t = timeRunChain(m_context, m_layout, m_files);
        run.series.failure = t.failure;
        run.series.samples.push_back(t.run);
        undoPreview.series.samples.push_back(t.undoPreview);
        undoRun.series.samples.push_back(t.undoRun);
    }
    undoPreview.series.failure = undoRun.series.failure = run.series.failure;
    rows.push_back(run);
    rows.push_back(undoPreview);
    rows.push_back(undoRun);
}

void TreeBench::cliRows(std::vector<Row> &rows)
{
    Row run{"cliRun", "quillbay-cli run, end to end", {}, "file-rename", 1.0};
    Row undo{"cliUndo", "quillbay-cli undo --run, end to end", {}, "renames", 0};
    run.ours = undo.ours = true;
    progress(run.label);
    const std::string settings = m_scratch + "/cli-settings.xml";
    if (!writeSettingsFile(settings, Job::Basic, m_tree, m_layout))
        run.series.failure = undo.series.failure = "cannot write the settings file";
    for (int i = 0; i < m_options.runs && run.series.failure.empty() && undo.series.failure.empty(); ++i) {
        if (!freshTree(run.series))
            break;
        removeTree(m_reports);
        const ProcessRun r = runProcess({m_options.cliPath, "run", "--settings", settings, "--report-dir", m_reports},
                                        m_options.workFolder, "", m_scratch);
        run.series.samples.push_back(r.sample);
        if (r.exitCode != 0 || prefixed() != m_files) {
            run.series.failure = "exit " + std::to_string(r.exitCode) + ": " + firstLine(r.errors);
            break;
        }
        const ProcessRun u =
            runProcess({m_options.cliPath, "undo", lastLine(r.output), "--report-dir", m_reports, "--run"},
                       m_options.workFolder, "", m_scratch);
        undo.series.samples.push_back(u.sample);
        if (u.exitCode != 0 || prefixed() != 0)
            undo.series.failure = "exit " + std::to_string(u.exitCode) + ": " + firstLine(u.errors);
    }
    rows.push_back(run);
    rows.push_back(undo);
}

Row TreeBench::toolRow(const std::string &key, const std::string &label, const std::string &program)
{
    Row row{key, label, {}, "renames", 0};
    const std::string path = findProgram(program);
    if (path.empty()) {
        row.series.skipped = true;
        row.series.note = program + " is not installed";
        return row;
    }
    progress(row.label);
    const bool perl = key == "file-rename";
    const std::string names = m_scratch + "/names.txt";
    if (perl && !writeNameList(names, m_plan)) {
        row.series.failure = "cannot write the list of names";
        return row;
    }
    const std::vector<std::string> command = perl ? fileRenameCommand(path) : mmvCommand(path, m_plan);
    for (int i = 0; i < m_options.runs && row.series.failure.empty(); ++i) {
        if (!freshTree(row.series))
            break;
        const ProcessRun r = runProcess(command, m_tree, perl ? names : std::string(), m_scratch);
        row.series.samples.push_back(r.sample);
        if (r.exitCode != 0 || prefixed() != m_files)
            row.series.failure = "exit " + std::to_string(r.exitCode) + ", " + std::to_string(prefixed())
                + " renamed: " + firstLine(r.errors);
    }
    if (!perl)
        row.series.note = "adds the prefix only: mmv cannot number or use regular expressions";
    return row;
}

TreeResult TreeBench::measure()
{
    TreeResult result;
    result.layout = m_layout;
    result.files = m_files;
    std::fprintf(stderr, "%s, %d files\n", layoutName(m_layout), m_files);
    result.rows.push_back(walkRow());

    Row renames{"renames", "floor: renameat2 loop", {}, "", 0};
    std::string failure;
    if (freshTree(renames.series)) {
        const std::optional<RenameList> list = basicRenames(m_context, m_layout, &failure);
        if (list)
            renames = renameFloorRow(*list);
        else
            renames.series.failure = "no renames to carry out: " + failure;
    }
    result.rows.push_back(renames);

    if (wanted("preview"))
        result.rows.push_back(previewRow(Job::Basic));
    if (wanted("previewDate"))
        result.rows.push_back(previewRow(Job::WithDate));
    if (wanted("memory"))
        result.rows.push_back(memoryRow());
    if (wanted("run"))
        chainRows(result.rows);
    if (wanted("cli"))
        cliRows(result.rows);
    if (wanted("file-rename") || wanted("cli"))
        result.rows.push_back(toolRow("file-rename", "perl file-rename (same job)", "file-rename"));
    if (wanted("mmv"))
        result.rows.push_back(toolRow("mmv", "mmv (prefix only)", "mmv"));
    removeTree(m_tree);
    return result;
}

} // namespace

TreeResult measureTree(const RunnerOptions &options, Layout layout, int files)
{
    TreeBench bench(options, layout, files);
    return bench.measure();
}

} // namespace bench
