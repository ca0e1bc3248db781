#pragma once
// Every write the tab pages make into the current setting goes through here,
// so that whoever shows the setting's effect (the live sample) learns of each
// change. The setting is always the one on show (CurrentSettingName).

#include "settings/SettingsDocument.h"

#include <QObject>
#include <QString>

namespace quillbay {

class SettingHost;

class SettingWriter : public QObject
{
    Q_OBJECT

public:
    explicit SettingWriter(SettingHost &host, QObject *parent = nullptr);

    SettingHost &host() { return m_host; }
    SettingsDocument &settings();
    QString settingName() const;
    // The setting on show, or a null node when none is.
    pugi::xml_node setting();

    // A text of folders, fileToBeChanged or folderToBeChanged.
    void setAttribute(const char *element, const char *attribute, const QString &text);
    // A criteria check box: "true" or "false".
    void setCriteriaFlag(RuleKind kind, const char *attribute, bool checked);
    void setRuleAttribute(RuleKind kind, const QString &ruleId, const char *attribute, const QString &text);
    // Something else of the setting changed (folders or rules added, moved or removed).
    void noteChange() { emit edited(); }

signals:
    void edited();

private:
    SettingHost &m_host;
};

} // namespace quillbay
