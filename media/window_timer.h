#pragma once
// The game window's ordinary timer (the 250 ms side timer): ticks through the
// event loop, also while the application is inactive. Every change of Enabled,
// Interval or the handler re-arms it, so the next tick comes one full period later.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "media/exception_report.h"

namespace pellox {

class TTimer final : public QObject {
    Q_OBJECT
public:
    using Event = std::function<void(TTimer& sender)>;

    // Enabled true, Interval 1000, no handler: not armed until a handler is set.
    explicit TTimer(QObject* parent = nullptr);

    bool Enabled() const { return enabled_; }
    // Throws EOutOfResources if the window system refuses the timer.
    void SetEnabled(bool value);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t value);
    void SetOnTimer(Event handler);
    void SetExceptionReporter(ExceptionReporter reporter) { report_ = std::move(reporter); }
    // Suspended, the timer is not armed whatever Enabled says (its window is
    // not shown: nothing to tick for); resumed, it re-arms as a change does.
    void SetSuspended(bool suspended);

    bool Armed() const { return timer_.isActive(); }

private:
    void UpdateTimer();
    void Fire();

    bool enabled_ = true;
    bool suspended_ = false;
    std::uint32_t interval_ = 1000;
    Event on_timer_;
    ExceptionReporter report_ = ReportToLog;
    QTimer timer_;
};

}  // namespace pellox
