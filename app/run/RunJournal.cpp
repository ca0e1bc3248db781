#include "run/RunJournal.h"

#include "run/ItemIdentity.h"
#include "run/RenameErrors.h"
#include "run/ReportStore.h"

#include "base/Assert.h"
#include "base/FileIo.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

namespace quillbay {

namespace {

constexpr size_t kInitialSize = size_t(1) << 20;
constexpr unsigned kClockCheckInterval = 64;
constexpr auto kSyncInterval = std::chrono::milliseconds(250);

void syncFolderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray("/");
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void appendJournalField(std::string &line, const char *text)
{
    // Names rarely hold a character to escape: copy the runs between them whole.
    for (const char *p = text;;) {
        const size_t plain = std::strcspn(p, "\\\t\n\r");
        line.append(p, plain);
        p += plain;
        switch (*p) {
        case '\0':
            return;
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        default:
            line += "\\r";
            break;
        }
        ++p;
    }
}

std::string unescapeJournalField(const char *begin, const char *end)
{
    std::string out;
    out.reserve(size_t(end - begin));
    for (const char *p = begin; p < end; ++p) {
        if (*p != '\\' || p + 1 == end) {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += *p;
        }
    }
    return out;
}

RunJournal::~RunJournal()
{
    close();
}

Result<void> RunJournal::create(const QString &folder, const QString &languageSuffix, const QDateTime &start)
{
    const QString stem =
        folder + u'/' + ReportStore::fileStem(start) + QStringLiteral(" run ") + QString::number(::getpid());
    int err = EEXIST;
    for (int n = 1; n < 1000 && err == EEXIST; ++n) {
        const QString candidate = stem + (n > 1 ? u'-' + QString::number(n) : QString()) + fileSuffix();
        m_fd = ::open(QFile::encodeName(candidate).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        err = m_fd < 0 ? errno : 0;
        if (m_fd >= 0)
            m_path = candidate;
    }
    if (m_fd < 0)
        return Error::fromErrno(err);
    // A recovery in another program may have opened the new file already; it
    // lets go at once when it finds no header, and this waits for that.
    ::flock(m_fd, LOCK_EX);
    // Reserve the blocks before mapping them: writing into a mapping whose
    // blocks the file system cannot supply would kill the process.
    if (::posix_fallocate(m_fd, 0, off_t(kInitialSize)) == 0) {
        void *map = ::mmap(nullptr, kInitialSize, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (map != MAP_FAILED) {
            m_map = static_cast<char *>(map);
            m_mapSize = kInitialSize;
        }
    }
    const std::string start8 = start.toString(Qt::ISODate).toStdString();
    const std::string suffix8 = languageSuffix.toStdString();
    const bool ok = record({"QBJ1", suffix8.c_str(), start8.c_str()}) && ::fsync(m_fd) == 0;
    if (!ok) {
        err = errno;
        ::unlink(QFile::encodeName(m_path).constData());
        close();
        return Error::fromErrno(err);
    }
    syncFolderOf(QFile::encodeName(m_path));
    m_lastSync = std::chrono::steady_clock::now();
    return {};
}

bool RunJournal::record(std::initializer_list<const char *> fields, int verbatimField)
{
    m_line.clear();
    int index = 0;
    for (const char *f : fields) {
        if (index > 0)
            m_line += '\t';
        if (index++ == verbatimField)
            m_line += f;
        else
            appendJournalField(m_line, f);
    }
    m_line += '\n';
    return append(m_line);
}

bool RunJournal::reserve(size_t end)
{
    if (end <= m_mapSize)
        return true;
    const size_t newSize = std::max(m_mapSize * 2, end + kInitialSize);
    if (::posix_fallocate(m_fd, 0, off_t(newSize)) != 0)
        return false;
    void *map = ::mremap(m_map, m_mapSize, newSize, MREMAP_MAYMOVE);
    if (map == MAP_FAILED)
        return false;
    m_map = static_cast<char *>(map);
    m_mapSize = newSize;
    return true;
}

bool RunJournal::append(const std::string &line)
{
    // Nothing is recorded before create() succeeded, nor after close().
    QB_ASSERT(m_fd >= 0, return false);
    if (m_map) {
        if (!reserve(m_pos + line.size())) {
            errno = ENOSPC;
            return false;
        }
        std::memcpy(m_map + m_pos, line.data(), line.size());
    } else {
        // No mapping on this file system: one write per record.
        if (const int err = writeAll(m_fd, line.data(), line.size(), std::int64_t(m_pos))) {
            errno = err;
            return false;
        }
    }
    m_pos += line.size();
    syncIfDue();
    return true;
}

void RunJournal::syncIfDue()
{
    if (++m_sinceClockCheck < kClockCheckInterval)
        return;
    m_sinceClockCheck = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastSync >= kSyncInterval)
        sync();
}

void RunJournal::sync()
{
    if (m_fd < 0)
        return;
    // fdatasync writes back the pages dirtied through the mapping as well.
    ::fdatasync(m_fd);
    m_lastSync = std::chrono::steady_clock::now();
}

bool RunJournal::begin(const char *kind, const char *id, const char *folder, const char *name, const char *newName,
                       const char *include)
{
    // Most entries share the folder of the entry before: it is written once.
    if (m_lastFolder == folder)
        return record({"B", kind, id, kSameFolderField, name, newName, include}, 3);
    const bool recorded = record({"B", kind, id, folder, name, newName, include});
    if (recorded)
        m_lastFolder = folder;
    return recorded;
}

bool RunJournal::temporary(const char *name)
{
    return record({"T", name});
}

bool RunJournal::renamed(const ItemIdentity *identity)
{
    if (!identity)
        return append(std::string("R\n"));
    m_line.assign("R\t");
    identity->appendJournalFields(m_line);
    m_line += '\n';
    return append(m_line);
}

bool RunJournal::stranded(const char *temporaryName)
{
    return record({"S", temporaryName});
}

bool RunJournal::failed(const EntryFailure &failure)
{
    const std::string number = std::to_string(failure.number);
    const std::string text = failure.description.toStdString();
    return record({"E", number.c_str(), text.c_str()});
}

void RunJournal::remove()
{
    if (m_fd < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    close();
}

void RunJournal::close()
{
    if (m_map) {
        ::munmap(m_map, m_mapSize);
        m_map = nullptr;
        m_mapSize = 0;
    }
    if (m_fd >= 0) {
        // Whatever stays behind is kept tidy and on disk for the recovery.
        if (::access(QFile::encodeName(m_path).constData(), F_OK) == 0) {
            ::ftruncate(m_fd, off_t(m_pos));
            ::fdatasync(m_fd);
        }
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace quillbay
