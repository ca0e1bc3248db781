#include "engine/Criteria.h"

#include "settings/XmlTools.h"

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
} // namespace

Result<void> Criteria::compile(pugi::xml_node setting)
{
    const pugi::xml_node files = setting.child("fileToBeChanged");
    if (XmlTools::ReadFlagAttribute(files, "regExp", false)) {
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

    struct Named {
        RegExp *re;
        const char *what;
    };
    for (const Named &n : {Named{&m_fileBase, "files: base name"}, Named{&m_fileExt, "files: extension"},
                           Named{&m_folderFirst, "folders: name"}, Named{&m_folderSecond, "folders: name end"}}) {
        if (n.re == &m_folderSecond && m_folderRegExpMode)
            continue;
        if (!n.re->compile())
            return Error::withMessage(QStringLiteral("%1 pattern \"%2\": %3")
                                          .arg(QString::fromLatin1(n.what), n.re->pattern(), n.re->errorText()));
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
        m_lastError = re.errorText();
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
