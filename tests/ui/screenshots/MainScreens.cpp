// The main window's tab pages and the small dialogs.

#include "ScreenshotSession.h"

#include "text/UiText.h"
#include "ui/dialogs/frmInputBox.h"
#include "ui/dialogs/frmOptions.h"
#include "ui/dialogs/frmSelectSetting.h"
#include "ui/window/SettingEditor.h"

#include <QTabWidget>

namespace quillbay::shots {

namespace {

void mainWindowPages(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    for (int page = 0; page < SettingEditor::kPageCount; ++page) {
        window.ShowTabPage(page);
        session.save(&window, QStringLiteral("main-tab%1").arg(page));
    }
    window.ShowTabPage(0);
}

void optionsDialog(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    frmOptions dialog(session.context(), &window);
    dialog.show();
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tabOptions"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        session.save(&dialog, QStringLiteral("options-tab%1").arg(page));
    }
}

void selectSettingDialog(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    frmSelectSetting dialog(session.context().options, window.settings().SettingNames(), &window);
    dialog.show();
    session.save(&dialog, QStringLiteral("select-setting"));
}

void inputBox(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    frmInputBox box(&window);
    box.setTitle(UiText::LoadText(916));
    box.setPrompt(UiText::LoadText(914));
    box.setDefaultText(window.CurrentSettingName());
    box.show();
    box.move(window.geometry().topLeft() + QPoint(40, 60));
    session.save(&box, QStringLiteral("input-box"));
}

} // namespace

QUILLBAY_SCREENS("main window", mainWindowPages);
QUILLBAY_SCREENS("options", optionsDialog);
QUILLBAY_SCREENS("select setting", selectSettingDialog);
QUILLBAY_SCREENS("input box", inputBox);

} // namespace quillbay::shots
