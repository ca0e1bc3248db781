#pragma once
// The past runs of the report folder, newest first: when each ran, with which
// setting (or which run it reversed), and how many entries were renamed and
// how many failed. The list of files comes at once; the figures of each
// report follow as a worker reads them.

#include <QAbstractTableModel>
#include <QList>

namespace quillbay {

struct ReportSummary {
    QString path;
    QString date;     // the run's time
    QString setting;  // the setting's name, or what the run reversed
    int renamed = -1; // -1 until read
    int failed = -1;
    bool unreadable = false;

    // The report files of folder, newest first, with their dates from the names.
    static QList<ReportSummary> listFolder(const QString &folder);
    // Reads the figures of the report (may take a while for a large one).
    void readFigures();
};

class ReportListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Setting, Renamed, Failed, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setReports(QList<ReportSummary> reports);
    // The figures of the report at row, once read.
    void setSummary(int row, const ReportSummary &summary);
    const QList<ReportSummary> &reports() const { return m_reports; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<ReportSummary> m_reports;
};

} // namespace quillbay
