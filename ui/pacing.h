// How often a run lets the window's events in and repaints the status
// boxes, for any toolkit. The run yields at every line and statement;
// answering each of a million yields with a full turn of the event loop
// would triple the time of a run, while a turn every 10 ms keeps the window
// as responsive as a person can tell, and a repaint every 50 ms reads as
// live counting.
#pragma once

#include <chrono>

namespace ftvb::ui {

inline constexpr std::chrono::milliseconds kEventPeriod{10};
inline constexpr std::chrono::milliseconds kStatusPeriod{50};

class Pacer {
public:
    explicit Pacer(std::chrono::milliseconds period) : period_(period) {}

    // True at the first call and then once the period has passed since the
    // last true. The clock is read only every kTicksPerLook calls: reading it
    // for each of two million yields costs a tenth of the run, and 32 lines
    // take a few microseconds, so the period still holds.
    bool due() {
        if (++ticks_ % kTicksPerLook != 0 && started_) return false;
        const auto now = std::chrono::steady_clock::now();
        if (started_ && now - last_ < period_) return false;
        started_ = true;
        last_ = now;
        return true;
    }

private:
    static constexpr unsigned kTicksPerLook = 32;

    std::chrono::milliseconds period_;
    unsigned ticks_ = 0;
    bool started_ = false;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace ftvb::ui
