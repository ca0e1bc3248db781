// The live sample under the rule lists: how long after a keystroke in an
// option pane the sample shows the new names, with the first "Look in"
// folder holding 100,000 files, and how long the keystroke itself takes to
// handle (typing must never wait for the sample). The engine's part alone
// (PreviewRun::BuildSample on the same folder) is given beside it. The
// sample keeps the folder's listing between keystrokes; the measurement is
// taken both with the kept listing and after the folder changed.

#include "WindowBench.h"

#include "../TreeMaker.h"
#include "engine/Manager.h"
#include "engine/PreviewRun.h"
#include "services/Registry.h"
#include "settings/Options.h"
#include "settings/SettingsStore.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/ProgramState.h"
#include "ui/panes/LiveSample.h"
#include "ui/panes/RulesPage.h"
#include "ui/window/SettingEditor.h"
#include "ui/window/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
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
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Types one character into the box as the keyboard does; returns how long
// the window took to handle it.
double typeKey(QLineEdit *box, QChar key)
{
    const double started = nowMs();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (key.toUpper().unicode() - 'A'), Qt::NoModifier, QString(key));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (key.toUpper().unicode() - 'A'), Qt::NoModifier, QString(key));
    QApplication::sendEvent(box, &release);
    return nowMs() - started;
}

// Runs the event loop until the sample shows a text that contains expected;
// the time it was shown, or -1 after a few seconds.
double waitForSample(LiveSample *sample, const QString &expected)
{
    QEventLoop loop;
    double shownAt = -1;
    const auto connection = QObject::connect(sample, &LiveSample::shown, &loop, [&] {
        if (sample->shownText().contains(expected)) {
            shownAt = nowMs();
            loop.quit();
        }
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return shownAt;
}

// The program's objects over a data folder of their own, as the start-up makes them.
struct Program {
    Manager manager;
    Options options;
    SettingsStore store{manager.settings(), options};
    Registry registry;
    ProgramState state;
    ProgramContext context{manager, options, store, registry, state, QString()};

    explicit Program(const QString &dataFolder)
    {
        context.programFolder = dataFolder;
        store.setFolders(DataFolders::InFolder(dataFolder), dataFolder);
        store.CreateDataFolders();
        static_cast<void>(options.ReadOptionsFile());
        options.BuildOptions(registry);
        store.LoadSettings();
    }
};

double threadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The engine's sample without a kept listing: wall-clock and processor time.
std::pair<double, double> engineSampleMs(SettingsDocument &settings)
{
    PreviewDocument preview;
    TemporaryNameSource names;
    PreviewControl control;
    const double started = nowMs();
    const double cpuStarted = threadCpuMs();
    const Result<PreviewSample> sample = PreviewRun(settings, preview, names, control).BuildSample(SampleLimits());
    if (!sample || sample->files.isEmpty())
        return {-1, -1};
    return {nowMs() - started, threadCpuMs() - cpuStarted};
}

bool measureSample(const QStringList &arguments)
{
    const qsizetype dirAt = arguments.indexOf(QStringLiteral("--dir"));
    const QString base = dirAt >= 0 ? arguments.value(dirAt + 1)
                                    : (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    const qsizetype filesAt = arguments.indexOf(QStringLiteral("--files"));
    const int fileCount = filesAt >= 0 ? arguments.value(filesAt + 1).toInt() : 100000;
    QTemporaryDir work(base + QStringLiteral("/quillbay-window-bench.XXXXXX"));
    const QString tree = work.filePath(QStringLiteral("tree"));
    if (!work.isValid() || !bench::makeTree(tree.toStdString(), bench::planTree(bench::Layout::Flat, fileCount)))
        return false;
    qputenv("XDG_CONFIG_HOME", work.filePath(QStringLiteral("config")).toUtf8());

    Program program(work.filePath(QStringLiteral("data")));
    frmMain window(program.context);
    window.Load();
    window.show();
    window.RefreshSettingList();
    SettingsDocument &settings = program.manager.settings();
    const QString setting = window.CurrentSettingName();
    settings.AddFolderEntry(setting, tree);
    settings.AddRule(setting, RuleKind::File, QStringLiteral("add"));
    window.RefreshCurrentSetting();
    window.ShowTabPage(kFilePage);
    auto *page = static_cast<RulesPage *>(window.editor().page(kFilePage));
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtNewNameFileAdd"));
    if (waitForSample(page->sample(), QStringLiteral("\n")) < 0)
        return false;

    QList<double> latencies;
    QList<double> keystrokes;
    QString typed;
    for (int run = 0; run < 15; ++run) {
        const QChar key = QChar(u'a' + run % 26);
        typed += key;
        const double started = nowMs();
        keystrokes << typeKey(box, key);
        const double shownAt = waitForSample(page->sample(), QStringLiteral(" → ") + typed);
        if (shownAt < 0)
            return false;
        latencies << shownAt - started;
        QEventLoop pause;
        QTimer::singleShot(100, &pause, &QEventLoop::quit);
        pause.exec();
    }
    // The same after the folder changed (a file added before each key): the
    // sample lists and sorts the folder again.
    QList<double> relisted;
    for (int run = 0; run < 5; ++run) {
        QFile added(tree + QStringLiteral("/added %1.txt").arg(run));
        if (!added.open(QIODevice::WriteOnly))
            return false;
        added.close();
        const QChar key = QChar(u'a' + run);
        typed += key;
        const double started = nowMs();
        keystrokes << typeKey(box, key);
        const double shownAt = waitForSample(page->sample(), QStringLiteral(" → ") + typed);
        if (shownAt < 0)
            return false;
        relisted << shownAt - started;
    }
    // Fast typing: ten keys 30 ms apart, each handled at once; the sample
    // follows the last one.
    double slowestKey = 0;
    double lastKeyAt = 0;
    for (int key = 0; key < 10; ++key) {
        typed += u'z';
        lastKeyAt = nowMs();
        slowestKey = std::max(slowestKey, typeKey(box, u'z'));
        QEventLoop gap;
        QTimer::singleShot(30, &gap, &QEventLoop::quit);
        gap.exec();
    }
    const double afterBurst = waitForSample(page->sample(), QStringLiteral(" → ") + typed);

    QList<double> engine;
    QList<double> engineCpu;
    for (int run = 0; run < 5; ++run) {
        const auto [wall, cpu] = engineSampleMs(settings);
        engine << wall;
        engineCpu << cpu;
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(relisted.begin(), relisted.end());
    std::printf("sample after a keystroke, %d files in the folder: min %.1f, median %.1f, max %.1f ms "
                "(pause before starting %d ms)\n",
                fileCount, latencies.first(), median(latencies), latencies.last(), LiveSample::kPauseMs);
    std::printf("the same when the folder changed and is listed again: min %.1f, median %.1f, max %.1f ms; "
                "the engine's sample without a kept listing: median %.1f ms (processor %.1f ms)\n",
                relisted.first(), median(relisted), relisted.last(), median(engine), median(engineCpu));
    printResult(QStringLiteral("sample shown after a keystroke, median (%1 files)").arg(fileCount), median(latencies),
                QStringLiteral("ms"), 200);
    printResult(QStringLiteral("sample shown after a keystroke, slowest of %1").arg(latencies.size()),
                latencies.last(), QStringLiteral("ms"), 200);
    printResult(QStringLiteral("the same, folder listed again, median"), median(relisted), QStringLiteral("ms"), 200);
    printResult(QStringLiteral("keystroke handled, slowest (sample running)"),
                std::max(slowestKey, *std::max_element(keystrokes.begin(), keystrokes.end())), QStringLiteral("ms"), 16);
    printResult(QStringLiteral("sample after fast typing, from the last key"), afterBurst - lastKeyAt,
                QStringLiteral("ms"), 200);
    window.close();
    return afterBurst > 0;
}

} // namespace

QUILLBAY_WINDOW_BENCH(QStringLiteral("sample"),
                      QStringLiteral("the live sample after a keystroke, first Look-in folder of 100,000 files "
                                     "(--files N, --dir FOLDER)"),
                      measureSample);

} // namespace quillbay::windowbench
