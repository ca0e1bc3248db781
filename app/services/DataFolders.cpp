#include "services/DataFolders.h"

#include <QDir>
#include <QFileInfo>

namespace quillbay {

static QString xdgFolder(const char *variable, const QString &underHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        return {};
    return QDir::cleanPath(home + u'/' + underHome);
}

QString DataFolders::dataHome()
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString DataFolders::configHome()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString DataFolders::programFolder(const QString &executableFolder)
{
    const QDir executable(QDir::cleanPath(executableFolder));
    if (executable.dirName() != QLatin1String("bin"))
        return executableFolder;
    const QString installed = QDir::cleanPath(executable.filePath(QStringLiteral("../share/quillbay")));
    return QFileInfo(installed).isDir() ? installed : executableFolder;
}

DataFolders DataFolders::inFolder(const QString &dataFolder)
{
    DataFolders folders;
    folders.dataFolder = dataFolder;
    const QDir data(dataFolder);
    folders.reportFolder = data.filePath(QStringLiteral("Report"));
    folders.settingsFile = data.filePath(QStringLiteral("Setting.xml"));
    folders.optionsFile = data.filePath(QStringLiteral("app.xml"));
    folders.backupFile = data.filePath(QStringLiteral("Setting_OldVersion1.xml"));
    return folders;
}

static DataFolders underDataHome(const QString &home)
{
    const QString maker = QDir(home).filePath(QStringLiteral("Tolvane"));
    DataFolders folders = DataFolders::inFolder(QDir(maker).filePath(QStringLiteral("Quillbay")));
    folders.makerFolder = maker;
    return folders;
}

DataFolders DataFolders::resolve(const QString &programFolder)
{
    const QString home = dataHome();
    if (home.isEmpty() || !QDir().mkpath(home))
        return inFolder(programFolder);
    return underDataHome(home);
}

DataFolders DataFolders::userFolders()
{
    const QString home = dataHome();
    return home.isEmpty() ? DataFolders() : underDataHome(home);
}

} // namespace quillbay
