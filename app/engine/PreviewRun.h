#pragma once
// A preview run: turns the selected setting into the list of proposed renames.
// It walks the "Look in" folders to the chosen depth, picks the files and
// child folders that the criteria select, asks the rules for their new names,
// and hands every change to the preview document in an order that can be
// carried out one rename after the other.

#include "base/Result.h"
#include "engine/Criteria.h"
#include "engine/NameCompare.h"
#include "engine/PreviewControl.h"
#include "engine/PreviewSample.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace quillbay {

class FileRules;
class FolderHandle;
class FolderListing;
struct RenamePreviewListItem;
class FolderRules;
class MetadataSource;
class PreviewDocument;
class SettingsDocument;
class TemporaryNameSource;

// What stands in the way of a preview; nothing set means it can start.
struct PreviewPreconditions {
    bool noRules = false;           // neither rule list of the setting holds a rule
    bool missingFolders = false;    // "Look in" folders that do not exist (they were removed)
    bool noFolders = false;         // no existing "Look in" folder is left
    QStringList missingFolderPaths; // the paths of those removed folders, in list order
    bool met() const { return !noRules && !missingFolders && !noFolders; }
    bool operator==(const PreviewPreconditions &) const = default;
};

struct SkippedFolder {
    QString path;
    int errorNumber = 0;
};

// What a preview found besides its entries.
struct PreviewSummary {
    int invalidCount = 0;
    bool cancelled = false;
    QList<SkippedFolder> skippedFolders; // folders that could not be listed; the walk went on
    int undecodableNames = 0;            // names that are not valid UTF-8, left out
    QStringList undecodablePaths;        // the first of them with their folders, bytes escaped (visibleText)
    int ruleFailures = 0;                // items left out because a rule could not be applied
    QString firstRuleError;
};

class PreviewRun
{
public:
    PreviewRun(SettingsDocument &settings, PreviewDocument &preview, TemporaryNameSource &temporaryNames,
               PreviewControl &control);
    ~PreviewRun();

    // Folders that do not exist are removed from the setting.
    static PreviewPreconditions CheckPreviewPreconditions(SettingsDocument &settings);

    // Fills the preview document. An error, with nothing walked, when a
    // criteria pattern does not compile.
    Result<PreviewSummary> BuildPreview();

    // What the preview does to the first names of the first "Look in"
    // folder, without walking the rest: the sample shown while a setting is
    // edited (PreviewSample.cpp).
    // An error, as for the preview, when a criteria pattern does not compile.
    // cache, when given, keeps the folder's listing for the next sample.
    Result<PreviewSample> buildSample(const SampleLimits &limits, SampleListingCache *cache = nullptr);

private:
    // Starts a run: the selected setting's depth, criteria and rules. A null
    // node when there is no setting; an error when a criteria pattern does not
    // compile.
    Result<pugi::xml_node> prepare();
    void finish();
    bool WalkFolder(const QString &folder, int depth);
    // Applies the file rules to the item at index of the listing; false when
    // the criteria leave the file out (no rule was applied).
    bool ConsiderFile(int index, FolderHandle &folder, const QString &folderName, FolderListing &listing);
    // The sample's files: the rules applied in listing order until enough
    // names have changed, then further on as far as the shown names' chains
    // reach, so that their check marks are those the whole preview gives.
    void sampleFiles(FolderListing &listing, FolderHandle &handle, const SampleLimits &limits, PreviewSample &sample);
    static QString withoutTrailingSlash(QString path);
    static QString lastComponent(const QString &path);
    void ConsiderFolder(const QString &child, const QString &parent, FolderListing &listing);
    void noteRuleFailure(const QString &error);

    SettingsDocument &m_settings;
    PreviewDocument &m_preview;
    TemporaryNameSource &m_temporaryNames;
    PreviewControl &m_control;
    NameSorter m_sorter;
    Criteria m_criteria;
    std::unique_ptr<MetadataSource> m_metadata;
    std::unique_ptr<FileRules> m_fileRules;
    std::unique_ptr<FolderRules> m_folderRules;
    bool m_unlimited = false;
    int m_maximumDepth = 0;
    PreviewSummary m_result;
};

} // namespace quillbay
