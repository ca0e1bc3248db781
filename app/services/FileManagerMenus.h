#pragma once
// The program's folder command in the file managers that take commands from
// files in the user's folders rather than from an extension: a Dolphin
// service menu, Nemo actions (for selected folders and for the folder shown),
// and an action in Thunar's custom actions file. Each runs QuillbayOpener
// with the folders. Written when the folder-menu option is on, taken away
// when it is off; the user's own Thunar actions are never changed.

#include "base/Result.h"

#include <QString>
#include <QStringList>

namespace quillbay {

class FileManagerMenus
{
public:
    // openerProgram: an absolute path, or a name for the PATH to find.
    // dataHome, configHome: the user's data and configuration folders
    // ("~/.local/share", "~/.config"); systemConfigFolders: the system's
    // configuration folders, where Thunar keeps the actions a new user starts with.
    FileManagerMenus(QString openerProgram, QString dataHome, QString configHome, QStringList systemConfigFolders);
    // The folders of this user and system (XDG base directories).
    static FileManagerMenus forThisUser(const QString &openerProgram);
    // QuillbayOpener beside the program in programFolder when it is there;
    // otherwise the name alone, for the PATH to find.
    static QString openerProgram(const QString &programFolder);

    QString dolphinFile() const;
    QStringList nemoFiles() const;
    QString thunarFile() const;

    // Writes or rewrites the command in each place. title has "&" before its
    // access key, as the registry value has it. Goes on past a place that
    // fails; the error then names every failure, one line each.
    Result<void> write(const QString &title, const QString &help) const;
    // Takes the command away from each place where it is; fails as Write.
    Result<void> remove() const;

private:
    Result<QString> thunarStartingText(const QString &userFile) const;
    Result<void> writeThunar(const QString &title, const QString &help) const;
    Result<void> removeThunar() const;

    QString m_openerProgram;
    QString m_dataHome;
    QString m_configHome;
    QStringList m_systemConfigFolders;
};

} // namespace quillbay
