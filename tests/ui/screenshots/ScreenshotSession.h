#pragma once
// A program that opens the windows of Quillbay one after the other and saves
// a picture of each, so that a person can look at every screen in both
// languages and at both font sizes (scripts/screenshots.sh runs it under a
// virtual display with a window manager).
//
// Each part of the window registers its screens in a source file of its own
// (QUILLBAY_SCREENS); a screen function opens what it shows, saves it with
// save(), and closes it again.

#include "engine/Manager.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsStore.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/ProgramState.h"
#include "ui/window/frmMain.h"

#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class QScreen;

namespace quillbay::shots {

class ScreenshotSession
{
public:
    // dataFolder: an empty folder for the program's files; sampleFolder: a
    // folder the screens may fill with files to rename.
    ScreenshotSession(const QString &dataFolder, const QString &sampleFolder, const QString &outputFolder,
                      const QString &prefix);

    frmMain &window() { return *m_window; }
    ProgramContext &context() { return m_context; }
    const QString &sampleFolder() const { return m_sampleFolder; }

    // Shows the main window (once), filled with the sample settings.
    frmMain &openWindow();
    // Saves a picture of the top-level window (its frame included) as
    // "<prefix>-<name>.png"; returns false when it could not be written.
    bool save(QWidget *window, const QString &name);
    // Saves what the screen shows in area (global coordinates), under the same naming.
    bool saveArea(QScreen *screen, const QRect &area, const QString &name);
    // Lets the window manager and the event loop settle.
    static void settle(int milliseconds = 400);
    int failures() const { return m_failures; }

private:
    QString m_sampleFolder;
    QString m_outputFolder;
    QString m_prefix;
    Manager m_manager;
    Options m_options;
    SettingsStore m_store{m_manager.settings(), m_options};
    Registry m_registry;
    ProgramState m_state;
    ProgramContext m_context{m_manager, m_options, m_store, m_registry, m_state, QString()};
    std::unique_ptr<frmMain> m_window;
    int m_failures = 0;
};

using ScreenFunction = std::function<void(ScreenshotSession &)>;

struct ScreenRegistration {
    ScreenRegistration(const char *group, ScreenFunction screens);
};
const QList<QPair<QString, ScreenFunction>> &registeredScreens();

} // namespace quillbay::shots

#define QUILLBAY_SCREENS_CONCAT2(a, b) a##b
#define QUILLBAY_SCREENS_CONCAT(a, b) QUILLBAY_SCREENS_CONCAT2(a, b)
// Registers a function void(ScreenshotSession &) under a group name.
#define QUILLBAY_SCREENS(group, function)                                                                              \
    static const quillbay::shots::ScreenRegistration QUILLBAY_SCREENS_CONCAT(screens_, __LINE__)(group, function)
