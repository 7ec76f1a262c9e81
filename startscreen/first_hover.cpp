#include "startscreen/first_hover.h"

#include <utility>

#include <QEvent>
#include <QMetaObject>
#include <QObject>

namespace pellox {
namespace {

class FirstHover : public QObject {
public:
    FirstHover(QWidget& control, std::function<void()> then) : QObject(&control), then_(std::move(then)) {
        control.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Enter && then_) {
            watched->removeEventFilter(this);
            // Queued: the control shows the pointer over it first.
            QMetaObject::invokeMethod(parent(), std::exchange(then_, {}), Qt::QueuedConnection);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
};

}  // namespace

void OnFirstHover(QWidget& control, std::function<void()> then) { new FirstHover(control, std::move(then)); }

}  // namespace pellox
