#include "ui/panes/FolderCriteriaPage.h"

#include "settings/SettingsSchema.h"
#include "ui/panes/CriteriaControls.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/SettingWriter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quillbay {

FolderCriteriaPage::FolderCriteriaPage(SettingWriter &writer, QWidget *parent)
    : SettingPage(parent), m_writer(writer), m_controls(std::make_unique<CriteriaControls>(writer, RuleKind::Folder))
{
    m_advanced = m_controls->addFlag(QStringLiteral("chkCriteriaFolderRegularExpression"), "regExp",
                                     QStringLiteral("c=1218;t=1219"));
    m_panes = new QStackedWidget;
    m_panes->addWidget(buildSimplePane());
    m_panes->addWidget(buildAdvancedPane());
    connect(m_advanced, &QCheckBox::toggled, m_panes, &QStackedWidget::setCurrentIndex);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_advanced);
    layout->addWidget(m_panes);
    layout->addStretch(1);
}

FolderCriteriaPage::~FolderCriteriaPage() = default;

QWidget *FolderCriteriaPage::buildSimplePane()
{
    auto *pane = new QWidget;
    pane->setObjectName(QStringLiteral("picPaneCriteriaFolder_0"));
    QLineEdit *start = m_controls->addText(QStringLiteral("txtCriteriaFolderBaseName"), "startWith");
    QLineEdit *end = m_controls->addText(QStringLiteral("txtCriteriaFolderEnd"), "endWith");
    auto *grid = new QGridLayout(pane);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(makeLabel(QStringLiteral("lblCriteriaFolderBaseName"), QStringLiteral("c=1224;t=1221"), start), 0, 0);
    grid->addWidget(start, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("lblCriteriaFolderExt"), QStringLiteral("c=1238;t=1221"), end), 1, 0);
    grid->addWidget(end, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return pane;
}

QWidget *FolderCriteriaPage::buildAdvancedPane()
{
    auto *pane = new QWidget;
    pane->setObjectName(QStringLiteral("picPaneCriteriaFolder_1"));
    QLineEdit *name = m_controls->addText(QStringLiteral("txtCriteriaFolderNameRegExp"), "regExpBaseName");
    QCheckBox *ignoreCase = m_controls->addFlag(QStringLiteral("chkCriteriaFolderNameRegExpIC"), "regExpNameIgnoreCase",
                                                QStringLiteral("c=1236"));
    auto *grid = new QGridLayout(pane);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(makeLabel(QStringLiteral("lblCriteriaFolderNameRegExp"), QStringLiteral("c=1235;t=1234"), name), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(ignoreCase, 0, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    return pane;
}

void FolderCriteriaPage::loadSetting()
{
    if (!m_writer.setting())
        return;
    m_controls->load(m_writer.setting().child(kFolderCriteria));
    m_panes->setCurrentIndex(m_advanced->isChecked() ? 1 : 0);
}

void FolderCriteriaPage::resetCriteria()
{
    m_controls->reset();
}

} // namespace quillbay
