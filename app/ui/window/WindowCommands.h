#pragma once
// The commands of the main window: its menu bar, its toolbar and their
// shortcuts. Each command has one handler, whichever of menu item, toolbar
// button or shortcut gives it; the parts of the window that carry a command
// out (the window itself, the tab pages, the preview pane) register their
// handlers here. Menu items are actions named as their menu entries
// ("mnuSettingAdd"); toolbar buttons are actions of their own named "tb" and
// their key ("tbSettingAdd").

#include <QHash>
#include <QObject>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace quillbay {

enum class Command {
    SettingAdd,
    SettingDuplicate,
    SettingRemove,
    SettingRename,
    SettingSaveNow,
    FolderAdd,
    FolderRemove,
    FolderRemoveAll,
    CriteriaReset,
    NamingRuleAdd,
    NamingRuleRemoveAll,
    RenamePreview,
    RenameUndo,
    ReportList,
    ReportFolder,
    Options,
    HelpContents,
    About,
};

class WindowCommands : public QObject
{
    Q_OBJECT

public:
    // Builds the menu bar and the toolbar of the window.
    explicit WindowCommands(QMainWindow *window);

    void setHandler(Command command, std::function<void()> handler);
    // Gives the command as the user would; true when it was enabled and had a handler.
    bool trigger(Command command);

    // Enables or disables the command everywhere it appears (menu item,
    // toolbar button, shortcut).
    void setEnabled(Command command, bool enabled);
    bool isEnabled(Command command) const;

    // The menus that the preview pane disables while it is shown.
    QMenu *settingMenu() const { return m_settingMenu; }
    QMenu *renameMenu() const { return m_renameMenu; }
    QMenu *toolsMenu() const { return m_toolsMenu; }
    QToolBar *toolBar() const { return m_toolBar; }
    QAction *menuAction(Command command) const { return m_menuActions.value(command); }
    QAction *toolbarAction(Command command) const { return m_toolbarActions.value(command); }

    // Disables every command of the setting and rename menus and the toolbar
    // while the preview pane is shown, and gives them back their states
    // afterwards.
    void setPreviewing(bool previewing);

private:
    QAction *addMenuItem(QMenu *menu, Command command, const char *name, const char *tag, const QKeySequence &key);
    void addToolbarButton(Command command, const char *key, const char *tag);
    void run(Command command);
    void applyEnabled(Command command);

    QMenu *m_settingMenu;
    QMenu *m_renameMenu;
    QMenu *m_toolsMenu;
    QMenu *m_helpMenu;
    QToolBar *m_toolBar;
    QHash<Command, QAction *> m_menuActions;
    QHash<Command, QAction *> m_toolbarActions;
    QHash<Command, std::function<void()>> m_handlers;
    QHash<Command, bool> m_enabled;
    bool m_previewing = false;
};

} // namespace quillbay
