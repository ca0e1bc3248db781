#include "engine/Criteria.h"

#include "settings/XmlTools.h"
#include "text/CaptionText.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"

#include <QDateTime>

namespace quillbay {

QString EscapeRegExpLiteral(const QString &text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (QStringView(u"^$*+?{}.()|[]").contains(c))
            out += u'\\', out += c;
        else
            out += c;
    }
    return out;
}

namespace {

// The tabs and fields of the window that hold the criteria, as messages name them.
constexpr int kFilesCriteriaId = 1208;
constexpr int kFoldersCriteriaId = 1210;
constexpr int kFileNameStartsWithId = 1220;
constexpr int kExtensionId = 1222;
constexpr int kFolderNameStartsWithId = 1224;
constexpr int kFolderNameEndsWithId = 1238;
constexpr int kBaseNamePatternId = 1260;
constexpr int kExtensionPatternId = 1264;
constexpr int kFolderNamePatternId = 1267;
constexpr int kPatternRefusedId = 30006;

void setUp(RegExp &re, const QString &pattern, bool ignoreCase)
{
    re.setPattern(pattern);
    re.setGlobal(false);
    re.setIgnoreCase(ignoreCase);
}

QString text(pugi::xml_node e, const char *name, const char *defaultValue = "")
{
    return XmlTools::ReadAttribute(e, name, QString::fromLatin1(defaultValue), false);
}

// "jpg  jpeg" becomes ^(jpg|jpeg)$; a blank list accepts every extension.
QString extensionPattern(const QString &ext)
{
    RegExp blank;
    blank.setPattern(QStringLiteral("^\\s*$"));
    if (blank.Test(ext).value_or(false))
        return {};
    RegExp blanks;
    blanks.setPattern(QStringLiteral("\\s+"));
    blanks.setGlobal(true);
    const QString alternatives = blanks.Replace(ext, QStringLiteral("|")).value_or(ext);
    return QStringLiteral("^(") + alternatives + QStringLiteral(")$");
}

// "Files Criteria: Base name pattern "(": missing closing parenthesis at
// offset 1", in the words of the window's tabs and fields.
QString patternRefusedMessage(const RegExp &re, int criteriaId, int fieldId)
{
    return UiText::LoadTextWith(kPatternRefusedId,
                                {QStringLiteral("&criteria;"), captionInMessage(criteriaId), QStringLiteral("&field;"),
                                 captionInMessage(fieldId), QStringLiteral("&pattern;"), re.pattern(),
                                 QStringLiteral("&reason;"), regExpErrorText(re)});
}

} // namespace

Result<void> Criteria::compile(pugi::xml_node setting)
{
    const pugi::xml_node files = setting.child("fileToBeChanged");
    const bool fileRegExpMode = XmlTools::ReadFlagAttribute(files, "regExp", false);
    if (fileRegExpMode) {
        setUp(m_fileBase, text(files, "regExpBaseName"),
              XmlTools::ReadFlagAttribute(files, "regExpBaseNameIgnoreCase", false));
        setUp(m_fileExt, text(files, "regExpExt"), XmlTools::ReadFlagAttribute(files, "regExpExtIgnoreCase", false));
    } else {
        setUp(m_fileBase, QStringLiteral("^") + EscapeRegExpLiteral(text(files, "startWith")), true);
        setUp(m_fileExt, extensionPattern(text(files, "ext")), true);
    }
    m_dateFilter = XmlTools::ReadFlagAttribute(files, "dateModified", false);
    const int days = roundHalfEven(parseNumber(text(files, "days", "1")).value_or(1.0));
    m_cutOffMSecs = QDateTime::currentDateTime().addDays(-days).toMSecsSinceEpoch();

    const pugi::xml_node folders = setting.child("folderToBeChanged");
    m_folderRegExpMode = XmlTools::ReadFlagAttribute(folders, "regExp", false);
    if (m_folderRegExpMode) {
        setUp(m_folderFirst, text(folders, "regExpBaseName"),
              XmlTools::ReadFlagAttribute(folders, "regExpNameIgnoreCase", false));
    } else {
        setUp(m_folderFirst, QStringLiteral("^") + EscapeRegExpLiteral(text(folders, "startWith")), true);
        setUp(m_folderSecond, EscapeRegExpLiteral(text(folders, "endWith")) + QStringLiteral("$"), true);
    }

    // Each expression with the criteria tab and the field the user filled it in.
    struct Named {
        RegExp *re;
        int criteriaId;
        int fieldId;
    };
    const Named named[] = {
        {&m_fileBase, kFilesCriteriaId, fileRegExpMode ? kBaseNamePatternId : kFileNameStartsWithId},
        {&m_fileExt, kFilesCriteriaId, fileRegExpMode ? kExtensionPatternId : kExtensionId},
        {&m_folderFirst, kFoldersCriteriaId, m_folderRegExpMode ? kFolderNamePatternId : kFolderNameStartsWithId},
        {&m_folderSecond, kFoldersCriteriaId, kFolderNameEndsWithId},
    };
    for (const Named &n : named) {
        if (n.re == &m_folderSecond && m_folderRegExpMode)
            continue;
        if (!n.re->compile())
            return Error::fromText(kPatternRefusedId, patternRefusedMessage(*n.re, n.criteriaId, n.fieldId));
    }
    m_fileBaseAll = matchesAll(m_fileBase);
    m_fileExtAll = matchesAll(m_fileExt);
    return {};
}

bool Criteria::matchesAll(const RegExp &re)
{
    return re.pattern().isEmpty() || re.pattern() == QLatin1String("^");
}

bool Criteria::test(RegExp &re, const QString &subject)
{
    const std::optional<bool> hit = re.Test(subject);
    if (!hit) {
        m_lastError = regExpErrorText(re);
        return false;
    }
    return *hit;
}

bool Criteria::nameSelected(const QString &base, const QString &ext)
{
    // Most settings select every file: no expression needs to run then.
    return (m_fileBaseAll || test(m_fileBase, base)) && (m_fileExtAll || test(m_fileExt, ext));
}

bool Criteria::folderSelected(const QString &name)
{
    return test(m_folderFirst, name) && (m_folderRegExpMode || test(m_folderSecond, name));
}

} // namespace quillbay
