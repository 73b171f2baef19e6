#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

// The best of several runs, in nanoseconds: the least disturbed by whatever else the machine does.
template <class F> qint64 BestOf(int repeats, F&& run)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

// What a run's time is: the wall clock, or the CPU time of the calling thread. On a machine
// shared with other work the wall clock also counts the time the thread waited for a processor,
// which falls on either side of a pair at random; a bench whose work all runs on its own thread
// (an embedded database) measures the thread's CPU time instead.
enum class BenchClock { Wall, ThreadCpu };
inline BenchClock& CurrentBenchClock()
{
    static BenchClock clock = BenchClock::Wall;
    return clock;
}

inline qint64 ThreadCpuNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Nanoseconds of one run, by the current clock.
template <class F> qint64 TimeOnce(F&& run)
{
    if (CurrentBenchClock() == BenchClock::ThreadCpu) {
        const qint64 start = ThreadCpuNanoseconds();
        run();
        return ThreadCpuNanoseconds() - start;
    }
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed();
}

inline double MedianOf(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// A measured run against its baseline, repeated in pairs taken one right after the other, so
// that drift of the machine (frequency, caches, other work) hits both alike. The ratio of each
// pair is kept; the least and the median of those are what a bench reports.
struct PairedTimes {
    std::vector<qint64> baseline;
    std::vector<qint64> measured;

    std::vector<double> ratios() const
    {
        std::vector<double> out;
        for (size_t i = 0; i < baseline.size() && i < measured.size(); ++i)
            out.push_back(baseline[i] > 0 ? static_cast<double>(measured[i]) / static_cast<double>(baseline[i]) : 0.0);
        return out;
    }
    double minRatio() const
    {
        const auto r = ratios();
        return r.empty() ? 0.0 : *std::min_element(r.begin(), r.end());
    }
    double medianRatio() const { return MedianOf(ratios()); }
    static double best(const std::vector<qint64>& times)
    {
        return times.empty() ? 0.0 : static_cast<double>(*std::min_element(times.begin(), times.end()));
    }
    double bestBaselineNs() const { return best(baseline); }
    double bestMeasuredNs() const { return best(measured); }
};

// One warm-up of each, then `repeats` pairs, the order inside a pair alternating so neither
// side always runs on the warmer cache.
template <class B, class M> PairedTimes Interleaved(int repeats, B&& baseline, M&& measured)
{
    baseline();
    measured();
    PairedTimes times;
    for (int r = 0; r < repeats; ++r) {
        if (r % 2 == 0) {
            times.baseline.push_back(TimeOnce(baseline));
            times.measured.push_back(TimeOnce(measured));
        } else {
            times.measured.push_back(TimeOnce(measured));
            times.baseline.push_back(TimeOnce(baseline));
        }
    }
    return times;
}

// "--smoke" on the command line: a tiny run that must reach its end; no figure it prints means
// anything. The test suite runs every bench this way so none can break unnoticed.
inline bool IsSmokeRun(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--smoke") == 0)
            return true;
    return false;
}

// One line of a bench's table: what was measured, the best time per unit of each side in
// microseconds, the least and median ratio, and the target with whether the median meets it
// (a target of 0 prints none).
inline void PrintRatioLine(const char* measurement, const PairedTimes& times, double units, double target)
{
    const double perUnit = units > 0 ? units * 1000.0 : 1000.0;
    std::printf("%-40s %10.2f %10.2f %8.3f %8.3f", measurement, times.bestMeasuredNs() / perUnit,
        times.bestBaselineNs() / perUnit, times.minRatio(), times.medianRatio());
    if (target > 0)
        std::printf(" %8.2f  %s\n", target, times.medianRatio() <= target ? "yes" : "no");
    else
        std::printf("\n");
}

inline void PrintRatioHeader(const char* unit)
{
    std::printf("%-40s %10s %10s %8s %8s %8s  %s\n", "measurement", unit, "baseline", "min", "median", "target", "met");
}
