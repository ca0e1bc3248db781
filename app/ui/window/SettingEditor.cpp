#include "ui/window/SettingEditor.h"

#include "engine/NameCompare.h"
#include "settings/SettingsDocument.h"
#include "ui/common/WindowTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace quillbay {

namespace {

const char *const kTabTags[SettingEditor::kPageCount] = {"c=1207", "c=1208", "c=1209", "c=1210", "c=1211"};

} // namespace

SettingEditor::SettingEditor(SettingHost &host, const QList<SettingPage *> &pages, QWidget *parent)
    : QWidget(parent), m_host(host), m_label(new QLabel(QStringLiteral("Setting name:"), this)),
      m_selector(new QComboBox(this)), m_tabs(new QTabWidget(this)), m_pages(pages)
{
    setObjectName(QStringLiteral("picPaneTop_0"));
    m_label->setObjectName(QStringLiteral("lblSettingName"));
    setTag(m_label, QStringLiteral("c=1201"));
    m_label->setBuddy(m_selector);
    m_selector->setObjectName(QStringLiteral("cboSetting"));
    m_selector->setEditable(false);
    m_selector->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_selector->setMinimumContentsLength(24);
    m_tabs->setObjectName(QStringLiteral("tabSetting"));
    // Every tab stays in sight: the window is as wide as its tabs need.
    m_tabs->tabBar()->setUsesScrollButtons(false);
    m_tabs->tabBar()->setElideMode(Qt::ElideNone);
    for (int i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->setObjectName(QStringLiteral("picPaneTab_%1").arg(i));
        setTabTag(m_pages[i], QString::fromLatin1(kTabTags[i]));
        m_tabs->addTab(m_pages[i], QString());
    }

    auto *selectorRow = new QHBoxLayout;
    selectorRow->addWidget(m_label);
    selectorRow->addWidget(m_selector, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(selectorRow);
    layout->addWidget(m_tabs, 1);

    connect(m_selector, &QComboBox::currentIndexChanged, this, &SettingEditor::onSettingPicked);
    connect(m_tabs, &QTabWidget::currentChanged, this, &SettingEditor::ShowTabPage);
}

void SettingEditor::FillSettingList()
{
    const QSignalBlocker block(m_selector);
    m_selector->clear();
    m_names.clear();
    const NameSorter sorter;
    for (const QString &name : m_host.settings().SettingNames()) {
        const auto place = std::lower_bound(
            m_names.begin(), m_names.end(), name,
            [&sorter](const QString &present, const QString &added) { return sorter.compare(present, added) < 0; });
        const qsizetype index = place - m_names.begin();
        m_names.insert(index, name);
        m_selector->insertItem(int(index), name);
    }
    m_selector->setCurrentIndex(-1);
}

void SettingEditor::selectDocumentSelection()
{
    const QString selected = m_host.settings().settingName(m_host.settings().SelectedSetting());
    const int index = int(m_names.indexOf(selected));
    if (index >= 0 && index == m_selector->currentIndex())
        onSettingPicked(index);
    else
        m_selector->setCurrentIndex(index);
}

QString SettingEditor::CurrentSettingName() const
{
    const int index = m_selector->currentIndex();
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

void SettingEditor::onSettingPicked(int index)
{
    if (index < 0 || !m_host.settings().SelectSetting(CurrentSettingName()))
        return;
    LoadSettingIntoPanes();
    emit settingSelected();
}

void SettingEditor::LoadSettingIntoPanes()
{
    for (SettingPage *page : m_pages)
        page->loadSetting();
}

void SettingEditor::ShowTabPage(int index)
{
    if (index < 0 || index >= m_pages.size())
        return;
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setEnabled(i == index);
    if (m_tabs->currentIndex() != index) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    emit pageShown(index);
}

int SettingEditor::currentPage() const
{
    return m_tabs->currentIndex();
}

void SettingEditor::showNextPage(int step)
{
    const int count = int(m_pages.size());
    ShowTabPage(((currentPage() + step) % count + count) % count);
}

} // namespace quillbay
