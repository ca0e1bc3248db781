#pragma once
// One report as a table: old name, new name, folder and outcome of each
// entry, failures first and then the rest, each group in the order of the run.
// The report is read on a worker thread (read()); the model then owns it.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace quillbay {

struct ReportTable {
    std::unique_ptr<pugi::xml_document> document;
    std::vector<pugi::xml_node> rows; // failures first
    int failed = 0;
    int renamed = 0;
    QString date;  // the run's time, as the report gives it
    QString error; // why it could not be read; empty when it could

    static ReportTable read(const QString &path);
};

class ReportTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { OldName, NewName, Folder, Outcome, ColumnCount };
    static constexpr int FailedRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setTable(ReportTable table);
    const ReportTable &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ReportTable m_table;
};

// The report's rows that contain the filter text in any column, optionally
// only its failures; sortable by any column.
class ReportFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setFailuresOnly(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool m_failuresOnly = false;
};

} // namespace quillbay
