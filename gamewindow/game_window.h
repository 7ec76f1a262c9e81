#pragma once
// The whole game window: the LCD window, the engine, the two timers, the sound
// and the controls, wired together. It owns all of them.

#include <memory>

#include "gamewindow/qt_ports.h"
#include "media/timer_ports.h"
#include "controls/game_controls.h"
#include "engine/game_engine.h"
#include "lcd/tm_form.h"
#include "media/game_sounds.h"
#include "media/qt_frame_timer.h"
#include "media/window_timer.h"

namespace pellox {

class GameWindow {
public:
    // Creates the window hidden, in its start state. While the window is shown
    // the side timer runs and the sound output is open, its mixer asleep while
    // the game is paused (the application inactive); hidden, neither wakes.
    GameWindow(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
               std::unique_ptr<RecordsStore> records);
    // Virtual: the window the game makes, with its gamepads beside these
    // parts, derives from this one and is owned through it.
    virtual ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    TMForm& Form() { return form_; }
    GameEngine& Engine() { return engine_; }
    GameControls& Controls() { return controls_; }
    GameTexts& Texts() { return texts_; }
    TDXTimer& FrameTimer() { return frame_timer_.Timer(); }
    TTimer& SideTimer() { return side_timer_; }
    GameSoundPlayer& Sound() { return *sound_; }

private:
    void ShowError(const std::exception& error);
    void Shown(bool shown);

    TMForm form_;  // the game window, MForm
    QtFrameTimer frame_timer_;
    FrameTimerPort frame_port_{frame_timer_.Timer()};
    TTimer side_timer_;
    SideTimerPort side_port_{side_timer_};
    SystemClock clock_;
    WindowTitle title_{form_};
    QtEventPump pump_;
    std::unique_ptr<GameSoundPlayer> sound_;
    std::unique_ptr<RecordsStore> records_;
    GameTexts texts_;
    GameEngine engine_;
    GameControls controls_;
    // Sees the window shown and hidden, and the application's activation.
    std::unique_ptr<QObject> watch_;
};

}  // namespace pellox
