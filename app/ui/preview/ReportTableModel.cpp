#include "ui/preview/ReportTableModel.h"

#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

namespace quillbay {

namespace {

constexpr int kRenamedId = 31320;
constexpr int kFirstHeaderId = 31331; // old name, new name, folder, outcome
constexpr int kUnreadableId = 930;

} // namespace

ReportTable ReportTable::read(const QString &path)
{
    ReportTable table;
    table.document = std::make_unique<pugi::xml_document>();
    if (const Result<void> loaded = XmlTools::loadFile(*table.document, path); !loaded) {
        table.error = UiText::LoadText(kUnreadableId) + QStringLiteral("\n") + loaded.error().message;
        table.document.reset();
        return table;
    }
    const pugi::xml_node root = table.document->document_element();
    table.date = toQString(root.attribute("date"));
    if (table.date.isEmpty())
        table.date = QFileInfo(path).completeBaseName();
    std::vector<pugi::xml_node> succeeded;
    for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling()) {
        if (!PreviewDocument::isEntry(e))
            continue;
        if (e.attribute("error")) {
            table.rows.push_back(e);
            ++table.failed;
        } else {
            succeeded.push_back(e);
            if (e.attribute("renamed"))
                ++table.renamed;
        }
    }
    table.rows.insert(table.rows.end(), succeeded.begin(), succeeded.end());
    return table;
}

void ReportTableModel::setTable(ReportTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size());
}

int ReportTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_table.rows.size())
        return {};
    const pugi::xml_node e = m_table.rows[size_t(index.row())];
    const pugi::xml_attribute error = e.attribute("error");
    if (role == FailedRole)
        return bool(error);
    if (role == Qt::DecorationRole && index.column() == Outcome) {
        if (error)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
        return e.attribute("renamed") ? QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon();
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case OldName:
        return toQString(e.attribute("name"));
    case NewName:
        return toQString(e.attribute("newName"));
    case Folder:
        return toQString(e.attribute("folder"));
    case Outcome:
        if (error)
            return toQString(error);
        return e.attribute("renamed") ? UiText::LoadText(kRenamedId) : QString();
    default:
        return {};
    }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return UiText::LoadText(kFirstHeaderId + section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ReportFilterModel::setFailuresOnly(bool only)
{
    m_failuresOnly = only;
    invalidateFilter();
}

bool ReportFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_failuresOnly && !sourceModel()->index(sourceRow, 0, sourceParent).data(ReportTableModel::FailedRole).toBool())
        return false;
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}

} // namespace quillbay
