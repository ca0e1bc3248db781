// The preview pane (its list with cleared entries and their reasons, its
// working state with the counts of the walk, the outcome of a run with
// failures) and the report windows.

#include "ScreenshotSession.h"

#include "settings/SettingsDocument.h"
#include "ui/preview/PreviewListModel.h"
#include "ui/preview/PreviewPane.h"
#include "ui/preview/frmReportList.h"
#include "ui/preview/frmReportViewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <sstream>

namespace quillbay::shots {

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qWarning("cannot make %s", qPrintable(path));
}

// Calls act with the next modal window, from the event loop that shows it.
void whenModalShows(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    auto *waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if ((modal && modal->isVisible()) || (*waited += 20) > 20000) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            if (modal)
                act(modal);
        }
    });
    timer->start(20);
}

void answer(QWidget *modal, QMessageBox::StandardButton button)
{
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        box->button(button)->click();
}

// Uses the session's window with one setting of its own, and gives the
// settings back afterwards (other screens show theirs).
class PreviewSetting
{
public:
    PreviewSetting(ScreenshotSession &session, const QString &folder, const QString &fileRules)
        : m_window(session.openWindow()), m_settings(m_window.settings())
    {
        std::ostringstream text;
        m_settings.document().save(text);
        m_saved = QString::fromStdString(text.str());
        const QString xml =
            QStringLiteral("<settings version=\"2.0\" select=\"Holiday photos\"><setting name=\"Holiday photos\">"
                           "<folders childFolders=\"deep\" subFoldersDepth=\"1\"><folder path=\"%1\"/></folders>"
                           "<newNameRules>%2</newNameRules><newFolderNameRules/></setting></settings>")
                .arg(folder.toHtmlEscaped(), fileRules);
        static_cast<void>(m_settings.loadText(xml));
        m_window.RefreshSettingList();
    }
    ~PreviewSetting()
    {
        static_cast<void>(m_settings.loadText(m_saved));
        m_window.RefreshSettingList();
    }

    bool preview(QMessageBox::StandardButton answerWith = QMessageBox::NoButton)
    {
        QSignalSpy finished(&m_window.previewPane(), &PreviewPane::jobFinished);
        if (answerWith != QMessageBox::NoButton)
            whenModalShows([answerWith](QWidget *modal) { answer(modal, answerWith); });
        m_window.previewPane().preview();
        return finished.wait(30000);
    }

private:
    frmMain &m_window;
    SettingsDocument &m_settings;
    QString m_saved;
};

const QString kPhotoRules = QStringLiteral("<rule type=\"regexpBase\" pattern=\"^IMG_(\\d+)$\" replace=\"Holiday $1\"/>"
                                           "<rule type=\"caseExt\" option=\"lower\"/>"
                                           "<rule type=\"replace\" pattern=\"draft\" replaceWith=\"draft: final\"/>");

QString makePhotoFolder(const QString &root)
{
    const QString folder = root + QStringLiteral("/Holiday 2024");
    for (const char *name : {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.JPG", "IMG_0005.jpg", "IMG_0005.JPG",
                             "IMG_0006.jpg", "Holiday 0006.jpg", "Trip report draft.txt", "Beach/IMG_0101.jpg",
                             "Beach/IMG_0102.jpg", "Beach/IMG_0103.jpg"})
        touch(folder + u'/' + QLatin1String(name));
    return folder;
}

// The list after a preview: three entries cleared, for three reasons; the
// selected one (the next problem, F8) says why below the list and in its tooltip.
void previewWithClearedEntries(ScreenshotSession &session)
{
    const QString folder = makePhotoFolder(session.sampleFolder() + QStringLiteral("/cleared"));
    PreviewSetting setting(session, folder, kPhotoRules);
    frmMain &window = session.window();
    if (!setting.preview(QMessageBox::Ok))
        return;
    PreviewPane &pane = window.previewPane();
    pane.list().setCurrentIndex(QModelIndex());
    pane.selectNextProblem();
    pane.selectNextProblem();
    session.save(&window, QStringLiteral("preview-cleared"));
    const QModelIndex current = pane.list().currentIndex();
    const QRect row = pane.list().visualRect(current);
    QToolTip::showText(pane.list().viewport()->mapToGlobal(row.bottomLeft() + QPoint(24, 0)),
                       current.data(Qt::ToolTipRole).toString(), pane.list().viewport());
    session.save(&window, QStringLiteral("preview-cleared-tooltip"));
    QToolTip::hideText();
    pane.ClosePreview();
}

// The working state while a walk goes on: the folders and files examined
// and the entries found so far. The files directly in the folder take the
// first rule long to give up on, which keeps the walk going.
void previewWorking(ScreenshotSession &session)
{
    const QString root = session.sampleFolder() + QStringLiteral("/working");
    for (int folder = 1; folder <= 12; ++folder)
        for (int file = 1; file <= 25; ++file)
            touch(
                root
                + QStringLiteral("/Album %1/IMG_%2.jpg").arg(folder, 2, 10, QChar(u'0')).arg(file, 4, 10, QChar(u'0')));
    for (int i = 0; i < 150; ++i)
        touch(root + QStringLiteral("/%1_%2.txt").arg(QString(34, u'a')).arg(i, 3, 10, QChar(u'0')));
    PreviewSetting setting(
        session, root, QStringLiteral("<rule type=\"regexpBase\" pattern=\"^(a+)+$\" replace=\"x\"/>") + kPhotoRules);
    frmMain &window = session.window();
    PreviewPane &pane = window.previewPane();
    QSignalSpy finished(&pane, &PreviewPane::jobFinished);
    pane.preview();
    ScreenshotSession::settle(1200);
    session.save(&window, QStringLiteral("preview-working"));
    if (auto *cancel = window.findChild<QPushButton *>(QStringLiteral("cmdCancelPreview")))
        cancel->click();
    finished.wait(30000);
}

// A run in which one file had gone since the preview: the pane shows the
// outcome of every entry while the program asks whether to read the report.
// Then the report in the report viewer, and the list of past runs.
void runWithFailuresAndReports(ScreenshotSession &session)
{
    const QString folder = makePhotoFolder(session.sampleFolder() + QStringLiteral("/run"));
    PreviewSetting setting(session, folder, kPhotoRules);
    frmMain &window = session.window();
    PreviewPane &pane = window.previewPane();
    if (!setting.preview(QMessageBox::Ok))
        return;
    QFile::remove(folder + QStringLiteral("/IMG_0002.jpg"));
    QFile::remove(folder + QStringLiteral("/Beach/IMG_0102.jpg"));
    QSignalSpy finished(&pane, &PreviewPane::jobFinished);
    whenModalShows([&session, &window](QWidget *modal) {
        // The question beside the window, so that the picture shows the list behind it.
        modal->move(window.frameGeometry().topRight() + QPoint(16, 0));
        session.save(&window, QStringLiteral("preview-after-run"));
        answer(modal, QMessageBox::No);
    });
    window.findChild<QPushButton *>(QStringLiteral("cmdRename"))->click();
    if (!finished.wait(30000))
        return;

    pane.openReport(pane.lastReportPath());
    auto *viewer = window.findChild<frmReportViewer *>();
    if (viewer) {
        QSignalSpy loaded(viewer, &frmReportViewer::loadFinished);
        if (!viewer->loaded())
            loaded.wait(10000);
        session.save(viewer, QStringLiteral("report-viewer"));
        // Reverse this run, so that the list of past runs shows a reversal too.
        QSignalSpy planned(&pane, &PreviewPane::jobFinished);
        viewer->findChild<QPushButton *>(QStringLiteral("cmdReportReverse"))->click();
        if (planned.wait(30000)) {
            QSignalSpy reversed(&pane, &PreviewPane::jobFinished);
            whenModalShows([](QWidget *modal) { answer(modal, QMessageBox::Ok); });
            window.findChild<QPushButton *>(QStringLiteral("cmdRename"))->click();
            reversed.wait(30000);
        }
        viewer->close();
    }
    pane.showReportList();
    auto *list = window.findChild<frmReportList *>();
    if (list) {
        QSignalSpy read(list, &frmReportList::figuresRead);
        if (list->reading())
            read.wait(10000);
        session.save(list, QStringLiteral("report-list"));
        list->close();
    }
}

} // namespace

QUILLBAY_SCREENS("preview with cleared entries", previewWithClearedEntries);
QUILLBAY_SCREENS("preview working", previewWorking);
QUILLBAY_SCREENS("run with failures and reports", runWithFailuresAndReports);

} // namespace quillbay::shots
