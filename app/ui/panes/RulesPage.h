#pragma once
// Tab pages "New file name" (picPaneTab_2) and "New folder name"
// (picPaneTab_4): one of the setting's two rule lists, the types of rule that
// can be added to it, the buttons that move and remove rules, and below them
// the option pane of the selected rule and the live sample of what the whole
// setting does.

#include "settings/SettingsDocument.h"
#include "ui/window/SettingHost.h"

#include <QList>

class QComboBox;
class QStackedWidget;

namespace quillbay {

class LiveSample;
class RuleListView;
class RuleOptionPane;
class SettingWriter;

class RulesPage : public SettingPage
{
    Q_OBJECT

public:
    RulesPage(RuleKind kind, SettingWriter &writer, QWidget *parent = nullptr);

    void loadSetting() override;
    bool removeSelectedItem() override;

    // The commands of the page.
    void addRule();    // a rule of the type chosen in the type list, at the end of the list
    void removeRule(); // the selected rule; the one after it (or before) is selected next
    void moveRuleUp();
    void moveRuleDown();

    void SelectRuleNode(const QString &ruleId);
    void ShowRuleOptions(const QString &ruleId);

    RuleListView *list() const { return m_list; }
    LiveSample *sample() const { return m_sample; }

private:
    QWidget *buildListColumn();
    QWidget *buildOptionColumn();
    const char *listElement() const;
    QString kindName() const;
    // Moves (or copies) the rule before the rule beforeId (empty: the end), shows
    // the setting again and selects the rule.
    void placeRule(const QString &ruleId, const QString &beforeId, bool copy);
    void showBlankPane();

    RuleKind m_kind;
    SettingWriter &m_writer;
    RuleListView *m_list = nullptr;
    QComboBox *m_types = nullptr;
    QStackedWidget *m_panes = nullptr;
    QWidget *m_blank = nullptr;
    QWidget *m_unknown = nullptr;
    QList<RuleOptionPane *> m_optionPanes;
    LiveSample *m_sample = nullptr;
    bool m_selecting = false;
};

} // namespace quillbay
