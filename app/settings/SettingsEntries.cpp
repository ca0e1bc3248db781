// The parts of a setting below the setting itself: "Look in" folder entries,
// criteria attributes, the two rule lists, and the identifiers of entries and
// rules.

#include "settings/SettingsDocument.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"

#include <optional>

namespace quillbay {

namespace {

const char *criteriaElement(RuleKind kind)
{
    return kind == RuleKind::File ? kFileCriteria : kFolderCriteria;
}

const char *rulesElement(RuleKind kind)
{
    return kind == RuleKind::File ? kFileRules : kFolderRules;
}

const QString kFalse = QStringLiteral("false");

// Writes an empty text unless the attribute already means "empty" (missing or empty).
void resetText(pugi::xml_node element, const char *attribute)
{
    pugi::xml_attribute a = element.attribute(attribute);
    if (a && *a.value() != '\0')
        a.set_value("");
}

// Writes "false" unless the attribute already reads as false; a missing flag
// reads as its default, which is false for every criteria flag.
void resetFlag(pugi::xml_node element, const char *attribute)
{
    const pugi::xml_attribute a = element.attribute(attribute);
    if (!a)
        return;
    const std::optional<bool> flag = parseFlag(toQString(a));
    if (!flag || *flag)
        XmlTools::setAttribute(element, attribute, kFalse);
}

} // namespace

QString SettingsDocument::nextFolderId()
{
    return QStringLiteral("f%1").arg(++m_folderCounter);
}

QString SettingsDocument::nextRuleId()
{
    return QStringLiteral("r%1").arg(++m_ruleCounter);
}

bool SettingsDocument::AddFolderEntry(const QString &settingName, const QString &path)
{
    const pugi::xml_node setting = settingOrSelected(settingName);
    if (!setting)
        return false;
    const pugi::xml_node folders = XmlTools::childElement(setting, kFolders, true);
    for (pugi::xml_node f = folders.child(kFolder); f; f = f.next_sibling(kFolder)) {
        const pugi::xml_attribute p = f.attribute(kPath);
        if (p && sameTextIgnoreCase(toQString(p), path))
            return false;
    }
    const pugi::xml_node folder = XmlTools::appendChild(folders, kFolder);
    XmlTools::setAttribute(folder, kId, nextFolderId());
    XmlTools::setAttribute(folder, kPath, path);
    return true;
}

void SettingsDocument::RemoveFolderEntry(const QString &settingName, const QString &folderId)
{
    const pugi::xml_node folders = XmlTools::childElement(settingOrSelected(settingName), kFolders, false);
    XmlTools::removeChild(folders, XmlTools::keyedChild(folders, kFolder, kId, folderId, false));
}

void SettingsDocument::RemoveAllFolderEntries(const QString &settingName)
{
    XmlTools::removeAllChildren(XmlTools::childElement(settingOrSelected(settingName), kFolders, false));
}

void SettingsDocument::SetSettingAttribute(const QString &settingName, const char *element, const char *attribute,
                                           const QString &text)
{
    const pugi::xml_node setting = settingOrSelected(settingName);
    XmlTools::setAttribute(XmlTools::childElement(setting, element, true), attribute, text);
}

void SettingsDocument::SetCriteriaFlag(const QString &settingName, RuleKind kind, const char *attribute, bool checked)
{
    const pugi::xml_node setting = settingOrSelected(settingName);
    const pugi::xml_node criteria = XmlTools::childElement(setting, criteriaElement(kind), true);
    XmlTools::setAttribute(criteria, attribute, checked ? QStringLiteral("true") : kFalse);
}

void SettingsDocument::resetCriteria(const QString &settingName)
{
    const pugi::xml_node setting = settingOrSelected(settingName);
    if (const pugi::xml_node files = XmlTools::childElement(setting, kFileCriteria, false)) {
        for (const char *attribute : {"startWith", "ext", "regExpBaseName", "regExpExt"})
            resetText(files, attribute);
        for (const char *attribute : {"regExp", "regExpBaseNameIgnoreCase", "regExpExtIgnoreCase"})
            resetFlag(files, attribute);
    }
    if (const pugi::xml_node folders = XmlTools::childElement(setting, kFolderCriteria, false)) {
        for (const char *attribute : {"startWith", "endWith", "regExpBaseName"})
            resetText(folders, attribute);
        for (const char *attribute : {"regExp", "regExpNameIgnoreCase"})
            resetFlag(folders, attribute);
    }
}

pugi::xml_node SettingsDocument::RulesList(const QString &settingName, RuleKind kind)
{
    return XmlTools::childElement(settingOrSelected(settingName), rulesElement(kind), true);
}

pugi::xml_node SettingsDocument::FindRule(pugi::xml_node rulesList, const QString &ruleId)
{
    return XmlTools::keyedChild(rulesList, kRule, kId, ruleId, false);
}

pugi::xml_node SettingsDocument::AddRule(const QString &settingName, RuleKind kind, const QString &type)
{
    const pugi::xml_node list = RulesList(settingName, kind);
    if (!list)
        return {};
    const pugi::xml_node rule = XmlTools::appendChild(list, kRule);
    XmlTools::setAttribute(rule, kId, nextRuleId());
    XmlTools::setAttribute(rule, kType, type);
    return rule;
}

void SettingsDocument::WriteRuleAttribute(const QString &settingName, RuleKind kind, const QString &ruleId,
                                          const char *attribute, const QString &text)
{
    const pugi::xml_node list = RulesList(settingName, kind);
    XmlTools::setAttribute(XmlTools::keyedChild(list, kRule, kId, ruleId, true), attribute, text);
}

SettingsDocument::RuleIdentity SettingsDocument::RuleIdAndType(pugi::xml_node rule)
{
    return {XmlTools::ReadAttribute(rule, kId, QString(), false),
            XmlTools::ReadAttribute(rule, kType, QString(), false)};
}

QString SettingsDocument::RuleType(pugi::xml_node rule, bool removeIfEmpty)
{
    const QString type = XmlTools::ReadAttribute(rule, kType, QString(), false);
    if (type.isEmpty() && removeIfEmpty)
        XmlTools::removeChild(rule.parent(), rule);
    return type;
}

void SettingsDocument::RemoveRule(const QString &settingName, RuleKind kind, const QString &ruleId)
{
    const pugi::xml_node list = RulesList(settingName, kind);
    XmlTools::removeChild(list, FindRule(list, ruleId));
}

void SettingsDocument::MoveRule(const QString &settingName, RuleKind kind, const QString &ruleId,
                                const QString &beforeId)
{
    pugi::xml_node list = RulesList(settingName, kind);
    const pugi::xml_node rule = FindRule(list, ruleId);
    // An empty or unknown id finds no rule, which means "at the end".
    const pugi::xml_node before = beforeId.isEmpty() ? pugi::xml_node() : FindRule(list, beforeId);
    if (!rule || before == rule)
        return;
    if (before)
        list.insert_move_before(rule, before);
    else
        list.append_move(rule);
}

pugi::xml_node SettingsDocument::copyRule(const QString &settingName, RuleKind kind, const QString &ruleId,
                                          const QString &beforeId)
{
    pugi::xml_node list = RulesList(settingName, kind);
    const pugi::xml_node rule = FindRule(list, ruleId);
    if (!rule)
        return {};
    const pugi::xml_node before = beforeId.isEmpty() ? pugi::xml_node() : FindRule(list, beforeId);
    const pugi::xml_node copy = before ? list.insert_copy_before(rule, before) : list.append_copy(rule);
    XmlTools::setAttribute(copy, kId, nextRuleId());
    return copy;
}

void SettingsDocument::RemoveAllRules(const QString &settingName)
{
    const pugi::xml_node setting = settingOrSelected(settingName);
    XmlTools::removeAllChildren(XmlTools::childElement(setting, kFileRules, false));
    XmlTools::removeAllChildren(XmlTools::childElement(setting, kFolderRules, false));
}

void SettingsDocument::RenumberIds()
{
    const pugi::xml_node root = SettingsRoot();
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting)) {
        const pugi::xml_node folders = s.child(kFolders);
        for (pugi::xml_node f = folders.child(kFolder); f; f = f.next_sibling(kFolder))
            XmlTools::setAttribute(f, kId, nextFolderId());
    }
    for (pugi::xml_node s = root.child(kSetting); s; s = s.next_sibling(kSetting)) {
        for (const char *listName : {kFileRules, kFolderRules}) {
            const pugi::xml_node list = s.child(listName);
            pugi::xml_node next;
            for (pugi::xml_node rule = list.child(kRule); rule; rule = next) {
                next = rule.next_sibling(kRule);
                // A rule without a type can never be applied: it is dropped here.
                if (!RuleType(rule, true).isEmpty())
                    XmlTools::setAttribute(rule, kId, nextRuleId());
            }
        }
    }
}

} // namespace quillbay
