#pragma once
// Lists one folder the cheap way (readdir, with lstat only where the entry
// type is unknown) and keeps what the preview needs of each entry.

#include "engine/NameBlock.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

struct ScannedEntry {
    QString name;
    bool isFolder = false; // a real folder; a symbolic link is never one, whatever it points to
};

struct FolderScan {
    bool ok = false;
    int errorNumber = 0;           // errno of the failure when !ok
    QList<ScannedEntry> folders;   // in the order the file system lists them
    NameBlock files;               // everything else, symbolic links included, in the same order
    int undecodableNames = 0;      // entries whose names are not valid UTF-8; they are left out
    QList<QByteArray> undecodable; // the first kNamedUndecodable of those names, as the bytes they are
    static constexpr int kNamedUndecodable = 20;
};

FolderScan scanFolder(const QString &path);

// The last-modified time of an entry (not following a symbolic link), in
// milliseconds since the epoch; no value when it cannot be read.
std::optional<qint64> lastModifiedMSecs(const QString &path);

// A folder held open while its entries are looked at, so that each look-up
// resolves one name instead of the whole path. Opened at first use.
class FolderHandle
{
public:
    explicit FolderHandle(QString path) : m_path(std::move(path)) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    const QString &path() const { return m_path; }
    // As lastModifiedMSecs(path + "/" + name).
    std::optional<qint64> lastModifiedMSecs(const QString &name);

private:
    QString m_path;
    int m_fd = -1;
    bool m_opened = false;
};

bool folderExists(const QString &path);
bool fileExists(const QString &path);

QString joinPath(const QString &folder, const QString &name);

} // namespace quillbay
