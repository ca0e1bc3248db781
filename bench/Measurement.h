#pragma once
// Timing of one measurement: wall-clock seconds and the CPU seconds of the
// process (or of the child process) that did the work, over several runs.

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace bench {

struct Sample {
    double wall = 0; // seconds
    double cpu = 0;  // user + system seconds
};

inline double processCpuSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

class Stopwatch
{
public:
    Stopwatch() { restart(); }
    void restart()
    {
        m_wall = std::chrono::steady_clock::now();
        m_cpu = processCpuSeconds();
    }
    Sample elapsed() const
    {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - m_wall;
        return Sample{wall.count(), processCpuSeconds() - m_cpu};
    }

private:
    std::chrono::steady_clock::time_point m_wall;
    double m_cpu = 0;
};

// The runs of one measurement. A measurement whose result could not be
// checked (a rename failed, a tool exited with an error) is marked failed and
// shows its reason instead of figures.
struct Series {
    std::vector<Sample> samples;
    std::string failure;  // empty when every run succeeded
    bool skipped = false; // the tool is not installed
    std::string note;

    bool usable() const { return failure.empty() && !skipped && !samples.empty(); }
    double minWall() const
    {
        double m = samples.empty() ? 0 : samples.front().wall;
        for (const Sample &s : samples)
            m = std::min(m, s.wall);
        return m;
    }
    double minCpu() const
    {
        double m = samples.empty() ? 0 : samples.front().cpu;
        for (const Sample &s : samples)
            m = std::min(m, s.cpu);
        return m;
    }
    double medianWall() const
    {
        std::vector<double> w;
        for (const Sample &s : samples)
            w.push_back(s.wall);
        if (w.empty())
            return 0;
        std::sort(w.begin(), w.end());
        const size_t n = w.size();
        return n % 2 ? w[n / 2] : (w[n / 2 - 1] + w[n / 2]) / 2;
    }
};

} // namespace bench
