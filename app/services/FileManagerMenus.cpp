#include "services/FileManagerMenus.h"

#include "base/AtomicFile.h"
#include "services/DataFolders.h"
#include "services/ThunarActions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace quillbay {

namespace {

const QString kThunarUniqueId = QStringLiteral("quillbay-the-renamer-open-folder");
const QString kIcon = QStringLiteral("Quillbay.Application");

// The title without its access-key marker ("&&" stands for "&").
QString plainTitle(const QString &title)
{
    QString plain;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'&' && i + 1 < title.size())
            ++i;
        plain += title[i];
    }
    return plain;
}

// The title for a GTK menu, which marks the access key with "_".
QString underscoreTitle(const QString &title)
{
    QString label;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'_')
            label += QStringLiteral("__");
        else if (title[i] == u'&' && i + 1 < title.size())
            label += title[++i] == u'&' ? QStringLiteral("&") : QStringLiteral("_") + title[i];
        else
            label += title[i];
    }
    return label;
}

// A value of a desktop-entry style key file: one line, with the file's escapes.
QString keyFileValue(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\t', QStringLiteral("\\t"));
    text.replace(u'\r', QStringLiteral("\\r"));
    if (text.startsWith(u' '))
        text.replace(0, 1, QStringLiteral("\\s"));
    return text;
}

// A program path as one argument of a desktop entry's Exec line.
QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (!argument.isEmpty() && std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
        return argument;
    QString quoted = argument;
    for (const QChar c : {u'\\', u'"', u'`', u'$'})
        quoted.replace(c, QStringLiteral("\\") + c);
    return u'"' + quoted + u'"';
}

// A program path as one word of a command line that the file manager splits
// the way a shell does.
QString shellArgument(const QString &argument)
{
    static const QString plain = QStringLiteral("/-_.+,:@%=");
    if (!argument.isEmpty()
        && std::all_of(argument.begin(), argument.end(), [](QChar c) { return c.isLetterOrNumber() || plain.contains(c); }))
        return argument;
    QString quoted = argument;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString dolphinText(const QString &title, const QString &opener)
{
    return QStringLiteral("[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                          "MimeType=inode/directory;\nActions=openWithQuillbay;\nX-KDE-Priority=TopLevel\n\n"
                          "[Desktop Action openWithQuillbay]\nName=%1\nIcon=%2\nExec=%3 %F\n")
        .arg(keyFileValue(plainTitle(title)), kIcon, keyFileValue(execArgument(opener)));
}

// selection: "notnone" for selected folders, "none" for the folder shown.
QString nemoText(const QString &title, const QString &help, const QString &opener, const QString &selection,
                 const QString &token)
{
    return QStringLiteral("[Nemo Action]\nName=%1\nComment=%2\nExec=%3 %4\nIcon-Name=%5\nSelection=%6\n"
                          "Extensions=dir;\nQuote=double\n")
        .arg(keyFileValue(underscoreTitle(title)), keyFileValue(help), keyFileValue(shellArgument(opener)), token, kIcon,
             selection);
}

QString thunarAction(const QString &title, const QString &help, const QString &opener)
{
    return QStringLiteral("<action>\n\t<icon>%1</icon>\n\t<name>%2</name>\n\t<submenu></submenu>\n"
                          "\t<unique-id>%3</unique-id>\n\t<command>%4 %F</command>\n"
                          "\t<description>%5</description>\n\t<range></range>\n\t<patterns>*</patterns>\n"
                          "\t<directories/>\n</action>")
        .arg(kIcon, plainTitle(title).toHtmlEscaped(), kThunarUniqueId, shellArgument(opener).toHtmlEscaped(),
             help.toHtmlEscaped());
}

// Reads a whole file as UTF-8 text; false when it cannot be read or is not UTF-8.
bool readText(const QString &path, QString &text, QString &problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder(bytes);
    if (decoder.hasError()) {
        problem = QStringLiteral("%1: not UTF-8 text; left as it is").arg(path);
        return false;
    }
    return true;
}

// Writes text unless the file holds it already; keeps the permissions of a
// file that was there. Adds the line of a failure to problems.
void writeText(const QString &path, const QString &text, QFileDevice::Permissions extra, QStringList &problems)
{
    QString old;
    QString ignored;
    const bool existed = QFileInfo::exists(path);
    const QFileDevice::Permissions before = QFile::permissions(path);
    if (existed && readText(path, old, ignored) && old == text && (before & extra) == extra)
        return;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        problems << QStringLiteral("%1: cannot create its folder").arg(path);
        return;
    }
    const SaveResult saved = writeFileAtomically(path, text.toUtf8());
    if (!saved) {
        problems << QStringLiteral("%1: %2").arg(path, saved.errorText);
        return;
    }
    const QFileDevice::Permissions after = (existed ? before : QFile::permissions(path)) | extra;
    if (!QFile::setPermissions(path, after))
        problems << QStringLiteral("%1: cannot set its permissions").arg(path);
}

void removeFile(const QString &path, QStringList &problems)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        problems << QStringLiteral("%1: %2").arg(path, file.errorString());
}

// The file a symbolic link leads to, so that a link to the user's own copy
// (kept elsewhere) stays a link.
QString linkTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
}

} // namespace

FileManagerMenus::FileManagerMenus(QString openerProgram, QString dataHome, QString configHome,
                                   QStringList systemConfigFolders)
    : m_openerProgram(std::move(openerProgram)), m_dataHome(std::move(dataHome)), m_configHome(std::move(configHome)),
      m_systemConfigFolders(std::move(systemConfigFolders))
{
}

FileManagerMenus FileManagerMenus::ForThisUser(const QString &openerProgram)
{
    QStringList system;
    for (const QString &folder : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            system << folder;
    }
    if (system.isEmpty())
        system << QStringLiteral("/etc/xdg");
    return FileManagerMenus(openerProgram, DataFolders::DataHome(), DataFolders::ConfigHome(), system);
}

QString FileManagerMenus::OpenerProgram(const QString &programFolder)
{
    const QString beside = QDir(programFolder).filePath(QStringLiteral("QuillbayOpener"));
    return QFileInfo(beside).isExecutable() ? QDir::cleanPath(QFileInfo(beside).absoluteFilePath())
                                            : QStringLiteral("QuillbayOpener");
}

QString FileManagerMenus::dolphinFile() const
{
    return m_dataHome + QStringLiteral("/kio/servicemenus/quillbay-open-folder.desktop");
}

QStringList FileManagerMenus::nemoFiles() const
{
    const QString folder = m_dataHome + QStringLiteral("/nemo/actions/");
    return {folder + QStringLiteral("quillbay-open-folder.nemo_action"),
            folder + QStringLiteral("quillbay-open-shown-folder.nemo_action")};
}

QString FileManagerMenus::thunarFile() const { return m_configHome + QStringLiteral("/Thunar/uca.xml"); }

QStringList FileManagerMenus::Write(const QString &title, const QString &help) const
{
    QStringList problems;
    if (m_dataHome.isEmpty() || m_configHome.isEmpty())
        return {QStringLiteral("The user's folders cannot be told: no file manager gets the folder command.")};
    // Dolphin takes service menus from the user's folder only when they are executable.
    writeText(dolphinFile(), dolphinText(title, m_openerProgram), QFileDevice::ExeOwner | QFileDevice::ExeUser, problems);
    const QStringList nemo = nemoFiles();
    writeText(nemo[0], nemoText(title, help, m_openerProgram, QStringLiteral("notnone"), QStringLiteral("%F")), {},
              problems);
    writeText(nemo[1], nemoText(title, help, m_openerProgram, QStringLiteral("none"), QStringLiteral("%P")), {},
              problems);
    writeThunar(title, help, problems);
    return problems;
}

std::optional<QString> FileManagerMenus::thunarStartingText(const QString &userFile, QString &problem) const
{
    QString text = ThunarActions::EmptyFile();
    if (QFileInfo::exists(userFile))
        return readText(userFile, text, problem) ? std::optional(text) : std::nullopt;
    // Thunar reads the user's file instead of the system's, so a new file
    // starts from the system's actions, which the user would otherwise lose.
    for (const QString &folder : m_systemConfigFolders) {
        const QString system = folder + QStringLiteral("/Thunar/uca.xml");
        if (QFileInfo::exists(system))
            return readText(system, text, problem) ? std::optional(text) : std::nullopt;
    }
    return text;
}

void FileManagerMenus::writeThunar(const QString &title, const QString &help, QStringList &problems) const
{
    const QString file = linkTarget(thunarFile());
    QString problem;
    const std::optional<QString> text = thunarStartingText(file, problem);
    const std::optional<QString> changed =
        text ? ThunarActions::WithAction(*text, kThunarUniqueId, thunarAction(title, help, m_openerProgram), &problem)
             : std::nullopt;
    if (changed)
        writeText(file, *changed, {}, problems);
    else
        problems << QStringLiteral("%1: %2; left as it is").arg(file, problem);
}

QStringList FileManagerMenus::Remove() const
{
    QStringList problems;
    if (m_dataHome.isEmpty() || m_configHome.isEmpty())
        return problems;
    removeFile(dolphinFile(), problems);
    for (const QString &nemo : nemoFiles())
        removeFile(nemo, problems);

    const QString thunar = linkTarget(thunarFile());
    if (!QFileInfo::exists(thunar))
        return problems;
    QString text;
    QString problem;
    const std::optional<QString> changed =
        readText(thunar, text, problem) ? ThunarActions::WithoutAction(text, kThunarUniqueId, &problem) : std::nullopt;
    if (!changed) {
        problems << QStringLiteral("%1: %2; left as it is").arg(thunar, problem);
        return problems;
    }
    if (*changed == text)
        return problems;
    // A file that holds nothing but what it was made from (the empty file or
    // the system's) goes, so that Thunar reads the system's again.
    bool madeByUs = *changed == ThunarActions::EmptyFile();
    for (const QString &folder : m_systemConfigFolders) {
        QString system;
        QString ignored;
        if (readText(folder + QStringLiteral("/Thunar/uca.xml"), system, ignored) && system == *changed)
            madeByUs = true;
    }
    if (madeByUs && thunar == thunarFile())
        removeFile(thunar, problems);
    else
        writeText(thunar, *changed, {}, problems);
    return problems;
}

} // namespace quillbay
