#pragma once
// Saving a report: the run's time names the file ("2004-01-31 180509.xml"), and
// a report never replaces another one. Two runs within one second keep both
// reports: the later one is saved as "2004-01-31 180509 (2).xml".

#include "base/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

namespace quillbay {

class ReportStore
{
public:
    // "yyyy-mm-dd hh:mm:ss" (24-hour clock): the report's date attribute.
    static QString dateText(const QDateTime &time);
    // "yyyy-mm-dd hhmmss": the report's file name without extension.
    static QString fileStem(const QDateTime &time);

    // Writes bytes to a new file in folder named after stem and suffix, taking
    // the first free one of "stem.suffix", "stem (2).suffix", ... The bytes are
    // flushed to disk before the file gets its name, so a report that exists is
    // whole. The full path of the saved report, or the system's error.
    static Result<QString> saveNew(const QString &folder, const QString &stem, const QString &suffix,
                                   const QByteArray &bytes);
    // The same, with the content written by writeContent to the open file
    // (false, with errno set, when it could not write everything).
    static Result<QString> saveNew(const QString &folder, const QString &stem, const QString &suffix,
                                   const std::function<bool(int fd)> &writeContent);

    // A save writes into a temporary file ".report-<pid>-XXXXXX" in the report
    // folder and holds a lock on it until the file has its report name. A
    // program killed in the middle leaves that file behind; this removes every
    // such file whose lock is free and whose writer is gone (its process has
    // ended, or the file is older than a save could take to begin), and leaves
    // a save in progress in another process alone. The number removed.
    static int removeAbandonedSaves(const QString &folder);

    // Moves the file from (inside fromDir) into toDir under the first free name
    // as above; never replaces anything.
    static Result<QString> moveToFreeName(int fromDir, const QByteArray &from, int toDir, const QString &toFolder,
                                          const QString &stem, const QString &suffix);
};

} // namespace quillbay
