#include "ui/preview/PreviewPane.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "run/ReportFolders.h"
#include "settings/SettingsStore.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/WindowTexts.h"
#include "ui/preview/EntryExplanation.h"
#include "ui/preview/PreviewEntryDelegate.h"
#include "ui/preview/PreviewHost.h"
#include "ui/preview/PreviewListModel.h"
#include "ui/preview/PreviewWorkingArea.h"
#include "ui/preview/frmReportList.h"
#include "ui/preview/frmReportViewer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillbay {

namespace {

enum TextId {
    kCaptionId = 1270,
    kSummaryId = 31300,
    kRunSummaryId = 31301,
    kSummaryTipId = 31302,
    kReportFilterId = 31305,
    kCompletedId = 1320,
    kSomeFailedId = 1322,
    kUnreadableReportId = 930,
    kSelectReportId = 925,
    kReverseRefusedId = 31307,
};

constexpr int kProgressIntervalMs = 100;
constexpr int kShownSkippedFolders = 3;

QString number(int value)
{
    return QLocale().toString(value);
}

QPushButton *makeButton(const char *name, const char *caption, const char *tag, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    setTag(button, QString::fromLatin1(tag));
    return button;
}

} // namespace

PreviewPane::PreviewPane(ProgramContext &context, PreviewHost &host, QWidget *parent)
    : QWidget(parent), m_context(context), m_host(host), m_worker(context.manager),
      m_model(
          new PreviewListModel([&manager = context.manager](
                                   const QString &id, bool include) { return manager.SetEntryInclude(id, include); },
                               this)),
      m_progressTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("picPaneTop_1"));
    buildControls();
    m_progressTimer->setInterval(kProgressIntervalMs);
    connect(m_progressTimer, &QTimer::timeout, this, &PreviewPane::updateProgress);
    connect(m_model, &PreviewListModel::countsChanged, this, &PreviewPane::updateSummary);
    connect(m_model, &QAbstractItemModel::modelReset, this, &PreviewPane::updateEntryNote);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &PreviewPane::updateEntryNote);
    connect(m_inverse, &QPushButton::clicked, this, [this] {
        // A million check marks take a second or two.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_model->invertAll();
        QApplication::restoreOverrideCursor();
    });
    connect(m_rename, &QPushButton::clicked, this, &PreviewPane::RenameCheckedEntries);
    connect(m_close, &QPushButton::clicked, this, &PreviewPane::ClosePreview);
    connect(m_workingArea->cancelButton(), &QPushButton::clicked, this, &PreviewPane::cancelPreview);
    connect(m_showReport, &QPushButton::clicked, this, [this] { openReport(m_reversedReport); });
    auto *nextProblem = new QShortcut(QKeySequence(Qt::Key_F8), this);
    nextProblem->setContext(Qt::WidgetWithChildrenShortcut);
    connect(nextProblem, &QShortcut::activated, this, &PreviewPane::selectNextProblem);
}

PreviewPane::~PreviewPane()
{
    // The worker's thread must not outlive the documents it works on.
    m_worker.wait();
}

void PreviewPane::buildControls()
{
    m_caption = new QLabel(QStringLiteral("Preview of changing names in files or/and folders:"), this);
    m_caption->setObjectName(QStringLiteral("lblPreviewFileNames"));
    setTag(m_caption, QStringLiteral("c=1270;t=1271"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblPreviewSummary"));
    setTag(m_summary, QStringLiteral("t=31302"));

    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("trePreview"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new PreviewEntryDelegate(m_list));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderHidden(true);
    m_list->setItemsExpandable(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->header()->setStretchLastSection(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The caption names the list; a screen reader asks a view for its own
    // name only, so it is given the caption's text (the string table's, as
    // the window's texts are applied after this).
    m_caption->setBuddy(m_list);
    m_list->setAccessibleName(withoutAccessKey(UiText::LoadText(kCaptionId)));

    // The working area takes the list's place while the pane works.
    m_workingArea = new PreviewWorkingArea(this);
    m_workingArea->hide();

    m_entryNote = new QLabel(this);
    m_entryNote->setObjectName(QStringLiteral("lblPreviewEntryNote"));
    m_entryNote->setWordWrap(true);
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("lblPreviewNotes"));
    m_notes->setWordWrap(true);
    m_notes->hide();

    m_inverse = makeButton("cmdInverse", "Inv", "c=1324", this); // its tooltip text is not applied
    m_showReport = makeButton("cmdShowReport", "View the &report", "c=31306", this);
    m_showReport->hide();
    m_rename = makeButton("cmdRename", "&Start changing file names", "c=1282", this);
    m_close = makeButton("cmdClosePreview", "&Close preview", "c=1280", this);
    m_rename->setEnabled(false);

    auto *top = new QHBoxLayout;
    top->addWidget(m_caption);
    top->addStretch(1);
    top->addWidget(m_summary);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_inverse);
    buttons->addWidget(m_showReport);
    buttons->addStretch(1);
    buttons->addWidget(m_rename);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_workingArea, 1);
    layout->addWidget(m_entryNote);
    layout->addWidget(m_notes);
    layout->addLayout(buttons);
}

// --- the preview run ----------------------------------------------------

void PreviewPane::preview()
{
    if (m_worker.running() || m_working)
        return;
    const PreviewPreconditions found = m_context.manager.CheckPreviewPreconditions();
    if (found.missingFolders)
        m_host.RefreshCurrentSetting();
    if (!found.met()) {
        showMessage(m_host.dialogParent(), preconditionMessage(found), kProgramTitleId);
        return;
    }
    m_kind = ListKind::Preview;
    m_cancelRequested = false;
    m_model->clear();
    setNotes({});
    m_runTotal = 0;
    m_listShown = true;
    m_host.showPreviewFace();
    EnterWorkingState(true);
    workerJobStarted();
    m_worker.startPreview([this](PreviewOutcome &outcome) { previewFinished(outcome); });
    updateProgress();
}

void PreviewPane::cancelPreview()
{
    // The walk stops at its next poll; the window goes back at once and leaves
    // the document to the worker until it has returned.
    m_cancelRequested = true;
    m_worker.requestCancel();
    LeaveWorkingState();
    ClosePreview();
}

void PreviewPane::previewFinished(PreviewOutcome &outcome)
{
    workerJobEnded();
    if (m_cancelRequested || (outcome.summary && outcome.summary->cancelled)) {
        if (m_working)
            LeaveWorkingState();
        ClosePreview();
        emit jobFinished();
        return;
    }
    if (!outcome.summary) {
        // A criteria pattern that does not compile: nothing was walked.
        LeaveWorkingState();
        ClosePreview();
        showErrorText(m_host.dialogParent(), criteriaErrorMessage(outcome.summary.error()));
        emit jobFinished();
        return;
    }
    const PreviewSummary &summary = *outcome.summary;
    XmlTools::setAttribute(m_context.manager.preview().root(), "setting",
                           m_context.manager.settings().settingName(m_context.manager.settings().SelectedSetting()));
    showList(std::move(outcome.entries));
    setNotes(leftOutNotes(summary));
    LeaveWorkingState();
    m_close->setFocus();
    if (summary.invalidCount > 0)
        showMessage(m_host.dialogParent(), invalidCountMessage(summary.invalidCount), kProgramTitleId);
    emit jobFinished();
}

// What the walk left out besides the list: folders it could not read (the
// first few), names that are no UTF-8, items whose rules failed. The invalid
// count has its own message box.
QStringList PreviewPane::leftOutNotes(const PreviewSummary &summary)
{
    PreviewSummary shown = summary;
    shown.invalidCount = 0;
    const bool moreSkipped = shown.skippedFolders.size() > kShownSkippedFolders;
    shown.skippedFolders.resize(std::min(shown.skippedFolders.size(), qsizetype(kShownSkippedFolders)));
    QStringList notes = previewNotes(shown);
    if (moreSkipped)
        notes[kShownSkippedFolders - 1] += QStringLiteral(" …");
    return notes;
}

void PreviewPane::showList(PreviewEntries entries)
{
    m_model->setEntries(std::move(entries));
    m_rename->setEnabled(m_model->rowCount() > 0 && !m_model->entries().afterRun);
    m_showReport->setVisible(m_kind == ListKind::Reversal && !m_reversedReport.isEmpty());
    // The first entry that needs attention, whose note then says why; else the first.
    const int first = m_model->entries().nextAttention(-1);
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(std::max(first, 0)));
}

// --- the working state --------------------------------------------------

// The program is busy while a worker has the document, whether or not the
// working area is still shown (a cancelled preview's worker may be returning).
void PreviewPane::workerJobStarted()
{
    m_busy.emplace(m_context.state);
    m_progressTimer->start();
}

void PreviewPane::workerJobEnded()
{
    m_busy.reset();
    m_progressTimer->stop();
}

void PreviewPane::EnterWorkingState(bool cancelOffered)
{
    m_working = true;
    m_rename->setEnabled(false);
    m_close->setEnabled(false);
    m_inverse->setEnabled(false);
    if (cancelOffered)
        m_workingArea->showPreviewProgress(0, 0, 0);
    else
        m_workingArea->showMessageOnly();
    m_list->hide();
    m_workingArea->show();
    m_host.dialogParent()->setCursor(Qt::WaitCursor);
}

void PreviewPane::LeaveWorkingState()
{
    m_working = false;
    m_workingArea->hide();
    m_list->show();
    m_close->setEnabled(true);
    m_inverse->setEnabled(!m_model->entries().afterRun);
    m_host.dialogParent()->unsetCursor();
}

void PreviewPane::updateProgress()
{
    // A cancel request made in the instant before the walk began is dropped
    // by its start: it is made again until the worker has returned.
    if (m_cancelRequested && m_worker.running())
        m_worker.requestCancel();
    if (!m_working)
        return;
    if (m_runTotal > 0) {
        m_workingArea->showRunProgress(m_worker.entriesDone(), m_runTotal);
        return;
    }
    if (m_workingArea->cancelButton()->isVisible()) {
        const PreviewProgress progress = m_worker.previewProgress();
        m_workingArea->showPreviewProgress(progress.foldersExamined, progress.filesExamined, progress.entriesFound);
    }
}

// --- closing --------------------------------------------------------------

void PreviewPane::ClosePreview()
{
    m_model->clear();
    setNotes({});
    m_showReport->hide();
    m_rename->setEnabled(false);
    m_listShown = false;
    m_host.showEditorFace();
    // A cancelled preview's worker may still be returning: the document is
    // emptied when it has (previewFinished closes the preview again).
    if (!m_worker.running())
        emptyPreviewDocument();
}

void PreviewPane::emptyPreviewDocument()
{
    m_context.manager.preview().NewPreviewDocument(UiText::LanguageSuffix());
    m_reversedReport.clear();
}

// --- the rename run -------------------------------------------------------

void PreviewPane::RenameCheckedEntries()
{
    if (m_worker.running() || m_working || m_model->entries().afterRun)
        return;
    m_runTotal = m_model->checkedCount();
    // The run renames and removes entries: the list lets go of them first.
    m_model->clear();
    EnterWorkingState(false);
    m_workingArea->showRunProgress(0, m_runTotal);
    workerJobStarted();
    // Folders handed over by other programs wait until the run and its
    // messages are over (see runFinished).
    m_context.state.setRenaming(true);
    m_worker.startRun(reportFolders(), [this](RunOutcome &outcome) { runFinished(outcome); });
}

void PreviewPane::runFinished(RunOutcome &outcome)
{
    const auto renamingOver = qScopeGuard([this] { m_context.state.setRenaming(false); });
    workerJobEnded();
    m_runTotal = 0;
    showList(std::move(outcome.entries));
    LeaveWorkingState();
    QWidget *parent = m_host.dialogParent();
    for (const auto &[text, title] : outcome.messages)
        showMessageWithTitle(parent, text, title, QMessageBox::Ok, QMessageBox::Warning);
    if (!outcome.summary) {
        // Nothing was renamed: the list stays for another try.
        showErrorText(parent, outcome.summary.error().message);
        m_close->setFocus();
        emit jobFinished();
        return;
    }
    const ExecutionSummary &summary = *outcome.summary;
    m_lastReportPath = summary.report.valueOr(QString());
    m_close->setFocus();
    if (summary.allSucceeded) {
        showMessage(parent, UiText::LoadText(kCompletedId), kProgramTitleId);
    } else if (showMessage(parent, UiText::LoadText(kSomeFailedId), kProgramTitleId, QMessageBox::Yes | QMessageBox::No)
               == QMessageBox::Yes) {
        openReport(m_lastReportPath);
    }
    reportRunAftermath(outcome);
    ClosePreview();
    emit jobFinished();
}

// What the completion messages leave unsaid: a report that could not be saved
// (the journal keeps the record until the next run) and reports recovered
// from runs that were cut short earlier.
void PreviewPane::reportRunAftermath(const RunOutcome &outcome)
{
    QWidget *parent = m_host.dialogParent();
    if (!outcome.summary->report)
        showErrorText(parent, reportNotSavedMessage(reportFolders().reportFolder, outcome.summary->report.error()));
    if (const QStringList recovered = recoveryNotes(outcome.recovered); !recovered.isEmpty())
        showMessage(parent, recovered.join(u'\n'), kProgramTitleId, QMessageBox::Ok, QMessageBox::Information);
}

// --- reversing a past run --------------------------------------------------

void PreviewPane::reversePastChanges()
{
    if (m_worker.running() || m_working)
        return;
    QWidget *parent = m_host.dialogParent();
    const ReportFolders folders = reportFolders();
    ReportFolderKeeper(folders, [parent](const QString &text, const QString &title) {
        showMessageWithTitle(parent, text, title, QMessageBox::Ok, QMessageBox::Warning);
    }).PrepareReportFolder();
    const QString path = askForReport(folders.reportFolder);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    reverseReport(QFileInfo(path).absoluteFilePath());
}

QString PreviewPane::askForReport(const QString &folder)
{
    QFileDialog dialog(m_host.dialogParent(), UiText::LoadText(kSelectReportId), folder,
                       UiText::LoadText(kReportFilterId) + QStringLiteral(" (*.xml)"));
    dialog.setObjectName(QStringLiteral("dlgReportFile"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool PreviewPane::reverseReport(const QString &path)
{
    if (m_worker.running() || m_working || m_listShown)
        return false;
    // The pane is not shown while the report is read: only the hourglass is seen.
    m_kind = ListKind::Reversal;
    EnterWorkingState(false);
    workerJobStarted();
    m_worker.startReversal(path, UiText::LanguageSuffix(),
                           [this, path](ReversalOutcome &outcome) { reversalFinished(path, outcome); });
    return true;
}

void PreviewPane::reversalFinished(const QString &path, ReversalOutcome &outcome)
{
    workerJobEnded();
    LeaveWorkingState();
    if (!outcome.read) {
        showError(m_host.dialogParent(), kUnreadableReportId);
        emit jobFinished();
        return;
    }
    m_reversedReport = path;
    setNotes({});
    m_listShown = true;
    m_host.showPreviewFace();
    showList(std::move(outcome.entries));
    m_close->setFocus();
    emit jobFinished();
}

// --- the list ------------------------------------------------------------------

void PreviewPane::selectNextProblem()
{
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    const int next = m_model->entries().nextAttention(current);
    if (next < 0)
        return;
    const QModelIndex index = m_model->index(next);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_list->setFocus();
}

void PreviewPane::updateSummary()
{
    const PreviewEntries &entries = m_model->entries();
    if (entries.rows.empty() && !entries.afterRun) {
        m_summary->clear();
        return;
    }
    if (entries.afterRun)
        m_summary->setText(UiText::LoadTextWith(kRunSummaryId,
                                                {QStringLiteral("&renamed;"), number(entries.renamed),
                                                 QStringLiteral("&failed;"), number(entries.failed)}));
    else
        m_summary->setText(UiText::LoadTextWith(kSummaryId,
                                                {QStringLiteral("&checked;"), number(entries.checked),
                                                 QStringLiteral("&cleared;"), number(entries.cleared)}));
}

void PreviewPane::updateEntryNote()
{
    const QModelIndex current = m_list->currentIndex();
    QString note;
    if (current.isValid() && current.row() < m_model->entries().size())
        note = explainEntry(m_model->entries().rows[size_t(current.row())]).text;
    m_entryNote->setText(note);
}

void PreviewPane::setNotes(const QStringList &lines)
{
    m_notes->setText(lines.join(u'\n'));
    m_notes->setVisible(!lines.isEmpty());
}

// --- reports ------------------------------------------------------------------------

ReportFolders PreviewPane::reportFolders() const
{
    return ReportFolders::underDataFolder(m_context.store.folders().dataFolder);
}

void PreviewPane::openReport(const QString &path)
{
    if (path.isEmpty())
        return;
    auto *viewer = new frmReportViewer(path, m_host.dialogParent());
    connect(viewer, &frmReportViewer::reverseRequested, this, [this, viewer](const QString &report) {
        if (reverseReport(report))
            m_host.dialogParent()->activateWindow();
        else
            showMessage(viewer, UiText::LoadText(kReverseRefusedId), kProgramTitleId);
    });
    viewer->show();
}

void PreviewPane::showReportList()
{
    if (!m_reportList) {
        m_reportList = new frmReportList(reportFolders().reportFolder, m_host.dialogParent());
        connect(m_reportList, &frmReportList::openRequested, this, &PreviewPane::openReport);
    }
    m_reportList->refresh();
    m_reportList->show();
    m_reportList->raise();
    m_reportList->activateWindow();
}

} // namespace quillbay
