#pragma once
// Lists one folder the cheap way (readdir, with lstat only where the entry
// type is unknown) and keeps what the preview needs of each entry.

#include <QDateTime>
#include <QString>
#include <QList>

namespace quillbay {

struct ScannedEntry {
    QString name;
    bool isFolder = false; // a real folder; a symbolic link is never one, whatever it points to
};

struct FolderScan {
    bool ok = false;
    int errorNumber = 0;        // errno of the failure when !ok
    QList<ScannedEntry> folders; // in the order the file system lists them
    QList<ScannedEntry> files;
    int undecodableNames = 0;    // entries whose names are not valid UTF-8; they are left out
};

FolderScan scanFolder(const QString &path);

// The last-modified time of an entry in local time; invalid when it cannot be read.
QDateTime lastModified(const QString &path);

bool folderExists(const QString &path);
bool fileExists(const QString &path);

QString joinPath(const QString &folder, const QString &name);

} // namespace quillbay
