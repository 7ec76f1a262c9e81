#pragma once
// Runs a function once a watched widget's first paint has been handled, that
// is when the window shows what it painted; install it as an event filter.

#include <QEvent>
#include <QMetaObject>
#include <QObject>

#include <functional>
#include <utility>

namespace pellox {

class AfterFirstPaint : public QObject {
public:
    explicit AfterFirstPaint(std::function<void()> then) : then_(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued, so that it runs after this paint has been handled.
            QMetaObject::invokeMethod(this, then_, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
    bool seen_ = false;
};

}  // namespace pellox
