#pragma once
// The engine's small ports on Qt: the wall clock, the taskbar title, and
// letting queued window events run in the middle of a tick.

#include <QCoreApplication>
#include <QDateTime>
#include <QWidget>

#include "engine/ports.h"
#include "lcd/plain_text.h"

namespace pellox {

class SystemClock final : public Clock {
public:
    TimeOfDay LocalTimeOfDay() const override {
        const QTime t = QTime::currentTime();
        return {t.hour(), t.minute(), t.second(), t.msec()};
    }
    std::uint32_t UtcMillisecondsSinceMidnight() const override {
        return static_cast<std::uint32_t>(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
    }
};

// The taskbar shows the game window's title, a skin's title as it is written.
class WindowTitle final : public AppTitle {
public:
    explicit WindowTitle(QWidget& window) : window_(window) {}
    void SetTitle(const std::u16string& title) override {
        window_.setWindowTitle(PlainWindowTitle(QString::fromStdU16String(title)));
    }

private:
    QWidget& window_;
};

class QtEventPump final : public EventPump {
public:
    void ProcessQueuedEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace pellox
