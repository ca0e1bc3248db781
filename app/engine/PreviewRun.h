#pragma once
// A preview run: turns the selected setting into the list of proposed renames.
// It walks the "Look in" folders to the chosen depth, picks the files and
// child folders that the criteria select, asks the rules for their new names,
// and hands every change to the preview document in an order that can be
// carried out one rename after the other.

#include "engine/CancelPoll.h"
#include "engine/Criteria.h"
#include "engine/NameCompare.h"

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

enum PreconditionBits { NoRules = 1, MissingFolders = 2, NoFolders = 4 };

struct SkippedFolder {
    QString path;
    int errorNumber = 0;
};

struct PreviewResult {
    int invalidCount = 0;
    bool notCancelled = true;
    QString criteriaError;              // a criteria pattern was rejected: nothing was walked
    QList<SkippedFolder> skippedFolders; // folders that could not be listed; the walk went on
    int undecodableNames = 0;            // names that are not valid UTF-8, left out
    int ruleFailures = 0;                // items left out because a rule could not be applied
    QString firstRuleError;
};

class PreviewRun
{
public:
    PreviewRun(SettingsDocument &settings, PreviewDocument &preview, TemporaryNameSource &temporaryNames,
               CancelPoll &cancel);
    ~PreviewRun();

    // Bits of PreconditionBits; 0 means a preview can start. Folders that do
    // not exist are removed from the setting.
    static int CheckPreviewPreconditions(SettingsDocument &settings);

    PreviewResult BuildPreview();

private:
    bool WalkFolder(const QString &folder, int depth);
    // Applies the file rules to the item at index of the listing.
    void ConsiderFile(int index, FolderHandle &folder, const QString &folderName, FolderListing &listing);
    void ConsiderFolder(const QString &child, const QString &parent, FolderListing &listing);
    void noteRuleFailure(const QString &error);

    SettingsDocument &m_settings;
    PreviewDocument &m_preview;
    TemporaryNameSource &m_temporaryNames;
    CancelPoll &m_cancel;
    NameSorter m_sorter;
    Criteria m_criteria;
    std::unique_ptr<MetadataSource> m_metadata;
    std::unique_ptr<FileRules> m_fileRules;
    std::unique_ptr<FolderRules> m_folderRules;
    bool m_unlimited = false;
    int m_maximumDepth = 0;
    PreviewResult m_result;
};

} // namespace quillbay
