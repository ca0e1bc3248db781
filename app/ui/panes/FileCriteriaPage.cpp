#include "ui/panes/FileCriteriaPage.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"
#include "ui/common/DigitLineEdit.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/CriteriaControls.h"
#include "ui/panes/PaneIcons.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/SettingWriter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quillbay {

namespace {

constexpr int kDaysLimit = 9999;
const QString kDefaultDays = QStringLiteral("1");

} // namespace

const QString FileCriteriaPage::kImageTypes =
    QStringLiteral("jpg jpeg gif png bmp ico tif tiff pic pct pcx psd pdd eps cdr ai ps wmf cgm vsd dxf nef");
const QString FileCriteriaPage::kSoundTypes = QStringLiteral("wav mp3 mid cda it xm voc s3m stm mod mtm");

FileCriteriaPage::FileCriteriaPage(SettingWriter &writer, QWidget *parent)
    : SettingPage(parent), m_writer(writer), m_controls(std::make_unique<CriteriaControls>(writer, RuleKind::File))
{
    m_advanced = m_controls->addFlag(QStringLiteral("chkCriteriaFileRegularExpression"), "regExp",
                                     QStringLiteral("c=1218;t=1219"));
    m_panes = new QStackedWidget;
    m_panes->addWidget(buildSimplePane());
    m_panes->addWidget(buildAdvancedPane());
    connect(m_advanced, &QCheckBox::toggled, this, &FileCriteriaPage::showPane);
    showPane(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_advanced);
    layout->addWidget(m_panes);
    layout->addSpacing(layout->spacing() * 2);
    layout->addLayout(buildDateFilter());
    layout->addStretch(1);
}

FileCriteriaPage::~FileCriteriaPage() = default;

QWidget *FileCriteriaPage::buildSimplePane()
{
    QLineEdit *start = m_controls->addText(QStringLiteral("txtCriteriaFileBaseName"), "startWith");
    m_extensions = m_controls->addText(QStringLiteral("txtCriteriaFileExt"), "ext");
    auto *image = makeIconButton(QStringLiteral("cmdCriteriaFileTypeImage"), paneIcon(PaneIcon::ImageTypes),
                                 QStringLiteral("t=1225"), m_extensions);
    auto *sound = makeIconButton(QStringLiteral("cmdCriteriaFileTypeSound"), paneIcon(PaneIcon::SoundTypes),
                                 QStringLiteral("t=1227"), m_extensions);
    connect(image, &QToolButton::clicked, this, [this] { m_extensions->setText(kImageTypes); });
    connect(sound, &QToolButton::clicked, this, [this] { m_extensions->setText(kSoundTypes); });
    return makeCriteriaPane(QStringLiteral("picPaneCriteriaFile_0"),
                            {{"lblCriteriaFileBaseName", "c=1220;t=1221", start, {}},
                             {"lblCriteriaFileExt", "c=1222;t=1223", m_extensions, {image, sound}}});
}

QWidget *FileCriteriaPage::buildAdvancedPane()
{
    QLineEdit *base = m_controls->addText(QStringLiteral("txtCriteriaFileBaseNameRegExp"), "regExpBaseName");
    QLineEdit *ext = m_controls->addText(QStringLiteral("txtCriteriaFileExtRegExp"), "regExpExt");
    QCheckBox *baseCase = m_controls->addFlag(QStringLiteral("chkCriteriaFileBaseNameRegExpIC"),
                                              "regExpBaseNameIgnoreCase", QStringLiteral("c=1236"));
    QCheckBox *extCase = m_controls->addFlag(QStringLiteral("chkCriteriaFileExtRegExpIC"), "regExpExtIgnoreCase",
                                             QStringLiteral("c=1236"));
    return makeCriteriaPane(QStringLiteral("picPaneCriteriaFile_1"),
                            {{"lblCriteriaFileNameRegExp", "c=1230;t=1231", base, {baseCase}},
                             {"lblCriteriaFileExtRegExp", "c=1232;t=1233", ext, {extCase}}});
}

QLayout *FileCriteriaPage::buildDateFilter()
{
    QCheckBox *filter =
        m_controls->addFlag(QStringLiteral("chkCriteriaFileDateMod"), "dateModified", QStringLiteral("c=1290"), false);
    auto *row = new QHBoxLayout;
    row->addWidget(filter);
    m_days = addSteppedBox(
        row, {"txtCriteriaFileDateMod", "cmdCriteriaFileDateModUp", "cmdCriteriaFileDateModDown", 0, kDaysLimit, 2, 1});
    connect(m_days, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_writer.setAttribute(kFileCriteria, "days", text); });
    row->addWidget(makeLabel(QStringLiteral("lblCriteriaFileDateMod"), QStringLiteral("c=1292"), m_days));
    row->addStretch(1);
    return row;
}

void FileCriteriaPage::showPane(bool advanced)
{
    m_panes->setCurrentIndex(advanced ? 1 : 0);
}

void FileCriteriaPage::loadSetting()
{
    const pugi::xml_node criteria = m_writer.setting().child(kFileCriteria);
    if (!m_writer.setting())
        return;
    m_controls->load(criteria);
    showPane(m_advanced->isChecked());
    const pugi::xml_attribute days = criteria.attribute("days");
    QString daysText = days ? toQString(days) : kDefaultDays;
    if (!isNumberText(daysText)) {
        daysText = kDefaultDays;
        m_writer.setAttribute(kFileCriteria, "days", daysText);
    }
    m_days->setText(daysText);
}

void FileCriteriaPage::resetCriteria()
{
    m_controls->reset();
}

} // namespace quillbay
