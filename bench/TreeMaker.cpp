#include "TreeMaker.h"

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

// splitmix64: small, fast, and the same sequence on every machine.
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t m_state;
};

constexpr std::array<const char *, 24> kWords = {
    "Holiday",  "photo",   "Family", "beach",   "Summer",    "Trip",   "kyoto",    "Paris",
    "Birthday", "party",   "Garden", "Café",    "Übersicht", "Résumé", "naïve",    "写真",
    "東京",     "Wedding", "draft",  "Invoice", "Concert",   "Snow",   "Mountain", "river",
};
constexpr std::array<const char *, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

std::string word(Random &r)
{
    return kWords[size_t(r.below(int(kWords.size())))];
}

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *pattern, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

// k is the file's number in the whole tree and appears in every name, so no
// two names are alike, not even without regard to case.
std::string fileName(Random &r, int k)
{
    switch (r.below(10)) {
    case 0:
        return format("IMG_%04d.JPG", k);
    case 1:
        return format("DSC%05d.jpg", k);
    case 2:
        return word(r) + " " + word(r) + format(" %d.jpeg", k);
    case 3:
        return word(r) + " " + word(r) + " - " + word(r) + format(" (%d).pdf", k);
    case 4:
        return format("Track %02d - ", k % 100) + word(r) + " " + word(r) + format(" %d.mp3", k);
    case 5:
        return format("report Q%d %d final v%d.docx", 1 + r.below(4), 2000 + r.below(25), k);
    case 6:
        return word(r) + "_" + word(r) + format("-%d.tar.gz", k);
    case 7:
        return format("Scan %04d-%02d-%02d %d.PNG", 2000 + r.below(25), 1 + r.below(12), 1 + r.below(28), k);
    case 8:
        return word(r) + word(r) + format(" %d", k);
    default:
        return format("Meeting notes %d.backup.txt", k);
    }
}

int openFolder(int parent, const char *name)
{
    return ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

bool removeContents(int dirFd)
{
    const int fd = ::dup(dirFd);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    bool ok = true;
    while (const dirent *e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        if (::unlinkat(dirFd, e->d_name, 0) == 0)
            continue;
        if (errno != EISDIR) {
            ok = false;
            continue;
        }
        const int child = openFolder(dirFd, e->d_name);
        if (child < 0 || !removeContents(child))
            ok = false;
        if (child >= 0)
            ::close(child);
        if (::unlinkat(dirFd, e->d_name, AT_REMOVEDIR) != 0)
            ok = false;
    }
    ::closedir(dir);
    return ok;
}

long countBelow(int dirFd, const std::string &prefix)
{
    const int fd = ::dup(dirFd);
    DIR *dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    long count = 0;
    while (const dirent *e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        if (e->d_type == DT_DIR) {
            const int child = openFolder(dirFd, e->d_name);
            if (child >= 0) {
                count += countBelow(child, prefix);
                ::close(child);
            }
        } else if (std::strncmp(e->d_name, prefix.c_str(), prefix.size()) == 0) {
            ++count;
        }
    }
    ::closedir(dir);
    return count;
}

} // namespace

const char *layoutName(Layout layout)
{
    return layout == Layout::Flat ? "flat" : "nested";
}

TreePlan planTree(Layout layout, int n)
{
    TreePlan plan;
    plan.layout = layout;
    plan.folders.push_back(std::string());
    Random r(0x5eed0000ULL + uint64_t(n) * 2 + (layout == Layout::Nested ? 1 : 0));
    std::vector<int> leaves;
    if (layout == Layout::Flat) {
        leaves.push_back(0);
    } else {
        // Ten years of a photo archive, a folder per month: 100 leaf folders.
        plan.fileDepth = 2;
        for (int y = 0; y < 10; ++y) {
            const std::string year = format("%d Archive", 2015 + y);
            plan.folders.push_back(year);
            for (int m = 0; m < 10; ++m) {
                leaves.push_back(int(plan.folders.size()));
                plan.folders.push_back(year + "/" + format("%02d %s", m + 1, kMonths[size_t(m)]));
            }
        }
    }
    plan.files.reserve(size_t(n));
    for (int k = 0; k < n; ++k) {
        PlannedFile f;
        f.folder = leaves[size_t(k) % leaves.size()];
        f.name = fileName(r, k);
        f.old = k % 10 == 3;
        plan.files.push_back(std::move(f));
    }
    return plan;
}

bool makeTree(const std::string &root, const TreePlan &plan)
{
    if (::mkdir(root.c_str(), 0755) != 0) {
        std::fprintf(stderr, "cannot create %s: %s\n", root.c_str(), std::strerror(errno));
        return false;
    }
    std::vector<int> fds;
    bool ok = true;
    for (const std::string &folder : plan.folders) {
        const std::string path = folder.empty() ? root : root + "/" + folder;
        if (!folder.empty() && ::mkdir(path.c_str(), 0755) != 0)
            ok = false;
        fds.push_back(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fds.back() < 0)
            ok = false;
    }
    // Files that the date filter must leave out were last changed years ago.
    const struct timespec oldTime[2] = {{1577880000, 0}, {1577880000, 0}};
    for (size_t i = 0; ok && i < plan.files.size(); ++i) {
        const PlannedFile &f = plan.files[i];
        const int dirFd = fds[size_t(f.folder)];
        if (::mknodat(dirFd, f.name.c_str(), S_IFREG | 0644, 0) != 0
            || (f.old && ::utimensat(dirFd, f.name.c_str(), oldTime, AT_SYMLINK_NOFOLLOW) != 0)) {
            std::fprintf(stderr, "cannot create %s: %s\n", f.name.c_str(), std::strerror(errno));
            ok = false;
        }
    }
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
    if (!ok)
        std::fprintf(stderr, "cannot make the tree under %s\n", root.c_str());
    return ok;
}

bool removeTree(const std::string &root)
{
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT;
    const bool ok = removeContents(fd);
    ::close(fd);
    return ok && ::rmdir(root.c_str()) == 0;
}

long countFilesWithPrefix(const std::string &root, const std::string &prefix)
{
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const long count = countBelow(fd, prefix);
    ::close(fd);
    return count;
}

} // namespace bench
