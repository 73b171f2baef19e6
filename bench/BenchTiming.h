#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <limits>

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
