// The live sample under the rule lists: how long after a keystroke in an
// option pane the sample shows the new names, with the first "Look in"
// folder holding 100,000 files, and how long the keystroke itself takes to
// handle (typing must never wait for the sample). The sample keeps the
// folder's listing between keystrokes; the measurement is taken both with the
// kept listing and after the folder changed. The engine's part alone
// (PreviewRun::buildSample on the same folder, nothing kept) is given beside
// it. The program is started as it starts for a user.

#include "WindowBench.h"

#include "../TreeMaker.h"
#include "engine/Manager.h"
#include "main/MainWindowStartup.h"
#include "main/Startup.h"
#include "ui/common/ProgramContext.h"
#include "ui/panes/LiveSample.h"
#include "ui/panes/RulesPage.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace quillbay::windowbench {

namespace {

constexpr int kFilePage = 2;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double threadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Figures {
    QList<double> kept;      // keystroke to sample, listing kept
    QList<double> relisted;  // the same after the folder changed
    QList<double> keystroke; // how long each keystroke took to handle
    double afterBurst = -1;  // last key of fast typing to sample
    QList<double> engine, engineCpu;
};

// The rule's text box on the file rules page of the running window, and the
// sample under it; types into the box as the keyboard does.
class SampleDriver
{
public:
    SampleDriver(frmMain &window)
        : m_box(window.findChild<QLineEdit *>(QStringLiteral("txtNewNameFileAdd"))),
          m_sample(static_cast<RulesPage *>(window.editor().page(kFilePage))->sample())
    {
    }

    // Runs the event loop until the sample shows expected; the time it was
    // shown, or -1 after ten seconds.
    double waitForSample(const QString &expected)
    {
        QEventLoop loop;
        double shownAt = -1;
        const auto connection = QObject::connect(m_sample, &LiveSample::shown, &loop, [&] {
            if (m_sample->shownText().contains(expected)) {
                shownAt = nowMs();
                loop.quit();
            }
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        return shownAt;
    }
    // One character typed; how long its handling took.
    double type(QChar key)
    {
        m_typed += key;
        const double started = nowMs();
        const int code = Qt::Key_A + (key.toUpper().unicode() - 'A');
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(key));
        QApplication::sendEvent(m_box, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(key));
        QApplication::sendEvent(m_box, &release);
        return nowMs() - started;
    }
    // A key typed, then the time until the sample shows its effect (-1: never).
    double keyToSample(QChar key, Figures &figures)
    {
        const double started = nowMs();
        figures.keystroke << type(key);
        const double shownAt = waitForSample(QStringLiteral(" → ") + m_typed);
        return shownAt < 0 ? -1 : shownAt - started;
    }
    const QString &typed() const { return m_typed; }

private:
    QLineEdit *m_box;
    LiveSample *m_sample;
    QString m_typed;
};

// The engine's sample without a kept listing: wall-clock and processor time.
void measureEngine(SettingsDocument &settings, Figures &figures)
{
    for (int run = 0; run < 5; ++run) {
        PreviewDocument preview;
        TemporaryNameSource names;
        PreviewControl control;
        const double started = nowMs();
        const double cpuStarted = threadCpuMs();
        const Result<PreviewSample> sample = PreviewRun(settings, preview, names, control).buildSample(SampleLimits());
        if (!sample || sample->files.isEmpty())
            return;
        figures.engine << nowMs() - started;
        figures.engineCpu << threadCpuMs() - cpuStarted;
    }
}

void measureInWindow(ProgramContext &context, const QString &tree, Figures &figures)
{
    frmMain *window = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        window = window ? window : qobject_cast<frmMain *>(widget);
    if (!window)
        return;
    SettingsDocument &settings = context.manager.settings();
    settings.AddFolderEntry(window->CurrentSettingName(), tree);
    settings.AddRule(window->CurrentSettingName(), RuleKind::File, QStringLiteral("add"));
    window->RefreshCurrentSetting();
    window->ShowTabPage(kFilePage);
    SampleDriver driver(*window);
    if (driver.waitForSample(QStringLiteral("\n")) < 0)
        return;
    for (int run = 0; run < 15; ++run) {
        figures.kept << driver.keyToSample(QChar(u'a' + run), figures);
        wait(100);
    }
    for (int run = 0; run < 5; ++run) {
        QFile added(tree + QStringLiteral("/added %1.txt").arg(run));
        if (!added.open(QIODevice::WriteOnly))
            return;
        added.close();
        figures.relisted << driver.keyToSample(QChar(u'a' + run), figures);
    }
    // Fast typing: ten keys 30 ms apart; the sample follows the last one.
    double lastKeyAt = 0;
    for (int key = 0; key < 10; ++key) {
        lastKeyAt = nowMs();
        figures.keystroke << driver.type(u'z');
        wait(30);
    }
    const double shownAt = driver.waitForSample(QStringLiteral(" → ") + driver.typed());
    figures.afterBurst = shownAt < 0 ? -1 : shownAt - lastKeyAt;
    measureEngine(settings, figures);
}

// The real window, measured once it is shown and filled, then closed.
class MeasuredWindow : public StartupWindow
{
public:
    MeasuredWindow(std::unique_ptr<StartupWindow> window, std::function<void()> measure)
        : m_window(std::move(window)), m_measure(std::move(measure))
    {
    }
    void show() override { m_window->show(); }
    void fill() override { m_window->fill(); }
    void deliverPendingRequest(const QString &path) override { m_window->deliverPendingRequest(path); }
    bool runUntilClosed() override
    {
        QTimer::singleShot(0, [this] {
            m_measure();
            for (QWidget *w : QApplication::topLevelWidgets())
                w->close();
        });
        return m_window->runUntilClosed();
    }

private:
    std::unique_ptr<StartupWindow> m_window;
    std::function<void()> m_measure;
};

bool measureSample(const QStringList &arguments)
{
    const qsizetype dirAt = arguments.indexOf(QStringLiteral("--dir"));
    const QString base = dirAt >= 0
        ? arguments.value(dirAt + 1)
        : (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    const qsizetype filesAt = arguments.indexOf(QStringLiteral("--files"));
    const int fileCount = filesAt >= 0 ? arguments.value(filesAt + 1).toInt() : 100000;
    QTemporaryDir work(base + QStringLiteral("/quillbay-window-bench.XXXXXX"));
    const QString tree = work.filePath(QStringLiteral("tree"));
    if (!work.isValid() || !bench::makeTree(tree.toStdString(), bench::planTree(bench::Layout::Flat, fileCount)))
        return false;
    for (const char *variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, work.filePath(QString::fromLatin1(variable)).toUtf8());

    Figures figures;
    StartupEnvironment environment = StartupEnvironment::forThisProcess({}, work.path());
    environment.lockFile = work.filePath(QStringLiteral("bench.lock"));
    environment.registryFile = work.filePath(QStringLiteral("registry.txt"));
    environment.makeWindow = [&](ProgramContext &context) -> std::unique_ptr<StartupWindow> {
        return std::make_unique<MeasuredWindow>(
            createMainWindow(context), [&context, &tree, &figures] { measureInWindow(context, tree, figures); });
    };
    Startup startup(std::move(environment));
    if (startup.run() != ExitNormal || figures.kept.size() != 15 || figures.relisted.size() != 5
        || figures.afterBurst < 0 || figures.kept.contains(-1) || figures.relisted.contains(-1)
        || figures.engine.isEmpty())
        return false;

    std::sort(figures.kept.begin(), figures.kept.end());
    std::sort(figures.relisted.begin(), figures.relisted.end());
    std::printf("sample after a keystroke, %d files in the folder: min %.1f, median %.1f, max %.1f ms "
                "(pause before starting %d ms)\n",
                fileCount, figures.kept.first(), median(figures.kept), figures.kept.last(), LiveSample::kPauseMs);
    std::printf("the same when the folder changed and is listed again: min %.1f, median %.1f, max %.1f ms; "
                "the engine's sample without a kept listing: median %.1f ms (processor %.1f ms)\n",
                figures.relisted.first(), median(figures.relisted), figures.relisted.last(), median(figures.engine),
                median(figures.engineCpu));
    printResult(QStringLiteral("sample shown after a keystroke, median (%1 files)").arg(fileCount),
                median(figures.kept), QStringLiteral("ms"), 200);
    printResult(QStringLiteral("sample shown after a keystroke, slowest of %1").arg(figures.kept.size()),
                figures.kept.last(), QStringLiteral("ms"), 200);
    printResult(QStringLiteral("the same, folder listed again, median"), median(figures.relisted), QStringLiteral("ms"),
                200);
    printResult(QStringLiteral("keystroke handled, slowest (sample running)"),
                *std::max_element(figures.keystroke.begin(), figures.keystroke.end()), QStringLiteral("ms"), 16);
    printResult(QStringLiteral("sample after fast typing, from the last key"), figures.afterBurst, QStringLiteral("ms"),
                200);
    return true;
}

} // namespace

QUILLBAY_WINDOW_BENCH(QStringLiteral("sample"),
                      QStringLiteral("the live sample after a keystroke, first Look-in folder of 100,000 files "
                                     "(--files N, --dir FOLDER)"),
                      measureSample);

} // namespace quillbay::windowbench
