#include "gamewindow/game_window.h"

#include "lcd/plain_text.h"

namespace pellox {

namespace {
constexpr std::uint32_t kSideTimerInterval_ms = 250;
}

GameWindow::GameWindow(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
                       std::unique_ptr<RecordsStore> records)
    : form_(std::move(pictures)),
      sound_(std::move(sound)),
      records_(std::move(records)),
      engine_(EnginePorts{form_.Sprites(), *sound_, frame_port_, side_port_, clock_, title_, pump_,
                          *records_, texts_}),
      controls_(form_, form_.Sprites(), engine_, frame_port_, side_port_) {
    form_.SetInputHandler(&controls_);
    title_.SetTitle(std::u16string(16, u' '));

    // The frame timer waits for the launch; the side timer runs from now on.
    TDXTimer& frame = frame_timer_.Timer();
    frame.SetEnabled(false);
    frame.OnTimer = [this](TDXTimer&, std::int32_t) { engine_.dxTimerTimer(); };
    const ExceptionReporter report = [this](const std::exception& e) { ShowError(e); };
    frame_timer_.SetExceptionReporter(report);
    controls_.SetExceptionReporter(report);

    side_timer_.SetExceptionReporter(report);
    side_timer_.SetInterval(kSideTimerInterval_ms);
    side_timer_.SetOnTimer([this](TTimer&) { engine_.TimerTimer(); });
}

GameWindow::~GameWindow() {
    // Nothing may call into the engine while the parts go away.
    form_.SetInputHandler(nullptr);
    frame_timer_.Timer().SetEnabled(false);
    frame_timer_.Timer().OnTimer = nullptr;
    side_timer_.SetEnabled(false);
    side_timer_.SetOnTimer(nullptr);
}

void GameWindow::ShowError(const std::exception& error) {
    // Window-modal: the box blocks input to the game window until it is
    // dismissed, but open() returns at once, so the timers keep running and
    // the tick that reported the error is not held up.
    NewPlainMessageBox(&form_, QMessageBox::Warning, QStringLiteral("Pellox"), QString::fromStdString(error.what()))
        ->open();
}

}  // namespace pellox
