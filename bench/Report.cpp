#include "Report.h"

#include <cstdio>
#include <map>

namespace bench {

namespace {

constexpr double kGrowthLimit = 1.3;
constexpr double kMemoryLimit = 1024; // bytes per entry

std::string sizeText(int files)
{
    if (files % 1000000 == 0)
        return std::to_string(files / 1000000) + "M";
    if (files % 1000 == 0)
        return std::to_string(files / 1000) + "k";
    return std::to_string(files);
}

std::string treeName(const TreeResult &t)
{
    return std::string(layoutName(t.layout)) + " " + sizeText(t.files);
}

double mib(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

void printMemoryRow(const Row &row)
{
    if (!row.series.failure.empty()) {
        std::printf("%-36s  FAILED: %s\n", row.label.c_str(), row.series.failure.c_str());
        return;
    }
    const double perEntry = row.entries > 0 ? row.peakBytes / row.entries : 0;
    std::printf("%-36s  peak %.1f MiB = %.0f B/entry; after %.1f MiB = %.0f B/entry; limit %.0f B/entry: %s\n",
                row.label.c_str(), mib(row.peakBytes), perEntry, mib(row.retainedBytes),
                row.entries > 0 ? row.retainedBytes / row.entries : 0, kMemoryLimit,
                perEntry <= kMemoryLimit ? "met" : "MISSED");
}

} // namespace

const Row *TreeResult::find(const std::string &key) const
{
    for (const Row &r : rows)
        if (r.key == key)
            return &r;
    return nullptr;
}

std::vector<Verdict> printTree(const TreeResult &tree)
{
    std::vector<Verdict> verdicts;
    std::printf("\n== %s files (%s) ==\n", sizeText(tree.files).c_str(), layoutName(tree.layout));
    std::printf("%-36s %4s %8s %8s %8s %10s  %-12s %6s %6s  %s\n", "measurement", "runs", "min s", "median s", "cpu s",
                "files/s", "floor", "x min", "x med", "target");
    for (const Row &row : tree.rows) {
        if (row.memory) {
            printMemoryRow(row);
            if (row.series.failure.empty() && row.entries > 0)
                verdicts.push_back(
                    {treeName(tree) + ": preview peak bytes per entry", row.peakBytes / row.entries, kMemoryLimit});
            continue;
        }
        const Series &s = row.series;
        if (s.skipped) {
            std::printf("%-36s  skipped: %s\n", row.label.c_str(), s.note.c_str());
            continue;
        }
        if (!s.usable()) {
            std::printf("%-36s  FAILED: %s\n", row.label.c_str(), s.failure.c_str());
            continue;
        }
        std::printf("%-36s %4zu %8.4f %8.4f %8.4f %10.0f", row.label.c_str(), s.samples.size(), s.minWall(),
                    s.medianWall(), s.minCpu(), tree.files / s.medianWall());
        const Row *floor = row.floorKey.empty() ? nullptr : tree.find(row.floorKey);
        if (floor && floor->series.usable()) {
            const double xMin = s.minWall() / floor->series.minWall();
            const double xMed = s.medianWall() / floor->series.medianWall();
            std::printf("  %-12s %6.2f %6.2f", row.floorKey.c_str(), xMin, xMed);
            if (row.target > 0) {
                std::printf("  <= %.1f %s", row.target, xMin <= row.target ? "met" : "MISSED");
                verdicts.push_back({treeName(tree) + ": " + row.label + " / " + row.floorKey, xMin, row.target});
            }
        }
        std::printf("\n");
        if (!s.note.empty())
            std::printf("%-36s   (%s)\n", "", s.note.c_str());
    }
    return verdicts;
}

std::vector<Verdict> printGrowth(const std::vector<TreeResult> &trees)
{
    std::vector<Verdict> verdicts;
    std::printf("\n== cost per file (minimum seconds / files, in microseconds) ==\n");
    for (Layout layout : {Layout::Flat, Layout::Nested}) {
        std::vector<const TreeResult *> sizes;
        for (const TreeResult &t : trees)
            if (t.layout == layout)
                sizes.push_back(&t);
        if (sizes.empty())
            continue;
        std::printf("%-36s", layoutName(layout));
        for (const TreeResult *t : sizes)
            std::printf(" %9s", sizeText(t->files).c_str());
        const TreeResult *base = nullptr;
        for (const TreeResult *t : sizes)
            if (t->files == 100000)
                base = t;
        const TreeResult *largest = sizes.back();
        const bool growth = base && largest->files > base->files;
        if (growth)
            std::printf("  %s/100k", sizeText(largest->files).c_str());
        std::printf("\n");
        for (const Row &row : sizes.front()->rows) {
            if (row.memory)
                continue;
            std::printf("%-36s", row.label.c_str());
            for (const TreeResult *t : sizes) {
                const Row *r = t->find(row.key);
                if (r && r->series.usable())
                    std::printf(" %9.3f", r->series.minWall() / t->files * 1e6);
                else
                    std::printf(" %9s", "-");
            }
            const Row *a = growth ? base->find(row.key) : nullptr;
            const Row *b = growth ? largest->find(row.key) : nullptr;
            if (a && b && a->series.usable() && b->series.usable()) {
                const double ratio = (b->series.minWall() / largest->files) / (a->series.minWall() / base->files);
                std::printf("  %6.2f", ratio);
                if (row.ours) {
                    std::printf("  <= %.1f %s", kGrowthLimit, ratio <= kGrowthLimit ? "met" : "MISSED");
                    verdicts.push_back({std::string(layoutName(layout)) + ": " + row.label + " per file, "
                                            + sizeText(largest->files) + " / 100k",
                                        ratio, kGrowthLimit});
                }
            }
            std::printf("\n");
        }
    }
    return verdicts;
}

void printVerdicts(const std::vector<Verdict> &verdicts)
{
    std::printf("\n== targets ==\n");
    int missed = 0;
    for (const Verdict &v : verdicts) {
        std::printf("%-6s %-70s %8.2f (limit %.2f)\n", v.met() ? "met" : "MISSED", v.what.c_str(), v.value, v.limit);
        if (!v.met())
            ++missed;
    }
    std::printf("%d of %zu targets met\n", int(verdicts.size()) - missed, verdicts.size());
}

} // namespace bench
