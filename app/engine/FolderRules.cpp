#include "engine/FolderRules.h"

#include "engine/FolderScanner.h"
#include "engine/NameDate.h"
#include "engine/RuleSteps.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

namespace quillbay {

FolderRules::FolderRules(pugi::xml_node list) : m_rules(list, RuleKind::Folder) {}

Result<RuleOutcome> FolderRules::ApplyFolderRules(const QString &folderPath, const QString &name)
{
    RuleOutcome outcome;
    QString working = name;
    for (size_t i = 0; i < m_rules.size(); ++i) {
        if (Result<void> applied = applyRule(m_rules.at(i), folderPath, working); !applied)
            return applied.error();
    }
    if (working != name) {
        outcome.changed = true;
        outcome.newName = working;
    }
    return outcome;
}

Result<void> FolderRules::applyRule(Rule &r, const QString &folderPath, QString &name)
{
    switch (r.type) {
    case RuleType::Add:
        name = addText(name, r.text, r.position);
        return {};
    case RuleType::Remove:
        name = removeText(name, r.text);
        return {};
    case RuleType::Replace:
        name = replaceText(name, r.pattern, r.replacement);
        return {};
    case RuleType::CaseBase:
        name = applyCaseRule(name, r.option, true);
        return {};
    case RuleType::Space:
        name = applySpaceRule(name, r.option);
        return {};
    case RuleType::AdjustDigits:
        if (auto adjusted = adjustDigitGroup(*r.expression, name, r.width, r.group, r.fromEnd))
            name = std::move(*adjusted);
        return {};
    case RuleType::Date: {
        const std::optional<qint64> modified = lastModifiedMSecs(folderPath);
        if (!modified)
            return Error::fromText(30051, UiText::LoadText(30051));
        const LocalDateTime local = localDateTimeOf(*modified);
        name = placeValue(name, FormatNameDate(r.option, local.date, local.time), r.position);
        return {};
    }
    case RuleType::RegexpOne: {
        std::optional<QString> replaced = r.expression->Replace(name, r.replacement);
        if (!replaced)
            return Error::withMessage(regExpErrorText(*r.expression));
        name = std::move(*replaced);
        return {};
    }
    case RuleType::NarrowWide:
        name = applyWidthRule(name, r.option);
        return {};
    default:
        return {}; // types that only files know change nothing here
    }
}

} // namespace quillbay
