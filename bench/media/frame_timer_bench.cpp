// The frame timer as the game runs it (event loop sleeping until the next due
// tick) against a busy-polling loop that never sleeps, in one run, at the
// game's slowest, a middle and its fastest pace. For each tick: how late it
// came after one interval from the previous tick; and the process's CPU use.
//
// frame_timer_bench [seconds per run]   (default 16)
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

#include "bench/media/stats.h"
#include "media/core/dx_timer.h"
#include "media/qt_frame_timer.h"

namespace {

using Clock = std::chrono::steady_clock;
using pellox::TDXTimer;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Run {
    std::vector<double> lateness_ms;
    double cpu_percent = 0;
    int early = 0;
};

// Ticks until `ticks` have come; records each tick's lateness.
struct Recorder {
    int interval;
    int wanted;
    std::vector<Clock::time_point> times;
    void operator()(TDXTimer& timer) {
        times.push_back(Clock::now());
        if (static_cast<int>(times.size()) > wanted) timer.SetEnabled(false);
    }
    Run Finish(double cpu, double wall) const {
        Run run;
        for (std::size_t i = 1; i < times.size(); ++i) {
            const double late =
                std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count() - interval;
            run.lateness_ms.push_back(late);
            if (late < 0) ++run.early;
        }
        run.cpu_percent = 100.0 * cpu / wall;
        return run;
    }
};

// Runs `loop` until the timer has ticked `ticks` times; CPU over wall time.
template <class Loop>
Run Measure(TDXTimer& timer, int interval, int ticks, Loop&& loop) {
    timer.SetEnabled(false);
    timer.SetInterval(interval);
    Recorder recorder{interval, ticks, {}};
    timer.OnTimer = [&](TDXTimer& t) { recorder(t); };
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    timer.SetEnabled(true);
    while (timer.Enabled()) loop();
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    return recorder.Finish(CpuSeconds() - cpu0, wall);
}

Run RunOurs(int interval, int ticks) {
    pellox::QtFrameTimer driver;
    driver.SetApplicationState(Qt::ApplicationActive);
    driver.Timer().Loaded();
    return Measure(driver.Timer(), interval, ticks,
                   [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); });
}

// The timer polled from an event loop that never sleeps, as an idle-slot timer does.
class BusyHost : public pellox::TimerHost {
public:
    std::uint32_t NowMs() override {
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin_).count());
    }
    bool ApplicationActive() const override { return true; }
    void TakePolling(TDXTimer&) override {}
    void ReleasePolling(TDXTimer&) override {}

private:
    Clock::time_point origin_ = Clock::now();
};

Run RunBusy(int interval, int ticks) {
    BusyHost host;
    TDXTimer timer(host);
    return Measure(timer, interval, ticks, [&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        timer.PollStep();
    });
}

void Print(const char* name, int interval, const Run& run) {
    const auto s = pellox::bench::Summarise(run.lateness_ms);
    std::printf("%-13s %4d ms %6zu %6d %8.3f %8.3f %8.3f %8.3f %7.1f %%\n", name, interval, run.lateness_ms.size(),
                run.early, s.min, s.p50, s.p99, s.max, run.cpu_percent);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 16.0;
    std::printf("lateness = tick time - (previous tick time + interval), in ms; CPU in %% of one core\n");
    std::printf("%-13s %7s %6s %6s %8s %8s %8s %8s %9s\n", "timer", "period", "ticks", "early", "min", "p50", "p99",
                "max", "CPU");
    for (int interval : {265, 90, 27}) {
        // At least 100 ticks, so that the 99th percentile means something.
        const int ticks = std::max(100, static_cast<int>(seconds * 1000 / interval));
        Print("event-driven", interval, RunOurs(interval, ticks));
        Print("busy-polling", interval, RunBusy(interval, ticks));
        std::fflush(stdout);
    }
    return 0;
}
