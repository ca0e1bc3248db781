#include "ui/dialogs/frmSelectSetting.h"

#include "settings/Options.h"
#include "ui/common/WindowPlacement.h"
#include "ui/common/WindowTexts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillbay {

namespace {

const QString kSettingIndex = QStringLiteral("SettingIndex");
const QString kReplaceOrAdd = QStringLiteral("ReplaceOrAdd");
constexpr int kDefaultPositionTwips = 1000;

} // namespace

frmSelectSetting::frmSelectSetting(Options &options, const QStringList &settingNames, QWidget *parent)
    : QDialog(parent), m_options(options), m_settings(new QComboBox(this)),
      m_single(new QRadioButton(QStringLiteral("Set the folder as a single folder in the folder list"), this)),
      m_add(new QRadioButton(QStringLiteral("Add the folder to the folder list"), this))
{
    setObjectName(QStringLiteral("frmSelectSetting"));
    setTag(this, QStringLiteral("c=4000"));
    auto *caption = new QLabel(QStringLiteral("Select the setting to which the folder is added:"), this);
    caption->setObjectName(QStringLiteral("lblSelectSetting"));
    setTag(caption, QStringLiteral("c=4110"));
    caption->setBuddy(m_settings);
    m_settings->setObjectName(QStringLiteral("cboSetting"));
    m_settings->addItems(settingNames);
    m_single->setObjectName(QStringLiteral("optReplaceOrAdd_0"));
    setTag(m_single, QStringLiteral("c=4120"));
    m_add->setObjectName(QStringLiteral("optReplaceOrAdd_1"));
    setTag(m_add, QStringLiteral("c=4121"));
    auto *group = new QButtonGroup(this);
    group->addButton(m_single, SingleFolder);
    group->addButton(m_add, AddFolder);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { m_choice = Choice(id); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    setTag(buttons->button(QDialogButtonBox::Ok), QStringLiteral("c=601*"));
    setTag(buttons->button(QDialogButtonBox::Cancel), QStringLiteral("c=602*"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_cancelled = false;
        m_settingName = m_settings->currentText();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_settings);
    layout->addWidget(m_single);
    layout->addWidget(m_add);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    load();
}

void frmSelectSetting::load()
{
    ApplyWindowTexts(this);
    restoreWindowPosition(this, m_options, objectNameInOptions(), kDefaultPositionTwips);
    const int index = m_options.readPosition(objectNameInOptions(), kSettingIndex, 0);
    if (index >= 0 && index < m_settings->count())
        m_settings->setCurrentIndex(index);
    m_choice = m_options.readPosition(objectNameInOptions(), kReplaceOrAdd, 0) == AddFolder ? AddFolder : SingleFolder;
    (m_choice == AddFolder ? m_add : m_single)->setChecked(true);
}

void frmSelectSetting::done(int result)
{
    storeWindowPosition(this, m_options, objectNameInOptions());
    m_options.writePosition(objectNameInOptions(), kSettingIndex, m_settings->currentIndex());
    m_options.writePosition(objectNameInOptions(), kReplaceOrAdd, m_choice);
    QDialog::done(result);
}

} // namespace quillbay
