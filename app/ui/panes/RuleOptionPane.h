#pragma once
// One option pane (picPaneNamingRuleFile_N, picPaneNamingRuleFolder_N): the
// controls of one rule type, built from its PaneSpec. Each control writes its
// attribute into the rule on show as soon as it changes; loading a rule sets
// the controls as the user would, so a control whose value changes stores the
// shown value (a default included), and the number boxes store their
// corrected value.

#include "ui/panes/RuleOptionSpecs.h"

#include <QList>
#include <QWidget>

class QButtonGroup;
class QGridLayout;

namespace quillbay {

class SettingWriter;

class RuleOptionPane : public QWidget
{
    Q_OBJECT

public:
    RuleOptionPane(const PaneSpec &spec, RuleKind kind, SettingWriter &writer, QWidget *parent = nullptr);

    // Shows the rule: its id receives the writes from now on.
    void load(pugi::xml_node rule, const QString &ruleId);

private:
    struct Bound {
        const ControlSpec *spec = nullptr;
        QWidget *control = nullptr;
        QButtonGroup *group = nullptr;  // Choice
        QList<OptionListEntry> entries; // List
    };
    Bound build(const ControlSpec &spec);
    void place(const Bound &bound, QGridLayout *grid, int &row);
    void write(const ControlSpec &spec, const QString &value);
    void loadControl(const Bound &bound, pugi::xml_node rule);

    RuleKind m_kind;
    SettingWriter &m_writer;
    QList<Bound> m_controls;
    QString m_ruleId;
};

} // namespace quillbay
