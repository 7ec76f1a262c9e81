#pragma once
// How steadily a window repaints: it is asked to repaint every few
// milliseconds, and the time of each paint it receives is noted. A window
// thread held up by other work shows as a long gap between two paints.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace pellox {

class FrameClock : public QObject {
public:
    explicit FrameClock(QWidget& window, int ask_every_ms = 10) : window_(window) {
        window_.installEventFilter(this);
        asker_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&asker_, &QTimer::timeout, &window_, [this] { window_.update(); });
        clock_.start();
        asker_.start(ask_every_ms);
    }
    ~FrameClock() override { window_.removeEventFilter(this); }

    // Milliseconds between each paint and the one before, from the clock's start.
    std::vector<double> Gaps() const {
        std::vector<double> gaps;
        double last = 0;
        for (const double at : paints_ms_) {
            gaps.push_back(at - last);
            last = at;
        }
        gaps.push_back(clock_.nsecsElapsed() / 1e6 - last);  // up to now, too
        return gaps;
    }
    std::size_t Frames() const { return paints_ms_.size(); }

    // The gap below which share of all gaps lie (0.99 for p99), 1 for the longest.
    static double Quantile(std::vector<double> gaps, double share) {
        if (gaps.empty()) return 0;
        std::sort(gaps.begin(), gaps.end());
        const auto at = static_cast<std::size_t>(share * static_cast<double>(gaps.size() - 1) + 0.5);
        return gaps[std::min(at, gaps.size() - 1)];
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) paints_ms_.push_back(clock_.nsecsElapsed() / 1e6);
        return false;
    }

private:
    QWidget& window_;
    QTimer asker_;
    QElapsedTimer clock_;
    std::vector<double> paints_ms_;
};

}  // namespace pellox
