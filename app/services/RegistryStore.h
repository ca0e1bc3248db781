#pragma once
// The registry stand-in on disk: one text file (format in RegistryFormat.h),
// "$XDG_CONFIG_HOME/Tolvane/Quillbay/registry.txt".
//
// Every read takes the file as it is on disk now; every change reads it,
// changes it and writes it back whole through a temporary file that is
// renamed over it, so a reader (the file manager extension, in another
// process) sees either the old or the new file, never a part of one.

#include "base/Result.h"
#include "services/RegistryFormat.h"

#include <QString>
#include <functional>

namespace quillbay {

class RegistryStore
{
public:
    explicit RegistryStore(const QString &filePath = defaultFilePath());

    // Empty when the user's configuration folder cannot be told.
    static QString defaultFilePath();
    const QString &filePath() const { return m_filePath; }

    // The content of the store; a missing file is an empty store. An error
    // when the file exists but cannot be read.
    Result<RegistryContent> read() const;

    // Reads the store, lets change edit it, and writes it back when change
    // returns true (it returns false when it changed nothing). A store that
    // cannot be read is never written over. An error when the store could
    // not be read or written.
    Result<void> update(const std::function<bool(RegistryContent &)> &change);

private:
    QString m_filePath;
};

} // namespace quillbay
