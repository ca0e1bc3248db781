#include "run/RenameExecutor.h"

#include "run/EntryRenamer.h"
#include "run/ReportStore.h"
#include "run/RunJournal.h"
#include "settings/XmlTools.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <strings.h>
#include <utility>

namespace quillbay {

namespace {

std::atomic<bool> g_renaming{false};

class RenamingFlag
{
public:
    RenamingFlag() { g_renaming = true; }
    ~RenamingFlag() { g_renaming = false; }
    RenamingFlag(const RenamingFlag &) = delete;
    RenamingFlag &operator=(const RenamingFlag &) = delete;
};

// The attributes of an entry that a run reads or replaces, found in one pass
// over the entry (the first of each name, as pugixml's look-up finds it).
struct EntryFields {
    pugi::xml_attribute folder, name, newName, id, include, renamed, error;
    bool identity = false; // the entry carries identity attributes (of an earlier run)
};

EntryFields fieldsOf(pugi::xml_node entry)
{
    EntryFields f;
    const std::pair<const char *, pugi::xml_attribute *> wanted[] = {
        {"name", &f.name},       {"newName", &f.newName}, {"folder", &f.folder}, {"id", &f.id},
        {"include", &f.include}, {"renamed", &f.renamed}, {"error", &f.error},
    };
    for (pugi::xml_attribute a = entry.first_attribute(); a; a = a.next_attribute()) {
        bool known = false;
        for (const auto &[attributeName, slot] : wanted) {
            if (!*slot && std::strcmp(a.name(), attributeName) == 0) {
                *slot = a;
                known = true;
                break;
            }
        }
        if (!known && !f.identity)
            f.identity = isIdentityAttribute(a.name());
    }
    return f;
}

bool isEntry(pugi::xml_node node)
{
    return node.type() == pugi::node_element
        && (std::strcmp(node.name(), "file") == 0 || std::strcmp(node.name(), "folder") == 0);
}

void setOutcome(pugi::xml_node entry, const EntryOutcome &outcome)
{
    if (!outcome.strandedAt.isEmpty())
        entry.attribute("newName").set_value(outcome.strandedAt.constData());
    if (outcome.renamed || !outcome.strandedAt.isEmpty())
        entry.append_attribute("renamed").set_value("yes");
    if (outcome.failure)
        entry.append_attribute("error").set_value(outcome.failure->description.toUtf8().constData());
    if (outcome.identity && (outcome.renamed || !outcome.strandedAt.isEmpty()))
        outcome.identity->appendTo(entry);
}

} // namespace

RenameExecutor::RenameExecutor(ReportFolders folders, MessageSink messages)
    : m_folders(std::move(folders)), m_messages(std::move(messages)),
      m_clock([] { return QDateTime::currentDateTime(); })
{
}

bool RenameExecutor::renamingInProgress()
{
    return g_renaming;
}

bool RenameExecutor::isIncluded(pugi::xml_node entry)
{
    return includedBy(entry.attribute("include"));
}

bool RenameExecutor::includedBy(pugi::xml_attribute include)
{
    if (!include)
        return true;
    const char *v = include.value();
    if (::strcasecmp(v, "true") == 0)
        return true;
    if (::strcasecmp(v, "false") == 0)
        return false;
    return parseFlag(QString::fromUtf8(v)).value_or(true);
}

Result<ExecutionSummary> RenameExecutor::ExecuteRenameList(PreviewDocument &document)
{
    RenamingFlag flag;
    ReportFolderKeeper keeper(m_folders, m_messages);
    keeper.PrepareReportFolder();
    m_recovered = JournalRecovery::recoverAll(m_folders.reportFolder);

    RunJournal journal;
    if (const Result<void> created = journal.create(m_folders.reportFolder, document.languageSuffix(), m_clock());
        !created) {
        // Without a record, a run that is cut short could not be reversed.
        const int err = created.error().errorNumber;
        const int textId = err == ENOSPC || err == EDQUOT ? 442 : 460;
        return Error{err, textId, UiText::LoadText(textId) + QStringLiteral(" (") + reasonOf(created.error()) + u')'};
    }
    ExecutionSummary summary;
    runEntries(document, journal, summary);
    journal.sync();

    summary.runTime = m_clock();
    XmlTools::setAttribute(document.root(), "date", ReportStore::dateText(summary.runTime));
    keeper.PrepareReportFolder();
    summary.report = ReportStore::saveNew(
        m_folders.reportFolder, ReportStore::fileStem(summary.runTime), QStringLiteral(".xml"),
        [&document](int fd) { return XmlTools::serializeToFile(document.document(), document.prologue(), fd); });
    if (summary.report) {
        m_lastReportPath = summary.report.value();
        journal.remove();
    } else {
        // The journal stays and becomes the report at the next run or start.
        journal.close();
    }
    summary.allSucceeded = summary.failed == 0;
    return summary;
}

void RenameExecutor::runEntries(PreviewDocument &document, RunJournal &journal, ExecutionSummary &result)
{
    FolderCursor cursor;
    EntryRenamer renamer(cursor, journal);
    pugi::xml_node root = document.root();
    pugi::xml_node next;
    for (pugi::xml_node node = root.first_child(); node; node = next) {
        next = node.next_sibling();
        if (!isEntry(node))
            continue;
        const EntryFields fields = fieldsOf(node);
        if (!includedBy(fields.include)) {
            document.removeEntry(node);
            continue;
        }
        // Outcomes of an earlier run (a document carried out twice) are stale.
        if (fields.renamed)
            node.remove_attribute(fields.renamed);
        if (fields.error)
            node.remove_attribute(fields.error);
        if (fields.identity)
            ItemIdentity::removeFrom(node);
        const bool folderEntry = std::strcmp(node.name(), "folder") == 0;
        const char *folder = fields.folder.value();
        const char *name = fields.name.value();
        const char *newName = fields.newName.value();
        EntryOutcome outcome;
        if (!journal.begin(node.name(), fields.id.value(), folder, name, newName, fields.include.value())) {
            // What cannot be recorded is not done.
            outcome.failure = failureForErrno(errno ? errno : EIO, folderEntry);
        } else {
            outcome = renamer.rename(folderEntry, folder, name, newName);
            if (!outcome.strandedAt.isEmpty())
                journal.stranded(outcome.strandedAt.constData());
            if (outcome.failure)
                journal.failed(*outcome.failure);
            else
                journal.renamed(outcome.identity ? &*outcome.identity : nullptr);
        }
        setOutcome(node, outcome);
        ++result.attempted;
        if (outcome.failure)
            ++result.failed;
        if (m_observer)
            m_observer(result.attempted);
    }
}

} // namespace quillbay
