#include "startscreen/language_flag.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace pellox {

LanguageFlag::LanguageFlag(int tag, QWidget* parent) : QLabel(parent), tag_(tag) {
    setContentsMargins(kFocusMargin, kFocusMargin, kFocusMargin, kFocusMargin);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::StrongFocus);
}

void LanguageFlag::PlacePicture(QRect picture_box) {
    setGeometry(picture_box.adjusted(-kFocusMargin, -kFocusMargin, kFocusMargin, kFocusMargin));
}

void LanguageFlag::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked(tag_);
}

void LanguageFlag::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        // Enter is left to the form, which starts the game wherever the focus is.
        case Qt::Key_Space: emit Clicked(tag_); return;
        default: QLabel::keyPressEvent(event);
    }
}

void LanguageFlag::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    const int w = kFocusFrameWidth;
    painter.setClipRegion(QRegion(rect()) - QRegion(rect().adjusted(w, w, -w, -w)));
    painter.fillRect(rect(), Qt::white);
}

}  // namespace pellox
