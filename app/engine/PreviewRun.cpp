#include "engine/PreviewRun.h"

#include "base/Utf8Text.h"

#include "engine/FileRules.h"
#include "engine/FolderListing.h"
#include "engine/FolderRules.h"
#include "engine/FolderScanner.h"
#include "engine/NameDate.h"
#include "engine/NameValidation.h"
#include "metadata/MetadataSource.h"
#include "run/PreviewDocument.h"
#include "settings/SettingsDocument.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

namespace quillbay {

PreviewRun::PreviewRun(SettingsDocument &settings, PreviewDocument &preview, TemporaryNameSource &temporaryNames,
                       PreviewControl &control)
    : m_settings(settings), m_preview(preview), m_temporaryNames(temporaryNames), m_control(control)
{
}

PreviewRun::~PreviewRun() = default;

PreviewPreconditions PreviewRun::CheckPreviewPreconditions(SettingsDocument &settings)
{
    PreviewPreconditions found;
    const pugi::xml_node setting = settings.SelectedSetting();
    found.noRules = !setting.child("newNameRules").child("rule") && !setting.child("newFolderNameRules").child("rule");
    pugi::xml_node folders = setting.child("folders");
    int existing = 0;
    for (pugi::xml_node f = folders.child("folder"); f;) {
        const pugi::xml_node next = f.next_sibling("folder");
        if (folderExists(toQString(f.attribute("path")))) {
            ++existing;
        } else {
            found.missingFolders = true;
            found.missingFolderPaths.append(toQString(f.attribute("path")));
            folders.remove_child(f);
        }
        f = next;
    }
    found.noFolders = existing == 0;
    return found;
}

QString PreviewRun::withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

Result<pugi::xml_node> PreviewRun::prepare()
{
    m_result = PreviewSummary();
    m_control.start();
    refreshTimeZone();
    m_preview.NewPreviewDocument(UiText::LanguageSuffix());

    const pugi::xml_node setting = m_settings.SelectedSetting();
    if (!setting)
        return pugi::xml_node();

    const pugi::xml_node folders = setting.child("folders");
    m_unlimited =
        XmlTools::ReadAttribute(folders, "childFolders", QStringLiteral("deep"), false) == QLatin1String("all");
    m_maximumDepth = XmlTools::readWholeNumberAttribute(folders, "subFoldersDepth", 0, folders ? true : false);

    if (Result<void> compiled = m_criteria.compile(setting); !compiled)
        return compiled.error();
    m_metadata = makeFileMetadataSource();
    m_fileRules = std::make_unique<FileRules>(setting.child("newNameRules"), *m_metadata);
    m_folderRules = std::make_unique<FolderRules>(setting.child("newFolderNameRules"));
    return setting;
}

void PreviewRun::finish()
{
    m_control.finish();
    m_fileRules.reset();
    m_folderRules.reset();
    m_metadata.reset();
}

Result<PreviewSummary> PreviewRun::BuildPreview()
{
    const Result<pugi::xml_node> setting = prepare();
    if (!setting)
        return setting.error();
    if (!*setting)
        return m_result;

    for (pugi::xml_node f = setting->child("folders").child("folder"); f; f = f.next_sibling("folder")) {
        const QString path = withoutTrailingSlash(toQString(f.attribute("path")));
        if (!folderExists(path))
            continue; // vanished since the check
        if (!WalkFolder(path, 0)) {
            m_result.cancelled = true;
            break;
        }
    }
    finish();
    return m_result;
}

QString PreviewRun::lastComponent(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

bool PreviewRun::WalkFolder(const QString &folder, int depth)
{
    FolderScan scan = scanFolder(folder);
    if (!scan.ok) {
        // An unreadable folder hides only its own contents; the rest of the
        // walk goes on, and the caller learns which folders were skipped.
        m_result.skippedFolders.append({folder, scan.errorNumber});
        return true;
    }
    m_result.undecodableNames += scan.undecodableNames;
    for (const QByteArray &name : scan.undecodable)
        if (m_result.undecodablePaths.size() < FolderScan::kNamedUndecodable)
            m_result.undecodablePaths.append(joinPath(folder, visibleText(name)));
    m_control.noteFolder(scan.files.size());
    if (scan.folders.isEmpty() && scan.files.empty())
        return true;

    FolderListing listing(folder, m_sorter);
    listing.reserve(size_t(scan.folders.size()) + scan.files.size());
    const bool recurse = m_unlimited || depth < m_maximumDepth;
    if (recurse) {
        for (const ScannedEntry &child : scan.folders) {
            if (m_control.PollCancel() || !WalkFolder(joinPath(folder, child.name), depth + 1))
                break;
            ConsiderFolder(child.name, folder, listing);
        }
    }
    if (m_control.cancelled())
        return false;
    if (m_fileRules->empty() || scan.files.empty())
        return true;

    m_fileRules->restartNumbering();
    listing.addFiles(std::move(scan.files));
    for (const ScannedEntry &child : scan.folders)
        listing.addItem(child.name, true);
    listing.sort();

    const QString folderName = lastComponent(folder);
    FolderHandle handle(folder);
    const int itemCount = int(listing.items().size());
    for (int i = 0; i < itemCount; ++i) {
        if (m_control.PollCancel())
            break;
        if (!listing.items()[size_t(i)].isFolder)
            ConsiderFile(i, handle, folderName, listing);
    }
    listing.settleNewNames();
    m_result.invalidCount += listing.refusedNewNames();
    if (m_control.cancelled())
        return false;
    m_result.invalidCount += listing.OrderFolderEntries(m_preview, m_temporaryNames);
    m_control.noteEntries(quint64(m_preview.entryCount()));
    return true;
}

bool PreviewRun::ConsiderFile(int index, FolderHandle &folder, const QString &folderName, FolderListing &listing)
{
    RenamePreviewListItem &item = listing.items()[size_t(index)];
    const SplitName split = splitFileName(item.name);
    if (!m_criteria.nameSelected(split.base, split.ext))
        return false;
    FileItem file{folder.path(), folderName, item.name, std::nullopt, &folder};
    if (m_criteria.usesDateFilter()) {
        // A time before 1970 counts as one that cannot be read, as it always has.
        file.modifiedMSecs = folder.lastModifiedMSecs(item.name);
        if (!file.modifiedMSecs || *file.modifiedMSecs < 0 || !m_criteria.modifiedSelected(*file.modifiedMSecs))
            return false;
    }
    const Result<RuleOutcome> outcome = m_fileRules->ApplyFileRules(file);
    if (!outcome) {
        noteRuleFailure(outcome.error().message);
        return true;
    }
    if (!outcome->changed)
        return true;
    item.isTarget = true;
    item.newName = outcome->newName;
    if (IsValidNewName(item.newName)) {
        listing.queueNewName(index); // decides item.include
    } else {
        item.cleared = ClearedReason::InvalidName;
        ++m_result.invalidCount;
    }
    return true;
}

void PreviewRun::ConsiderFolder(const QString &child, const QString &parent, FolderListing &listing)
{
    if (!m_criteria.folderSelected(child))
        return;
    const Result<RuleOutcome> outcome = m_folderRules->ApplyFolderRules(joinPath(parent, child), child);
    if (!outcome) {
        noteRuleFailure(outcome.error().message);
        return;
    }
    if (!outcome->changed)
        return;
    ClearedReason cleared = ClearedReason::None;
    if (!IsValidNewName(outcome->newName))
        cleared = ClearedReason::InvalidName;
    else if (!listing.takeNewName(outcome->newName))
        cleared = ClearedReason::TakenByNewName;
    const bool include = cleared == ClearedReason::None;
    if (!include)
        ++m_result.invalidCount;
    markCleared(m_preview.AddPreviewEntry("folder", parent, child, outcome->newName, include), cleared);
}

void PreviewRun::noteRuleFailure(const QString &error)
{
    if (m_result.ruleFailures++ == 0)
        m_result.firstRuleError = error;
}

} // namespace quillbay
