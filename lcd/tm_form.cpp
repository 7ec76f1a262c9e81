#include "lcd/fixed_size_window.h"
#include "lcd/tm_form.h"

#include "lcd/core/hit_test.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "lcd/press_capture.h"
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

namespace pellox {

TMForm::TMForm(PictureSet pictures, SeeThroughBy see_through, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), pictures_(std::move(pictures)),
      see_through_(see_through) {
    setObjectName(QStringLiteral("MForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Before the window exists: its buffers get an alpha channel only if asked for at creation.
    if (see_through_ == SeeThroughBy::Alpha) setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kBuiltinClientSize);
    RefuseMaximise(*this);
    move(kBuiltinWindowPos);
    model_.SetListener([this](SpriteId, SpriteChange, const Bounds& dirty) { OnSpriteChanged(dirty); });
    pictures_.UseRatio(devicePixelRatioF());
    RebuildFrame();
}

TMForm::~TMForm() { model_.SetListener({}); }

Result<void> TMForm::LoadPicture(SpriteId id, const QString& path) {
    Result<void> loaded = pictures_.LoadPicture(id, path, model_.State(id).transparent);
    if (loaded) model_.PictureChanged(id);
    return loaded;
}

void TMForm::ResizeToBackground() {
    const Bounds& bg = model_.BoundsOf(SpriteId::imBckgrnd);
    setFixedSize(bg.width + 8, bg.height + 34);
    RebuildFrame();
}

QRect TMForm::ButtonsBox() const {
    QRect box;
    for (SpriteId button :
         {SpriteId::imButtA, SpriteId::imButtB, SpriteId::imButtT, SpriteId::imButtS, SpriteId::imButtX})
        box |= ToQRect(model_.BoundsOf(button));
    return box;
}

std::optional<SpriteId> TMForm::SpriteAtPoint(QPoint p) const {
    if (IsSeeThrough(frame_, p.x(), p.y())) return std::nullopt;
    return TopmostSpriteAt(model_, p.x(), p.y());
}

void TMForm::RebuildFrame() {
    frame_ = compositor_.Compose(size());
    device_frame_.Rebuild(frame_);
    mask_.Rebuild(frame_);
    setMask(mask_.Region());
    update();
}

void TMForm::OnSpriteChanged(const Bounds& dirty) {
    const QRect area = ToQRect(dirty) & frame_.rect();
    if (area.isEmpty()) return;
    compositor_.Recompose(frame_, area);
    device_frame_.Update(frame_, area);
    // Most segments switch dark on light LCD: the outline stays, the mask is left alone.
    if (mask_.Update(frame_, area)) setMask(mask_.Region());
    update(area);
    if (in_player_input_) input_dirty_ += area;
}

void TMForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (device_frame_.Active()) return device_frame_.Paint(painter);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : event->region()) {
        if (see_through_ == SeeThroughBy::Alpha) painter.drawImage(r.topLeft(), PurpleKeyedOut(frame_, r));
        else painter.drawImage(r.topLeft(), frame_, r);
    }
}

void TMForm::UseDeviceRatio(qreal ratio) {
    if (ratio == pictures_.Ratio() || (ratio <= 1.0 && pictures_.Ratio() == 1.0)) return;
    pictures_.UseRatio(ratio);
    RebuildFrame();
}

void TMForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UseDeviceRatio(devicePixelRatioF());
    if (!follows_screen_ && windowHandle()) {
        follows_screen_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] { UseDeviceRatio(devicePixelRatioF()); });
    }
}

QPoint TMForm::InSprite(SpriteId id, QPoint windowPos) const {
    const Bounds& b = model_.BoundsOf(id);
    return windowPos - QPoint(b.left, b.top);
}

void TMForm::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool other_buttons_held = (event->buttons() & ~event->button()) != Qt::NoButton;
    captured_ = SpriteForPress(captured_, other_buttons_held, SpriteAtPoint(p));
    if (captured_ && input_) input_->SpriteMouseDown(*captured_, event->button(), InSprite(*captured_, p));
}

void TMForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    // While a button is held the pressed sprite keeps the pointer, as a captured control does.
    const std::optional<SpriteId> target = captured_ ? captured_ : SpriteAtPoint(p);
    if (target && input_) input_->SpriteMouseMove(*target, event->buttons(), InSprite(*target, p));
}

void TMForm::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const std::optional<SpriteId> target = captured_;
    if (event->buttons() == Qt::NoButton) captured_.reset();
    if (!target) return;
    SpriteInputHandler* input = input_;
    if (!input) return;
    const bool inside = model_.BoundsOf(*target).contains(p.x(), p.y());
    input->SpriteMouseUp(*target, event->button(), InSprite(*target, p));
    if (event->button() == Qt::LeftButton && inside) input->SpriteClick(*target);
}

void TMForm::keyPressEvent(QKeyEvent* event) {
    if (!input_) return QWidget::keyPressEvent(event);
    const quint32 scan_code = event->nativeScanCode();
    PaintAtOnce([&] {
        if (event->text().isEmpty()) input_->KeyTyped(QChar(), scan_code);
        for (QChar c : event->text()) input_->KeyTyped(c, scan_code);
    });
}

void TMForm::PaintAtOnce(const std::function<void()>& input) {
    const bool outer = in_player_input_;
    if (!outer) input_dirty_ = QRegion();
    in_player_input_ = true;
    input();
    in_player_input_ = outer;
    if (!outer && !input_dirty_.isEmpty()) repaint(input_dirty_);
}

void TMForm::closeEvent(QCloseEvent* event) {
    if (input_) input_->WindowClosing();
    event->accept();
    emit Closed();
}

}  // namespace pellox
