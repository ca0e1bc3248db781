#pragma once
// A report in a window of ours: a table of old name, new name, folder and
// outcome of every entry, failures first, sortable by any column and
// filtered by a text or to failures only. From here the report opens in the
// web browser as the report folder's style sheet shows it, or its run is
// reversed.

#include "ui/common/BackgroundJob.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace quillbay {

class ReportFilterModel;
struct ReportTable;
class ReportTableModel;

class frmReportViewer : public QWidget
{
    Q_OBJECT

public:
    // Reads the report at path (off the window's thread) and shows it; the
    // window deletes itself when closed.
    explicit frmReportViewer(const QString &path, QWidget *parent = nullptr);
    ~frmReportViewer() override;

    QString reportPath() const { return m_path; }
    bool loaded() const { return m_loaded; }
    ReportTableModel &table() { return *m_table; }
    ReportFilterModel &filter() { return *m_filter; }

signals:
    // The report has been read (or found unreadable).
    void loadFinished();
    void reverseRequested(const QString &path);

private:
    void openInBrowser();
    void loadDone(ReportTable &table);

    QString m_path;
    BackgroundJob m_job;
    ReportTableModel *m_table;
    ReportFilterModel *m_filter;
    QTableView *m_view;
    QLabel *m_summary;
    QLineEdit *m_filterText;
    QCheckBox *m_failuresOnly;
    QPushButton *m_browser;
    QPushButton *m_reverse;
    QTimer *m_filterDelay;
    bool m_loaded = false;
};

} // namespace quillbay
