#pragma once
// The thread that presses: it waits until the user-interface thread has seen
// the last press through (to the pixels, or to the key ignored), waits a random
// gap so that presses land at every phase of the frame tick, and presses the
// key the user-interface thread chose.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <random>
#include <thread>

#include "bench/input/press_source.h"

namespace pellox::bench {

using LagClock = std::chrono::steady_clock;

class PressDriver {
public:
    PressDriver(PressSource& source, std::chrono::milliseconds min_gap, std::chrono::milliseconds max_gap,
                unsigned seed);
    ~PressDriver();
    PressDriver(const PressDriver&) = delete;
    PressDriver& operator=(const PressDriver&) = delete;

    // From the user-interface thread: the last press is through; press this position next.
    void PressNext(int position);
    // When the last press was handed to its source.
    LagClock::time_point LastSent() const { return LagClock::time_point(LagClock::duration(sent_.load())); }
    // Presses that were never seen through within the time allowed (pressed again).
    int Unanswered() const { return unanswered_.load(); }

private:
    void Run();

    PressSource& source_;
    std::uniform_int_distribution<int> gap_ms_;
    std::mt19937 random_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ready_ = false;
    bool stop_ = false;
    bool pressed_once_ = false;
    int next_position_ = 0;
    std::atomic<LagClock::rep> sent_{0};
    std::atomic<int> unanswered_{0};
    std::thread thread_;
};

}  // namespace pellox::bench
