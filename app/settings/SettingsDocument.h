#pragma once
// The settings document: every named setting of the user with its "Look in"
// folders, criteria and two rule lists, and the operations that add, find,
// rename and remove settings, folder entries and rules.

#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace quillbay {

enum class RuleKind { File = 1, Folder = 2 };

class SettingsDocument
{
public:
    SettingsDocument();

    pugi::xml_document &document() { return m_doc; }
    const pugi::xml_document &document() const { return m_doc; }

    // Replaces the document with the built-in default document.
    Result<void> loadDefault();
    // Replaces the document with the given text; on failure the document is unchanged.
    Result<void> loadText(const QString &xml);
    // Replaces the document with the file's content; on failure the document is unchanged.
    Result<void> loadFile(const QString &path);
    // The text of the built-in default document.
    static QString defaultDocumentText();

    pugi::xml_node SettingsRoot();
    pugi::xml_node FindSetting(const QString &name);
    pugi::xml_node FindSettingIgnoreCase(const QString &name);
    pugi::xml_node SelectedSetting();
    // The design's Boolean: false when there is no setting of that name.
    bool SelectSetting(const QString &name);
    int SettingCount();
    QStringList SettingNames();
    // The setting's name; a setting without one is given the first free "Setting N".
    QString settingName(pugi::xml_node setting);

    // These answer with the design's Boolean: false when the name is taken,
    // missing or empty. A refusal the caller checks for, not a failure to report.
    bool AddSetting(const QString &name);
    bool RenameSetting(const QString &oldName, const QString &newName);
    bool DuplicateSetting(const QString &sourceName, const QString &newName);
    bool RemoveSetting(const QString &name);

    // The design's Boolean: false when there is no such setting or it has the folder already.
    bool AddFolderEntry(const QString &settingName, const QString &path);
    void RemoveFolderEntry(const QString &settingName, const QString &folderId);
    void RemoveAllFolderEntries(const QString &settingName);
    void SetSettingAttribute(const QString &settingName, const char *element, const char *attribute,
                             const QString &text);
    // Writes the criteria flag "true" or "false" (the state of its check box).
    void SetCriteriaFlag(const QString &settingName, RuleKind kind, const char *attribute, bool checked);

    // Every operation below that takes a setting name works on the selected
    // setting when the name is empty, and on the setting of exactly that name
    // otherwise (nothing happens, or failure is returned, when there is none).

    // The rule list of the selected setting (empty name) or of the named setting.
    pugi::xml_node RulesList(const QString &settingName, RuleKind kind);
    static pugi::xml_node FindRule(pugi::xml_node rulesList, const QString &ruleId);
    pugi::xml_node AddRule(const QString &settingName, RuleKind kind, const QString &type);
    void WriteRuleAttribute(const QString &settingName, RuleKind kind, const QString &ruleId, const char *attribute,
                            const QString &text);
    struct RuleIdentity {
        QString id;
        QString type; // empty for a rule without a type, which no list should keep
    };
    static RuleIdentity RuleIdAndType(pugi::xml_node rule);
    static QString RuleType(pugi::xml_node rule, bool removeIfEmpty);
    void RemoveRule(const QString &settingName, RuleKind kind, const QString &ruleId);
    // Moves the rule in front of the rule beforeId; an empty or unknown beforeId
    // means the end of the list.
    void MoveRule(const QString &settingName, RuleKind kind, const QString &ruleId, const QString &beforeId);
    // Inserts a copy of the rule, with a new id, in front of the rule beforeId
    // (the end, as above); returns the copy (null when there is no such rule).
    pugi::xml_node copyRule(const QString &settingName, RuleKind kind, const QString &ruleId, const QString &beforeId);
    void RemoveAllRules(const QString &settingName);
    // Resets the criteria of a setting as the "reset criteria" command does.
    void resetCriteria(const QString &settingName);

    // Fresh folder and rule identifiers in document order; rules without a type are dropped.
    void RenumberIds();
    QString nextFolderId();
    QString nextRuleId();

private:
    pugi::xml_node settingOrSelected(const QString &name);

    pugi::xml_document m_doc;
    quint64 m_folderCounter = 0;
    quint64 m_ruleCounter = 0;
};

} // namespace quillbay
