#pragma once
// The start-up of the main program: checks the platform, refuses a second
// instance, creates the program's objects in a fixed order, prepares the
// user's folders and files, reads the options and the settings, and then acts
// on the command line.
//
// Each step runs only when the earlier ones succeeded. The number of the stage
// in progress appears in the message of an unexpected failure
// ("Initialization error: 501"). Until the program has its window, the window
// stages create nothing, messages go to standard error, and after start-up the
// program ends as if its window were closed at once (saving the options and
// settings). The unattended run ("-exec") never needs a display.

#include "base/Arguments.h"
#include "main/StartupWindow.h"
#include "services/DiskSpace.h"
#include "services/RegistryStore.h"
#include "services/SingleInstance.h"
#include "settings/SettingsStore.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/ProgramState.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace quillbay {

class CommonGeneral;
class Manager;
class Options;

// The exit status of the main program.
enum StartupExit {
    ExitNormal = 0,
    ExitStartRefused = 1,   // a check refused the start, or it failed
    ExitRunNotPossible = 2, // the unattended run could not make a preview
    ExitRunIncomplete = 3,  // some entries were not renamed, or the report was not saved
    ExitNotSaved = 4,       // the options and settings could not be saved at the end
};

// What the start-up takes from its surroundings; tests replace any of it.
struct StartupEnvironment {
    QString programFolder;
    QStringList arguments;                     // the command line without the program's name
    UserMessage showMessage;                   // a message the user must see (text, title)
    RetryQuestion askRetry;                    // after a failed save: try again?
    std::function<void(const QString &)> note; // what the user may want to know
    std::function<std::optional<qint64>(const QString &path)> freeBytes = quillbay::freeBytes;
    QString registryFile = RegistryStore::defaultFilePath();
    QString lockFile; // empty: SingleInstance::LockFilePath
    // Creates the main window; without one the program ends after start-up
    // as if its window had been closed at once (the unattended run needs none).
    StartupWindowFactory makeWindow;
    // What the file managers' folder command runs.
    QString openerProgram = QStringLiteral("QuillbayOpener");

    // This process: the program's folder and arguments, messages on standard
    // error, no retry after a failed save (nobody may be there to answer).
    static StartupEnvironment forThisProcess(const QStringList &arguments, const QString &programFolder);
};

class Startup
{
public:
    explicit Startup(StartupEnvironment environment);
    ~Startup();

    // The whole life of the program: start-up, the command line, the end.
    int run();

    int stage() const { return m_stage; }
    // busy from the first step until the command line has been read (the
    // window refuses to close, requests from outside wait); ready once
    // start-up has finished.
    const ProgramState &flags() const { return m_flags; }
    // A folder named on the command line, waiting for the select-setting step.
    const QString &pendingOpenPath() const { return m_pendingOpenPath; }

private:
    bool startUp();
    bool checkSystem();
    bool checkSingleInstance();
    bool createObjects();
    bool checkFreeSpace();
    void prepareDataFolder();
    void readOptionsAndSettings();
    void recoverInterruptedRuns();
    void deleteOldReports();
    bool createWindow();
    int actOnCommandLine(const CommandLineRequest &request);
    int runWindow(const CommandLineRequest &request);
    int end(int status);
    void refuse(int textId);

    StartupEnvironment m_env;
    int m_stage = 0;
    ProgramState m_flags;
    QString m_pendingOpenPath;
    SingleInstance m_instance;
    std::unique_ptr<CommonGeneral> m_common;
    std::unique_ptr<Manager> m_manager;
    std::unique_ptr<Options> m_options;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<StartupWindow> m_window;
};

} // namespace quillbay
