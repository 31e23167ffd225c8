#pragma once

#include <deque>

/// Which live points the chart keeps: the last `keepSeconds` before the newest sample, in time
/// order. Knows only the times; the chart drops the same points from its own series.
class LiveWindow {
public:
    static constexpr double keepSeconds = 3600; // the longest window offered: 60 minutes
    /// A sample this long after the one before it starts a new line (polls come every 100 ms).
    static constexpr double breakSeconds = 2;

    /// What a new sample did to the window.
    struct Step {
        double time = 0; // where it goes: never before the sample before it
        bool breakBefore = false; // a pause since the last sample: the line breaks
        int dropped = 0; // the oldest samples that fell out
    };

    /// How often a chart of `spanSeconds` on `widthPixels` is worth redrawing, in ms: not more
    /// often than a sample moves the picture by a pixel, at least once a second, and never
    /// more often than the 10 Hz samples come.
    static int redrawIntervalMs(double spanSeconds, int widthPixels);

    /// Takes a sample at `time` (seconds) and drops those more than keepSeconds older.
    Step append(double time);
    /// Forgets every sample.
    void clear() { times.clear(); }
    int size() const { return int(times.size()); }
    /// Time of the oldest sample kept (0 when none).
    double oldest() const { return times.empty() ? 0 : times.front(); }
    /// Time of the newest sample (0 when none).
    double newest() const { return times.empty() ? 0 : times.back(); }

private:
    std::deque<double> times;
};
