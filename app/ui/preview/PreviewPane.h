#pragma once
// The preview pane (picPaneTop_1): the proposed renames of a preview run or of
// a reversal, with the buttons that start or abandon them. Its list
// (trePreview) is a view over the preview document; the work behind it runs
// on a worker thread (PreviewWorker) while the pane shows its working state.

#include "ui/common/ProgramState.h"
#include "ui/preview/PreviewWorker.h"

#include <QPointer>
#include <QWidget>
#include <optional>

class QFileDialog;
class QLabel;
class QPushButton;
class QTimer;
class QTreeView;

namespace quillbay {

struct ProgramContext;
struct ReportFolders;
class PreviewHost;
class PreviewListModel;
class PreviewWorkingArea;
class frmReportList;

class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    PreviewPane(ProgramContext &context, PreviewHost &host, QWidget *parent = nullptr);
    ~PreviewPane() override;

    // The preview command: the pre-check (its findings joined in one message
    // box), then the preview run.
    void preview();
    // Back to the setting editor; the list is cleared and the preview
    // document emptied.
    void ClosePreview();
    // The working state: the working area in place of the list, Close, Start
    // and Inv disabled, the hourglass; Cancel only when offered (a preview).
    void EnterWorkingState(bool cancelOffered);
    void LeaveWorkingState();
    // Start: carries out the checked entries, then says how it went.
    void RenameCheckedEntries();
    // The reversal command: a report chosen in the report folder becomes the list.
    void reversePastChanges();
    // The reversal of the report at path as the list; false when the pane is
    // busy or already shows a list.
    bool reverseReport(const QString &path);
    // Selects the next entry that needs attention (F8).
    void selectNextProblem();

    // Windows of reports: one report in a table, and the list of past runs.
    void openReport(const QString &path);
    void showReportList();

    bool working() const { return m_working; }
    bool listShown() const { return m_listShown; }
    bool jobRunning() const { return m_worker.running(); }
    PreviewListModel &model() { return *m_model; }
    QTreeView &list() { return *m_list; }
    PreviewWorker &worker() { return m_worker; }
    QString lastReportPath() const { return m_lastReportPath; }

signals:
    // A job of the pane has ended and its outcome has been shown.
    void jobFinished();

private:
    enum class ListKind { Preview, Reversal };

    void buildControls();
    void previewFinished(PreviewOutcome &outcome);
    void runFinished(RunOutcome &outcome);
    void reversalFinished(const QString &path, ReversalOutcome &outcome);
    void showList(PreviewEntries entries);
    void cancelPreview();
    void workerJobStarted();
    void workerJobEnded();
    void updateProgress();
    void updateSummary();
    void updateEntryNote();
    void setNotes(const QStringList &lines);
    void emptyPreviewDocument();
    void reportRunAftermath(const RunOutcome &outcome);
    static QStringList leftOutNotes(const PreviewSummary &summary);
    ReportFolders reportFolders() const;
    QString askForReport(const QString &folder);

    ProgramContext &m_context;
    PreviewHost &m_host;
    PreviewWorker m_worker;
    PreviewListModel *m_model;
    QTreeView *m_list;
    PreviewWorkingArea *m_workingArea;
    QLabel *m_caption;
    QLabel *m_summary;
    QLabel *m_entryNote;
    QLabel *m_notes;
    QPushButton *m_inverse;
    QPushButton *m_showReport;
    QPushButton *m_rename;
    QPushButton *m_close;
    QTimer *m_progressTimer;
    std::optional<BusyScope> m_busy;
    bool m_working = false;
    bool m_listShown = false; // the pane is the window's face
    bool m_cancelRequested = false;
    int m_runTotal = 0;
    ListKind m_kind = ListKind::Preview;
    QString m_reversedReport;
    QString m_lastReportPath;
    QPointer<frmReportList> m_reportList;
};

} // namespace quillbay
