#pragma once
// What a tab page of the setting editor needs from the main window: the
// settings document, the name of the setting on show, and the refresh that
// every command changing the setting's structure ends with.

#include <QString>
#include <QWidget>

namespace quillbay {

class SettingsDocument;

class SettingHost
{
public:
    virtual ~SettingHost() = default;
    virtual SettingsDocument &settings() = 0;
    // The setting on show; every page operation names its setting by it.
    virtual QString CurrentSettingName() const = 0;
    // ArrangeControls, LoadSettingIntoPanes, UpdateCommandStates.
    virtual void RefreshCurrentSetting() = 0;
    // The owner of the page's message boxes and dialogs.
    virtual QWidget *dialogParent() = 0;
};

// One of the five tab pages.
class SettingPage : public QWidget
{
public:
    explicit SettingPage(QWidget *parent = nullptr) : QWidget(parent) {}
    // The page's part of LoadSettingIntoPanes: its controls from the current setting.
    virtual void loadSetting() {}
    // Delete pressed while the page's list has the focus: removes the list's
    // selected item and returns true; false leaves the key to the control.
    virtual bool removeSelectedItem() { return false; }
};

} // namespace quillbay
