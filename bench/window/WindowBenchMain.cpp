// quillbay-window-bench [--only NAME[,NAME...]] [options of the measurements]
// Runs the window's measurements on a display of its own (the offscreen
// platform unless a display is given) and prints their figures.

#include "WindowBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace quillbay::windowbench {

namespace {

QList<Measurement> &list()
{
    static QList<Measurement> all;
    return all;
}

} // namespace

Registration::Registration(Measurement measurement)
{
    list().append(std::move(measurement));
}

const QList<Measurement> &measurements()
{
    return list();
}

void printResult(const QString &what, double figure, const QString &unit, double target, bool lowerIsBetter)
{
    const bool met = lowerIsBetter ? figure <= target : figure >= target;
    std::printf("%-60s %10.2f %-6s (target %s %.2f: %s)\n", qPrintable(what), figure, qPrintable(unit),
                lowerIsBetter ? "<=" : ">=", target, met ? "met" : "missed");
    std::fflush(stdout);
}

double nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace quillbay::windowbench

int main(int argc, char *argv[])
{
    using namespace quillbay::windowbench;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::printf("quillbay-window-bench [--only NAME,...]\n");
        for (const Measurement &m : measurements())
            std::printf("  %-12s %s\n", qPrintable(m.name), qPrintable(m.description));
        return 0;
    }
    QStringList only;
    const qsizetype at = arguments.indexOf(QStringLiteral("--only"));
    if (at >= 0) {
        only = arguments.value(at + 1).split(u',', Qt::SkipEmptyParts);
        arguments.remove(at, 2);
    }
    bool allMeasured = true;
    for (const Measurement &m : measurements()) {
        if (!only.isEmpty() && !only.contains(m.name))
            continue;
        std::printf("== %s\n", qPrintable(m.name));
        allMeasured = m.run(arguments) && allMeasured;
    }
    return allMeasured ? 0 : 1;
}
