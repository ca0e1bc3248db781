#include "ui/dialogs/frmOptions.h"

#include "services/FileManagerMenus.h"
#include "settings/Options.h"
#include "ui/common/DigitLineEdit.h"
#include "ui/common/FontChoice.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/OptionBinding.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/WindowPlacement.h"
#include "ui/common/WindowTexts.h"
#include "ui/dialogs/FontPicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quillbay {

namespace {

constexpr int kDefaultPositionTwips = 1000;

QLabel *label(QWidget *parent, const char *name, const char *tag)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    setTag(l, QString::fromLatin1(tag));
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const char *tag)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    setTag(b, QString::fromLatin1(tag));
    return b;
}

} // namespace

frmOptions::frmOptions(ProgramContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("frmOptions"));
    setTag(this, QStringLiteral("c=2000"));
    m_tabs->setObjectName(QStringLiteral("tabOptions"));
    const QList<QWidget *> pages{makeReportPage(), makeFontPage(), makeFileManagerPage()};
    const char *tabTags[] = {"c=2101", "c=2102", "c=2103"};
    for (int i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(QStringLiteral("picPane_%1").arg(i));
        setTabTag(pages[i], QString::fromLatin1(tabTags[i]));
        m_tabs->addTab(pages[i], QString());
    }

    QPushButton *ok = button(this, "cmdOK", "c=601");
    QPushButton *cancel = button(this, "cmdCancel", "c=602");
    m_apply = button(this, "cmdApply", "c=605");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &frmOptions::apply);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_apply);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    load();
}

QWidget *frmOptions::makeReportPage()
{
    auto *page = new QWidget;
    QLabel *description = label(page, "lblReportDesc", "c=2210");
    description->setWordWrap(true);
    // A wrapped label needs a width to wrap at: about sixty characters.
    description->setMinimumWidth(description->fontMetrics().averageCharWidth() * 60);
    QLabel *days = label(page, "lblReportDays", "c=2212");
    m_reportDays = new DigitLineEdit(page);
    m_reportDays->setObjectName(QStringLiteral("txtReportDays"));
    setTag(m_reportDays, QStringLiteral("o=ReportHoldingDays"));
    m_reportDays->setMaximumWidth(m_reportDays->fontMetrics().horizontalAdvance(QStringLiteral("000000")) * 2);
    days->setBuddy(m_reportDays);
    auto *row = new QHBoxLayout;
    row->addWidget(days);
    row->addWidget(m_reportDays);
    row->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(description);
    layout->addLayout(row);
    layout->addStretch(1);
    connect(m_reportDays, &QLineEdit::textChanged, this, &frmOptions::markChanged);
    return page;
}

QWidget *frmOptions::makeFontPage()
{
    auto *page = new QWidget;
    QLabel *nameCaption = label(page, "lblFontNameDesc", "c=2111");
    m_fontName = label(page, "lblFontName", "o=FontNameOfFormControl");
    QLabel *sizeCaption = label(page, "lblFontSizeDesc", "c=2114");
    m_fontSize = label(page, "lblFontSize", "o=FontSizeOfFormControl");
    for (QLabel *value : {m_fontName, m_fontSize})
        value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_fontName->setMinimumWidth(m_fontName->fontMetrics().averageCharWidth() * 30);
    QPushButton *select = button(page, "cmdSelectFont", "c=2110");
    connect(select, &QPushButton::clicked, this, &frmOptions::selectFont);
    auto *grid = new QGridLayout;
    grid->addWidget(nameCaption, 0, 0);
    grid->addWidget(m_fontName, 0, 1);
    grid->addWidget(sizeCaption, 1, 0);
    grid->addWidget(m_fontSize, 1, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    auto *row = new QHBoxLayout;
    row->addWidget(select);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget *frmOptions::makeFileManagerPage()
{
    auto *page = new QWidget;
    m_folderMenu = new QCheckBox(page);
    m_folderMenu->setObjectName(QStringLiteral("chkFolderContextMenu"));
    setTag(m_folderMenu, QStringLiteral("o=FolderContextMenu;c=2310"));
    QLabel *keyCaption = label(page, "lblContextMenuAccessKey", "c=2314;t=2315");
    m_accessKey = new QComboBox(page);
    m_accessKey->setObjectName(QStringLiteral("cboFolderContextMenuAccessKey"));
    setTag(m_accessKey, QStringLiteral("o=FolderContextMenuAccessKey"));
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        m_accessKey->addItem(QString(QChar::fromLatin1(letter)));
    keyCaption->setBuddy(m_accessKey);
    auto *row = new QHBoxLayout;
    row->addWidget(keyCaption);
    row->addWidget(m_accessKey);
    row->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_folderMenu);
    layout->addLayout(row);
    layout->addStretch(1);
    connect(m_folderMenu, &QCheckBox::stateChanged, this, &frmOptions::markChanged);
    connect(m_accessKey, &QComboBox::currentIndexChanged, this, &frmOptions::markChanged);
    return page;
}

void frmOptions::load()
{
    restoreWindowPosition(this, m_context.options, objectNameInOptions(), kDefaultPositionTwips);
    m_loading = true;
    ApplyWindowTexts(this);
    OptionsToControls(this, m_context.options.table());
    m_changed = false;
    m_apply->setEnabled(false);
    m_loading = false;
}

void frmOptions::markChanged()
{
    if (m_loading)
        return;
    m_changed = true;
    m_apply->setEnabled(true);
}

void frmOptions::selectFont()
{
    bool numeric = false;
    const int size = m_fontSize->text().toInt(&numeric);
    const std::optional<FontPicker::Choice> choice = FontPicker::choose(this, m_fontName->text(), numeric ? size : 0);
    if (!choice)
        return;
    m_fontName->setText(choice->family);
    m_fontSize->setText(QString::number(choice->size));
    markChanged();
}

void frmOptions::apply()
{
    OptionsTable &table = m_context.options.table();
    ControlsToOptions(this, table);
    bool numeric = false;
    int size = table.text(OptionKey::FontSize).toInt(&numeric);
    if (numeric) {
        size = std::clamp(size, FontPicker::kSmallestSize, FontPicker::kLargestSize);
        table.set(OptionKey::FontSize, StoredValue::ofWhole(size));
    }
    const QString name = table.text(OptionKey::FontName);
    if (!name.isEmpty())
        ApplyChosenFont(name, numeric ? size : 0);
    m_context.options.StoreOptions();
    const Result<void> folderMenu = m_context.options.WriteFolderMenuValues(
        m_context.registry, FileManagerMenus::forThisUser(m_context.openerProgram));
    if (!folderMenu)
        showErrorText(this, folderMenu.error().message);
    m_changed = false;
    m_apply->setEnabled(false);
}

void frmOptions::done(int result)
{
    storeWindowPosition(this, m_context.options, objectNameInOptions());
    QDialog::done(result);
}

} // namespace quillbay
