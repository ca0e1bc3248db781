#include "engine/FileRules.h"

#include "engine/FolderScanner.h"
#include "engine/NameDate.h"
#include "engine/RuleSteps.h"
#include "metadata/MetadataSource.h"
#include "settings/XmlTools.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <QStringBuilder>

#include <optional>

namespace quillbay {

SplitName splitFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {name, QString()};
    return {name.left(dot), name.mid(dot + 1)};
}

// What the rules know of the file they work on. Metadata is read only when a
// rule asks for it, and at most once per file.
struct FileRules::FileState {
    const FileItem &file;
    QString base;
    QString ext;
    std::optional<std::optional<ExifFacts>> exif;
    std::optional<std::optional<Mp3Facts>> mp3;
    std::optional<std::optional<OfficeFacts>> office;

    QString fullPath() const { return joinPath(file.folderPath, file.name); }
};

FileRules::FileRules(pugi::xml_node list, MetadataSource &metadata)
    : m_rules(list, RuleKind::File), m_metadata(metadata)
{
}

Result<RuleOutcome> FileRules::ApplyFileRules(const FileItem &file)
{
    const SplitName original = splitFileName(file.name);
    FileState state{file, original.base, original.ext, {}, {}, {}};
    RuleOutcome outcome;
    for (size_t i = 0; i < m_rules.size(); ++i) {
        if (Result<void> applied = applyRule(m_rules.at(i), state); !applied)
            return applied.error();
    }
    if (state.base == original.base && state.ext == original.ext)
        return outcome;
    outcome.changed = true;
    outcome.newName = state.ext.isEmpty() ? state.base : QString(state.base % u'.' % state.ext);
    return outcome;
}

static Result<void> replaceBy(RegExp &re, QString &text, const QString &replacement)
{
    std::optional<QString> replaced = re.Replace(text, replacement);
    if (!replaced)
        return Error::withMessage(regExpErrorText(re));
    text = std::move(*replaced);
    return {};
}

Result<void> FileRules::applyRule(Rule &r, FileState &s)
{
    switch (r.type) {
    case RuleType::Add:
        s.base = addText(s.base, r.text, r.position);
        return {};
    case RuleType::Remove:
        s.base = removeText(s.base, r.text);
        return {};
    case RuleType::Extension:
        s.ext = r.text;
        return {};
    case RuleType::Replace:
        s.base = replaceText(s.base, r.pattern, r.replacement);
        return {};
    case RuleType::Exif:
        if (!s.exif)
            s.exif = m_metadata.readExif(s.fullPath());
        if (*s.exif)
            s.base = placeValue(s.base, exifValue(r, s), r.position);
        return {};
    case RuleType::Mp3:
        if (!s.mp3)
            s.mp3 = m_metadata.readMp3(s.fullPath());
        if (*s.mp3)
            s.base = placeValue(s.base, mp3Value(r, s), r.position);
        return {};
    case RuleType::MSOffice:
        if (!s.office)
            s.office = m_metadata.readOffice(s.fullPath());
        if (*s.office)
            s.base = placeValue(s.base, officeValue(r, s), r.position);
        return {};
    case RuleType::Space:
        s.base = applySpaceRule(s.base, r.option);
        s.ext = applySpaceRule(s.ext, r.option);
        return {};
    case RuleType::CaseBase:
        s.base = applyCaseRule(s.base, r.option, true);
        return {};
    case RuleType::CaseExt:
        s.ext = applyCaseRule(s.ext, r.option, false);
        return {};
    case RuleType::Date: {
        const std::optional<qint64> modified = s.file.modifiedMSecs ? s.file.modifiedMSecs
            : s.file.folder                                         ? s.file.folder->lastModifiedMSecs(s.file.name)
                                                                    : lastModifiedMSecs(s.fullPath());
        if (!modified)
            return Error::fromText(30050, UiText::LoadText(30050));
        const LocalDateTime local = localDateTimeOf(*modified);
        s.base = placeValue(s.base, FormatNameDate(r.option, local.date, local.time), r.position);
        return {};
    }
    case RuleType::FolderName:
        s.base = placeValue(s.base, s.file.folderName, r.position);
        return {};
    case RuleType::Numbering:
        return applyNumbering(r, s);
    case RuleType::AdjustDigits:
        if (auto adjusted = adjustDigitGroup(*r.expression, s.base, r.width, r.group, r.fromEnd))
            s.base = std::move(*adjusted);
        return {};
    case RuleType::RegexpBaseAndExt:
        if (Result<void> base = replaceBy(*r.expression, s.base, r.replacement); !base)
            return base;
        return replaceBy(*r.extExpression, s.ext, r.extReplacement);
    case RuleType::RegexpOne:
        return replaceBy(*r.expression, s.base, r.replacement);
    case RuleType::NarrowWide:
        s.base = applyWidthRule(s.base, r.option);
        return {};
    case RuleType::Unknown:
        return {};
    }
    return {};
}

Result<void> FileRules::applyNumbering(Rule &r, FileState &s)
{
    if (m_restart) {
        m_restart = false;
        const std::optional<double> start = parseNumber(r.text);
        if (!start) {
            m_restart = true; // the next file tries the start value again, and fails the same way
            return Error::fromText(30052, UiText::LoadTextWith(30052, {QStringLiteral("&text;"), r.text}));
        }
        m_counter = roundHalfEven(*start);
    } else {
        ++m_counter;
    }
    if (!r.columnValid)
        return Error::fromText(30053, UiText::LoadText(30053));
    const QString number = padDigits(QString::number(m_counter), r.width);
    s.base = placeValue(s.base, r.prefix % number % r.suffix, r.position);
    return {};
}

QString FileRules::exifValue(const Rule &r, FileState &s)
{
    const ExifFacts &exif = **s.exif;
    const int datePosition = nameDateOptions().indexOf(r.option);
    if (datePosition >= 0 && datePosition <= 3)
        return exif.hasDateTime ? FormatNameDate(r.option, exif.dateTime) : QString();
    if (r.option == QLatin1String("Width"))
        return QString::number(exif.width);
    if (r.option == QLatin1String("Height"))
        return QString::number(exif.height);
    if (r.option == QLatin1String("Manufacturer"))
        return exif.manufacturer;
    if (r.option == QLatin1String("Model"))
        return exif.model;
    if (r.option == QLatin1String("Flash"))
        return exif.flash;
    if (r.option == QLatin1String("F number"))
        return exif.fNumber;
    if (r.option == QLatin1String("ExposureTime"))
        return exif.exposureTime;
    if (r.option == QLatin1String("ExposureTimeRev"))
        return exif.exposureTimeReciprocal;
    return {};
}

QString FileRules::mp3Value(const Rule &r, FileState &s)
{
    const Mp3Facts &tag = **s.mp3;
    if (r.option == QLatin1String("Song Title"))
        return tag.songTitle;
    if (r.option == QLatin1String("Artist"))
        return tag.artist;
    if (r.option == QLatin1String("Album"))
        return tag.album;
    if (r.option == QLatin1String("Year"))
        return tag.year;
    if (r.option == QLatin1String("Comment"))
        return tag.comment;
    return {};
}

QString FileRules::officeValue(const Rule &r, FileState &s)
{
    const OfficeFacts &props = **s.office;
    if (r.option == QLatin1String("Title"))
        return props.title;
    if (r.option == QLatin1String("Subject"))
        return props.subject;
    if (r.option == QLatin1String("Author"))
        return props.author;
    return {};
}

} // namespace quillbay
