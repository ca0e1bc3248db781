#include "engine/FolderRules.h"

#include "engine/FolderScanner.h"
#include "engine/NameDate.h"
#include "engine/RuleSteps.h"

namespace quillbay {

FolderRules::FolderRules(pugi::xml_node list) : m_rules(list, RuleKind::Folder) {}

RuleOutcome FolderRules::ApplyFolderRules(const QString &folderPath, const QString &name)
{
    RuleOutcome outcome;
    QString working = name;
    for (size_t i = 0; i < m_rules.size(); ++i) {
        if (!applyRule(m_rules.at(i), folderPath, working, &outcome.errorText)) {
            outcome.failed = true;
            return outcome;
        }
    }
    if (working != name) {
        outcome.changed = true;
        outcome.newName = working;
    }
    return outcome;
}

bool FolderRules::applyRule(Rule &r, const QString &folderPath, QString &name, QString *error)
{
    switch (r.type) {
    case RuleType::Add:
        name = addText(name, r.text, r.position);
        return true;
    case RuleType::Remove:
        name = removeText(name, r.text);
        return true;
    case RuleType::Replace:
        name = replaceText(name, r.pattern, r.replacement);
        return true;
    case RuleType::CaseBase:
        name = applyCaseRule(name, r.option, true);
        return true;
    case RuleType::Space:
        name = applySpaceRule(name, r.option);
        return true;
    case RuleType::AdjustDigits:
        if (auto adjusted = adjustDigitGroup(*r.expression, name, r.width, r.group, r.fromEnd))
            name = std::move(*adjusted);
        return true;
    case RuleType::Date: {
        const std::optional<qint64> modified = lastModifiedMSecs(folderPath);
        if (!modified) {
            *error = QStringLiteral("The folder's modification time cannot be read.");
            return false;
        }
        const LocalDateTime local = localDateTimeOf(*modified);
        name = placeValue(name, FormatNameDate(r.option, local.date, local.time), r.position);
        return true;
    }
    case RuleType::RegexpOne: {
        std::optional<QString> replaced = r.expression->Replace(name, r.replacement);
        if (!replaced) {
            *error = r.expression->ErrorText();
            return false;
        }
        name = std::move(*replaced);
        return true;
    }
    case RuleType::NarrowWide:
        name = applyWidthRule(name, r.option);
        return true;
    default:
        return true; // types that only files know change nothing here
    }
}

} // namespace quillbay
