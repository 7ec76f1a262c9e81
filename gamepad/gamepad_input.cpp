#include "gamepad/gamepad_input.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include <QEvent>
#include <QFile>
#include <QGuiApplication>

#include "gamepad/mapping_file.h"
#include "gamepad/sdl_library.h"
#include "media/diagnostics.h"

namespace pellox {

namespace {

// How long after a rumble's end SDL is let stop it.
constexpr int kRumbleEndMargin_ms = 10;
// How soon the window thread reads SDL again when the mapping loader is in it
// with a few lines (a few milliseconds of SDL's work at most).
constexpr int kSdlBusyRetry_ms = 1;

}  // namespace

// An open controller: SDL's handle and the buttons the game has taken from it.
struct GamepadInput::Pad {
    Pad(std::shared_ptr<const SdlFunctions> functions, SDL_GameController* opened)
        : sdl(std::move(functions)),
          controller(opened),
          instance_id(sdl->JoystickInstanceID(sdl->GameControllerGetJoystick(opened))) {}
    ~Pad() { sdl->GameControllerClose(controller); }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    std::shared_ptr<const SdlFunctions> sdl;
    SDL_GameController* controller;
    SDL_JoystickID instance_id;
    PadButtons buttons;
};

bool ApplicationInFront() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

GamepadInput::GamepadInput(GameControls& controls, GamepadInputOptions options, QObject* parent)
    : QObject(parent), controls_(controls), in_front_(std::move(options.in_front)), form_(options.form) {
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
    // Nothing may reach SDL from the loader's thread once it is stopped.
    turns_.WindowGoes();
    mapping_loader_.reset();
    // Closed without playing the releases: a window going presses nothing.
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
    hot_plug_.Watch(device_folder);
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
                      turns_.LoaderTakes();
                      sdl_->LockJoysticks();
                      SDL_RWops* rw = sdl_->RWFromConstMem(lines.data(), static_cast<int>(lines.size()));
                      const bool read = rw && sdl_->GameControllerAddMappingsFromRW(rw, 1) >= 0;
                      sdl_->UnlockJoysticks();
                      turns_.LoaderLeaves();
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

void GamepadInput::Update() {
    if (!started_) return;
    // What a button sets off may run queued events (the engine lets keys in
    // during a tick's sound); a wake that comes then is read by the loop
    // below once the button is done, not in the middle of it.
    if (updating_) {
        update_again_ = true;
        return;
    }
    if (!TakeSdl()) return;
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
    turns_.WindowLeaves();
    wakes_.UpdatePolling();
}

bool GamepadInput::TakeSdl() {
    if (turns_.WindowTakes()) return true;
    sdl_busy_retry_.start(kSdlBusyRetry_ms);
    return false;
}

void GamepadInput::Handle(const SDL_Event& sdl_event) {
    const PadEvent event = ReadPadEvent(sdl_event);
    switch (event.kind) {
        case PadEvent::Kind::Added: return Open(event.which);
        case PadEvent::Kind::Removed: return Close(event.which);
        case PadEvent::Kind::Button:
        case PadEvent::Kind::Axis:
            wakes_.Played();
            if (Pad* pad = Find(event.which)) Play(pad->buttons.Take(event, !in_front_ || in_front_()));
            return;
        case PadEvent::Kind::Other: return;
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
    SDL_GameController* controller = sdl_->GameControllerOpen(device_index);
    if (!controller) {
        TellSdlError("a gamepad could not be opened");
        return;
    }
    auto pad = std::make_unique<Pad>(sdl_, controller);
    const char* name = sdl_->GameControllerName(controller);
    qCWarning(lcGamepad, "gamepad plugged in: %s", name ? name : "(no name)");
    wakes_.Add(pad->instance_id, sdl_->GameControllerPath(controller));
    pads_.push_back(std::move(pad));
}

bool GamepadInput::WakeOnAsNodeForBench(std::int32_t instance_id, int fd) {
    return wakes_.WakeOnAsNode(instance_id, fd);
}

void GamepadInput::Close(std::int32_t instance_id) {
    const auto it = std::find_if(pads_.begin(), pads_.end(),
                                 [instance_id](const auto& pad) { return pad->instance_id == instance_id; });
    if (it == pads_.end()) return;
    for (const PadPlay& play : (*it)->buttons.LetGoAll()) Play(play);
    qCWarning(lcGamepad) << "gamepad unplugged";
    wakes_.Remove(instance_id);
    pads_.erase(it);
}

void GamepadInput::Play(const PadPlay& play) {
    switch (play.action.kind) {
        case PadAction::Kind::GameKey:
            if (form_) form_->PaintAtOnce([&] { controls_.PressGamePosition(play.action.position); });
            else controls_.PressGamePosition(play.action.position);
            return;
        case PadAction::Kind::CaseButton:
            if (play.down) controls_.PressCaseButton(play.action.button);
            else controls_.ReleaseCaseButton(play.action.button);
            return;
        case PadAction::Kind::None: return;
    }
}

void GamepadInput::StartRumble(const Rumble& rumble) {
    if (!started_) return;
    if (!TakeSdl()) {
        pending_rumble_ = rumble;  // started by the read that comes back
        return;
    }
    bool any = false;
    for (const auto& pad : pads_)
        any = sdl_->GameControllerRumble(pad->controller, rumble.low, rumble.high, rumble.duration_ms) == 0 || any;
    // A new rumble replaces the one running, and its end is the one to wait for.
    if (any) rumble_end_.start(static_cast<int>(rumble.duration_ms) + kRumbleEndMargin_ms);
    turns_.WindowLeaves();
}

}  // namespace pellox
