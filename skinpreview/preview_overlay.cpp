#include "skinpreview/preview_overlay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "lcd/compositor.h"
#include "skinpreview/preview_texts.h"

namespace pellox {
namespace {

// The bar lies this far inside the background's box, clear of a case's
// rounded corners, where the window's mask would cut it.
constexpr int kBarInset_px = 24;
constexpr int kBarPadding_px = 6;


QFont OverlayFont() {
    QFont font;
    font.setPixelSize(12);
    return font;
}

}  // namespace

PreviewOverlay::PreviewOverlay(TMForm& form, InterfaceLanguage language)
    : QWidget(&form), form_(form), language_(language) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(OverlayFont());
    setGeometry(form.rect());
    form.installEventFilter(this);  // to follow the window's size
    show();
}

bool PreviewOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::Resize) setGeometry(form_.rect());
    return QWidget::eventFilter(watched, event);
}

void PreviewOverlay::ShowFailures(const QStringList& lines) {
    if (lines == failures_) return;
    const QRect before = BarRect();
    failures_ = lines;
    update(before | BarRect());
}

QStringList PreviewOverlay::BarLines() const {
    if (failures_.isEmpty()) return {};
    QStringList lines{BrokenSaveHeading(language_)};
    lines += failures_.mid(0, kShownFailures);
    if (failures_.size() > kShownFailures) lines << MoreFailures(language_, failures_.size() - kShownFailures);
    return lines;
}

QRect PreviewOverlay::BarRect() const {
    const QStringList lines = BarLines();
    if (lines.isEmpty()) return {};
    const QRect background = ToQRect(form_.Sprites().BoundsOf(SpriteId::imBckgrnd));
    const int height = static_cast<int>(lines.size()) * QFontMetrics(font()).lineSpacing() + 2 * kBarPadding_px;
    return QRect(background.left() + kBarInset_px, background.top() + kBarInset_px,
                 background.width() - 2 * kBarInset_px, height);
}

void PreviewOverlay::paintEvent(QPaintEvent*) {
    const QStringList lines = BarLines();
    if (lines.isEmpty()) return;
    QPainter painter(this);
    const QRect bar = BarRect();
    painter.fillRect(bar, kBarColour);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font());
    QPoint at = bar.topLeft() + QPoint(kBarPadding_px, kBarPadding_px + metrics.ascent());
    for (const QString& line : lines) {
        // drawText(QPoint, ...) takes the text as it is: a file name is never markup.
        painter.drawText(at, metrics.elidedText(line, Qt::ElideMiddle, bar.width() - 2 * kBarPadding_px));
        at.ry() += metrics.lineSpacing();
    }
}

}  // namespace pellox
