#pragma once
// A rule list of the current setting, read once per preview run.
//
// Each rule element is read the first time a name reaches it: missing options
// are filled in with their defaults then (so a preview completes the rules it
// touches), and its expressions are compiled once for the whole run.

#include "base/RegExp.h"
#include "settings/SettingsDocument.h"

#include <QString>
#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace quillbay {

enum class RuleType {
    Unknown,
    Add,
    Remove,
    Extension,
    Replace,
    Exif,
    Mp3,
    Space,
    CaseBase,
    CaseExt,
    Date,
    FolderName,
    Numbering,
    AdjustDigits,
    RegexpBaseAndExt,
    RegexpOne,
    MSOffice,
    NarrowWide,
};

// Widths beyond this only make names that no file system takes; capping them
// keeps a mistyped "column" from allocating gigabytes.
constexpr int maximumDigitWidth = 1024;

struct Rule {
    RuleType type = RuleType::Unknown;
    pugi::xml_node element;
    bool loaded = false;

    QString text, position, option;     // add, remove, extension, value rules, space, case, width
    QString pattern, replacement;       // replace, regexp rules
    QString extPattern, extReplacement; // the file rule "regexp"
    QString prefix, suffix;             // numbering
    int width = 2;                      // numbering, adjustDigits
    int group = 1;                      // adjustDigits: which digit group
    bool fromEnd = false;               // adjustDigits "last"
    bool columnValid = true;            // numbering: a width below 1 fails the rule
    std::unique_ptr<RegExp> expression; // compiled once, reused for every name
    std::unique_ptr<RegExp> extExpression;
};

class RuleList
{
public:
    RuleList(pugi::xml_node list, RuleKind kind);
    bool empty() const { return m_rules.empty(); }
    size_t size() const { return m_rules.size(); }
    // The rule, its options read and expressions compiled on first use.
    Rule &at(size_t i);

private:
    void load(Rule &rule);
    RuleKind m_kind;
    std::vector<Rule> m_rules;
};

} // namespace quillbay
