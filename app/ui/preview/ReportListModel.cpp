#include "ui/preview/ReportListModel.h"

#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace quillbay {

namespace {

constexpr int kFirstHeaderId = 31352; // date, setting, renamed, failed
constexpr int kReversalOfId = 31357;
constexpr int kUnreadableId = 31358;

} // namespace

// The time of a run from its report's file name ("2004-01-31 180509.xml"
// gives "2004-01-31 18:05:09"); a name of another form as it is.
static QString runTimeOf(const QString &fileName)
{
    static const QRegularExpression stamp(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} )(\\d{2})(\\d{2})(\\d{2})"));
    const QRegularExpressionMatch m = stamp.match(fileName);
    if (!m.hasMatch())
        return fileName;
    return m.captured(1) + m.captured(2) + u':' + m.captured(3) + u':' + m.captured(4);
}

// A report's place in time from its name, "yyyy-mm-dd hhmmss[ (n)].xml": the
// run's time, then n for later runs of the same second (1 for none).
static std::pair<QString, int> runOrder(const QFileInfo &file)
{
    static const QRegularExpression numbered(QStringLiteral("^(.*) \\((\\d+)\\)$"));
    const QString stem = file.completeBaseName();
    const QRegularExpressionMatch m = numbered.match(stem);
    if (m.hasMatch())
        return {m.captured(1), m.captured(2).toInt()};
    return {stem, 1};
}

QList<ReportSummary> ReportSummary::listFolder(const QString &folder)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable);
    std::stable_sort(files.begin(), files.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return runOrder(a) > runOrder(b); });
    QList<ReportSummary> reports;
    for (const QFileInfo &file : files) {
        ReportSummary report;
        report.path = file.absoluteFilePath();
        report.date = file.completeBaseName();
        reports.append(report);
    }
    return reports;
}

void ReportSummary::readFigures()
{
    pugi::xml_document document;
    if (!XmlTools::loadFile(document, path).ok()) {
        unreadable = true;
        return;
    }
    const pugi::xml_node root = document.document_element();
    if (const pugi::xml_attribute time = root.attribute("date"))
        date = toQString(time);
    if (const pugi::xml_attribute name = root.attribute("setting"))
        setting = toQString(name);
    else if (const pugi::xml_attribute reversed = root.attribute("reverses"))
        setting = UiText::LoadTextWith(kReversalOfId, {QStringLiteral("&report;"), runTimeOf(toQString(reversed))});
    renamed = 0;
    failed = 0;
    for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling()) {
        if (!PreviewDocument::isEntry(e))
            continue;
        if (e.attribute("error"))
            ++failed;
        else if (e.attribute("renamed"))
            ++renamed;
    }
}

void ReportListModel::setReports(QList<ReportSummary> reports)
{
    beginResetModel();
    m_reports = std::move(reports);
    endResetModel();
}

void ReportListModel::setSummary(int row, const ReportSummary &summary)
{
    if (row < 0 || row >= m_reports.size() || m_reports[row].path != summary.path)
        return;
    m_reports[row] = summary;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ReportListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_reports.size());
}

int ReportListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_reports.size())
        return {};
    const ReportSummary &report = m_reports[index.row()];
    if (role == Qt::ToolTipRole)
        return QDir::toNativeSeparators(report.path);
    if (role == Qt::TextAlignmentRole && (index.column() == Renamed || index.column() == Failed))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const auto count = [&report](int value) {
        if (report.unreadable)
            return UiText::LoadText(kUnreadableId);
        return value < 0 ? QStringLiteral("…") : QLocale().toString(value);
    };
    switch (index.column()) {
    case Date:
        return report.date;
    case Setting:
        return report.setting;
    case Renamed:
        return count(report.renamed);
    case Failed:
        return report.unreadable ? QString() : count(report.failed);
    default:
        return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return UiText::LoadText(kFirstHeaderId + section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace quillbay
