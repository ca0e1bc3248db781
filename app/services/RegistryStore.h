#pragma once
// The registry stand-in on disk: one text file (format in RegistryFormat.h),
// "$XDG_CONFIG_HOME/Tolvane/Quillbay/registry.txt".
//
// Every read takes the file as it is on disk now; every change reads it,
// changes it and writes it back whole through a temporary file that is
// renamed over it, so a reader (the file manager extension, in another
// process) sees either the old or the new file, never a part of one.

#include "services/RegistryFormat.h"

#include <QString>
#include <functional>

namespace quillbay {

class RegistryStore
{
public:
    explicit RegistryStore(const QString &filePath = DefaultFilePath());

    // Empty when the user's configuration folder cannot be told.
    static QString DefaultFilePath();
    const QString &filePath() const { return m_filePath; }

    // A missing file is an empty store. False (and an empty content) when
    // the file exists but cannot be read.
    bool Read(RegistryContent &content, QString *errorText = nullptr) const;

    // Reads the store, lets change edit it, and writes it back when change
    // returns true. A store that cannot be read is never written over.
    bool Update(const std::function<bool(RegistryContent &)> &change, QString *errorText = nullptr);

private:
    QString m_filePath;
};

} // namespace quillbay
