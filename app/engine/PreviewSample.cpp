// The sample of a preview (PreviewRun::BuildSample): the first "Look in"
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

#include <QSet>

namespace quillbay {

namespace {

SampleEntry::Refusal refusalOf(const QString &newName, bool include)
{
    if (include)
        return SampleEntry::Accepted;
    return IsValidNewName(newName) ? SampleEntry::NameTaken : SampleEntry::InvalidName;
}

} // namespace

Result<PreviewSample> PreviewRun::BuildSample(const SampleLimits &limits)
{
    PreviewSample sample;
    const Result<pugi::xml_node> setting = prepare();
    if (!setting)
        return setting.error();
    const pugi::xml_node first = setting->child("folders").child("folder");
    sample.folder = withoutTrailingSlash(toQString(first.attribute("path")));
    FolderScan scan;
    if (!first)
        sample.status = PreviewSample::NoFolder;
    else if (!folderExists(sample.folder))
        sample.status = PreviewSample::FolderMissing;
    else if (scan = scanFolder(sample.folder); !scan.ok)
        sample.status = PreviewSample::FolderUnreadable;
    if (sample.status != PreviewSample::Shown) {
        sample.errorNumber = scan.errorNumber;
        finish();
        return sample;
    }

    FolderListing listing(sample.folder, m_sorter);
    listing.reserve(size_t(scan.folders.size()) + scan.files.size());
    if (m_unlimited || m_maximumDepth > 0) {
        for (const ScannedEntry &child : scan.folders) {
            if (m_control.PollCancel())
                break;
            ConsiderFolder(child.name, sample.folder, listing);
        }
    }
    if (!m_control.cancelled() && !m_fileRules->empty() && !scan.files.empty()) {
        m_fileRules->restartNumbering();
        listing.addFiles(std::move(scan.files));
        for (const ScannedEntry &child : scan.folders)
            listing.addItem(child.name, true);
        listing.sort();
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
