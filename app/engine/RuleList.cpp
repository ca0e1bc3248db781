#include "engine/RuleList.h"

#include "settings/XmlTools.h"

#include <cstring>

namespace quillbay {

namespace {
struct TypeName {
    const char *name;
    RuleType type;
    bool forFiles;
    bool forFolders;
};

// The type names each list knows. "regexp" means two different rules: base
// name and extension patterns in the file list, one pattern in the folder list.
constexpr TypeName typeNames[] = {
    {"add", RuleType::Add, true, true},
    {"remove", RuleType::Remove, true, true},
    {"extension", RuleType::Extension, true, false},
    {"replace", RuleType::Replace, true, true},
    {"exif", RuleType::Exif, true, false},
    {"mp3", RuleType::Mp3, true, false},
    {"space", RuleType::Space, true, true},
    {"caseBase", RuleType::CaseBase, true, true},
    {"caseExt", RuleType::CaseExt, true, false},
    {"date", RuleType::Date, true, true},
    {"FolderName", RuleType::FolderName, true, false},
    {"numbering", RuleType::Numbering, true, false},
    {"adjustDigits", RuleType::AdjustDigits, true, true},
    {"regexpBase", RuleType::RegexpOne, true, false},
    {"MSOffice", RuleType::MSOffice, true, false},
    {"NarrowWide", RuleType::NarrowWide, true, true},
};

RuleType typeOf(const char *name, RuleKind kind)
{
    if (std::strcmp(name, "regexp") == 0)
        return kind == RuleKind::File ? RuleType::RegexpBaseAndExt : RuleType::RegexpOne;
    for (const TypeName &t : typeNames) {
        if (std::strcmp(name, t.name) == 0)
            return (kind == RuleKind::File ? t.forFiles : t.forFolders) ? t.type : RuleType::Unknown;
    }
    return RuleType::Unknown;
}

QString read(pugi::xml_node e, const char *name, const char *defaultValue)
{
    return XmlTools::ReadAttribute(e, name, QString::fromLatin1(defaultValue), true);
}

std::unique_ptr<RegExp> expression(const QString &pattern, bool global, bool ignoreCase)
{
    auto re = std::make_unique<RegExp>();
    re->setPattern(pattern);
    re->setGlobal(global);
    re->setIgnoreCase(ignoreCase);
    return re;
}
} // namespace

RuleList::RuleList(pugi::xml_node list, RuleKind kind) : m_kind(kind)
{
    for (pugi::xml_node e = list.child("rule"); e; e = e.next_sibling("rule")) {
        Rule rule;
        rule.type = typeOf(e.attribute("type").value(), kind);
        rule.element = e;
        m_rules.push_back(std::move(rule));
    }
}

Rule &RuleList::at(size_t i)
{
    Rule &rule = m_rules[i];
    if (!rule.loaded) {
        load(rule);
        rule.loaded = true;
    }
    return rule;
}

void RuleList::load(Rule &r)
{
    const pugi::xml_node e = r.element;
    switch (r.type) {
    case RuleType::Add:
        r.text = read(e, "text", "");
        r.position = read(e, "position", "before");
        break;
    case RuleType::Remove:
    case RuleType::Extension:
        r.text = read(e, "text", "");
        break;
    case RuleType::Replace:
        r.pattern = read(e, "pattern", "");
        r.replacement = read(e, "replaceWith", "");
        break;
    case RuleType::Exif:
        r.option = read(e, "option", "DateTimeIso8601Short");
        r.position = read(e, "position", "after");
        break;
    case RuleType::Mp3:
        r.option = read(e, "option", "Song Title");
        r.position = read(e, "position", "replace");
        break;
    case RuleType::MSOffice:
        r.option = read(e, "option", "Title");
        r.position = read(e, "position", "replace");
        break;
    case RuleType::Space:
        r.option = read(e, "option", "singleSpace");
        break;
    case RuleType::CaseBase:
        r.option = read(e, "option", "capitalize");
        break;
    case RuleType::CaseExt:
        r.option = read(e, "option", "lower");
        break;
    case RuleType::NarrowWide:
        r.option = read(e, "option", "Narrow");
        break;
    case RuleType::Date:
        r.option = read(e, "option", "long date and time 1");
        r.position = read(e, "position", "replace");
        break;
    case RuleType::FolderName:
        r.position = read(e, "position", "before");
        break;
    case RuleType::Numbering: {
        r.prefix = read(e, "prefix", "");
        r.suffix = read(e, "suffix", "");
        r.text = read(e, "start", "1"); // parsed at each restart: a bad value fails the rule there
        r.position = read(e, "position", "replace");
        const std::optional<double> column = parseNumber(read(e, "column", "2"));
        if (column) {
            const int width = roundHalfEven(*column);
            r.columnValid = width >= 1;
            r.width = std::min(width, maximumDigitWidth);
        } else {
            r.width = 2;
            XmlTools::setAttribute(e, "column", QStringLiteral("2"));
        }
        break;
    }
    case RuleType::AdjustDigits:
        r.width = std::min(XmlTools::ReadIntAttribute(e, "column", 2, 1), maximumDigitWidth);
        r.group = XmlTools::ReadIntAttribute(e, "position", 1, 1);
        r.fromEnd = read(e, "firstLast", "first") == QLatin1String("last");
        r.expression = std::make_unique<RegExp>();
        break;
    case RuleType::RegexpBaseAndExt:
        r.pattern = read(e, "basePattern", "");
        r.replacement = read(e, "baseReplace", "");
        r.extPattern = read(e, "extPattern", "");
        r.extReplacement = read(e, "extReplace", "");
        r.expression = expression(r.pattern, true, true);
        r.extExpression = expression(r.extPattern, true, true);
        break;
    case RuleType::RegexpOne: {
        r.pattern = read(e, "pattern", "");
        r.replacement = read(e, "replace", "");
        const bool global = XmlTools::ReadFlagAttribute(e, "global", false);
        const bool ignoreCase = XmlTools::ReadFlagAttribute(e, "ignoreCase", true);
        r.expression = expression(r.pattern, global, ignoreCase);
        break;
    }
    case RuleType::Unknown:
        break;
    }
}

} // namespace quillbay
