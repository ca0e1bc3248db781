#pragma once
// The reports of past runs, newest first, with their dates, settings and
// figures (Tools > Reports). Opening one shows it in the report viewer.

#include "ui/common/BackgroundJob.h"

#include <QWidget>
#include <atomic>
#include <memory>

class QPushButton;
class QTableView;

namespace quillbay {

class ReportListModel;

class frmReportList : public QWidget
{
    Q_OBJECT

public:
    explicit frmReportList(const QString &reportFolder, QWidget *parent = nullptr);
    ~frmReportList() override;

    // Lists the folder again and reads the figures of its reports.
    void refresh();
    ReportListModel &model() { return *m_model; }
    bool reading() const { return m_job.running(); }

signals:
    void openRequested(const QString &path);
    // Every report's figures have been read.
    void figuresRead();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void openSelected();
    void stopReading();

    QString m_folder;
    ReportListModel *m_model;
    QTableView *m_view;
    QPushButton *m_open;
    BackgroundJob m_job;
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_refreshPending = false;
};

} // namespace quillbay
