#include "bench/input/pad_source.h"

#include <array>
#include <atomic>

#include <fcntl.h>
#include <unistd.h>

#include "tests/gamepad/virtual_pad.h"

namespace pellox::bench {

namespace {

// The buttons under the thumbs that play positions 0 UL, 1 UR, 2 DL, 3 DR.
constexpr std::array<int, 4> kButtonOf{SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_Y,
                                       SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A};
constexpr int kNoButton = -1;

class PadSource final : public PressSource {
public:
    explicit PadSource(PadWake wake) : wake_(wake) {}
    ~PadSource() override {
        if (wake_fd_ >= 0) ::close(wake_fd_);
    }

    bool Plug(GamepadInput& gamepads, std::string* error) {
        if (!gamepads.Started()) return Fail("SDL's game controller part did not start", error);
        if (!pad_.Plug()) return Fail(std::string("no virtual controller: ") + SDL_GetError(), error);
        gamepads.Update();  // the game opens it
        if (gamepads.OpenControllers() != 1) return Fail("the game did not open the virtual controller", error);
        if (wake_ == PadWake::Polled) return true;
        int ends[2];
        if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return Fail("no pipe to stand in for a node", error);
        wake_fd_ = ends[1];
        if (!gamepads.WakeOnAsNodeForBench(pad_.InstanceId(), ends[0]))
            return Fail("the game took no stand-in for the node", error);
        return true;
    }

    std::string Name() const override {
        return wake_ == PadWake::Polled ? "controller, polled" : "controller, woken as by its node";
    }

    void Press(int position) override {
        const int button = kButtonOf[static_cast<std::size_t>(position & 3)];
        // Not let go when the last press went unanswered.
        if (held_ != kNoButton && held_ != button) pad_.Button(held_, false);
        // Before the button: a read that sees it down is one the probe watches.
        pending_.store(button);
        pad_.Button(button, true);
        held_ = button;
        Wake();
    }

    void LetGo() override {
        if (held_ == kNoButton) return;
        pad_.Button(held_, false);
        held_ = kNoButton;
        Wake();
    }

    bool MayCarry(const QObject&, const QEvent&, const QWidget&) const override {
        return pending_.load() != kNoButton;
    }

    bool Carried() override {
        const int button = pending_.load();
        if (button == kNoButton || !pad_.ReadAsDown(button)) return false;
        pending_.store(kNoButton);
        return true;
    }

private:
    static bool Fail(const std::string& why, std::string* error) {
        *error = why;
        return false;
    }

    void Wake() {
        if (wake_fd_ < 0) return;
        const char byte = 1;
        // A full pipe already wakes the game.
        [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &byte, 1);
    }

    PadWake wake_;
    testing::VirtualPad pad_;
    int wake_fd_ = -1;
    int held_ = kNoButton;                 // driver thread only
    std::atomic<int> pending_{kNoButton};  // pressed, not yet read by the game
};

}  // namespace

std::unique_ptr<PressSource> MakePadSource(GamepadInput& gamepads, PadWake wake, std::string* error) {
    auto source = std::make_unique<PadSource>(wake);
    if (!source->Plug(gamepads, error)) return nullptr;
    return source;
}

}  // namespace pellox::bench
