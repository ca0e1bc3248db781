#include "ui/panes/FolderCriteriaPage.h"

#include "settings/SettingsSchema.h"
#include "ui/panes/CriteriaControls.h"
#include "ui/panes/SettingWriter.h"

#include <QCheckBox>
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
    QLineEdit *start = m_controls->addText(QStringLiteral("txtCriteriaFolderBaseName"), "startWith");
    QLineEdit *end = m_controls->addText(QStringLiteral("txtCriteriaFolderEnd"), "endWith");
    return makeCriteriaPane(QStringLiteral("picPaneCriteriaFolder_0"),
                            {{"lblCriteriaFolderBaseName", "c=1224;t=1221", start, {}},
                             {"lblCriteriaFolderExt", "c=1238;t=1221", end, {}}});
}

QWidget *FolderCriteriaPage::buildAdvancedPane()
{
    QLineEdit *name = m_controls->addText(QStringLiteral("txtCriteriaFolderNameRegExp"), "regExpBaseName");
    QCheckBox *ignoreCase = m_controls->addFlag(QStringLiteral("chkCriteriaFolderNameRegExpIC"), "regExpNameIgnoreCase",
                                                QStringLiteral("c=1236"));
    return makeCriteriaPane(QStringLiteral("picPaneCriteriaFolder_1"),
                            {{"lblCriteriaFolderNameRegExp", "c=1235;t=1234", name, {ignoreCase}}});
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
