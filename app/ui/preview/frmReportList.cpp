#include "ui/preview/frmReportList.h"

#include "ui/common/WindowTexts.h"
#include "ui/preview/ReportListModel.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace quillbay {

frmReportList::frmReportList(const QString &reportFolder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_folder(reportFolder), m_model(new ReportListModel(this)),
      m_view(new QTableView(this)), m_open(new QPushButton(QStringLiteral("&Open"), this))
{
    setObjectName(QStringLiteral("frmReportList"));
    setTag(this, QStringLiteral("c=31351"));
    m_view->setObjectName(QStringLiteral("grdReports"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->hide();
    // One line per row, at the font's height.
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + fontMetrics().height() / 2);
    m_view->horizontalHeader()->setSectionResizeMode(ReportListModel::Setting, QHeaderView::Stretch);
    m_view->horizontalHeader()->setSectionResizeMode(ReportListModel::Date, QHeaderView::ResizeToContents);
    m_open->setObjectName(QStringLiteral("cmdReportOpen"));
    setTag(m_open, QStringLiteral("c=31356"));
    m_open->setDefault(true);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(m_open, &QPushButton::clicked, this, &frmReportList::openSelected);
    connect(m_view, &QAbstractItemView::activated, this, &frmReportList::openSelected);
    connect(close, &QDialogButtonBox::rejected, this, &QWidget::close);
    ApplyWindowTexts(this);
    m_view->setAccessibleName(windowTitle());
    resize(QSize(fontMetrics().horizontalAdvance(QLatin1Char('n')) * 80, fontMetrics().height() * 24));
}

frmReportList::~frmReportList()
{
    stopReading();
}

void frmReportList::stopReading()
{
    if (m_stop)
        m_stop->store(true);
    m_job.wait();
}

void frmReportList::refresh()
{
    if (m_job.running()) {
        // The reading under way stops first; its end starts the new one.
        m_refreshPending = true;
        if (m_stop)
            m_stop->store(true);
        return;
    }
    m_refreshPending = false;
    QList<ReportSummary> reports = ReportSummary::listFolder(m_folder);
    m_model->setReports(reports);
    if (!reports.isEmpty())
        m_view->selectRow(0);
    m_open->setEnabled(!reports.isEmpty());
    m_stop = std::make_shared<std::atomic<bool>>(false);
    // The figures come one report at a time, each handed to the window's thread.
    m_job.start(
        [this, reports, stop = m_stop]() mutable {
            for (int row = 0; row < reports.size() && !stop->load(); ++row) {
                ReportSummary summary = reports[row];
                summary.readFigures();
                QMetaObject::invokeMethod(
                    this, [this, row, summary] { m_model->setSummary(row, summary); }, Qt::QueuedConnection);
            }
        },
        [this] {
            if (m_refreshPending)
                refresh();
            else
                emit figuresRead();
        });
}

void frmReportList::openSelected()
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        emit openRequested(m_model->reports().at(current.row()).path);
}

void frmReportList::closeEvent(QCloseEvent *event)
{
    stopReading();
    QWidget::closeEvent(event);
}

} // namespace quillbay
