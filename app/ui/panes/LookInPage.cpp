#include "ui/panes/LookInPage.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"
#include "ui/common/DigitLineEdit.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/LookInFolderCheck.h"
#include "ui/panes/LookInPaths.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/RuleListView.h"
#include "ui/panes/SettingWriter.h"

#include <QButtonGroup>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillbay {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kDepthLimit = 9999;
const QString kAll = QStringLiteral("all");
const QString kDeep = QStringLiteral("deep");

} // namespace

LookInPage::LookInPage(SettingWriter &writer, QWidget *parent)
    : SettingPage(parent), m_writer(writer), m_picker(writer.host().dialogParent())
{
    buildControls();
    connectWrites();
}

void LookInPage::buildControls()
{
    m_folders = new QTreeWidget;
    m_folders->setObjectName(QStringLiteral("treFolders"));
    setTag(m_folders, QStringLiteral("t=1213"));
    m_folders->setHeaderHidden(true);
    m_folders->setRootIsDecorated(false);
    m_folders->setUniformRowHeights(true);
    m_folders->setSelectionMode(QAbstractItemView::SingleSelection);
    m_label = makeLabel(QStringLiteral("lblFoldersList"), QStringLiteral("c=1212;t=1213"), m_folders);
    // A list, and a box beside an option button, are named by their captions
    // for screen readers (only a label names its buddy).
    m_folders->setAccessibleName(withoutAccessKey(UiText::LoadText(1212)));

    m_allChildFolders = new QRadioButton;
    m_allChildFolders->setObjectName(QStringLiteral("optSubFolders_0"));
    setTag(m_allChildFolders, QStringLiteral("c=1216;t=1217"));
    m_upToDepth = new QRadioButton;
    m_upToDepth->setObjectName(QStringLiteral("optSubFolders_1"));
    setTag(m_upToDepth, QStringLiteral("c=1214;t=1215"));
    m_depthOptions = new QButtonGroup(this);
    m_depthOptions->addButton(m_allChildFolders, 0);
    m_depthOptions->addButton(m_upToDepth, 1);
    auto *depthRow = new QHBoxLayout;
    depthRow->addWidget(m_upToDepth);
    m_depth = addSteppedBox(
        depthRow, {"txtSubFolderDepth", "cmdSubFolderDepthUp", "cmdSubFolderDepthDown", 0, kDepthLimit, 0, 0});
    m_depth->setAccessibleName(withoutAccessKey(UiText::LoadText(1214)));
    depthRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_folders, 1);
    layout->addWidget(m_allChildFolders);
    layout->addLayout(depthRow);
}

void LookInPage::connectWrites()
{
    connect(m_allChildFolders, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_writer.setAttribute(kFolders, "childFolders", kAll);
    });
    connect(m_upToDepth, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_writer.setAttribute(kFolders, "childFolders", kDeep);
    });
    connect(m_depth, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_writer.setAttribute(kFolders, "subFoldersDepth", text); });
}

// Each control is set as the user would set it: one whose value changes
// stores it again; beyond that only a missing childFolders and a depth that
// is not a number are written.
void LookInPage::loadSetting()
{
    m_folders->clear();
    const pugi::xml_node setting = m_writer.setting();
    if (!setting)
        return;
    pugi::xml_node folders = setting.child(kFolders);
    for (pugi::xml_node f = folders.child(kFolder); f; f = f.next_sibling(kFolder)) {
        auto *item = new QTreeWidgetItem(m_folders, QStringList{toQString(f.attribute(kPath))});
        item->setData(0, kIdRole, toQString(f.attribute(kId)));
    }
    if (!folders.attribute("childFolders"))
        m_writer.setAttribute(kFolders, "childFolders", kDeep);
    folders = setting.child(kFolders);
    if (toQString(folders.attribute("childFolders")) == kAll)
        m_allChildFolders->setChecked(true);
    else
        m_upToDepth->setChecked(true);

    const pugi::xml_attribute depth = folders.attribute("subFoldersDepth");
    QString depthText = depth ? toQString(depth) : QStringLiteral("0");
    if (!isNumberText(depthText)) {
        depthText = QStringLiteral("0");
        m_writer.setAttribute(kFolders, "subFoldersDepth", depthText);
    }
    m_depth->setText(depthText);
}

bool LookInPage::removeSelectedItem()
{
    if (!m_folders->hasFocus() || !m_folders->currentItem())
        return false;
    removeFolder();
    return true;
}

void LookInPage::addFolder()
{
    // Rooted at the desktop folder, or the home folder where there is none.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    m_picker.setRoot(QDir(desktop).exists() ? desktop : QString());
    if (!m_picker.browse() || m_picker.path().isEmpty())
        return;
    const LookInCheck check = ValidateLookInFolder(m_picker.path());
    if (!check.accepted) {
        showErrorText(m_writer.host().dialogParent(), check.message);
        return;
    }
    AddLookInFolder(check.folder);
}

void LookInPage::AddLookInFolder(const QString &path)
{
    m_writer.settings().AddFolderEntry(m_writer.settingName(), path);
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
}

void LookInPage::removeFolder()
{
    QTreeWidgetItem *selected = m_folders->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const int row = m_folders->indexOfTopLevelItem(selected);
    QTreeWidgetItem *neighbour = m_folders->topLevelItem(row > 0 ? row - 1 : row + 1);
    const QString keep = neighbour ? neighbour->data(0, kIdRole).toString() : QString();
    m_writer.settings().RemoveFolderEntry(m_writer.settingName(), selected->data(0, kIdRole).toString());
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
    selectFolder(keep);
}

void LookInPage::removeAllFolders()
{
    m_writer.settings().RemoveAllFolderEntries(m_writer.settingName());
    m_writer.noteChange();
    m_writer.host().RefreshCurrentSetting();
}

void LookInPage::selectFolder(const QString &id)
{
    for (int i = 0; i < m_folders->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_folders->topLevelItem(i);
        if (!id.isEmpty() && item->data(0, kIdRole).toString() == id) {
            m_folders->setCurrentItem(item);
            return;
        }
    }
}

void LookInPage::AcceptDroppedPath(const QString &path)
{
    addLookInPath(m_writer.host(), path, MissingPath::Ignore);
    m_writer.noteChange();
}

// A rule dragged out of a rule list is no path: it is left alone.
bool LookInPage::takeDrag(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        const QMimeData *carried = drag->mimeData();
        if ((!carried->hasUrls() && !carried->hasText()) || RuleListView::isRuleDrag(*carried))
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = droppedPaths(*drop->mimeData());
        if (paths.isEmpty() || RuleListView::isRuleDrag(*drop->mimeData()))
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        for (const QString &path : paths)
            AcceptDroppedPath(path);
        return true;
    }
    default:
        return false;
    }
}

} // namespace quillbay
