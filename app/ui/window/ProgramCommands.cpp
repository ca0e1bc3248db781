#include "ui/window/ProgramCommands.h"

#include "run/ReportFolders.h"
#include "settings/HelpFile.h"
#include "settings/SettingsStore.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/WindowTexts.h"
#include "ui/dialogs/frmOptions.h"
#include "ui/window/WindowCommands.h"
#include "ui/window/frmMain.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace quillbay {

namespace {

constexpr int kFileNotFoundId = 943;
constexpr int kFolderNotFoundId = 942;
constexpr int kVersionId = 31001;

bool openInDesktop(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace

ProgramCommands::ProgramCommands(frmMain &window) : m_window(window)
{
    WindowCommands &commands = window.commands();
    commands.setHandler(Command::ReportFolder, [this] { openReportFolder(); });
    commands.setHandler(Command::Options, [this] { showOptions(); });
    commands.setHandler(Command::HelpContents, [this] { showHelp(); });
    commands.setHandler(Command::About, [this] { showAbout(); });
}

void ProgramCommands::openReportFolder()
{
    const ReportFolders folders = ReportFolders::underDataFolder(m_window.context().store.folders().dataFolder);
    if (!QFileInfo(folders.reportFolder).isDir())
        ReportFolderKeeper(folders).PrepareReportFolder();
    if (!QFileInfo(folders.reportFolder).isDir()) {
        showErrorText(&m_window,
                      UiText::LoadText(kFolderNotFoundId) + QStringLiteral("\n")
                          + QDir::toNativeSeparators(folders.reportFolder));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folders.reportFolder)))
        showErrorText(&m_window,
                      withoutAccessKey(UiText::LoadText(1142)) + QStringLiteral(":\n")
                          + QDir::toNativeSeparators(folders.reportFolder));
}

void ProgramCommands::showOptions()
{
    {
        frmOptions dialog(m_window.context(), &m_window);
        dialog.exec();
    }
    m_window.ArrangeControls();
}

void ProgramCommands::showHelp()
{
    const HelpFile help(m_window.context().programFolder, [](const QString &, const QStringList &arguments) {
        return openInDesktop(arguments.value(0));
    });
    const QString path = help.helpFilePath();
    if (!QFileInfo::exists(path)) {
        showErrorText(&m_window, UiText::LoadText(kFileNotFoundId) + QStringLiteral("\n") + path);
        return;
    }
    if (!help.showHelp(0))
        showErrorText(&m_window, withoutAccessKey(UiText::LoadText(1154)) + QStringLiteral(":\n") + path);
}

void ProgramCommands::showAbout()
{
    QString title = withoutAccessKey(UiText::LoadText(1151));
    while (title.endsWith(u'.') || title.endsWith(u'…'))
        title.chop(1);
    QMessageBox box(
        QMessageBox::Information, title,
        UiText::LoadText(kProgramTitleId) + QStringLiteral("\n")
            + UiText::LoadTextWith(kVersionId, {QStringLiteral("&version;"), QCoreApplication::applicationVersion()}),
        QMessageBox::Ok, &m_window);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
    m_window.UpdateCommandStates();
}

} // namespace quillbay
