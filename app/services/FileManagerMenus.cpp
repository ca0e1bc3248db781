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
    if (!argument.isEmpty()
        && std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
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
    if (!argument.isEmpty() && std::all_of(argument.begin(), argument.end(), [](QChar c) {
            return c.isLetterOrNumber() || plain.contains(c);
        }))
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
        .arg(keyFileValue(underscoreTitle(title)), keyFileValue(help), keyFileValue(shellArgument(opener)), token,
             kIcon, selection);
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

// A whole file as UTF-8 text; fails when it cannot be read or is not UTF-8.
Result<QString> readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::withMessage(file.errorString()).about(path);
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return Error::withMessage(QStringLiteral("not UTF-8 text")).about(path);
    return text;
}

// Writes text unless the file holds it already; keeps the permissions of a
// file that was there and adds extra to them.
Result<void> writeText(const QString &path, const QString &text, QFileDevice::Permissions extra = {})
{
    const bool existed = QFileInfo::exists(path);
    const QFileDevice::Permissions before = QFile::permissions(path);
    if (existed && readText(path).valueOr(QString()) == text && (before & extra) == extra)
        return {};
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Error::withMessage(QStringLiteral("cannot create its folder")).about(path);
    const Result<void> saved = writeFileAtomically(path, text.toUtf8());
    if (!saved)
        return saved.error().about(path);
    const QFileDevice::Permissions after = (existed ? before : QFile::permissions(path)) | extra;
    if (!QFile::setPermissions(path, after))
        return Error::withMessage(QStringLiteral("cannot set its permissions")).about(path);
    return {};
}

Result<void> removeFile(const QString &path)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        return Error::withMessage(file.errorString()).about(path);
    return {};
}

// Every failure of a series of steps, one line each.
class Problems
{
public:
    void add(const Result<void> &step)
    {
        if (!step)
            m_lines << step.error().message;
    }
    Result<void> outcome() const
    {
        if (m_lines.isEmpty())
            return {};
        return Error::withMessage(m_lines.join(u'\n'));
    }

private:
    QStringList m_lines;
};

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

FileManagerMenus FileManagerMenus::forThisUser(const QString &openerProgram)
{
    QStringList system;
    for (const QString &folder : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            system << folder;
    }
    if (system.isEmpty())
        system << QStringLiteral("/etc/xdg");
    return FileManagerMenus(openerProgram, DataFolders::dataHome(), DataFolders::configHome(), system);
}

QString FileManagerMenus::openerProgram(const QString &programFolder)
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

QString FileManagerMenus::thunarFile() const
{
    return m_configHome + QStringLiteral("/Thunar/uca.xml");
}

Result<void> FileManagerMenus::write(const QString &title, const QString &help) const
{
    if (m_dataHome.isEmpty() || m_configHome.isEmpty())
        return Error::withMessage(
            QStringLiteral("The user's folders cannot be told: no file manager gets the folder command."));
    Problems problems;
    // Dolphin takes service menus from the user's folder only when they are executable.
    problems.add(
        writeText(dolphinFile(), dolphinText(title, m_openerProgram), QFileDevice::ExeOwner | QFileDevice::ExeUser));
    const QStringList nemo = nemoFiles();
    problems.add(
        writeText(nemo[0], nemoText(title, help, m_openerProgram, QStringLiteral("notnone"), QStringLiteral("%F"))));
    problems.add(
        writeText(nemo[1], nemoText(title, help, m_openerProgram, QStringLiteral("none"), QStringLiteral("%P"))));
    problems.add(writeThunar(title, help));
    return problems.outcome();
}

Result<QString> FileManagerMenus::thunarStartingText(const QString &userFile) const
{
    if (QFileInfo::exists(userFile))
        return readText(userFile);
    // Thunar reads the user's file instead of the system's, so a new file
    // starts from the system's actions, which the user would otherwise lose.
    for (const QString &folder : m_systemConfigFolders) {
        const QString system = folder + QStringLiteral("/Thunar/uca.xml");
        if (QFileInfo::exists(system))
            return readText(system);
    }
    return ThunarActions::emptyFile();
}

Result<void> FileManagerMenus::writeThunar(const QString &title, const QString &help) const
{
    const QString file = linkTarget(thunarFile());
    const Result<QString> text = thunarStartingText(file);
    if (!text)
        return Error::withMessage(text.error().message + QStringLiteral("; left as it is"));
    const Result<QString> changed =
        ThunarActions::withAction(*text, kThunarUniqueId, thunarAction(title, help, m_openerProgram));
    if (!changed)
        return Error::withMessage(file + QStringLiteral(": ") + changed.error().message
                                  + QStringLiteral("; left as it is"));
    return writeText(file, *changed);
}

Result<void> FileManagerMenus::remove() const
{
    if (m_dataHome.isEmpty() || m_configHome.isEmpty())
        return {};
    Problems problems;
    problems.add(removeFile(dolphinFile()));
    for (const QString &nemo : nemoFiles())
        problems.add(removeFile(nemo));
    problems.add(removeThunar());
    return problems.outcome();
}

Result<void> FileManagerMenus::removeThunar() const
{
    const QString file = linkTarget(thunarFile());
    if (!QFileInfo::exists(file))
        return {};
    const Result<QString> text = readText(file);
    if (!text)
        return Error::withMessage(text.error().message + QStringLiteral("; left as it is"));
    const Result<QString> changed = ThunarActions::withoutAction(*text, kThunarUniqueId);
    if (!changed)
        return Error::withMessage(file + QStringLiteral(": ") + changed.error().message
                                  + QStringLiteral("; left as it is"));
    if (*changed == *text)
        return {};
    // A file that holds nothing but what it was made from (the empty file or
    // the system's) goes, so that Thunar reads the system's again.
    bool madeByUs = *changed == ThunarActions::emptyFile();
    for (const QString &folder : m_systemConfigFolders)
        madeByUs = madeByUs || readText(folder + QStringLiteral("/Thunar/uca.xml")).valueOr(QString()) == *changed;
    if (madeByUs && file == thunarFile())
        return removeFile(file);
    return writeText(file, *changed);
}

} // namespace quillbay
