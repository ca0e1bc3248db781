#pragma once
// Computes the new name of one child folder from the folder rule list. A
// folder name is one string: a "." in it is an ordinary character.

#include "engine/FileRules.h"
#include "engine/RuleList.h"

namespace quillbay {

class FolderRules
{
public:
    explicit FolderRules(pugi::xml_node list);
    bool empty() const { return m_rules.empty(); }
    Result<RuleOutcome> ApplyFolderRules(const QString &folderPath, const QString &name);

private:
    Result<void> applyRule(Rule &rule, const QString &folderPath, QString &name);
    RuleList m_rules;
};

} // namespace quillbay
