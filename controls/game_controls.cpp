#include "controls/game_controls.h"

#include <QCoreApplication>

namespace pellox {

template <typename Work>
void GameControls::Guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& error) {
        if (report_) report_(error);
    }
}

void GameControls::FormKeyPress(char16_t key, ScanCode scan_code) {
    const std::optional<int> position = PositionForKeyPress({key, scan_code}, keys_);
    if (position) PressGamePosition(static_cast<std::uint8_t>(*position));
}

void GameControls::PressGamePosition(std::uint8_t position) {
    Guarded([&] { engine_.PressGameKey(position); });
}

namespace {
bool IsHeldCaseButton(SpriteId id) {
    return id == SpriteId::imButtA || id == SpriteId::imButtB || id == SpriteId::imButtT;
}
}  // namespace

void GameControls::PressCaseButton(SpriteId button) {
    if (IsHeldCaseButton(button)) SpriteMouseDown(button, Qt::LeftButton, {});
}

void GameControls::ReleaseCaseButton(SpriteId button) {
    if (IsHeldCaseButton(button)) SpriteMouseUp(button, Qt::LeftButton, {});
}

void GameControls::SpriteMouseDown(SpriteId id, Qt::MouseButton, QPoint p) {
    switch (id) {
        case SpriteId::imButtA: return imButtGameDown(id, Variant::A);
        case SpriteId::imButtB: return imButtGameDown(id, Variant::B);
        case SpriteId::imButtT: return imButtTMouseDown();
        case SpriteId::imBckgrnd: return imBckgrndMouseDown(p);
        default: return;
    }
}

void GameControls::SpriteMouseMove(SpriteId id, Qt::MouseButtons buttons, QPoint p) {
    if (id == SpriteId::imBckgrnd) imBckgrndMouseMove(buttons, p);
}

void GameControls::SpriteMouseUp(SpriteId id, Qt::MouseButton, QPoint) {
    switch (id) {
        case SpriteId::imButtA:
        case SpriteId::imButtB: return imButtGameUp(id);
        case SpriteId::imButtT: return imButtTMouseUp();
        default: return;
    }
}

void GameControls::SpriteClick(SpriteId id) {
    if (id == SpriteId::imButtS) imButtSClick();
    else if (id == SpriteId::imButtX) imButtXClick();
}

void GameControls::Nudge(SpriteId button, int dy) {
    sprites_.SetTop(button, sprites_.BoundsOf(button).top + dy);
}

void GameControls::imButtGameDown(SpriteId button, Variant variant) {
    Nudge(button, +1);
    Guarded([&] { engine_.PressGameButton(variant); });
}

void GameControls::imButtGameUp(SpriteId button) {
    Nudge(button, -1);
    Guarded([&] { engine_.ReleaseGameButton(); });
}

void GameControls::imButtTMouseDown() { Nudge(SpriteId::imButtT, +1); }

void GameControls::imButtTMouseUp() {
    Nudge(SpriteId::imButtT, -1);
    Guarded([&] { engine_.ReleaseTimeButton(); });
}

void GameControls::imButtSClick() {
    Guarded([&] { engine_.ToggleSound(); });
}

void GameControls::StopTimers() {
    frame_timer_.SetEnabled(false);
    side_timer_.SetEnabled(false);
}

void GameControls::imButtXClick() {
    // Timers first, so that no tick starts while the window goes away.
    StopTimers();
    QCoreApplication::processEvents();
    window_.close();
}

void GameControls::imBckgrndMouseDown(QPoint p) {
    // Any button sets the anchor; only the left one drags.
    drag_.Press(p.x(), p.y());
}

void GameControls::imBckgrndMouseMove(Qt::MouseButtons buttons, QPoint p) {
    if (!(buttons & Qt::LeftButton)) return;
    drag_.Drag(dragged_window_, p.x(), p.y());
}

}  // namespace pellox
