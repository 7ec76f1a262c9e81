#include "startscreen/focus_ring.h"

#include <QApplication>
#include <QPalette>

namespace pellox {
namespace {
constexpr char kFramed[] = "pelloxFocusRing";
}

QFocusFrame* FollowFocusWithRing(QWidget& window) {
    auto* ring = new QFocusFrame(&window);
    // The style fills the frame with the text colour: black, whatever the
    // desktop's colours, against the form's fixed green and the white boxes.
    QPalette black = ring->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    ring->setPalette(black);
    // QFocusFrame moves itself beside the control it frames and follows it
    // there; choosing the control is left to its user.
    QObject::connect(qApp, &QApplication::focusChanged, ring, [ring, &window](QWidget*, QWidget* now) {
        const bool framed = now && now->window() == &window && now->property(kFramed).toBool();
        ring->setWidget(framed ? now : nullptr);
    });
    return ring;
}

void FrameFocusOf(QWidget& control) { control.setProperty(kFramed, true); }

}  // namespace pellox
