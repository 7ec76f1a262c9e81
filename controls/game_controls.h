#pragma once
// The player's side of the game window: the four game keys, the Game A, Game B,
// Time, sound and exit buttons on the case, and dragging the window.
// No game rules live here: a key press becomes a wolf position, a sprite
// becomes a button, and the engine decides what they do in each state.
//
// These handlers are the input edge: an exception from the engine or the sound
// stops here and goes to the reporter, never on through Qt's event dispatch.

#include <QWidget>

#include "controls/control_keys.h"
#include "controls/qt_dragged_window.h"
#include "controls/window_drag.h"
#include "engine/game_engine.h"
#include "lcd/sprite_input.h"
#include "lcd/core/sprite_model.h"
#include "media/exception_report.h"

namespace pellox {

class GameControls : public SpriteInputHandler {
public:
    GameControls(QWidget& window, SpriteModel& sprites, GameEngine& engine,
                 FrameTimerControl& frame_timer, SideTimerControl& side_timer)
        : window_(window), sprites_(sprites), engine_(engine),
          frame_timer_(frame_timer), side_timer_(side_timer) {}

    ControlKeys& Keys() { return keys_; }
    const DragAnchor& Anchor() const { return drag_.Anchor(); }
    // Where an exception raised while handling input goes (the log until set).
    void SetExceptionReporter(ExceptionReporter report) { report_ = std::move(report); }

    void SpriteMouseDown(SpriteId id, Qt::MouseButton button, QPoint p) override;
    void SpriteMouseMove(SpriteId id, Qt::MouseButtons buttons, QPoint p) override;
    void SpriteMouseUp(SpriteId id, Qt::MouseButton button, QPoint p) override;
    void SpriteClick(SpriteId id) override;
    void KeyTyped(QChar c, quint32 scan_code) override { FormKeyPress(c.unicode(), scan_code); }
    void WindowClosing() override { StopTimers(); }

    // key: the typed character (0 for none); scan_code: the physical key.
    void FormKeyPress(char16_t key, ScanCode scan_code = kNoScanCode);
    void imButtSClick();
    void imButtXClick();

    // Another device's buttons (a gamepad) playing as the keys and the case's
    // buttons do, through the same handlers.
    // position: 0 upper left, 1 upper right, 2 lower left, 3 lower right.
    void PressGamePosition(std::uint8_t position);
    // button: imButtA, imButtB or imButtT; any other sprite does nothing.
    void PressCaseButton(SpriteId button);
    void ReleaseCaseButton(SpriteId button);

private:
    void imButtGameDown(SpriteId button, Variant variant);
    void imButtGameUp(SpriteId button);
    void imButtTMouseDown();
    void imButtTMouseUp();
    void imBckgrndMouseDown(QPoint p);
    void imBckgrndMouseMove(Qt::MouseButtons buttons, QPoint p);
    void Nudge(SpriteId button, int dy);
    void StopTimers();
    // Runs one handler's work; an exception is reported and goes no further.
    template <typename Work>
    void Guarded(Work&& work);

    QWidget& window_;
    SpriteModel& sprites_;
    GameEngine& engine_;
    FrameTimerControl& frame_timer_;
    SideTimerControl& side_timer_;
    ControlKeys keys_;
    QtDraggedWindow dragged_window_{window_};
    WindowDrag drag_;
    ExceptionReporter report_ = ReportToLog;
};

}  // namespace pellox
