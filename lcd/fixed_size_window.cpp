#include "lcd/fixed_size_window.h"

#include <QEvent>
#include <QObject>
#include <QTimer>

namespace pellox {
namespace {

class MaximiseRefusal final : public QObject {
public:
    explicit MaximiseRefusal(QWidget& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::WindowStateChange) {
            constexpr Qt::WindowStates kRefused = Qt::WindowMaximized | Qt::WindowFullScreen;
            if (window_.windowState() & kRefused) {
                // After the change has been delivered: a state set from inside
                // its own notification is lost on some platforms.
                QTimer::singleShot(0, &window_, [this] {
                    window_.setWindowState(window_.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
                });
            }
        }
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace

void RefuseMaximise(QWidget& window) { window.installEventFilter(new MaximiseRefusal(window)); }

}  // namespace pellox
