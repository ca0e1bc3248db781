// The preview list at a hundred thousand and a million files: how long the
// window takes from the preview command until its list is filled and
// scrolled to the end, against the engine's own preview of the same tree; how
// much memory the window adds per entry to what the preview document takes;
// and how long a page of scrolling, a check box and "Inv" take.
//
// Each figure comes from a child process of its own (this program again, with
// --preview-child), so that one measurement's memory never counts in another's.

#include "WindowBench.h"

#include "../TreeMaker.h"

#include "engine/Manager.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsStore.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/ProgramState.h"
#include "ui/preview/PreviewListModel.h"
#include "ui/preview/PreviewPane.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quillbay::windowbench {

namespace {

constexpr int kRuns = 3;
constexpr int kScrollSteps = 200;
constexpr int kToggles = 200;

// One line of /proc/self/status in bytes ("VmRSS", "VmHWM").
long long statusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

void resetPeak()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, "5", 1);
        ::close(fd);
    }
}

// The benchmark's basic job: white space to "_", "qb_" before, a number after.
QString settingsText(const QString &root, bench::Layout layout)
{
    const QString depth = layout == bench::Layout::Flat ? QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"0\"")
                                                        : QStringLiteral("childFolders=\"all\" subFoldersDepth=\"0\"");
    return QStringLiteral(
               "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"Bench\">"
               "<setting name=\"Bench\"><folders %1><folder path=\"%2\"/></folders><fileToBeChanged/>"
               "<newNameRules>"
               "<rule type=\"regexpBase\" pattern=\"\\s+\" replace=\"_\" global=\"true\" ignoreCase=\"true\"/>"
               "<rule type=\"add\" text=\"qb_\" position=\"before\"/>"
               "<rule type=\"numbering\" start=\"1\" column=\"7\" prefix=\"_\" position=\"after\"/>"
               "</newNameRules><newFolderNameRules/></setting></settings>")
        .arg(depth, root.toHtmlEscaped());
}

// --- the children -----------------------------------------------------------

// The engine alone: BuildPreview on this thread, its time and memory.
int engineChild(const QString &settings)
{
    Manager manager;
    if (!manager.settings().loadText(settings) || !manager.CheckPreviewPreconditions().met())
        return 2;
    const long long before = statusBytes("VmRSS");
    resetPeak();
    const double started = nowMs();
    const Result<PreviewSummary> built = manager.BuildPreview();
    const double ms = nowMs() - started;
    if (!built)
        return 3;
    std::printf("child: %.1f %lld %lld %d\n", ms, statusBytes("VmRSS") - before, statusBytes("VmHWM") - before,
                manager.preview().entryCount());
    return 0;
}

// Lets the window be shown and drawn.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until the pane's job has been shown (any message box
// it opens is answered with OK).
bool waitForJob(PreviewPane &pane)
{
    QEventLoop loop;
    QObject::connect(&pane, &PreviewPane::jobFinished, &loop, &QEventLoop::quit);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(50);
    QTimer::singleShot(30 * 60 * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return !pane.working();
}

// The window: the preview command until the list is filled and shows its end;
// then scrolling, check boxes and Inv.
int windowChild(const QString &settings, const QString &dataFolder)
{
    Manager manager;
    Options options;
    SettingsStore store(manager.settings(), options);
    Registry registry;
    ProgramState state;
    ProgramContext context{manager, options, store, registry, state, dataFolder};
    store.setFolders(DataFolders::inFolder(dataFolder), dataFolder);
    store.CreateDataFolders();
    static_cast<void>(options.readOptionsFile());
    options.BuildOptions(registry);
    if (!manager.settings().loadText(settings))
        return 2;
    frmMain window(context);
    window.load();
    window.show();
    window.RefreshSettingList();
    settle(300);

    PreviewPane &pane = window.previewPane();
    QTreeView &list = pane.list();
    const long long before = statusBytes("VmRSS");
    resetPeak();
    const double started = nowMs();
    pane.preview();
    if (!waitForJob(pane) || pane.model().rowCount() == 0)
        return 3;
    list.scrollToBottom();
    list.viewport()->repaint();
    const double filled = nowMs() - started;
    const long long grown = statusBytes("VmRSS") - before;
    const long long peak = statusBytes("VmHWM") - before;

    list.setFocus();
    list.setCurrentIndex(pane.model().index(0));
    double scrollStarted = nowMs();
    for (int i = 0; i < kScrollSteps; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&list, &press);
        list.viewport()->repaint();
    }
    const double pageMs = (nowMs() - scrollStarted) / kScrollSteps;

    const int rows = pane.model().rowCount();
    const double toggleStarted = nowMs();
    for (int i = 0; i < kToggles; ++i) {
        const int row = int((quint64(i) * 2654435761u) % quint64(rows));
        pane.model().setData(pane.model().index(row), i % 2 ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        list.viewport()->repaint();
    }
    const double toggleMs = (nowMs() - toggleStarted) / kToggles;

    const double invStarted = nowMs();
    pane.model().invertAll();
    list.viewport()->repaint();
    const double invMs = nowMs() - invStarted;

    std::printf("child: %.1f %lld %lld %d %.3f %.3f %.1f\n", filled, grown, peak, rows, pageMs, toggleMs, invMs);
    pane.ClosePreview();
    return 0;
}

// --- the parent ------------------------------------------------------------------

struct ChildFigures {
    bool ok = false;
    QList<double> values;
};

ChildFigures runChild(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--only"), QStringLiteral("preview"), QStringLiteral("--preview-child")}
                    + arguments);
    ChildFigures figures;
    if (!child.waitForFinished(60 * 60 * 1000) || child.exitCode() != 0)
        return figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("child: "))
            continue;
        for (const QByteArray &value : line.mid(7).split(' '))
            figures.values << value.toDouble();
        figures.ok = true;
    }
    return figures;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

bool measureSize(int files, bench::Layout layout, const QString &workFolder)
{
    const QString tree = workFolder + QStringLiteral("/tree");
    if (!bench::makeTree(tree.toStdString(), bench::planTree(layout, files)))
        return false;
    const QString settingsFile = workFolder + QStringLiteral("/settings.xml");
    QFile file(settingsFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(settingsText(tree, layout).toUtf8()) < 0)
        return false;
    file.close();

    runChild({QStringLiteral("engine"), settingsFile}); // warms the file system's caches
    QList<double> engineMs, engineBytes, windowMs, windowBytes, windowPeak, pageMs, toggleMs, invMs;
    int entries = 0;
    for (int run = 0; run < kRuns; ++run) {
        const ChildFigures engine = runChild({QStringLiteral("engine"), settingsFile});
        const ChildFigures window =
            runChild({QStringLiteral("window"), settingsFile, workFolder + QStringLiteral("/data%1").arg(run)});
        if (!engine.ok || !window.ok || engine.values.size() < 4 || window.values.size() < 7) {
            std::printf("preview at %d files: a child failed\n", files);
            return false;
        }
        engineMs << engine.values[0];
        engineBytes << engine.values[1];
        entries = int(engine.values[3]);
        windowMs << window.values[0];
        windowBytes << window.values[1];
        windowPeak << window.values[2];
        pageMs << window.values[4];
        toggleMs << window.values[5];
        invMs << window.values[6];
        if (int(window.values[3]) != entries) {
            std::printf("preview at %d files: the window listed %d entries, the engine made %d\n", files,
                        int(window.values[3]), entries);
            return false;
        }
    }
    const QString at = QStringLiteral("%1 files (%2), %3 entries")
                           .arg(files)
                           .arg(QLatin1String(bench::layoutName(layout)))
                           .arg(entries);
    std::printf("%s: engine preview %.0f ms, window until filled and scrolled %.0f ms (medians of %d)\n",
                qPrintable(at), median(engineMs), median(windowMs), kRuns);
    printResult(QStringLiteral("window / engine preview time, ") + at, median(windowMs) / median(engineMs),
                QStringLiteral("x"), 1.5);
    std::printf("memory: engine document %.0f B/entry, window %.0f B/entry (peak %.0f B/entry)\n",
                median(engineBytes) / entries, median(windowBytes) / entries, median(windowPeak) / entries);
    printResult(QStringLiteral("window memory over the document, ") + at,
                (median(windowBytes) - median(engineBytes)) / entries, QStringLiteral("B/entry"), 2048);
    printResult(QStringLiteral("one page of scrolling, ") + at, median(pageMs), QStringLiteral("ms"), 16);
    printResult(QStringLiteral("one check box, ") + at, median(toggleMs), QStringLiteral("ms"), 16);
    printResult(QStringLiteral("Inv of every check box, ") + at, median(invMs), QStringLiteral("ms"), 1000);
    return true;
}

bool measurePreview(const QStringList &arguments)
{
    const qsizetype child = arguments.indexOf(QStringLiteral("--preview-child"));
    if (child >= 0) {
        const QString kind = arguments.value(child + 1);
        const QString settingsFile = arguments.value(child + 2);
        QFile file(settingsFile);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(2);
        const QString settings = QString::fromUtf8(file.readAll());
        std::exit(kind == QLatin1String("engine") ? engineChild(settings)
                                                  : windowChild(settings, arguments.value(child + 3)));
    }
    QList<int> sizes{100000};
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--files")); at >= 0) {
        sizes.clear();
        for (const QString &size : arguments.value(at + 1).split(u','))
            sizes << size.toInt();
    }
    const bench::Layout layout =
        arguments.contains(QStringLiteral("--flat")) ? bench::Layout::Flat : bench::Layout::Nested;
    QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--dir")); at >= 0)
        base = arguments.value(at + 1);
    bool measured = true;
    for (const int files : sizes) {
        QTemporaryDir work(base + QStringLiteral("/quillbay-window-bench.XXXXXX"));
        if (!work.isValid() || files <= 0)
            return false;
        measured = measureSize(files, layout, work.path()) && measured;
        bench::removeTree(work.path().toStdString());
    }
    return measured;
}

} // namespace

QUILLBAY_WINDOW_BENCH(QStringLiteral("preview"),
                      QStringLiteral("the preview list against the engine's preview (--files N,N default 100000; "
                                     "--flat; --dir FOLDER)"),
                      measurePreview);

} // namespace quillbay::windowbench
