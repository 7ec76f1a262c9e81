#include "gamewindow/game_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>

#include "lcd/plain_text.h"

namespace pellox {

namespace {
constexpr std::uint32_t kSideTimerInterval_ms = 250;

// Calls on_shown when the window is shown (true) or hidden (false).
class ShownWatch final : public QObject {
public:
    ShownWatch(QWidget& window, std::function<void(bool)> on_shown) : on_shown_(std::move(on_shown)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) on_shown_(true);
        if (event->type() == QEvent::Hide) on_shown_(false);
        return false;
    }

private:
    std::function<void(bool)> on_shown_;
};

bool ApplicationActive() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

}  // namespace

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
    frame.OnTimer = [this](TDXTimer&) { engine_.dxTimerTimer(); };
    const ExceptionReporter report = [this](const std::exception& e) { ShowError(e); };
    frame_timer_.SetExceptionReporter(report);
    controls_.SetExceptionReporter(report);

    side_timer_.SetExceptionReporter(report);
    side_timer_.SetSuspended(true);  // until the window is shown
    side_timer_.SetInterval(kSideTimerInterval_ms);
    side_timer_.SetOnTimer([this](TTimer&) { engine_.TimerTimer(); });

    watch_ = std::make_unique<ShownWatch>(form_, [this](bool shown) { Shown(shown); });
    // The game pauses while the application is inactive (the frame timer
    // follows the same); so does the sound's mixer, once the last sound ends.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, watch_.get(),
                     [this](Qt::ApplicationState) {
                         if (form_.isVisible()) sound_->SetGamePaused(!ApplicationActive());
                     });
}

void GameWindow::Shown(bool shown) {
    side_timer_.SetSuspended(!shown);
    if (!shown) {
        sound_->CloseOutput();
        return;
    }
    sound_->OpenOutput();
    sound_->SetGamePaused(!ApplicationActive());
}

GameWindow::~GameWindow() {
    // Nothing may call into the engine while the parts go away.
    watch_.reset();
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
