#include "ui/window/SettingCommands.h"

#include "settings/SettingsDocument.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/dialogs/frmInputBox.h"
#include "ui/window/WindowCommands.h"
#include "ui/window/frmMain.h"

namespace quillbay {

namespace {

constexpr int kNameTakenId = 912;

} // namespace

SettingCommands::SettingCommands(frmMain &window) : m_window(window)
{
    WindowCommands &commands = window.commands();
    commands.setHandler(Command::SettingAdd, [this] { addSetting(); });
    commands.setHandler(Command::SettingDuplicate, [this] { duplicateSetting(); });
    commands.setHandler(Command::SettingRename, [this] { renameSetting(); });
    commands.setHandler(Command::SettingRemove, [this] { removeSetting(); });
    commands.setHandler(Command::SettingSaveNow, [this] { saveNow(); });
    commands.setHandler(Command::NamingRuleRemoveAll, [this] { removeAllNamingRules(); });
}

void SettingCommands::addSetting()
{
    const std::optional<QString> name = frmInputBox::ask(&m_window, UiText::LoadText(910), UiText::LoadText(911));
    if (!name || name->isEmpty())
        return;
    if (!m_window.settings().AddSetting(*name)) {
        showError(&m_window, kNameTakenId);
        return;
    }
    m_window.RefreshSettingList();
}

void SettingCommands::duplicateSetting()
{
    const QString current = m_window.CurrentSettingName();
    const std::optional<QString> name =
        frmInputBox::ask(&m_window, UiText::LoadText(916), UiText::LoadText(914), current);
    if (!name || name->isEmpty())
        return;
    if (!m_window.settings().DuplicateSetting(current, *name)) {
        showError(&m_window, kNameTakenId);
        return;
    }
    m_window.RefreshSettingList();
}

void SettingCommands::renameSetting()
{
    const QString current = m_window.CurrentSettingName();
    const std::optional<QString> name =
        frmInputBox::ask(&m_window, UiText::LoadText(915), UiText::LoadText(914), current);
    if (!name || name->isEmpty())
        return;
    if (!m_window.settings().RenameSetting(current, *name)) {
        showError(&m_window, kNameTakenId);
        return;
    }
    m_window.RefreshSettingList();
}

void SettingCommands::removeSetting()
{
    if (m_window.settings().SettingCount() < 2)
        return;
    if (showMessage(&m_window, UiText::LoadText(913), kProgramTitleId, QMessageBox::Ok | QMessageBox::Cancel,
                    QMessageBox::Question)
        != QMessageBox::Ok)
        return;
    m_window.settings().RemoveSetting(m_window.CurrentSettingName());
    m_window.RefreshSettingList();
}

// The note that all settings were saved is shown only when they were: after a
// failed save that the user gave up on, it would tell a falsehood.
void SettingCommands::saveNow()
{
    if (m_window.SaveSettingsWithRetry())
        showMessage(&m_window, UiText::LoadText(950), kProgramTitleId, QMessageBox::Ok, QMessageBox::Information);
}

void SettingCommands::removeAllNamingRules()
{
    m_window.settings().RemoveAllRules(m_window.CurrentSettingName());
    m_window.RefreshCurrentSetting();
}

} // namespace quillbay
