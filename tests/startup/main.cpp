// Runs every test class of the start-up area in one executable. With
// "--save-loop <folder>" or "--hold-lock <file>" the executable is instead
// a child process that a test kills: one in the middle of saving, one while
// it holds the instance lock.
#include <QCoreApplication>
#include <QString>
#include <cstring>

int runArgumentsTests(int argc, char **argv);
int runRegistryTests(int argc, char **argv);
int runOptionsTests(int argc, char **argv);
int runSettingsStoreTests(int argc, char **argv);
int runStartupTests(int argc, char **argv);
int runCliDefaultSettingsTests(int argc, char **argv);
int runSaveLoop(const QString &dataFolder);
int runLockHolder(const QString &lockFile);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--save-loop") == 0)
        return runSaveLoop(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return runLockHolder(QString::fromLocal8Bit(argv[2]));
    int failures = 0;
    failures += runArgumentsTests(argc, argv);
    failures += runRegistryTests(argc, argv);
    failures += runOptionsTests(argc, argv);
    failures += runSettingsStoreTests(argc, argv);
    failures += runStartupTests(argc, argv);
    failures += runCliDefaultSettingsTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
