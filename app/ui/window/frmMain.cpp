#include "ui/window/frmMain.h"

#include "engine/Manager.h"
#include "run/ReportFolders.h"
#include "settings/Options.h"
#include "settings/SettingsStore.h"
#include "text/UiText.h"
#include "ui/common/BackgroundJob.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/ProgramState.h"
#include "ui/common/WindowPlacement.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/LookInPage.h"
#include "ui/preview/PreviewHost.h"
#include "ui/preview/PreviewPane.h"
#include "ui/window/FolderRequests.h"
#include "ui/window/ProgramCommands.h"
#include "ui/window/SettingCommands.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/SettingPages.h"
#include "ui/window/WindowCommands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace quillbay {

namespace {

const QString kFormMain = QStringLiteral("FormMain");
constexpr int kDefaultPositionTwips = 500;
constexpr int kFirstPage = 0;
constexpr int kLookInPage = 0;
constexpr int kFileRulesPage = 2;
constexpr int kFolderRulesPage = 4;

} // namespace

frmMain::frmMain(ProgramContext &context, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_commands(new WindowCommands(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setTag(this, QStringLiteral("c=11"));
    setWindowTitle(QStringLiteral("Quillbay the Renamer"));

    m_editor = new SettingEditor(*this, createSettingPages(*this, *m_commands));
    m_previewPane = new PreviewPane(m_context, *this);
    m_panes = new QStackedWidget;
    m_panes->setObjectName(QStringLiteral("picPaneTop"));
    m_panes->addWidget(m_editor);
    m_panes->addWidget(m_previewPane);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_panes);
    setCentralWidget(central);

    m_settingCommands = std::make_unique<SettingCommands>(*this);
    m_programCommands = std::make_unique<ProgramCommands>(*this);
    m_folderRequests = std::make_unique<FolderRequests>(*this);
    m_commands->setHandler(Command::RenamePreview, [this] { m_previewPane->preview(); });
    m_commands->setHandler(Command::RenameUndo, [this] { m_previewPane->reversePastChanges(); });
    m_commands->setHandler(Command::ReportList, [this] { m_previewPane->showReportList(); });

    connect(m_editor, &SettingEditor::settingSelected, this, &frmMain::UpdateCommandStates);
    connect(m_editor, &SettingEditor::pageShown, this, [this](int index) {
        m_commands->setEnabled(Command::FolderAdd, index == kLookInPage);
        m_commands->setEnabled(Command::FolderRemove, index == kLookInPage);
        m_commands->setEnabled(Command::NamingRuleAdd, index == kFileRulesPage || index == kFolderRulesPage);
    });
    connect(&m_context.state, &ProgramState::busyChanged, this, [this](bool busy) {
        if (!busy && m_closeRequested)
            QTimer::singleShot(0, this, &frmMain::requestClose);
    });
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
}

void frmMain::load()
{
    restoreWindowPosition(this, m_context.options, kFormMain, kDefaultPositionTwips);
    ApplyWindowTexts(this);
    ShowTabPage(kFirstPage);
    deleteOldReportsInBackground();
}

SettingsDocument &frmMain::settings()
{
    return m_context.manager.settings();
}

QString frmMain::CurrentSettingName() const
{
    return m_editor->CurrentSettingName();
}

void frmMain::ArrangeControls()
{
    // The fixed client size is what the layout asks for at the current font,
    // so a larger font never cuts a caption.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    centralWidget()->layout()->invalidate();
    layout()->activate();
    setFixedSize(sizeHint());
}

void frmMain::FillSettingList()
{
    m_editor->FillSettingList();
}

void frmMain::LoadSettingIntoPanes()
{
    m_editor->LoadSettingIntoPanes();
}

void frmMain::UpdateCommandStates()
{
    m_commands->setEnabled(Command::SettingRemove, settings().SettingCount() >= 2);
    m_commands->setEnabled(Command::RenamePreview, true);
}

void frmMain::ShowTabPage(int index)
{
    m_editor->ShowTabPage(index);
}

void frmMain::RefreshCurrentSetting()
{
    ArrangeControls();
    LoadSettingIntoPanes();
    UpdateCommandStates();
}

void frmMain::RefreshSettingList()
{
    ArrangeControls();
    FillSettingList();
    m_editor->selectDocumentSelection();
    UpdateCommandStates();
}

bool frmMain::SaveSettingsWithRetry()
{
    return m_context.store.SaveSettingsWithRetry([this](const QString &text, const QString &, const QString &reason) {
        const QString shown = reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason;
        return showMessage(this, shown, kErrorTitleId, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Warning)
            == QMessageBox::Retry;
    });
}

void frmMain::showPreviewFace()
{
    m_panes->setCurrentWidget(m_previewPane);
    m_commands->setPreviewing(true);
}

void frmMain::showEditorFace()
{
    m_panes->setCurrentWidget(m_editor);
    m_commands->setPreviewing(false);
}

bool frmMain::previewing() const
{
    return m_panes->currentWidget() == m_previewPane;
}

void frmMain::requestClose()
{
    m_closeRequested = true;
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->close();
        QTimer::singleShot(50, this, &frmMain::requestClose);
        return;
    }
    if (!m_context.state.busy())
        close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_context.state.busy()) {
        event->ignore();
        return;
    }
    storeWindowPosition(this, m_context.options, kFormMain);
    m_savedAtClose = SaveSettingsWithRetry();
    deleteOldReportsNow();
    event->accept();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange && centralWidget())
        ArrangeControls();
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    handOverDrag(event);
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    handOverDrag(event);
}

void frmMain::dropEvent(QDropEvent *event)
{
    handOverDrag(event);
}

// While a preview is shown or a run is at work the setting is not edited.
void frmMain::handOverDrag(QDropEvent *event)
{
    auto *lookIn = qobject_cast<LookInPage *>(m_editor->page(kLookInPage));
    if (!lookIn || previewing() || m_context.state.busy() || !lookIn->takeDrag(event))
        event->ignore();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && handleWindowKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Keys the window takes before the focused control sees them: Ctrl+Tab and
// Ctrl+Shift+Tab walk the tab pages with wrap-around; Delete removes the
// selected item of a list that has the focus (anywhere else it stays the
// control's key).
bool frmMain::handleWindowKey(QKeyEvent *event)
{
    if (previewing())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier)) {
        if (event->key() == Qt::Key_Tab && !modifiers.testFlag(Qt::ShiftModifier)) {
            m_editor->showNextPage(1);
            return true;
        }
        if (event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && modifiers.testFlag(Qt::ShiftModifier))) {
            m_editor->showNextPage(-1);
            return true;
        }
    }
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        if (SettingPage *page = m_editor->page(m_editor->currentPage()))
            return page->removeSelectedItem();
    }
    return false;
}

void frmMain::deleteOldReportsInBackground()
{
    auto *job = new BackgroundJob(this);
    const ReportFolders folders = ReportFolders::underDataFolder(m_context.store.folders().dataFolder);
    const QString holdingDays = m_context.options.table().text(OptionKey::ReportHoldingDays);
    job->start([folders, holdingDays] { ReportFolderKeeper(folders).DeleteOldReports(holdingDays); },
               [job] { job->deleteLater(); });
}

void frmMain::deleteOldReportsNow()
{
    ReportFolderKeeper(ReportFolders::underDataFolder(m_context.store.folders().dataFolder))
        .DeleteOldReports(m_context.options.table().text(OptionKey::ReportHoldingDays));
}

} // namespace quillbay
