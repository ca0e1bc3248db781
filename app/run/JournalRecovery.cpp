#include "run/JournalRecovery.h"

#include "run/FileRenamer.h"
#include "run/ItemIdentity.h"
#include "run/ReportStore.h"
#include "run/RunJournal.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace quillbay {

namespace {

// The fields of one line; a folder field that stands for the folder of the
// entry before is replaced by that folder.
std::vector<std::string> splitFields(const char *begin, const char *end, std::string &lastFolder)
{
    std::vector<std::string> fields;
    const char *start = begin;
    const size_t sameLength = std::strlen(kSameFolderField);
    for (const char *p = begin; p <= end; ++p) {
        if (p == end || *p == '\t') {
            const bool folderField = fields.size() == 3 && fields[0] == "B";
            if (folderField && size_t(p - start) == sameLength && std::memcmp(start, kSameFolderField, sameLength) == 0)
                fields.push_back(lastFolder);
            else
                fields.push_back(unescapeJournalField(start, p));
            if (folderField)
                lastFolder = fields.back();
            start = p + 1;
        }
    }
    return fields;
}

// The entry being read and what its lines said about it.
struct PendingEntry {
    pugi::xml_node element;
    std::string temporary;
    bool settled = false;
};

void settleFromDisk(PendingEntry &entry)
{
    if (!entry.element || entry.settled)
        return;
    int err = 0;
    const int dirFd = FileRenamer::openFolder(QByteArray(entry.element.attribute("folder").value()), &err);
    bool renamedTo = false;
    bool toTemporary = false;
    if (dirFd >= 0) {
        // Spelled exactly: on a file system that ignores case, a check by name
        // would find a file under either spelling.
        const bool oldThere = FileRenamer::listsExactName(dirFd, entry.element.attribute("name").value());
        if (!oldThere) {
            renamedTo = FileRenamer::listsExactName(dirFd, entry.element.attribute("newName").value());
            toTemporary =
                !renamedTo && !entry.temporary.empty() && FileRenamer::listsExactName(dirFd, entry.temporary.c_str());
        }
        ::close(dirFd);
    }
    if (toTemporary)
        entry.element.attribute("newName").set_value(entry.temporary.c_str());
    if (renamedTo || toTemporary)
        entry.element.append_attribute("renamed").set_value("yes");
    else
        entry.element.parent().remove_child(entry.element);
    entry.settled = true;
}

void readEntryLine(const std::vector<std::string> &f, PendingEntry &entry, pugi::xml_node root)
{
    const std::string &tag = f[0];
    if (tag == "B" && f.size() >= 7) {
        settleFromDisk(entry);
        entry = PendingEntry{};
        entry.element = root.append_child(f[1] == "folder" ? "folder" : "file");
        entry.element.append_attribute("name").set_value(f[4].c_str());
        entry.element.append_attribute("newName").set_value(f[5].c_str());
        entry.element.append_attribute("folder").set_value(f[3].c_str());
        entry.element.append_attribute("id").set_value(f[2].c_str());
        if (!f[6].empty())
            entry.element.append_attribute("include").set_value(f[6].c_str());
        return;
    }
    if (!entry.element)
        return;
    if (tag == "T" && f.size() >= 2) {
        entry.temporary = f[1];
    } else if (tag == "R") {
        entry.element.append_attribute("renamed").set_value("yes");
        if (f.size() >= 6)
            if (const std::optional<ItemIdentity> identity =
                    ItemIdentity::fromJournalFields(f[1], f[2], f[3], f[4], f[5]))
                identity->appendTo(entry.element);
        entry.settled = true;
    } else if (tag == "S" && f.size() >= 2) {
        // Left under the temporary name: recorded so that undo brings it back.
        entry.element.attribute("newName").set_value(f[1].c_str());
        entry.element.append_attribute("renamed").set_value("yes");
    } else if (tag == "E" && f.size() >= 3) {
        entry.element.append_attribute("error").set_value(f[2].c_str());
        entry.settled = true;
    }
}

} // namespace

bool JournalRecovery::buildReport(const QByteArray &content, PreviewDocument &report, QDateTime &start)
{
    const char *p = content.constData();
    const char *end = p + qstrnlen(p, size_t(content.size()));
    bool headerSeen = false;
    std::string lastFolder;
    PendingEntry entry;
    while (p < end) {
        const char *lineEnd = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!lineEnd)
            break; // a line cut short by the end of the process carries nothing
        const std::vector<std::string> f = splitFields(p, lineEnd, lastFolder);
        p = lineEnd + 1;
        if (!headerSeen) {
            if (f.size() < 3 || f[0] != "QBJ1")
                return false;
            headerSeen = true;
            report.NewPreviewDocument(QString::fromStdString(f[1]));
            start = QDateTime::fromString(QString::fromStdString(f[2]), Qt::ISODate);
            if (!start.isValid())
                start = QDateTime::currentDateTime();
            continue;
        }
        readEntryLine(f, entry, report.root());
    }
    settleFromDisk(entry);
    report.entriesChanged();
    return headerSeen;
}

QList<JournalRecovery::Outcome> JournalRecovery::recoverAll(const QString &reportFolder)
{
    QList<Outcome> outcomes;
    const QStringList journals =
        QDir(reportFolder).entryList({QStringLiteral("*") + RunJournal::fileSuffix()}, QDir::Files | QDir::Hidden);
    for (const QString &name : journals) {
        Outcome o;
        o.journalPath = QDir(reportFolder).filePath(name);
        const QByteArray path = QFile::encodeName(o.journalPath);
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A journal that another program holds belongs to a run still going.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        QFile file;
        QByteArray content;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            content = file.readAll();
        PreviewDocument report;
        QDateTime start;
        const auto deleteJournal = [&]() -> Result<QString> {
            if (::unlink(path.constData()) != 0)
                return Error::fromErrno(errno);
            return QString();
        };
        if (qstrnlen(content.constData(), size_t(content.size())) == 0) {
            // A run that ended before writing anything: nothing to report.
            o.report = deleteJournal();
        } else if (!buildReport(content, report, start)) {
            o.report = Error::fromText(930, UiText::LoadText(930));
        } else if (report.entryCount() == 0) {
            o.report = deleteJournal();
        } else {
            XmlTools::setAttribute(report.root(), "date", ReportStore::dateText(start));
            o.report = ReportStore::saveNew(reportFolder, ReportStore::fileStem(start), QStringLiteral(".xml"),
                                            XmlTools::serialize(report.document(), report.prologue()));
            if (o.report)
                ::unlink(path.constData());
        }
        ::close(fd);
        outcomes.append(o);
    }
    ReportStore::removeAbandonedSaves(reportFolder);
    return outcomes;
}

} // namespace quillbay
