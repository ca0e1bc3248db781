// Quillbay: the main program. It shows its window, unless the command line
// asks for the unattended run ("-exec"), which needs no display.

#include "base/Arguments.h"
#include "main/MainWindowStartup.h"
#include "main/Startup.h"
#include "main/TerminationRequests.h"
#include "services/DataFolders.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

using namespace quillbay;

namespace {

constexpr int kNeedsDisplayId = 31002;

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Installed, the program's delivered files (help pages) lie in
// <prefix>/share/quillbay; in a build folder, beside the program.
QString programFolder()
{
    return DataFolders::programFolder(QCoreApplication::applicationDirPath());
}

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int runUnattended(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Startup startup(StartupEnvironment::forThisProcess(app.arguments().mid(1), programFolder()));
    return startup.run();
}

// Hands a request to end the program to the main window; while start-up has
// not made the window yet, the request is looked at again a little later.
void closeMainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<frmMain *>(widget)) {
            window->requestClose();
            return;
        }
    }
    QTimer::singleShot(100, closeMainWindow);
}

int runWithWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const TerminationRequests termination(closeMainWindow);
    QApplication::setApplicationVersion(QStringLiteral(QUILLBAY_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("Quillbay.Application"));
    // Qt's own texts (standard buttons, file and font dialogs) in the
    // interface language.
    QTranslator qtTexts;
    if (UiText::language() == UiLanguage::Japanese
        && qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    StartupEnvironment environment = StartupEnvironment::forThisProcess(app.arguments().mid(1), programFolder());
    environment.makeWindow = createMainWindow;
    // Start-up messages are the user's to read: message boxes, not a terminal.
    environment.showMessage = [](const QString &text, const QString &title) {
        showMessageWithTitle(nullptr, text, title, QMessageBox::Ok, QMessageBox::Warning);
    };
    environment.askRetry = [](const QString &text, const QString &title, const QString &reason) {
        return showMessageWithTitle(nullptr, reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason, title,
                                    QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Warning)
            == QMessageBox::Retry;
    };
    Startup startup(std::move(environment));
    return startup.run();
}

} // namespace

int main(int argc, char *argv[])
{
    if (readCommandLine(argumentsOf(argc, argv)).immediateRun)
        return runUnattended(argc, argv);
    if (!displayAvailable()) {
        const QByteArray line = UiText::LoadText(kNeedsDisplayId).toUtf8() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        return ExitStartRefused;
    }
    return runWithWindow(argc, argv);
}
