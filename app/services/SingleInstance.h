#pragma once
// Keeps a second instance of the program from running beside the first.
//
// The running instance holds an exclusive lock (flock) on a lock file for as
// long as it lives. The kernel drops the lock when the process ends in any
// way, a crash or a kill included, so a lock file left behind never blocks
// the next start: only a live holder does.

#include <QString>

namespace quillbay {

class SingleInstance
{
public:
    enum class Outcome {
        Acquired,        // this is the only instance
        AnotherInstance, // another live process holds the lock
        Unavailable,     // the lock file cannot be opened: nothing can be told
    };

    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // "$XDG_RUNTIME_DIR/Tolvane-Quillbay.lock" when that folder exists (it is
    // private to the user's session); empty otherwise.
    static QString runtimeLockFile();
    // Where the lock goes without a runtime folder: "Quillbay.lock" in the data folder.
    static QString dataFolderLockFile(const QString &dataFolder);

    // Creates the lock file's folder when needed and tries to take the lock
    // without waiting. The lock is kept until this object is destroyed.
    Outcome acquire(const QString &lockFilePath);

    // The system's description of why the lock file could not be used.
    QString errorText() const { return m_errorText; }

private:
    int m_fd = -1;
    QString m_errorText;
};

} // namespace quillbay
