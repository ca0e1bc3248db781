// The sample of a preview (PreviewRun::buildSample): the first "Look in"
// folder is listed whole and sorted as the preview sorts it, but the rules run
// only on as many of its names as the sample needs.

#include "engine/FileRules.h"
#include "engine/FolderListing.h"
#include "engine/FolderRules.h"
#include "engine/FolderScanner.h"
#include "engine/NameValidation.h"
#include "engine/PreviewRun.h"
#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <optional>
#include <sys/stat.h>

namespace quillbay {

namespace {

SampleEntry::Refusal refusalOf(const QString &newName, bool include)
{
    if (include)
        return SampleEntry::Accepted;
    return IsValidNewName(newName) ? SampleEntry::NameTaken : SampleEntry::InvalidName;
}

// What tells that a folder's entries are still those listed: which folder it
// is and when its entries last changed.
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FolderIdentity &o) const
    {
        return device == o.device && inode == o.inode && modified.tv_sec == o.modified.tv_sec
            && modified.tv_nsec == o.modified.tv_nsec;
    }
};

std::optional<FolderIdentity> identityOf(const QString &folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return std::nullopt;
    return FolderIdentity{info.st_dev, info.st_ino, info.st_mtim};
}

constexpr qint64 kListingLifeMs = 5000;

} // namespace

struct SampleListingCache::Kept {
    QString folder;
    std::optional<FolderIdentity> identity;
    QElapsedTimer age;
    QList<ScannedEntry> childFolders;
    NameSorter sorter;
    std::optional<FolderListing> listing; // sorted; no new name taken

    bool holds(const QString &path) const
    {
        return listing && path == folder && identity && identity == identityOf(path) && age.isValid()
            && age.elapsed() < kListingLifeMs;
    }
    // Lists and sorts the folder; the errno of a failure, else 0.
    int take(const QString &path)
    {
        listing.reset();
        folder = path;
        identity = identityOf(path); // before listing: a change meanwhile makes the next sample list again
        FolderScan scan = scanFolder(path);
        if (!scan.ok)
            return scan.errorNumber;
        childFolders = scan.folders;
        listing.emplace(path, sorter);
        listing->reserve(size_t(scan.folders.size()) + scan.files.size());
        listing->addFiles(std::move(scan.files));
        for (const ScannedEntry &child : scan.folders)
            listing->addItem(child.name, true);
        listing->sort();
        age.start();
        return 0;
    }
};

SampleListingCache::SampleListingCache() : m_kept(std::make_unique<Kept>()) {}
SampleListingCache::~SampleListingCache() = default;

Result<PreviewSample> PreviewRun::buildSample(const SampleLimits &limits, SampleListingCache *cache)
{
    PreviewSample sample;
    const Result<pugi::xml_node> setting = prepare();
    if (!setting)
        return setting.error();
    const pugi::xml_node first = setting->child("folders").child("folder");
    sample.folder = withoutTrailingSlash(toQString(first.attribute("path")));
    SampleListingCache single;
    SampleListingCache::Kept &kept = *(cache ? cache : &single)->m_kept;
    if (!first)
        sample.status = PreviewSample::NoFolder;
    else if (!folderExists(sample.folder))
        sample.status = PreviewSample::FolderMissing;
    else if (!kept.holds(sample.folder) && (sample.errorNumber = kept.take(sample.folder)) != 0)
        sample.status = PreviewSample::FolderUnreadable;
    if (sample.status != PreviewSample::Shown) {
        finish();
        return sample;
    }

    // The run takes names in a listing of its own; the kept one stays as listed.
    FolderListing listing = cache ? FolderListing(*kept.listing) : std::move(*kept.listing);
    if (m_unlimited || m_maximumDepth > 0) {
        for (const ScannedEntry &child : kept.childFolders) {
            if (m_control.PollCancel())
                break;
            ConsiderFolder(child.name, sample.folder, listing);
        }
    }
    if (!m_control.cancelled() && !m_fileRules->empty()) {
        m_fileRules->restartNumbering();
        FolderHandle handle(sample.folder);
        sampleFiles(listing, handle, limits, sample);
    }
    for (pugi::xml_node e = m_preview.root().child("folder"); e && sample.folders.size() < limits.entries;
         e = e.next_sibling("folder")) {
        const QString newName = toQString(e.attribute("newName"));
        const bool include = parseFlag(toQString(e.attribute("include"))).value_or(true);
        sample.folders.append({toQString(e.attribute("name")), newName, refusalOf(newName, include)});
    }
    sample.cancelled = m_control.cancelled();
    sample.ruleFailures = m_result.ruleFailures;
    sample.firstRuleError = m_result.firstRuleError;
    finish();
    return sample;
}

void PreviewRun::sampleFiles(FolderListing &listing, FolderHandle &handle, const SampleLimits &limits,
                             PreviewSample &sample)
{
    const QString folderName = lastComponent(sample.folder);
    auto &items = listing.items();
    const int count = int(items.size());
    int next = 0; // the first item the rules have not been tried on
    auto considerUpTo = [&](int last) {
        for (; next <= last && next < count; ++next) {
            if (m_control.PollCancel())
                return false;
            if (!items[size_t(next)].isFolder && ConsiderFile(next, handle, folderName, listing))
                ++sample.examinedFiles;
        }
        return true;
    };

    QList<int> shown;
    while (next < count && shown.size() < limits.entries && sample.examinedFiles < limits.examined
           && next < limits.visited) {
        const int index = next;
        if (!considerUpTo(index))
            return;
        if (items[size_t(index)].isTarget)
            shown << index;
    }

    // A shown name may wait for the file that now has its new name to be
    // renamed first; follow every such chain so the rules have run on each
    // file in it, as they will in the preview.
    listing.settleNewNames();
    QList<int> chain = shown;
    QSet<int> followed;
    while (!chain.isEmpty()) {
        const int index = chain.takeLast();
        if (followed.contains(index) || !items[size_t(index)].include)
            continue;
        followed.insert(index);
        const std::optional<int> holder = listing.FindItemByName(items[size_t(index)].newName);
        if (!holder || *holder == index)
            continue;
        if (*holder >= next) {
            if (!considerUpTo(*holder))
                return;
            listing.settleNewNames();
        }
        if (items[size_t(*holder)].isTarget)
            chain << *holder;
    }
    listing.OrderFolderEntries(m_preview, m_temporaryNames);
    for (const int index : shown) {
        const RenamePreviewListItem &item = items[size_t(index)];
        sample.files.append({item.name, item.newName, refusalOf(item.newName, item.include)});
    }
}

} // namespace quillbay
