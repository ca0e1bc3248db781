#include "ui/panes/RulesPage.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/LiveSample.h"
#include "ui/panes/PaneIcons.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/RuleListView.h"
#include "ui/panes/RuleOptionPane.h"
#include "ui/panes/RuleTypes.h"
#include "ui/panes/SettingWriter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quillbay {

RulesPage::RulesPage(RuleKind kind, SettingWriter &writer, QWidget *parent)
    : SettingPage(parent), m_kind(kind), m_writer(writer)
{
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(buildListColumn());
    layout->addWidget(buildOptionColumn(), 1);
}

QString RulesPage::kindName() const
{
    return m_kind == RuleKind::File ? QStringLiteral("File") : QStringLiteral("Folder");
}

const char *RulesPage::listElement() const
{
    return m_kind == RuleKind::File ? kFileRules : kFolderRules;
}

QWidget *RulesPage::buildListColumn()
{
    const bool files = m_kind == RuleKind::File;
    const QString ruleButton = files ? QStringLiteral("cmdTreeViewRule") : QStringLiteral("cmdTreeViewRuleFolder");
    m_list = new RuleListView(QStringLiteral("treNamingRules") + kindName());
    auto *caption = makeLabel(files ? QStringLiteral("lblNamingRules") : QStringLiteral("lblNamingRulesFolder"),
                              QStringLiteral("c=1400;t=1401"), m_list);
    // A list is named by its caption for screen readers (a label does not name a view).
    m_list->setAccessibleName(withoutAccessKey(UiText::LoadText(1400)));
    m_types = new QComboBox;
    m_types->setObjectName(QStringLiteral("cboNamingRules") + kindName());
    setTag(m_types, QStringLiteral("t=1421!"));
    const RuleTypeTable &table = RuleTypeTable::of(m_kind);
    for (const int number : table.addListOrder())
        m_types->addItem(UiText::LoadText(table.entry(number).captionId), number);
    m_types->setCurrentIndex(0);

    auto *up = makeArrowButton(ruleButton + QStringLiteral("Up"), Qt::UpArrow, m_types);
    setTag(up, QStringLiteral("t=1433"));
    auto *down = makeArrowButton(ruleButton + QStringLiteral("Down"), Qt::DownArrow, m_types);
    setTag(down, QStringLiteral("t=1435"));
    auto *remove = makeIconButton(ruleButton + QStringLiteral("Remove"), paneIcon(PaneIcon::RemoveRule),
                                  QStringLiteral("t=1437"), m_types);
    auto *add = makeIconButton(files ? QStringLiteral("cmdNewNameRuleAdd") : QStringLiteral("cmdNewNameRuleFolderAdd"),
                               paneIcon(PaneIcon::AddRule), QStringLiteral("t=1431"), m_types);
    connect(up, &QToolButton::clicked, this, &RulesPage::moveRuleUp);
    connect(down, &QToolButton::clicked, this, &RulesPage::moveRuleDown);
    connect(remove, &QToolButton::clicked, this, &RulesPage::removeRule);
    connect(add, &QToolButton::clicked, this, &RulesPage::addRule);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (!m_selecting && current)
            ShowRuleOptions(current->data(0, RuleListView::kIdRole).toString());
    });
    m_list->setDropHandler(
        [this](const QString &source, const QString &target, bool copy) { placeRule(source, target, copy); });

    // The list is as wide as the type list under it; the option pane and the
    // sample take the rest of the page.
    m_list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    auto *column = new QWidget;
    auto *grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(caption, 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0, 4, 1);
    grid->addWidget(up, 1, 1);
    grid->addWidget(down, 2, 1);
    grid->addWidget(remove, 3, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(m_types, 5, 0);
    grid->addWidget(add, 5, 1);
    return column;
}

QWidget *RulesPage::buildOptionColumn()
{
    auto *frame = new QGroupBox;
    frame->setObjectName(QStringLiteral("fraNamingRule%1Option").arg(kindName()));
    setTag(frame, QStringLiteral("c=1450;t=1451"));
    m_panes = new QStackedWidget;
    m_blank = new QWidget;
    m_blank->setObjectName(QStringLiteral("picPaneNamingRule%1Blank").arg(kindName()));
    auto *blankText = makeLabel(QStringLiteral("lblNamingRule%1Blank").arg(kindName()), QStringLiteral("c=1452"));
    blankText->setWordWrap(true);
    auto *blankLayout = new QVBoxLayout(m_blank);
    blankLayout->setContentsMargins(0, 0, 0, 0);
    blankLayout->addWidget(blankText);
    blankLayout->addStretch(1);
    m_panes->addWidget(m_blank);
    // A rule of a type this list does not know has no options to show.
    m_unknown = new QWidget;
    m_panes->addWidget(m_unknown);
    for (const PaneSpec &spec : rulePaneSpecs(m_kind)) {
        m_optionPanes << new RuleOptionPane(spec, m_kind, m_writer);
        m_panes->addWidget(m_optionPanes.last());
    }
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_panes);
    showBlankPane();

    m_sample = new LiveSample(m_writer, QStringLiteral("picSample%1").arg(kindName()));
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addWidget(m_sample, 1);
    return column;
}

void RulesPage::loadSetting()
{
    m_selecting = true;
    m_list->clear();
    const pugi::xml_node rules = m_writer.setting().child(listElement());
    const RuleTypeTable &table = RuleTypeTable::of(m_kind);
    for (pugi::xml_node rule = rules.child(kRule); rule; rule = rule.next_sibling(kRule)) {
        const int number = table.numberOf(toQString(rule.attribute(kType)));
        m_list->addRule(toQString(rule.attribute(kId)),
                        number >= 0 ? UiText::LoadText(table.entry(number).captionId) : QString());
    }
    m_selecting = false;
    if (m_list->topLevelItemCount() > 0)
        SelectRuleNode(m_list->idAt(0));
    else
        showBlankPane();
    m_sample->restart();
}

void RulesPage::SelectRuleNode(const QString &ruleId)
{
    if (ruleId.isEmpty())
        return;
    m_selecting = true;
    const bool found = m_list->selectId(ruleId);
    m_selecting = false;
    if (found)
        ShowRuleOptions(ruleId);
}

void RulesPage::showBlankPane()
{
    for (int i = 0; i < m_panes->count(); ++i)
        m_panes->widget(i)->setEnabled(m_panes->widget(i) == m_blank);
    m_panes->setCurrentWidget(m_blank);
}

void RulesPage::ShowRuleOptions(const QString &ruleId)
{
    if (ruleId.isEmpty()) {
        showBlankPane();
        return;
    }
    const pugi::xml_node rule = SettingsDocument::FindRule(m_writer.setting().child(listElement()), ruleId);
    if (!rule)
        return;
    const int number = RuleTypeTable::of(m_kind).numberOf(SettingsDocument::RuleType(rule, false));
    QWidget *shown = number >= 0 ? m_optionPanes[number] : m_unknown;
    for (int i = 0; i < m_panes->count(); ++i)
        m_panes->widget(i)->setEnabled(m_panes->widget(i) == shown);
    m_panes->setCurrentWidget(shown);
    if (number >= 0)
        m_optionPanes[number]->load(rule, ruleId);
}

bool RulesPage::removeSelectedItem()
{
    if (!m_list->hasFocus())
        return false;
    removeRule();
    return true;
}

void RulesPage::addRule()
{
    const int number = m_types->currentData().toInt();
    const QString key = QString::fromLatin1(RuleTypeTable::of(m_kind).entry(number).key);
    const pugi::xml_node rule = m_writer.settings().AddRule(m_writer.settingName(), m_kind, key);
    if (!rule)
        return;
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
    SelectRuleNode(toQString(rule.attribute(kId)));
}

void RulesPage::removeRule()
{
    const QString id = m_list->selectedId();
    if (id.isEmpty())
        return;
    const int row = m_list->rowOfId(id);
    const QString next = m_list->idAt(row + 1).isEmpty() ? m_list->idAt(row - 1) : m_list->idAt(row + 1);
    m_writer.settings().RemoveRule(m_writer.settingName(), m_kind, id);
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
    if (next.isEmpty())
        showBlankPane();
    else
        SelectRuleNode(next);
}

void RulesPage::moveRuleUp()
{
    const QString id = m_list->selectedId();
    const int row = m_list->rowOfId(id);
    if (id.isEmpty() || row < 1)
        return;
    placeRule(id, m_list->idAt(row - 1), false);
}

// Position p of n (counting from 1): p = n - 1 goes to the end, p < n - 1
// before the rule at p + 2, and the last rule stays.
void RulesPage::moveRuleDown()
{
    const QString id = m_list->selectedId();
    const int count = m_list->topLevelItemCount();
    const int position = m_list->rowOfId(id) + 1;
    if (id.isEmpty() || position >= count)
        return;
    placeRule(id, position == count - 1 ? QString() : m_list->idAt(position + 1), false);
}

void RulesPage::placeRule(const QString &ruleId, const QString &beforeId, bool copy)
{
    if (copy)
        m_writer.settings().copyRule(m_writer.settingName(), m_kind, ruleId, beforeId);
    else
        m_writer.settings().MoveRule(m_writer.settingName(), m_kind, ruleId, beforeId);
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
    SelectRuleNode(ruleId);
}

} // namespace quillbay
