#pragma once
// quillbay-window-bench: measurements of the window (not tests: figures to
// read, judged against their targets, that never fail a build). Each part of
// the window registers its measurements in a file of its own.

#include <QString>
#include <QStringList>
#include <functional>

namespace quillbay::windowbench {

struct Measurement {
    QString name;        // what --only selects
    QString description; // one line for --help
    // Runs the measurement with the remaining command-line arguments and
    // prints its lines; returns false when it could not measure.
    std::function<bool(const QStringList &arguments)> run;
};

struct Registration {
    explicit Registration(Measurement measurement);
};
const QList<Measurement> &measurements();

// One result line: "<what>: <figure> (target <target>: met|missed)".
void printResult(const QString &what, double figure, const QString &unit, double target, bool lowerIsBetter = true);

// Milliseconds of a monotonic clock.
double nowMs();

} // namespace quillbay::windowbench

#define QUILLBAY_WINDOW_BENCH_CONCAT2(a, b) a##b
#define QUILLBAY_WINDOW_BENCH_CONCAT(a, b) QUILLBAY_WINDOW_BENCH_CONCAT2(a, b)
#define QUILLBAY_WINDOW_BENCH(...)                                                                                     \
    static const quillbay::windowbench::Registration QUILLBAY_WINDOW_BENCH_CONCAT(measurement_, __LINE__)(             \
        quillbay::windowbench::Measurement{__VA_ARGS__})
