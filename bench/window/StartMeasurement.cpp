// How long the program takes from the start of its start-up until its window
// is shown and filled, with a settings document of many settings: the whole
// start-up (checks, data folder, options, the settings file, the window
// created, shown and filled) in this process, as the program runs it.

#include "WindowBench.h"

#include "main/MainWindowStartup.h"
#include "main/Startup.h"
#include "ui/common/ProgramContext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace quillbay::windowbench {

namespace {

QByteArray settingsDocument(int count)
{
    QByteArray xml = "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"Setting 100\">";
    for (int i = 1; i <= count; ++i) {
        xml += "<setting name=\"Setting " + QByteArray::number(i)
            + "\"><folders childFolders=\"deep\" subFoldersDepth=\"1\">"
              "<folder path=\"/tmp/photos/"
            + QByteArray::number(i)
            + "\"/></folders>"
              "<fileToBeChanged ext=\"jpg\"/><newNameRules><rule type=\"numbering\" prefix=\"img_\"/>"
              "<rule type=\"caseExt\" option=\"lower\"/></newNameRules></setting>";
    }
    return xml + "</settings>";
}

// The real window, with the moment it is shown and filled noted; it then
// closes as the user would close it.
class TimedWindow : public StartupWindow
{
public:
    TimedWindow(std::unique_ptr<StartupWindow> window, double &filledAt)
        : m_window(std::move(window)), m_filledAt(filledAt)
    {
    }
    void show() override { m_window->show(); }
    void fill() override
    {
        m_window->fill();
        QApplication::processEvents();
        m_filledAt = nowMs();
    }
    void deliverPendingRequest(const QString &path) override { m_window->deliverPendingRequest(path); }
    bool runUntilClosed() override
    {
        QTimer::singleShot(0, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                w->close();
        });
        return m_window->runUntilClosed();
    }

private:
    std::unique_ptr<StartupWindow> m_window;
    double &m_filledAt;
};

double timeOneStart(int settings)
{
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral("share/Tolvane/Quillbay"));
    QDir().mkpath(data);
    QFile file(data + QStringLiteral("/Setting.xml"));
    if (!file.open(QIODevice::WriteOnly) || file.write(settingsDocument(settings)) < 0)
        return -1;
    file.close();
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    double filledAt = -1;
    StartupEnvironment environment = StartupEnvironment::forThisProcess({}, home.path());
    environment.lockFile = home.filePath(QStringLiteral("bench.lock"));
    environment.registryFile = home.filePath(QStringLiteral("config/registry.txt"));
    environment.makeWindow = [&filledAt](ProgramContext &context) -> std::unique_ptr<StartupWindow> {
        return std::make_unique<TimedWindow>(createMainWindow(context), filledAt);
    };
    const double started = nowMs();
    Startup startup(std::move(environment));
    if (startup.run() != ExitNormal || filledAt < 0)
        return -1;
    return filledAt - started;
}

bool measureStart(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--settings"));
    const int settings = at >= 0 ? arguments.value(at + 1).toInt() : 200;
    QList<double> times;
    for (int run = 0; run < 5; ++run) {
        const double ms = timeOneStart(settings);
        if (ms < 0)
            return false;
        times << ms;
    }
    std::printf("start-up to window shown and filled, %d settings: first %.1f ms, then", settings, times.first());
    for (qsizetype i = 1; i < times.size(); ++i)
        std::printf(" %.1f", times[i]);
    std::printf(" ms\n");
    printResult(QStringLiteral("first start, %1 settings").arg(settings), times.first(), QStringLiteral("ms"), 1000);
    std::sort(times.begin() + 1, times.end());
    printResult(QStringLiteral("median of later starts, %1 settings").arg(settings), times[3], QStringLiteral("ms"),
                1000);
    return true;
}

} // namespace

QUILLBAY_WINDOW_BENCH(QStringLiteral("start"),
                      QStringLiteral("start-up until the window is shown and filled (--settings N, default 200)"),
                      measureStart);

} // namespace quillbay::windowbench
