#include "main/Startup.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "main/UnattendedRun.h"
#include "run/JournalRecovery.h"
#include "run/ReportFolders.h"
#include "services/CommonGeneral.h"
#include "services/FileManagerMenus.h"
#include "settings/Options.h"
#include "text/UiText.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

namespace quillbay {

namespace {

// Message texts break their lines as message boxes do ("\r\n"); a terminal
// wants "\n".
void printToStandardError(const QString &text)
{
    const QByteArray bytes = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

StartupEnvironment StartupEnvironment::forThisProcess(const QStringList &arguments, const QString &programFolder)
{
    StartupEnvironment env;
    env.programFolder = programFolder;
    env.arguments = arguments;
    env.openerProgram = FileManagerMenus::openerProgram(QCoreApplication::applicationDirPath());
    env.note = [](const QString &text) { printToStandardError(QStringLiteral("Quillbay: ") + text); };
    env.showMessage = [](const QString &text, const QString &title) {
        printToStandardError(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
    };
    env.askRetry = [](const QString &text, const QString &title, const QString &reason) {
        printToStandardError(title + QStringLiteral(": ") + text + QStringLiteral(" (") + reason + u')');
        return false;
    };
    return env;
}

Startup::Startup(StartupEnvironment environment) : m_env(std::move(environment))
{
    if (!m_env.showMessage)
        m_env.showMessage = [](const QString &, const QString &) {};
    if (!m_env.note)
        m_env.note = [](const QString &) {};
    if (!m_env.freeBytes)
        m_env.freeBytes = quillbay::freeBytes;
}

Startup::~Startup() = default;

int Startup::run()
{
    try {
        if (!startUp())
            return ExitStartRefused;
        m_stage = 700;
        const CommandLineRequest request = readCommandLine(m_env.arguments);
        m_flags.setBusy(false);
        m_flags.setReady();
        return m_window && !request.immediateRun ? runWindow(request) : actOnCommandLine(request);
    } catch (const std::exception &) {
        // Nothing here throws by design; running out of memory is what is left.
        m_env.showMessage(QStringLiteral("Initialization error: %1").arg(m_stage), UiText::LoadText(400));
        return ExitStartRefused;
    }
}

void Startup::refuse(int textId)
{
    m_env.showMessage(UiText::LoadText(textId), UiText::LoadText(400));
}

bool Startup::startUp()
{
    m_flags.setBusy(true);
    m_stage = 100;
    m_common = std::make_unique<CommonGeneral>(RegistryStore(m_env.registryFile));
    if (!checkSystem())
        return false;
    // Stage 110 created the registry access of the platform, which is part of
    // CommonGeneral here. The check of the system's browser component that
    // followed has no counterpart: help and reports open in the user's browser.
    m_stage = 120;
    if (!checkSingleInstance())
        return false;
    if (!createObjects() || !createWindow())
        return false;
    m_stage = 400;
    if (!m_manager || !m_store) {
        m_env.showMessage(QStringLiteral("Initialization error: %1").arg(m_stage), UiText::LoadText(400));
        return false;
    }
    m_store->ResolveDataFolders(m_env.programFolder);
    if (!checkFreeSpace())
        return false;
    m_stage = 501;
    prepareDataFolder();
    m_stage = 503;
    readOptionsAndSettings();
    // Stages 602 and 610 show the main window and fill it; the window loads
    // by deleting the reports past their holding time.
    m_stage = 602;
    if (m_window)
        m_window->show();
    else
        deleteOldReports();
    m_stage = 610;
    if (m_window)
        m_window->fill();
    return true;
}

bool Startup::checkSystem()
{
    if (m_common->checkSystem())
        return true;
    refuse(420);
    return false;
}

bool Startup::checkSingleInstance()
{
    QString lockFile = m_env.lockFile;
    if (lockFile.isEmpty())
        lockFile = SingleInstance::runtimeLockFile();
    if (lockFile.isEmpty())
        lockFile = SingleInstance::dataFolderLockFile(DataFolders::resolve(m_env.programFolder).dataFolder);
    switch (m_instance.acquire(lockFile)) {
    case SingleInstance::Outcome::Acquired:
        return true;
    case SingleInstance::Outcome::AnotherInstance:
        refuse(440);
        return false;
    case SingleInstance::Outcome::Unavailable:
        break;
    }
    m_env.note(QStringLiteral("Cannot tell whether another instance is running: %1: %2")
                   .arg(lockFile, m_instance.errorText()));
    return true;
}

bool Startup::createObjects()
{
    // Stages 121 (file system), 133 (regular expressions), 310 (element
    // operations) and 331 (name utilities) create nothing here: those are
    // classes used in place. The main window (321) comes after the engine's
    // owner, since it works on its documents from the start.
    m_stage = 332;
    m_manager = std::make_unique<Manager>();
    m_options = std::make_unique<Options>();
    m_store = std::make_unique<SettingsStore>(m_manager->settings(), *m_options);
    m_context = std::make_unique<ProgramContext>(ProgramContext{*m_manager, *m_options, *m_store, m_common->registry(),
                                                                m_flags, m_env.programFolder, m_env.openerProgram});
    return true;
}

bool Startup::createWindow()
{
    if (!m_env.makeWindow)
        return true;
    m_stage = 321;
    m_window = m_env.makeWindow(*m_context);
    if (m_window)
        return true;
    m_env.showMessage(QStringLiteral("Initialization error: %1").arg(m_stage), UiText::LoadText(400));
    return false;
}

// The window's life: the folder of the command line goes to the select-setting
// step once the window is shown, then the window runs until it is closed,
// which saves the options and the settings and deletes old reports.
int Startup::runWindow(const CommandLineRequest &request)
{
    // The command line's folder takes the pending slot; then whatever is
    // pending (it, or a request from another program) is carried out.
    m_pendingOpenPath = request.openPath;
    m_window->deliverPendingRequest(m_pendingOpenPath);
    return m_window->runUntilClosed() ? ExitNormal : ExitNotSaved;
}

bool Startup::checkFreeSpace()
{
    for (const QString &folder : {m_env.programFolder, m_store->folders().dataFolder}) {
        const std::optional<qint64> available = m_env.freeBytes(folder);
        if (!available) {
            m_env.note(QStringLiteral("Cannot tell the free space of %1").arg(folder));
            continue;
        }
        if (!enoughFreeSpace(*available)) {
            refuse(442);
            return false;
        }
    }
    return true;
}

void Startup::prepareDataFolder()
{
    const ReportFolders reports = ReportFolders::underDataFolder(m_store->folders().dataFolder);
    const UserMessage show = m_env.showMessage;
    m_store->setReportFolderPreparer([reports, show] { ReportFolderKeeper(reports, show).PrepareReportFolder(); });
    m_store->setMessageSink(m_env.showMessage);
    m_store->CreateDataFolders();
    recoverInterruptedRuns();
    // A missing or unreadable options file leaves the defaults in force, as
    // the options always have: there is nothing to ask the user here.
    static_cast<void>(m_options->readOptionsFile());
    SettingsStore::CleanUpOlderVersion(m_common->registry());
}

void Startup::recoverInterruptedRuns()
{
    const QString reportFolder = ReportFolders::underDataFolder(m_store->folders().dataFolder).reportFolder;
    for (const QString &note : recoveryNotes(JournalRecovery::recoverAll(reportFolder)))
        m_env.note(note);
}

void Startup::readOptionsAndSettings()
{
    m_options->BuildOptions(m_common->registry());
    const Result<void> folderMenu =
        m_options->WriteFolderMenuValues(m_common->registry(), FileManagerMenus::forThisUser(m_env.openerProgram));
    if (!folderMenu)
        m_env.note(folderMenu.error().message);
    const SettingsLoadOutcome loaded = m_store->LoadSettings();
    if (loaded.fileExisted && loaded.source == SettingsLoadOutcome::Source::DefaultDocument)
        m_env.note(QStringLiteral("The settings file %1 cannot be used (%2); the built-in settings are used, and "
                                  "the file will be kept as Setting_Unusable<N>.xml before it is replaced.")
                       .arg(m_store->folders().settingsFile, loaded.problem));
    if (!loaded.backupError.isEmpty())
        m_env.note(QStringLiteral("Cannot back up the settings file: %1").arg(loaded.backupError));
}

void Startup::deleteOldReports()
{
    ReportFolderKeeper keeper(ReportFolders::underDataFolder(m_store->folders().dataFolder), m_env.showMessage);
    keeper.DeleteOldReports(m_options->table().text(OptionKey::ReportHoldingDays));
}

int Startup::actOnCommandLine(const CommandLineRequest &request)
{
    if (!request.openPath.isEmpty()) {
        m_pendingOpenPath = request.openPath;
        if (!request.immediateRun)
            m_env.note(QStringLiteral("There is no window to hand the folder to: %1").arg(request.openPath));
    }
    if (!request.immediateRun)
        return end(ExitNormal);
    UnattendedRun run(*m_manager, m_store->folders(), m_env.showMessage, m_env.note);
    switch (run.run()) {
    case UnattendedRun::Outcome::Done:
        return end(ExitNormal);
    case UnattendedRun::Outcome::NotPossible:
        return end(ExitRunNotPossible);
    case UnattendedRun::Outcome::Incomplete:
        break;
    }
    return end(ExitRunIncomplete);
}

int Startup::end(int status)
{
    // What closing the main window does: save the options and the settings,
    // then delete the old reports once more.
    const bool saved = m_store->SaveSettingsWithRetry(m_env.askRetry);
    deleteOldReports();
    if (!saved && status == ExitNormal)
        return ExitNotSaved;
    return status;
}

} // namespace quillbay
