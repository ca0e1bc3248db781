#include "ui/preview/PreviewListModel.h"

#include "run/ClearedReason.h"

#include "engine/PreviewTreeText.h"
#include "settings/XmlTools.h"
#include "ui/preview/EntryExplanation.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <cstring>

namespace quillbay {

namespace {

QIcon stateIcon(EntryState state)
{
    switch (state) {
    case EntryState::Cleared:
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    case EntryState::Failed:
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
    case EntryState::Renamed:
        return QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton);
    case EntryState::Plain:
        break;
    }
    // An empty picture of the same size, so that every line starts at the same place.
    static const QIcon blank = [] {
        QPixmap pixmap(QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize),
                       QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize));
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    return blank;
}

} // namespace

PreviewListModel::PreviewListModel(std::function<bool(const QString &, bool)> setInclude, QObject *parent)
    : QAbstractListModel(parent), m_setInclude(std::move(setInclude))
{
}

void PreviewListModel::setEntries(PreviewEntries entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
    emit countsChanged();
}

void PreviewListModel::clear()
{
    setEntries({});
}

int PreviewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_entries.size();
}

PreviewListModel::Line PreviewListModel::line(int row) const
{
    const pugi::xml_node e = m_entries.rows[size_t(row)];
    Line line;
    line.fullName = toQString(e.attribute("name"));
    line.name = line.fullName.size() > 90 ? line.fullName.left(90) + QStringLiteral("...") : line.fullName;
    line.newName = toQString(e.attribute("newName"));
    line.folder = toQString(e.attribute("folder"));
    line.isFolder = std::strcmp(e.name(), "folder") == 0;
    line.checked = entryChecked(e);
    if (m_entries.afterRun) {
        const EntryExplanation explanation = explainEntry(e);
        line.failed = explanation.state == EntryState::Failed;
        if (line.failed)
            line.note = explanation.text;
    }
    return line;
}

bool PreviewListModel::checked(int row) const
{
    return entryChecked(m_entries.rows[size_t(row)]);
}

QVariant PreviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const pugi::xml_node e = m_entries.rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return previewTreeText(e);
    case Qt::CheckStateRole:
        if (m_entries.afterRun)
            return {};
        return entryChecked(e) ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        return stateIcon(explainEntry(e).state);
    case Qt::ToolTipRole: {
        const Line l = line(index.row());
        const QString mark = l.isFolder ? QStringLiteral("\\") : QString();
        QString tip =
            l.fullName + mark + QStringLiteral(" -> ") + l.newName + mark + QStringLiteral(" (in ") + l.folder + u')';
        const QString why = explainEntry(e).text;
        if (!why.isEmpty())
            tip += QStringLiteral("\n") + why;
        return tip;
    }
    default:
        return {};
    }
}

Qt::ItemFlags PreviewListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.isValid() && !m_entries.afterRun)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool PreviewListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || m_entries.afterRun)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

bool PreviewListModel::writeInclude(int row, bool include)
{
    const pugi::xml_node e = m_entries.rows[size_t(row)];
    if (entryChecked(e) == include)
        return false;
    // A reversal entry that could reach another folder is never carried out:
    // its check mark stays cleared.
    if (include && clearedReasonOf(e) == ClearedReason::Refused)
        return false;
    if (!m_setInclude(toQString(e.attribute("id")), include))
        return false;
    m_entries.checked += include ? 1 : -1;
    return true;
}

void PreviewListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= m_entries.size() || !writeInclude(row, checked))
        return;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
    emit countsChanged();
}

void PreviewListModel::invertAll()
{
    if (m_entries.rows.empty() || m_entries.afterRun)
        return;
    for (int row = 0; row < m_entries.size(); ++row)
        writeInclude(row, !checked(row));
    emit dataChanged(index(0), index(m_entries.size() - 1), {Qt::CheckStateRole});
    emit countsChanged();
}

} // namespace quillbay
