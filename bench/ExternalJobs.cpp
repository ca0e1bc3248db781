#include "ExternalJobs.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

namespace {

std::string readWhole(const std::string &path)
{
    std::string text;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

double seconds(const timeval &tv)
{
    return double(tv.tv_sec) + double(tv.tv_usec) * 1e-6;
}

} // namespace

std::string findProgram(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t colon = dirs.find(':', start);
        const std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return {};
}

ProcessRun runProcess(const std::vector<std::string> &argv, const std::string &cwd, const std::string &stdinFile,
                      const std::string &scratchFolder)
{
    ProcessRun run;
    const std::string outPath = scratchFolder + "/stdout.txt";
    const std::string errPath = scratchFolder + "/stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinFile.empty() ? "/dev/null" : stdinFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int err = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) {
        run.errors = "cannot start " + argv[0];
        return run;
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    run.sample = Sample{wall.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime)};
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = readWhole(outPath);
    run.errors = readWhole(errPath);
    return run;
}

std::vector<std::string> fileRenameCommand(const std::string &program)
{
    // Base name and extension split at the last ".", as the engine splits them.
    const char *expression = "my ($b, $e) = /^(.*)(\\.[^.]*)$/s ? ($1, $2) : ($_, \"\"); "
                             "$b =~ s/\\s+/_/g; $_ = sprintf(\"qb_%s_%06d%s\", $b, ++$::n, $e);";
    return {program, "-0", "-d", "-e", expression};
}

bool writeNameList(const std::string &path, const TreePlan &plan)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    for (const PlannedFile &file : plan.files) {
        const std::string &folder = plan.folders[size_t(file.folder)];
        const std::string relative = folder.empty() ? file.name : folder + "/" + file.name;
        std::fwrite(relative.c_str(), 1, relative.size() + 1, f); // with its terminating NUL
    }
    return std::fclose(f) == 0;
}

std::vector<std::string> mmvCommand(const std::string &program, const TreePlan &plan)
{
    if (plan.fileDepth == 0)
        return {program, "-r", "*", "qb_#1"};
    return {program, "-r", "*/*/*", "qb_#3"};
}

} // namespace bench
