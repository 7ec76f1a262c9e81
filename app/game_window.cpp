#include "app/game_window.h"

#include <QMessageBox>

namespace pellox {

namespace {
constexpr std::uint32_t kSideTimerInterval_ms = 250;
}

GameWindow::GameWindow(PictureSet pictures, std::unique_ptr<SoundPlayer> sound,
                       std::unique_ptr<RecordsStore> records)
    : MForm_(std::move(pictures)),
      sound_(std::move(sound)),
      records_(std::move(records)),
      engine_(EnginePorts{MForm_.Sprites(), *sound_, frame_port_, side_port_, clock_, title_, pump_,
                          *records_, texts_}),
      controls_(MForm_, MForm_.Sprites(), engine_, frame_port_, side_port_) {
    MForm_.SetInputHandler(&controls_);
    title_.SetTitle(std::u16string(16, u' '));

    // The frame timer waits for the launch; the side timer runs from now on.
    TDXTimer& frame = frame_timer_.Timer();
    frame.SetEnabled(false);
    frame.OnTimer = [this](TDXTimer&, std::int32_t) { engine_.dxTimerTimer(); };
    const ExceptionReporter report = [this](const std::exception& e) { ShowError(e); };
    frame_timer_.SetExceptionReporter(report);

    side_timer_.SetExceptionReporter(report);
    side_timer_.SetInterval(kSideTimerInterval_ms);
    side_timer_.SetOnTimer([this](TTimer&) { engine_.TimerTimer(); });
}

GameWindow::~GameWindow() {
    // Nothing may call into the engine while the parts go away.
    MForm_.SetInputHandler(nullptr);
    frame_timer_.Timer().SetEnabled(false);
    frame_timer_.Timer().OnTimer = nullptr;
    side_timer_.SetEnabled(false);
    side_timer_.SetOnTimer(nullptr);
}

void GameWindow::ShowError(const std::exception& error) {
    // Not modal: the game goes on behind the message, as the tick expects.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Pellox"),
                                QString::fromStdString(error.what()), QMessageBox::Ok, &MForm_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace pellox
