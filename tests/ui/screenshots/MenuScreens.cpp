// The menus of the main window, opened one after the other: their captions,
// access keys and shortcuts in both languages.

#include "ScreenshotSession.h"

#include <QMenu>
#include <QMenuBar>

namespace quillbay::shots {

namespace {

void menus(ScreenshotSession &session)
{
    frmMain &window = session.openWindow();
    ScreenshotSession::settle(); // for the window manager to frame it
    for (QAction *title : window.menuBar()->actions()) {
        QMenu *menu = title->menu();
        if (!menu)
            continue;
        menu->popup(window.menuBar()->mapToGlobal(window.menuBar()->actionGeometry(title).bottomLeft()));
        ScreenshotSession::settle();
        // The window with the open menu, which may reach beyond it.
        session.saveArea(window.screen(), window.frameGeometry().united(menu->geometry()),
                         QStringLiteral("menu-") + menu->objectName());
        menu->hide();
    }
}

} // namespace

QUILLBAY_SCREENS("menus", menus);

} // namespace quillbay::shots
