#include "ui/panes/RuleOptionSpecs.h"

namespace quillbay {

namespace {

using K = ControlSpec;

ControlSpec heading(int textId)
{
    ControlSpec spec;
    spec.kind = K::Heading;
    spec.captionId = textId;
    return spec;
}

ControlSpec control(K::Kind kind, const char *name, const char *attribute, int captionId = 0, int tooltipId = 0)
{
    ControlSpec spec;
    spec.kind = kind;
    spec.name = name;
    spec.attribute = attribute;
    spec.captionId = captionId;
    spec.tooltipId = tooltipId;
    return spec;
}

ControlSpec text(const char *name, const char *attribute, int captionId = 0, int tooltipId = 0)
{
    return control(K::Text, name, attribute, captionId, tooltipId);
}

ControlSpec number(const char *name, const char *attribute, int captionId, const char *defaultValue, int minimum,
                   NumberCheck check)
{
    ControlSpec spec = control(K::Number, name, attribute, captionId);
    spec.defaultValue = defaultValue;
    spec.minimum = minimum;
    spec.check = check;
    return spec;
}

// The "th number" box of Adjust Digits, after the First/Last list on its row.
ControlSpec digitGroupNumber(const char *name)
{
    ControlSpec spec = number(name, "position", 0, "1", 1, NumberCheck::AtLeastOne);
    spec.suffixId = 1588;
    spec.sameRow = true;
    return spec;
}

ControlSpec choice(const char *name, const char *attribute, const char *defaultValue, int fallbackIndex,
                   QList<ChoiceSpec> choices)
{
    ControlSpec spec = control(K::Choice, name, attribute);
    spec.defaultValue = defaultValue;
    spec.fallbackIndex = fallbackIndex;
    spec.choices = std::move(choices);
    return spec;
}

ControlSpec list(const char *name, const char *attribute, int captionId, OptionList entries, const char *defaultValue,
                 int fallbackIndex = 0, int tooltipId = 0)
{
    ControlSpec spec = control(K::List, name, attribute, captionId, tooltipId);
    spec.list = entries;
    spec.defaultValue = defaultValue;
    spec.fallbackIndex = fallbackIndex;
    return spec;
}

// "Set or add:" with its tooltip.
ControlSpec setOrAdd(const char *name, const char *defaultValue, int captionId = 1570, int tooltipId = 1571)
{
    return list(name, "position", captionId, OptionList::SetOrAdd, defaultValue, 0, tooltipId);
}

ControlSpec flag(const char *name, const char *attribute, int captionId, int tooltipId, const char *defaultValue)
{
    ControlSpec spec = control(K::Flag, name, attribute, captionId, tooltipId);
    spec.defaultValue = defaultValue;
    return spec;
}

const QList<ChoiceSpec> kCaseChoices{
    {1532, "lower"}, {1534, "upper", 1535}, {1536, "capitalize", 1537}, {1538, "sentence"}};
const QList<ChoiceSpec> kSpaceChoices{{1552, "singleSpace"}, {1554, "removeAll"}};

QList<PaneSpec> filePanes()
{
    return {
        {0,
         {heading(1510), text("txtNewNameFileAdd", "text"),
          choice("optNewNameFileAdd", "position", "before", 0, {{1512, "before"}, {1514, "after", 1515}})}},
        {1, {heading(1520), text("txtNewNameFileRemove", "text")}},
        {2,
         {heading(1524), text("txtNewNameFileReplacePattern", "pattern", 1526),
          text("txtNewNameFileReplaceWith", "replaceWith", 1528)}},
        {3, {heading(1530), choice("optNewNameFileCase", "option", "capitalize", 2, kCaseChoices)}},
        {4,
         {heading(1540),
          choice("optNewNameFileExtCase", "option", "lower", 0,
                 {{1542, "lower"}, {1544, "upper"}, {1536, "capitalize"}})}},
        {5, {heading(1550), choice("optNewNameFileSpace", "option", "singleSpace", 0, kSpaceChoices)}},
        {6,
         {heading(1560), text("txtNewNameFileNumberingPrefix", "prefix", 1562),
          text("txtNewNameFileNumberingSuffix", "suffix", 1563),
          number("txtNewNameFileNumberingStart", "start", 1564, "1", 0, NumberCheck::None),
          number("txtNewNameFileNumberingColumns", "column", 1566, "2", 1, NumberCheck::IsNumber),
          setOrAdd("cboNewNameFileNumberingPosition", "replace")}},
        {7,
         {heading(1580), number("txtNewNameFileAdjustDigits", "column", 1582, "2", 1, NumberCheck::AtLeastOne),
          list("cboNewNameFileAdjustDigitsFirstLast", "firstLast", 0, OptionList::FirstLast, "first"),
          digitGroupNumber("txtNewNameFileAdjstDgtsPstn")}},
        {8,
         {heading(1590), list("cboNewNameFileDate", "option", 0, OptionList::DateFormat, "long date and time 1"),
          setOrAdd("cboNewNameFileDatePosition", "replace")}},
        {9,
         {text("txtNewNameFileBaseNamePattern", "basePattern", 1260, 1231),
          text("txtNewNameFileBaseNameReplace", "baseReplace", 1262),
          text("txtNewNameFileExtPattern", "extPattern", 1264, 1233),
          text("txtNewNameFileExtReplace", "extReplace", 1266)}},
        {10,
         {heading(1600), list("cboNewNameFileMp3", "option", 0, OptionList::Mp3Tag, "Song Title", 3),
          setOrAdd("cboNewNameFileMp3Position", "replace")}},
        {11,
         {heading(1700), list("cboNewNameFileMSOffice", "option", 0, OptionList::OfficeProperty, "Title"),
          setOrAdd("cboNewNameFileMSOfficePosition", "replace")}},
        {12, {heading(1610), text("txtNewNameFileExtension", "text")}},
        {13, {heading(1620), list("cboNewNameFileDBCS", "option", 0, OptionList::Width, "Narrow")}},
        {14, {heading(1630), setOrAdd("cboNewNameFileFolderPosition", "before")}},
        {15,
         {text("txtNewNameFileRegExpNamePattern", "pattern", 1260, 1231),
          text("txtNewNameFileRegExpNameReplaceWith", "replace", 1262),
          flag("chkNewNameFileRegExpNameG", "global", 1268, 1269, "False"),
          flag("chkNewNameFileRegExpNameIC", "ignoreCase", 1236, 0, "True")}},
        {16,
         {heading(11001), list("cboNewNameFileExif", "option", 0, OptionList::ExifValue, "DateTimeIso8601Short", 1),
          setOrAdd("cboNewNameFileExifPosition", "after")}},
    };
}

// A folder "Date & Time" rule without "position" is shown as "Add before" but
// applied as "Set it as new name": the shown value is stored.
ControlSpec folderDatePosition()
{
    ControlSpec spec = setOrAdd("cboNewNameFolderDatePosition", "before", 1770, 1771);
    spec.storeWhenMissing = true;
    return spec;
}

QList<PaneSpec> folderPanes()
{
    return {
        {0,
         {heading(1710), text("txtNewNameFolderAdd", "text"),
          choice("optNewNameFolderAdd", "position", "before", 0, {{1712, "before"}, {1714, "after", 1515}})}},
        {1, {heading(1720), text("txtNewNameFolderRemove", "text")}},
        {2,
         {heading(1724), text("txtNewNameFolderReplacePattern", "pattern", 1526),
          text("txtNewNameFolderReplaceWith", "replaceWith", 1528)}},
        {3,
         {text("txtNewFolderRegExpPattern", "pattern", 1267, 1237), text("txtNewFolderRegExpReplace", "replace", 1262),
          flag("chkNewNameFolderNameG", "global", 1268, 1269, "False"),
          flag("chkNewNameFolderNameIC", "ignoreCase", 1236, 0, "True")}},
        {4, {heading(1730), choice("optNewNameFolderCase", "option", "capitalize", 2, kCaseChoices)}},
        {5, {heading(1620), list("cboNewNameFolderDBCS", "option", 0, OptionList::Width, "Narrow")}},
        {6, {heading(1550), choice("optNewNameFolderSpace", "option", "singleSpace", 0, kSpaceChoices)}},
        {7,
         {heading(1780), number("txtNewNameFolderAdjustDigits", "column", 1582, "2", 1, NumberCheck::AtLeastOne),
          list("cboNewNameFolderAdjstDgtsFrstLst", "firstLast", 0, OptionList::FirstLast, "first"),
          digitGroupNumber("txtNewNameFolderAdjstDgtsPstn")}},
        {8,
         {heading(1790), list("cboNewNameFolderDate", "option", 0, OptionList::DateFormat, "long date and time 1"),
          folderDatePosition()}},
    };
}

} // namespace

const QList<PaneSpec> &rulePaneSpecs(RuleKind kind)
{
    static const QList<PaneSpec> files = filePanes();
    static const QList<PaneSpec> folders = folderPanes();
    return kind == RuleKind::File ? files : folders;
}

} // namespace quillbay
