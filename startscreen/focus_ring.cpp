#include "startscreen/focus_ring.h"

#include <QApplication>
#include <QPalette>

namespace pellox {

QFocusFrame* FollowFocusWithRing(const QList<QWidget*>& controls) {
    if (controls.isEmpty()) return nullptr;
    auto* ring = new QFocusFrame(controls.front()->window());
    // The style fills the frame with the text colour: black, whatever the
    // desktop's colours, against the form's fixed green and the white boxes.
    QPalette black = ring->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    ring->setPalette(black);
    // QFocusFrame moves itself beside the control it frames and follows it
    // there; choosing the control is left to its user.
    QObject::connect(qApp, &QApplication::focusChanged, ring, [ring, controls](QWidget*, QWidget* now) {
        ring->setWidget(controls.contains(now) ? now : nullptr);
    });
    return ring;
}

}  // namespace pellox
