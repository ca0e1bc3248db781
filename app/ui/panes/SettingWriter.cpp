#include "ui/panes/SettingWriter.h"

#include "ui/window/SettingHost.h"

namespace quillbay {

SettingWriter::SettingWriter(SettingHost &host, QObject *parent) : QObject(parent), m_host(host) {}

SettingsDocument &SettingWriter::settings()
{
    return m_host.settings();
}

QString SettingWriter::settingName() const
{
    return m_host.CurrentSettingName();
}

pugi::xml_node SettingWriter::setting()
{
    const QString name = settingName();
    return name.isEmpty() ? pugi::xml_node() : settings().FindSetting(name);
}

void SettingWriter::setAttribute(const char *element, const char *attribute, const QString &text)
{
    settings().SetSettingAttribute(settingName(), element, attribute, text);
    emit edited();
}

void SettingWriter::setCriteriaFlag(RuleKind kind, const char *attribute, bool checked)
{
    settings().SetCriteriaFlag(settingName(), kind, attribute, checked);
    emit edited();
}

void SettingWriter::setRuleAttribute(RuleKind kind, const QString &ruleId, const char *attribute, const QString &text)
{
    if (ruleId.isEmpty())
        return;
    settings().WriteRuleAttribute(settingName(), kind, ruleId, attribute, text);
    emit edited();
}

} // namespace quillbay
