#include "gamepad/gamepad_input.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>

#include "gamepad/mapping_file.h"
#include "gamepad/sdl_library.h"
#include "media/diagnostics.h"

namespace pellox {

namespace {

// After /dev/input changed: when to look for controllers, from the change.
// The node comes first; the system's rules (permissions, udev's notice, which
// SDL waits for) follow within a moment, on a slow machine within seconds.
constexpr std::array<int, 5> kLookAfter_ms{50, 250, 1000, 3000, 6000};
// How often a controller without a node (a virtual one) is read: often while
// it is played, seldom when it has been left alone for a while. Every wake of
// the event loop costs the whole process some CPU.
constexpr int kPollInPlay_ms = 10;
constexpr int kPollLeftAlone_ms = 100;
constexpr qint64 kLeftAloneAfter_ms = 2000;
// How long after a rumble's end SDL is let stop it.
constexpr int kRumbleEndMargin_ms = 10;
// How soon the window thread reads SDL again when the mapping loader is in it
// with a few lines (a few milliseconds of SDL's work at most).
constexpr int kSdlBusyRetry_ms = 1;

PadButton PadButtonOf(Uint8 sdl_button) {
    switch (static_cast<SDL_GameControllerButton>(sdl_button)) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::East;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::West;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::North;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_GUIDE: return PadButton::Guide;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK: return PadButton::LeftStick;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return PadButton::RightStick;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
        default: return PadButton::Other;
    }
}

}  // namespace

struct GamepadInput::Pad {
    explicit Pad(const SdlFunctions& functions) : sdl(functions) {}
    const SdlFunctions& sdl;
    SDL_GameController* controller = nullptr;
    SDL_JoystickID instance_id = -1;
    // Our own read-only descriptor of the controller's node, -1 without one.
    int node_fd = -1;
    std::unique_ptr<QSocketNotifier> node_readable;
    std::bitset<static_cast<std::size_t>(PadButton::Other) + 1> held;

    ~Pad() {
        node_readable.reset();
        if (node_fd >= 0) ::close(node_fd);
        if (controller) sdl.GameControllerClose(controller);
    }
    bool Wakes() const { return node_readable && node_readable->isEnabled(); }
};

bool ApplicationInFront() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

GamepadInput::GamepadInput(GameControls& controls, GamepadInputOptions options, QObject* parent)
    : QObject(parent), controls_(controls), in_front_(std::move(options.in_front)), form_(options.form) {
    look_again_.setSingleShot(true);
    connect(&look_again_, &QTimer::timeout, this, [this] { LookAgain(); });
    connect(&poll_timer_, &QTimer::timeout, this, [this] { Update(); });
    rumble_end_.setSingleShot(true);
    connect(&rumble_end_, &QTimer::timeout, this, [this] { Update(); });
    sdl_busy_retry_.setSingleShot(true);
    connect(&sdl_busy_retry_, &QTimer::timeout, this, [this] { Update(); });
    // With a window not yet shown, SDL is loaded and started when the window
    // is first shown: a start screen that has made the game window hidden
    // pays nothing.
    if (form_ && !form_->isVisible()) {
        start_when_shown_ = {options.sdl_library, options.mapping_file, options.device_folder};
        form_->installEventFilter(this);
    } else {
        Start(options.sdl_library, options.mapping_file, options.device_folder);
    }
}

bool GamepadInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::Show && start_when_shown_) {
        const StartSettings settings = *start_when_shown_;
        start_when_shown_.reset();
        form_->removeEventFilter(this);
        Start(settings.sdl_library, settings.mapping_file, settings.device_folder);
    }
    return QObject::eventFilter(watched, event);
}

void GamepadInput::TellSdlError(const std::string& what) {
    qCWarning(lcGamepad, "%s: %s", what.c_str(), sdl_->GetError());
}

GamepadInput::~GamepadInput() {
    // Nothing may reach SDL from the loader's thread once it is stopped; a
    // claim of the window's left waiting would hold the loader for good.
    window_wants_sdl_ = false;
    mapping_loader_.reset();
    // The controls may already be gone: close without playing the releases.
    closed_pads_.clear();
    pads_.clear();
    if (started_) sdl_->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GamepadInput::Start(const std::string& sdl_library, const QString& mapping_file, const QString& device_folder) {
    std::string why;
    sdl_ = LoadSdl(sdl_library, why);
    if (!sdl_) {
        qCWarning(lcGamepad, "no gamepads: SDL cannot be loaded (%s)", why.c_str());
        return;
    }
    // The game owns the process: SDL installs no signal handlers, and reads
    // the controllers whichever window has the focus (it has no window).
    sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdl_->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The mapping is by place (a thumb's rest), so a Nintendo pad's buttons
    // are named by where they sit, not by the letters printed on them.
    sdl_->SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (sdl_->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        TellSdlError("no gamepads: SDL's game controller part did not start");
        return;
    }
    started_ = true;
    LoadMappings(mapping_file);
    WatchDeviceFolder(device_folder);
    Update();
}

void GamepadInput::LoadMappings(const QString& mapping_file) {
    if (mapping_file.isEmpty()) {
        mappings_read_ = true;
        return;
    }
    const std::string path = QFile::encodeName(mapping_file).toStdString();
    mapping_loader_ = std::make_unique<MappingFileLoader>(
        path, MappingFileLoader::Callbacks{
                  [this, path](std::string_view lines) {
                      // SDL 2.26 changes its list of mappings without a lock;
                      // the window thread reads that list only under SDL's
                      // lock of the joysticks (pumping events, opening a
                      // controller), so the lines go in under it, a few at a time.
                      LoaderTakesSdl();
                      sdl_->LockJoysticks();
                      SDL_RWops* rw = sdl_->RWFromConstMem(lines.data(), static_cast<int>(lines.size()));
                      const bool read = rw && sdl_->GameControllerAddMappingsFromRW(rw, 1) >= 0;
                      sdl_->UnlockJoysticks();
                      loader_in_sdl_ = false;
                      if (!read) TellSdlError("gamepad mappings in " + path + " not read");
                  },
                  [](const std::string& why_not) {
                      qCWarning(lcGamepad, "gamepad mappings not read: %s", why_not.c_str());
                  },
                  [this] {
                      // A controller plugged in before its mapping came is
                      // announced by SDL now: read it on the window thread.
                      QMetaObject::invokeMethod(
                          this,
                          [this] {
                              mappings_read_ = true;
                              Update();
                          },
                          Qt::QueuedConnection);
                  }});
}

void GamepadInput::WatchDeviceFolder(const QString& folder) {
    // A system with no input device at all has no /dev/input until the first
    // one comes: its parent is watched until then.
    const QString parent = QFileInfo(folder).path();
    device_folder_.addPath(QFileInfo(folder).isDir() ? folder : parent);
    connect(&device_folder_, &QFileSystemWatcher::directoryChanged, this, [this, folder, parent](const QString& path) {
        if (path == parent && path != folder) {
            if (!QFileInfo(folder).isDir()) return;
            device_folder_.removePath(parent);
            device_folder_.addPath(folder);
        }
        LookForControllers();
    });
}

void GamepadInput::Update() {
    if (!started_) return;
    // What a button sets off may run queued events (the engine lets keys in
    // during a tick's sound); a wake that comes then is read by the loop
    // below once the button is done, not in the middle of it.
    if (updating_) {
        update_again_ = true;
        return;
    }
    if (!WindowTakesSdl()) return;  // read again once the loader's lines are in
    updating_ = true;
    do {
        update_again_ = false;
        sdl_->PumpEvents();  // SDL reads its controllers and looks for new ones
        std::array<SDL_Event, 32> events;
        int count = 0;
        while ((count = sdl_->PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                                       SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
            for (int i = 0; i < count; ++i) Handle(events[static_cast<std::size_t>(i)]);
    } while (update_again_);
    updating_ = false;
    if (pending_rumble_) StartRumble(*std::exchange(pending_rumble_, std::nullopt));
    WindowLeavesSdl();
    UpdatePolling();
}

// The window thread and the mapping loader take turns in SDL, the window
// first, without the window ever waiting: each says it wants SDL, then looks
// whether the other is in (sequentially consistent atomics: of two that both
// said so, at least one sees the other). The window, finding the loader in,
// comes back a moment later, when the loader's few lines are in, and keeps
// its claim meanwhile; the loader, finding the window in or waiting, waits.
bool GamepadInput::WindowTakesSdl() {
    if (window_turns_++ > 0) return true;  // already ours, further up the stack
    window_wants_sdl_ = true;
    if (!loader_in_sdl_) return true;
    window_turns_ = 0;  // the claim stays until it is served
    sdl_busy_retry_.start(kSdlBusyRetry_ms);
    return false;
}

void GamepadInput::WindowLeavesSdl() {
    if (--window_turns_ == 0) window_wants_sdl_ = false;
}

void GamepadInput::LoaderTakesSdl() {
    for (;;) {
        while (window_wants_sdl_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        loader_in_sdl_ = true;
        if (!window_wants_sdl_) return;
        loader_in_sdl_ = false;
    }
}

void GamepadInput::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: return Open(event.cdevice.which);
        case SDL_CONTROLLERDEVICEREMOVED: return Close(event.cdevice.which);
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            last_played_.start();
            if (Pad* pad = Find(event.cbutton.which))
                ButtonChanged(*pad, PadButtonOf(event.cbutton.button), event.cbutton.state == SDL_PRESSED);
            return;
        case SDL_CONTROLLERAXISMOTION: {
            last_played_.start();
            Pad* pad = Find(event.caxis.which);
            PadButton trigger = PadButton::Other;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) trigger = PadButton::LeftTrigger;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) trigger = PadButton::RightTrigger;
            if (!pad || trigger == PadButton::Other) return;
            const bool held_before = pad->held[static_cast<std::size_t>(trigger)];
            ButtonChanged(*pad, trigger, TriggerHeld(held_before, event.caxis.value));
            return;
        }
        default: return;  // the joystick-level events behind the ones above
    }
}

GamepadInput::Pad* GamepadInput::Find(std::int32_t instance_id) {
    for (const auto& pad : pads_)
        if (pad->instance_id == instance_id) return pad.get();
    return nullptr;
}

void GamepadInput::Open(int device_index) {
    // SDL announces a controller again when a mapping arrives for it.
    if (Find(sdl_->JoystickGetDeviceInstanceID(device_index))) return;
    auto pad = std::make_unique<Pad>(*sdl_);
    pad->controller = sdl_->GameControllerOpen(device_index);
    if (!pad->controller) {
        TellSdlError("a gamepad could not be opened");
        return;
    }
    pad->instance_id = sdl_->JoystickInstanceID(sdl_->GameControllerGetJoystick(pad->controller));
    const char* name = sdl_->GameControllerName(pad->controller);
    qCWarning(lcGamepad, "gamepad plugged in: %s", name ? name : "(no name)");
    WatchNode(*pad);
    pads_.push_back(std::move(pad));
}

void GamepadInput::WatchNode(Pad& pad) {
    const char* node = sdl_->GameControllerPath(pad.controller);
    if (!node) return;  // a virtual controller: polled
    pad.node_fd = ::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (pad.node_fd < 0) {
        const int error = errno;  // taken before the logging machinery runs
        qCWarning(lcGamepad, "gamepad read by polling: %s: %s", node, std::strerror(error));
        return;
    }
    WakeOnNode(pad);
}

void GamepadInput::WakeOnNode(Pad& pad) {
    pad.node_readable = std::make_unique<QSocketNotifier>(pad.node_fd, QSocketNotifier::Read);
    const SDL_JoystickID id = pad.instance_id;
    connect(pad.node_readable.get(), &QSocketNotifier::activated, this, [this, id] { NodeReadable(id); });
}

bool GamepadInput::WakeOnAsNodeForBench(std::int32_t instance_id, int fd) {
    Pad* pad = Find(instance_id);
    if (!pad || pad->node_fd >= 0) {
        ::close(fd);
        return false;
    }
    pad->node_fd = fd;
    WakeOnNode(*pad);
    UpdatePolling();
    return true;
}

void GamepadInput::NodeReadable(std::int32_t instance_id) {
    Pad* pad = Find(instance_id);
    if (!pad) return;
    // Our copy of the events only wakes us; SDL reads its own.
    std::array<char, 4096> buffer;
    ssize_t got = 0;
    while ((got = ::read(pad->node_fd, buffer.data(), buffer.size())) > 0) {
    }
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        // The device is going: SDL learns it from the system, soon.
        pad->node_readable->setEnabled(false);
        LookForControllers();
    }
    Update();
}

void GamepadInput::Close(std::int32_t instance_id) {
    for (auto it = pads_.begin(); it != pads_.end(); ++it) {
        if ((*it)->instance_id != instance_id) continue;
        // A case button held as the controller went is let go, as a mouse
        // button let go would be.
        Pad& pad = **it;
        for (std::size_t b = 0; b < pad.held.size(); ++b)
            if (pad.held[b]) ButtonChanged(pad, static_cast<PadButton>(b), false);
        qCWarning(lcGamepad) << "gamepad unplugged";
        // Its node's notifier may be the one emitting now (the read that
        // found the controller gone): it goes once that is over.
        if (pad.node_readable) pad.node_readable->setEnabled(false);
        sdl_->GameControllerClose(pad.controller);
        pad.controller = nullptr;
        closed_pads_.push_back(std::move(*it));
        pads_.erase(it);
        QTimer::singleShot(0, this, [this] { closed_pads_.clear(); });
        return;
    }
}

void GamepadInput::ButtonChanged(Pad& pad, PadButton button, bool down) {
    const auto index = static_cast<std::size_t>(button);
    if (pad.held[index] == down) return;
    // A press behind another program's window is not played, and so neither
    // is its release: a case button is never let go without being pressed.
    if (down && in_front_ && !in_front_()) return;
    pad.held[index] = down;
    const PadAction action = ActionForPadButton(button);
    switch (action.kind) {
        case PadAction::Kind::GameKey:
            if (!down) return;
            if (form_) form_->PaintAtOnce([&] { controls_.PressGamePosition(action.position); });
            else controls_.PressGamePosition(action.position);
            return;
        case PadAction::Kind::CaseButton:
            if (down) controls_.PressCaseButton(action.button);
            else controls_.ReleaseCaseButton(action.button);
            return;
        case PadAction::Kind::None: return;
    }
}

void GamepadInput::LookForControllers() {
    looks_done_ = 0;
    look_again_.start(kLookAfter_ms[0]);
}

void GamepadInput::LookAgain() {
    Update();
    ++looks_done_;
    if (looks_done_ < kLookAfter_ms.size())
        look_again_.start(kLookAfter_ms[looks_done_] - kLookAfter_ms[looks_done_ - 1]);
}

void GamepadInput::UpdatePolling() {
    bool any_without_wake = false;
    for (const auto& pad : pads_) any_without_wake = any_without_wake || !pad->Wakes();
    if (!any_without_wake) {
        poll_timer_.stop();
        return;
    }
    const bool in_play = last_played_.isValid() && last_played_.elapsed() < kLeftAloneAfter_ms;
    const int interval_ms = in_play ? kPollInPlay_ms : kPollLeftAlone_ms;
    if (!poll_timer_.isActive() || poll_timer_.interval() != interval_ms) poll_timer_.start(interval_ms);
}

void GamepadInput::StartRumble(const Rumble& rumble) {
    if (!started_) return;
    if (!WindowTakesSdl()) {
        pending_rumble_ = rumble;  // started by the read that comes back
        return;
    }
    bool any = false;
    for (const auto& pad : pads_)
        any = sdl_->GameControllerRumble(pad->controller, rumble.low, rumble.high, rumble.duration_ms) == 0 || any;
    // A new rumble replaces the one running, and its end is the one to wait for.
    if (any) rumble_end_.start(static_cast<int>(rumble.duration_ms) + kRumbleEndMargin_ms);
    WindowLeavesSdl();
}

}  // namespace pellox
