// Benchmark: carrying out 100,000 renames in one folder on tmpfs, report and
// journal included, against a bare loop of no-replace renames of the same
// number of files, measured in the same process. Prints both times and their
// ratio; exits 1 when the run takes more than twice the bare loop. Both the
// wall-clock time and the processor time of the process (user and system) are
// measured; on a machine shared with other work the processor time is the
// steadier of the two, and it is the one judged.
//   bench_run [COUNT] [FOLDER_ON_TMPFS]

#include "run/RenameExecutor.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <string>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <vector>

using namespace quillbay;
using Clock = std::chrono::steady_clock;

struct Cost {
    double wall = 0;
    double cpu = 0;
};

namespace {

std::string fileName(const char *prefix, int i)
{
    return prefix + std::to_string(i) + ".txt";
}

void createFiles(int dirFd, int count)
{
    for (int i = 0; i < count; ++i) {
        const int fd = ::openat(dirFd, fileName("file", i).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

void removeFiles(const QString &folder)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(name);
}

double cpuNow()
{
    timespec ts;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = cpuNow();
    Cost read() const
    {
        return {std::chrono::duration<double, std::milli>(Clock::now() - wall).count(), cpuNow() - cpu};
    }
};

Cost bareLoop(const QString &folder, int count)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    createFiles(dirFd, count);
    std::vector<std::string> from;
    std::vector<std::string> to;
    for (int i = 0; i < count; ++i) {
        from.push_back(fileName("file", i));
        to.push_back(fileName("new", i));
    }
    const Stopwatch watch;
    for (int i = 0; i < count; ++i)
        ::syscall(SYS_renameat2, dirFd, from[size_t(i)].c_str(), dirFd, to[size_t(i)].c_str(), 1);
    const Cost ms = watch.read();
    ::close(dirFd);
    removeFiles(folder);
    return ms;
}

Cost fullRun(const QString &folder, const QString &reportFolder, int count, bool *ok)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    createFiles(dirFd, count);
    ::close(dirFd);
    PreviewDocument preview;
    for (int i = 0; i < count; ++i)
        preview.AddPreviewEntry("file", folder, QString::fromStdString(fileName("file", i)),
                                QString::fromStdString(fileName("new", i)), true);
    RenameExecutor executor(ReportFolders::forReportFolder(reportFolder));
    const Stopwatch watch;
    const Result<ExecutionSummary> result = executor.ExecuteRenameList(preview);
    const Cost ms = watch.read();
    *ok = result && result->allSucceeded && result->report.ok() && result->attempted == count;
    removeFiles(folder);
    removeFiles(reportFolder);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args[1].toInt() : 100000;
    QTemporaryDir root(args.size() > 2 ? args[2] + "/bench-XXXXXX" : QStringLiteral("/dev/shm/bench-XXXXXX"));
    struct statfs fs;
    if (!root.isValid() || ::statfs(QFile::encodeName(root.path()).constData(), &fs) != 0) {
        std::fprintf(stderr, "cannot create the benchmark folder\n");
        return 2;
    }
    if (fs.f_type != TMPFS_MAGIC)
        std::fprintf(stderr, "note: %s is not on tmpfs\n", qPrintable(root.path()));
    const QString files = root.path() + "/files";
    const QString reports = root.path() + "/data/Report";
    QDir().mkpath(files);
    QDir().mkpath(reports);
    Cost bare{1e300, 1e300};
    Cost run{1e300, 1e300};
    bool ok = true;
    // Interleaved, best of five: both see the same state of a shared machine.
    for (int rep = 0; rep < 5; ++rep) {
        const Cost b = bareLoop(files, count);
        bool runOk = false;
        const Cost r = fullRun(files, reports, count, &runOk);
        ok = ok && runOk;
        bare = {std::min(bare.wall, b.wall), std::min(bare.cpu, b.cpu)};
        run = {std::min(run.wall, r.wall), std::min(run.cpu, r.cpu)};
    }
    std::printf("%d renames, best of 5:\n"
                "  bare renameat2 loop:                   wall %7.1f ms, processor %7.1f ms\n"
                "  ExecuteRenameList (journal, report):   wall %7.1f ms, processor %7.1f ms\n"
                "  ratio:                                 wall %7.2f,    processor %7.2f\n",
                count, bare.wall, bare.cpu, run.wall, run.cpu, run.wall / bare.wall, run.cpu / bare.cpu);
    if (!ok) {
        std::fprintf(stderr, "the run did not carry out every entry\n");
        return 2;
    }
    return run.cpu <= 2 * bare.cpu ? 0 : 1;
}
