#include "ui/window/WindowCommands.h"

#include "ui/common/WindowTexts.h"
#include "ui/window/ToolbarIcons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace quillbay {

namespace {

bool belongsToPreviewedMenus(Command command)
{
    switch (command) {
    case Command::RenameUndo:
    case Command::RenamePreview:
    case Command::SettingAdd:
    case Command::SettingDuplicate:
    case Command::SettingRemove:
    case Command::SettingRename:
    case Command::SettingSaveNow:
    case Command::FolderAdd:
    case Command::FolderRemove:
    case Command::FolderRemoveAll:
    case Command::CriteriaReset:
    case Command::NamingRuleAdd:
    case Command::NamingRuleRemoveAll:
        return true;
    default:
        return false;
    }
}

QMenu *addMenu(QMainWindow *window, const char *name, const char *tag)
{
    QMenu *menu = window->menuBar()->addMenu(QString());
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    setTag(menu, QString::fromLatin1(tag));
    return menu;
}

} // namespace

WindowCommands::WindowCommands(QMainWindow *window) : QObject(window)
{
    m_settingMenu = addMenu(window, "mnuSetting", "c=1110");
    addMenuItem(m_settingMenu, Command::SettingAdd, "mnuSettingAdd", "c=1111", QKeySequence(QStringLiteral("Ctrl+S")));
    addMenuItem(m_settingMenu, Command::SettingDuplicate, "mnuSettingDuplicate", "c=1114",
                QKeySequence(QStringLiteral("Ctrl+D")));
    addMenuItem(m_settingMenu, Command::SettingRemove, "mnuSettingRemove", "c=1112",
                QKeySequence(QStringLiteral("Ctrl+T")));
    addMenuItem(m_settingMenu, Command::SettingRename, "mnuSettingRename", "c=1113", QKeySequence(Qt::Key_F2));
    addMenuItem(m_settingMenu, Command::SettingSaveNow, "mnuSettingSaveNow", "c=1115",
                QKeySequence(QStringLiteral("Ctrl+A")));
    m_settingMenu->addSeparator()->setObjectName(QStringLiteral("mnuSettingBar0"));
    addMenuItem(m_settingMenu, Command::FolderAdd, "mnuFolderAdd", "c=1121", QKeySequence(QStringLiteral("Ctrl+F")));
    addMenuItem(m_settingMenu, Command::FolderRemove, "mnuFolderRemove", "c=1122",
                QKeySequence(QStringLiteral("Ctrl+G")));
    addMenuItem(m_settingMenu, Command::FolderRemoveAll, "mnuFolderRemoveAll", "c=1123",
                QKeySequence(QStringLiteral("Ctrl+H")));
    m_settingMenu->addSeparator()->setObjectName(QStringLiteral("mnuSettingBar1"));
    addMenuItem(m_settingMenu, Command::CriteriaReset, "mnuFileToBeChangedRemoveAll", "c=1171",
                QKeySequence(QStringLiteral("Ctrl+B")));
    m_settingMenu->addSeparator()->setObjectName(QStringLiteral("mnuSettingBar2"));
    addMenuItem(m_settingMenu, Command::NamingRuleAdd, "mnuNamingRuleAdd", "c=1163",
                QKeySequence(QStringLiteral("Ctrl+R")));
    addMenuItem(m_settingMenu, Command::NamingRuleRemoveAll, "mnuNamingRuleRemoveAll", "c=1161",
                QKeySequence(QStringLiteral("Ctrl+Q")));

    m_renameMenu = addMenu(window, "mnuRename", "c=1130");
    addMenuItem(m_renameMenu, Command::RenamePreview, "mnuRenamePreview", "c=1131",
                QKeySequence(QStringLiteral("Ctrl+P")));
    addMenuItem(m_renameMenu, Command::RenameUndo, "mnuRenameUndo", "c=1132", QKeySequence());

    m_toolsMenu = addMenu(window, "mnuTools", "c=1140");
    addMenuItem(m_toolsMenu, Command::ReportList, "mnuReportList", "c=31350", QKeySequence());
    addMenuItem(m_toolsMenu, Command::ReportFolder, "mnuReportExplorer", "c=1142", QKeySequence());
    addMenuItem(m_toolsMenu, Command::Options, "mnuOptions", "c=1141", QKeySequence());

    m_helpMenu = addMenu(window, "mnuHelp", "c=1150");
    addMenuItem(m_helpMenu, Command::HelpContents, "mnuHelpContents", "c=1154", QKeySequence(Qt::Key_F1));
    addMenuItem(m_helpMenu, Command::About, "mnuAbout", "c=1151", QKeySequence());

    m_toolBar = window->addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->toggleViewAction()->setVisible(false);
    window->setContextMenuPolicy(Qt::NoContextMenu);
    addToolbarButton(Command::SettingAdd, "SettingAdd", "t=1051");
    addToolbarButton(Command::SettingRemove, "SettingRemove", "t=1052");
    addToolbarButton(Command::SettingDuplicate, "SettingDuplicate", "t=1057");
    m_toolBar->addSeparator();
    addToolbarButton(Command::FolderAdd, "FolderAdd", "t=1053");
    addToolbarButton(Command::FolderRemove, "FolderRemove", "t=1054");
    m_toolBar->addSeparator();
    addToolbarButton(Command::RenamePreview, "RenamePreview", "t=1055");
}

QAction *WindowCommands::addMenuItem(QMenu *menu, Command command, const char *name, const char *tag,
                                     const QKeySequence &key)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    setTag(action, QString::fromLatin1(tag));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    m_menuActions.insert(command, action);
    m_enabled.insert(command, true);
    return action;
}

void WindowCommands::addToolbarButton(Command command, const char *key, const char *tag)
{
    QAction *action = m_toolBar->addAction(toolbarIcon(QString::fromLatin1(key)), QString());
    action->setObjectName(QStringLiteral("tb") + QString::fromLatin1(key));
    setTag(action, QString::fromLatin1(tag));
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    m_toolbarActions.insert(command, action);
}

void WindowCommands::setHandler(Command command, std::function<void()> handler)
{
    m_handlers.insert(command, std::move(handler));
}

bool WindowCommands::trigger(Command command)
{
    if (!isEnabled(command) || !m_handlers.value(command))
        return false;
    run(command);
    return true;
}

void WindowCommands::run(Command command)
{
    if (!isEnabled(command))
        return;
    if (const std::function<void()> handler = m_handlers.value(command))
        handler();
}

void WindowCommands::setEnabled(Command command, bool enabled)
{
    m_enabled.insert(command, enabled);
    applyEnabled(command);
}

bool WindowCommands::isEnabled(Command command) const
{
    return m_enabled.value(command, true) && !(m_previewing && belongsToPreviewedMenus(command));
}

void WindowCommands::applyEnabled(Command command)
{
    const bool enabled = isEnabled(command);
    if (QAction *action = m_menuActions.value(command))
        action->setEnabled(enabled);
    if (QAction *action = m_toolbarActions.value(command))
        action->setEnabled(enabled);
}

void WindowCommands::setPreviewing(bool previewing)
{
    m_previewing = previewing;
    m_settingMenu->setEnabled(!previewing);
    m_renameMenu->setEnabled(!previewing);
    for (auto it = m_enabled.cbegin(); it != m_enabled.cend(); ++it)
        applyEnabled(it.key());
}

} // namespace quillbay
