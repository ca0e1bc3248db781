#pragma once
// Computes the new name of one file from the file rule list, top to bottom.

#include "base/Result.h"
#include "engine/RuleList.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace quillbay {

class FolderHandle;
class MetadataSource;

// A file name split at its last ".": ".profile" has an empty base name, a
// name without "." an empty extension.
struct SplitName {
    QString base;
    QString ext;
};
SplitName splitFileName(const QString &name);

struct FileItem {
    QString folderPath; // the folder that holds the file
    QString folderName; // that folder's own name
    QString name;
    std::optional<qint64> modifiedMSecs; // when already read: the last-modified time
    FolderHandle *folder = nullptr;      // the folder held open, when there is one
};

// What the rules made of a name. (A rule that cannot be applied is an error:
// the item is left out.)
struct RuleOutcome {
    bool changed = false;
    QString newName;
};

class FileRules
{
public:
    FileRules(pugi::xml_node list, MetadataSource &metadata);
    bool empty() const { return m_rules.empty(); }
    // Numbers start again at the rule's "start" with the next file that takes one.
    void restartNumbering() { m_restart = true; }
    Result<RuleOutcome> ApplyFileRules(const FileItem &file);

private:
    struct FileState;
    Result<void> applyRule(Rule &rule, FileState &state);
    Result<void> applyNumbering(Rule &rule, FileState &state);
    QString exifValue(const Rule &rule, FileState &state);
    QString mp3Value(const Rule &rule, FileState &state);
    QString officeValue(const Rule &rule, FileState &state);

    RuleList m_rules;
    MetadataSource &m_metadata;
    qint64 m_counter = 0;
    bool m_restart = true;
};

} // namespace quillbay
