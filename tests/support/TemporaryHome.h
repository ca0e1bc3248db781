#pragma once
// A home of its own for a program that a test starts: the data,
// configuration, cache, state and runtime folders in a temporary folder, and
// an environment that names only them (no display, English messages), so that
// nothing the program does reaches anyone's real home. The temporary folder
// lies in the test's own home, which the test command points into the build
// tree, and is removed with the object.

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace quillbay::test {

class TemporaryHome
{
public:
    TemporaryHome();

    bool isValid() const { return m_dir.isValid(); }
    // The temporary folder, and a path inside it (beside the home).
    QString root() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString home() const { return path(QStringLiteral("home")); }
    QString dataHome() const { return path(QStringLiteral("home/.local/share")); }
    QString configHome() const { return path(QStringLiteral("home/.config")); }
    QString runtimeFolder() const { return path(QStringLiteral("runtime")); }
    // The program's own folders below them.
    QString dataFolder() const { return dataHome() + QStringLiteral("/Tolvane/Quillbay"); }
    QString registryFile() const { return configHome() + QStringLiteral("/Tolvane/Quillbay/registry.txt"); }

    // PATH, the home and XDG folders, LANG=C.UTF-8, and the options of a
    // sanitizer build. Without the runtime folder, XDG_RUNTIME_DIR is unset.
    QProcessEnvironment environment(bool withRuntimeFolder = true) const;

private:
    QTemporaryDir m_dir;
};

} // namespace quillbay::test
