#include "ui/preview/frmReportViewer.h"

#include "run/ReportViewer.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/WindowTexts.h"
#include "ui/preview/ReportTableModel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace quillbay {

namespace {

enum TextId {
    kTitleId = 31330,
    kRunSummaryId = 31301,
    kPleaseWaitId = 1310,
};

constexpr int kFilterDelayMs = 250;

} // namespace

frmReportViewer::frmReportViewer(const QString &path, QWidget *parent)
    : QWidget(parent, Qt::Window), m_path(path), m_table(new ReportTableModel(this)),
      m_filter(new ReportFilterModel(this)), m_view(new QTableView(this)), m_summary(new QLabel(this)),
      m_filterText(new QLineEdit(this)), m_failuresOnly(new QCheckBox(QStringLiteral("&Failures only"), this)),
      m_browser(new QPushButton(QStringLiteral("Open in &browser"), this)),
      m_reverse(new QPushButton(QStringLiteral("&Reverse this run"), this)), m_filterDelay(new QTimer(this))
{
    setObjectName(QStringLiteral("frmReportViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QDir::toNativeSeparators(path));
    m_view->setAccessibleName(windowTitle());

    m_filter->setSourceModel(m_table);
    m_filter->setFilterKeyColumn(-1);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filter->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_view->setObjectName(QStringLiteral("grdReport"));
    m_view->setModel(m_filter);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // One line per row, at the font's height.
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + fontMetrics().height() / 2);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setSectionResizeMode(ReportTableModel::Folder, QHeaderView::Stretch);
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder); // the report's own order first
    m_view->setSortingEnabled(true);

    m_summary->setObjectName(QStringLiteral("lblReportSummary"));
    m_summary->setText(UiText::LoadText(kPleaseWaitId));
    auto *filterLabel = new QLabel(QStringLiteral("Fi&lter:"), this);
    setTag(filterLabel, QStringLiteral("c=31335"));
    filterLabel->setBuddy(m_filterText);
    m_filterText->setObjectName(QStringLiteral("txtReportFilter"));
    m_filterText->setClearButtonEnabled(true);
    m_failuresOnly->setObjectName(QStringLiteral("chkReportFailuresOnly"));
    setTag(m_failuresOnly, QStringLiteral("c=31336"));
    m_browser->setObjectName(QStringLiteral("cmdReportBrowser"));
    setTag(m_browser, QStringLiteral("c=31337"));
    m_reverse->setObjectName(QStringLiteral("cmdReportReverse"));
    setTag(m_reverse, QStringLiteral("c=31338"));
    m_reverse->setEnabled(false);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto *top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(filterLabel);
    top->addWidget(m_filterText);
    top->addWidget(m_failuresOnly);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_browser);
    buttons->addWidget(m_reverse);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    // A report may hold a million entries: the filter waits for a pause in the typing.
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(kFilterDelayMs);
    connect(m_filterDelay, &QTimer::timeout, this, [this] { m_filter->setFilterFixedString(m_filterText->text()); });
    connect(m_filterText, &QLineEdit::textChanged, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_failuresOnly, &QCheckBox::toggled, m_filter, &ReportFilterModel::setFailuresOnly);
    connect(m_browser, &QPushButton::clicked, this, &frmReportViewer::openInBrowser);
    connect(m_reverse, &QPushButton::clicked, this, [this] { emit reverseRequested(m_path); });
    connect(close, &QDialogButtonBox::rejected, this, &QWidget::close);

    ApplyWindowTexts(this);
    resize(QSize(fontMetrics().horizontalAdvance(QLatin1Char('n')) * 120, fontMetrics().height() * 30));

    auto table = std::make_shared<ReportTable>();
    m_job.start([table, path] { *table = ReportTable::read(path); }, [this, table] { loadDone(*table); });
}

frmReportViewer::~frmReportViewer()
{
    m_job.wait();
}

void frmReportViewer::loadDone(ReportTable &table)
{
    m_loaded = true;
    if (!table.error.isEmpty()) {
        m_summary->setText(table.error);
        emit loadFinished();
        return;
    }
    setWindowTitle(UiText::LoadTextWith(kTitleId, {QStringLiteral("&date;"), table.date}));
    m_view->setAccessibleName(windowTitle());
    m_summary->setText(UiText::LoadTextWith(kRunSummaryId,
                                            {QStringLiteral("&renamed;"), QString::number(table.renamed),
                                             QStringLiteral("&failed;"), QString::number(table.failed)}));
    m_reverse->setEnabled(table.renamed > 0);
    m_table->setTable(std::move(table));
    for (const int column : {ReportTableModel::OldName, ReportTableModel::NewName, ReportTableModel::Outcome})
        m_view->resizeColumnToContents(column);
    emit loadFinished();
}

void frmReportViewer::openInBrowser()
{
    SystemLauncher launcher;
    ReportViewer viewer(launcher, ReportViewer::defaultCacheFolder(),
                        [this](const QString &text, const QString &title) {
                            showMessageWithTitle(this, text, title, QMessageBox::Ok, QMessageBox::Warning);
                        });
    setCursor(Qt::WaitCursor);
    viewer.OpenLastReport(m_path);
    unsetCursor();
}

} // namespace quillbay
