#include "TemporaryHome.h"

#include <QDir>
#include <QFile>

namespace quillbay::test {

TemporaryHome::TemporaryHome() : m_dir(QDir::home().filePath(QStringLiteral("home-XXXXXX")))
{
    QDir().mkpath(runtimeFolder());
    QFile::setPermissions(runtimeFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment TemporaryHome::environment(bool withRuntimeFolder) const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral("home/.cache")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("home/.local/state")));
    if (withRuntimeFolder)
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    // Sanitizer builds need their options passed on.
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (qEnvironmentVariableIsSet(name))
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    return env;
}

} // namespace quillbay::test
