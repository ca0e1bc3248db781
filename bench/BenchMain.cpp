// quillbay-bench: measures the preview, the rename run and the undo of our
// engine, and our command-line tool, against what the system itself needs for
// the same work (a bare readdir+lstat walk, a bare loop of no-replace renames)
// and against the renamers it already has. See bench/README.md.

#include "EngineJobs.h"
#include "Growth.h"
#include "Report.h"
#include "Runner.h"
#include "TreeMaker.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#ifndef QUILLBAY_CLI_PATH
#define QUILLBAY_CLI_PATH "quillbay-cli"
#endif

using namespace bench;

namespace {

const char usage[] =
    "Usage: quillbay-bench [--dir FOLDER] [--sizes N,N,...] [--huge] [--runs K] [--layout flat|nested|both]\n"
    "                      [--cli PATH]\n"
    "  --dir     folder in which the benchmark makes its own working folder\n"
    "            (default /dev/shm when it exists, else /tmp)\n"
    "  --sizes   numbers of files (default 10000,100000)\n"
    "  --huge    also 1000000 files\n"
    "  --runs    runs per measurement (default 5; 3 for sizes above 10000)\n"
    "  --layout  which trees (default both)\n"
    "  --cli     the quillbay-cli to measure (default: the one built beside this program)\n"
    "  --only    groups of lines besides the floors, comma-separated: preview, previewDate,\n"
    "            memory, run, cli, file-rename, mmv (default: all)\n"
    "  --locale  the locale to sort names in, e.g. en_US.UTF-8 (default: LANG as it is)\n"
    "  --make-tree FOLDER  only make the tree of the first size and layout in FOLDER and write\n"
    "            FOLDER.xml, the settings of the basic job for it (for profiling)\n"
    "  --growth  only the growth of the preview's cost per file from the first size to the\n"
    "            last (default 100000 to 1000000), their runs taken in turn\n";

struct Options {
    std::string dir;
    std::vector<int> sizes{10000, 100000};
    int runs = 0;
    bool flat = true;
    bool nested = true;
    std::string cli = QUILLBAY_CLI_PATH;
    std::string makeTree; // only make a tree there
    bool growth = false;
    bool sizesGiven = false;
    std::set<std::string> groups;
};

bool isFolder(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool parse(const QStringList &args, Options &o)
{
    o.dir = isFolder("/dev/shm") ? "/dev/shm" : "/tmp";
    bool huge = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--huge")) {
            huge = true;
        } else if (a == QLatin1String("--growth")) {
            o.growth = true;
        } else if (a == QLatin1String("--dir") && hasValue) {
            o.dir = args[++i].toStdString();
        } else if (a == QLatin1String("--only") && hasValue) {
            for (const QString &g : args[++i].split(u',', Qt::SkipEmptyParts))
                o.groups.insert(g.toStdString());
        } else if (a == QLatin1String("--locale") && hasValue) {
            ++i; // taken before the application object exists
        } else if (a == QLatin1String("--make-tree") && hasValue) {
            o.makeTree = args[++i].toStdString();
        } else if (a == QLatin1String("--cli") && hasValue) {
            o.cli = args[++i].toStdString();
        } else if (a == QLatin1String("--runs") && hasValue) {
            o.runs = args[++i].toInt();
            if (o.runs < 1)
                return false;
        } else if (a == QLatin1String("--layout") && hasValue) {
            const QString l = args[++i];
            o.flat = l == QLatin1String("flat") || l == QLatin1String("both");
            o.nested = l == QLatin1String("nested") || l == QLatin1String("both");
            if (!o.flat && !o.nested)
                return false;
        } else if (a == QLatin1String("--sizes") && hasValue) {
            o.sizesGiven = true;
            o.sizes.clear();
            for (const QString &s : args[++i].split(u',', Qt::SkipEmptyParts)) {
                bool ok = false;
                const int n = s.toInt(&ok);
                if (!ok || n < 1)
                    return false;
                o.sizes.push_back(n);
            }
        } else {
            return false;
        }
    }
    if (huge)
        o.sizes.push_back(1000000);
    return !o.sizes.empty();
}

// Makes one tree and the settings file of the basic job for it, and stops:
// a profiler can then run "quillbay-cli preview" or "run" on them.
int makeTreeOnly(const Options &options)
{
    const Layout layout = options.flat ? Layout::Flat : Layout::Nested;
    if (!makeTree(options.makeTree, planTree(layout, options.sizes.front())))
        return 1;
    return writeSettingsFile(options.makeTree + ".xml", Job::Basic, options.makeTree, layout) ? 0 : 1;
}

// The locale decides how names are sorted (a collator for a language, folded
// names for C), so it must be set before Qt reads it; children inherit it.
void takeLocale(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--locale") == 0) {
            ::setenv("LANG", argv[i + 1], 1);
            ::unsetenv("LC_ALL");
            ::unsetenv("LC_COLLATE");
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    takeLocale(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--memory-child"))
        return memoryChildMain(args[1]);

    Options options;
    if (!parse(args, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (!options.makeTree.empty())
        return makeTreeOnly(options);
    if (::access(options.cli.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "quillbay-cli not found at %s (give it with --cli)\n", options.cli.c_str());
        return 2;
    }
    // A working folder of our own: the benchmark never touches anything else.
    std::string work = options.dir + "/quillbay-bench.XXXXXX";
    if (!::mkdtemp(work.data())) {
        std::fprintf(stderr, "cannot create a working folder in %s\n", options.dir.c_str());
        return 2;
    }
    if (options.growth) {
        const bool defaults = !options.sizesGiven || options.sizes.size() < 2;
        const int status =
            measureGrowth(work, QCoreApplication::applicationFilePath().toStdString(),
                          options.flat ? Layout::Flat : Layout::Nested, defaults ? 100000 : options.sizes.front(),
                          defaults ? 1000000 : options.sizes.back(), options.runs > 0 ? options.runs : 3);
        removeTree(work);
        return status;
    }

    RunnerOptions runner;
    runner.workFolder = work;
    runner.cliPath = options.cli;
    runner.selfPath = QCoreApplication::applicationFilePath().toStdString();
    runner.groups = options.groups;
    std::fprintf(stderr, "working in %s\n", work.c_str());

    std::vector<TreeResult> trees;
    for (Layout layout : {Layout::Flat, Layout::Nested}) {
        if ((layout == Layout::Flat && !options.flat) || (layout == Layout::Nested && !options.nested))
            continue;
        for (int n : options.sizes) {
            runner.runs = options.runs > 0 ? options.runs : (n > 10000 ? 3 : 5);
            trees.push_back(measureTree(runner, layout, n));
        }
    }
    removeTree(work);

    std::printf("quillbay-bench in %s, locale %s (names sorted %s)\n", options.dir.c_str(),
                qPrintable(QLocale().name()),
                QLocale().language() == QLocale::C ? "by folded UTF-16" : "by the locale's collator");
    std::vector<Verdict> verdicts;
    for (const TreeResult &t : trees) {
        const std::vector<Verdict> v = printTree(t);
        verdicts.insert(verdicts.end(), v.begin(), v.end());
    }
    const std::vector<Verdict> g = printGrowth(trees);
    verdicts.insert(verdicts.end(), g.begin(), g.end());
    printVerdicts(verdicts);
    return 0;
}
