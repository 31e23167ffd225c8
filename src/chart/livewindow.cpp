#include "chart/livewindow.h"

#include <algorithm>

LiveWindow::Step LiveWindow::append(double time)
{
    Step step;
    // A clock set back must not put a sample before older ones: the series stays ordered.
    step.time = times.empty() ? time : std::max(time, times.back());
    step.breakBefore = !times.empty() && step.time - times.back() > breakSeconds;
    times.push_back(step.time);
    const double cutoff = step.time - keepSeconds;
    while (times.front() < cutoff) {
        times.pop_front();
        ++step.dropped;
    }
    return step;
}

int LiveWindow::redrawIntervalMs(double spanSeconds, int widthPixels)
{
    const double perPixel = widthPixels > 0 ? 1000 * spanSeconds / widthPixels : 1000;
    return int(std::clamp(perPixel, 100.0, 1000.0));
}
