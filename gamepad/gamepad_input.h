#pragma once
// Gamepads playing the game window through SDL's game controller part: any
// controller SDL knows, plugged in before or during play, and unplugged again.
// Its buttons go to GameControls as the keys and the case's buttons do
// (PadButtons, ActionForPadButton); StartRumble shakes every open controller
// that can.
//
// Nothing here polls while nothing happens: HotPlugWatch tells when
// controllers may have come or gone, PadWakes when an open one has input
// (its device node, or a poll for one without). The mapping file's lines go
// into SDL on a thread of their own, in turns with the window (SdlTurns).
//
// One at a time in a process: SDL has one event queue, and whichever reads
// it takes every controller's events.
//
// SDL is opened (dlopen) when the game window is first shown. Without SDL,
// or when SDL cannot start, there are no gamepads and the
// keyboard and mouse play as before; the reason is told under
// pellox.gamepad, which is silent unless a logging rule turns it on.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "controls/game_controls.h"
#include "gamepad/hot_plug_watch.h"
#include "gamepad/mapping_file.h"
#include "gamepad/pad_events.h"
#include "gamepad/pad_mapping.h"
#include "gamepad/pad_wakes.h"
#include "gamepad/sdl_library.h"
#include "gamepad/sdl_turns.h"
#include "lcd/tm_form.h"

namespace pellox {

// True while the game is the application in front. A controller plays only
// then, as the keys reach only the active window: a pad used for another
// program leaves the game alone.
bool ApplicationInFront();

struct GamepadInputOptions {
    // The player's own mappings in SDL's format; none when empty or missing.
    QString mapping_file = {};
    // Where new devices' nodes appear.
    QString device_folder = QStringLiteral("/dev/input");
    std::function<bool()> in_front = ApplicationInFront;
    // The window that paints a button's turn of the wolf at once, as it does
    // a key's; none where only the input is of interest.
    TMForm* form = nullptr;
    // SDL's file name (tests name one that is not there).
    std::string sdl_library = kSdlLibrary;
};

class GamepadInput : public QObject {
    Q_OBJECT

public:
    // Loads SDL and starts its game controller part alone (no video, no sound,
    // no signal handlers), starts adding the mappings of the mapping file if there is
    // one, on a thread of their own (SDL's own SDL_GAMECONTROLLERCONFIG wins
    // over it), and opens the controllers plugged in now.
    GamepadInput(GameControls& controls, GamepadInputOptions options, QObject* parent = nullptr);
    ~GamepadInput() override;
    GamepadInput(const GamepadInput&) = delete;
    GamepadInput& operator=(const GamepadInput&) = delete;

    // False when SDL could not start: then nothing else here does anything.
    bool Started() const { return started_; }
    int OpenControllers() const { return static_cast<int>(pads_.size()); }
    // True while a timer runs for a controller that cannot wake us.
    bool Polling() const { return wakes_.Polling(); }
    // True once the mapping file has been read and its mappings added, or
    // found missing or refused (gamepad/mapping_file.h).
    bool MappingsRead() const { return mappings_read_; }

    // Lets SDL read what has come in (controllers plugged in or out, buttons)
    // and plays it. The hot-plug watch and the wakes call it; so may anyone
    // who knows that something happened (a test that worked a virtual
    // controller).
    void Update();

    // Every open controller with motors rumbles; the others ignore it.
    void StartRumble(const Rumble& rumble);

    // For the input lag bench: `fd` wakes us for the controller `instance_id`
    // as a device node does (read to its end, then SDL reads), for one that
    // has no node (a virtual one), which is then no longer polled. Takes `fd`
    // over; false when no such controller is open or it has a node.
    bool WakeOnAsNodeForBench(std::int32_t instance_id, int fd);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pad;
    struct StartSettings {
        std::string sdl_library;
        QString mapping_file;
        QString device_folder;
    };

    void Start(const std::string& sdl_library, const QString& mapping_file, const QString& device_folder);
    void TellSdlError(const std::string& what);
    void LoadMappings(const QString& mapping_file);
    // SDL for the window thread, or a read again a moment later when the
    // mapping loader is in it.
    bool TakeSdl();

    void Handle(const ::SDL_Event& event);
    void Open(int device_index);
    void Close(std::int32_t instance_id);
    Pad* Find(std::int32_t instance_id);
    void Play(const PadPlay& play);

    GameControls& controls_;
    std::function<bool()> in_front_;
    TMForm* form_;
    std::optional<StartSettings> start_when_shown_;
    std::shared_ptr<const SdlFunctions> sdl_;
    bool started_ = false;
    bool updating_ = false;
    bool update_again_ = false;
    std::vector<std::unique_ptr<Pad>> pads_;
    HotPlugWatch hot_plug_{[this] { Update(); }};
    PadWakes wakes_{{.read = [this] { Update(); }, .node_gone = [this] { hot_plug_.LookSoon(); }}};
    // SDL stops a rumble at the first update after its end.
    QTimer rumble_end_;
    bool mappings_read_ = false;
    SdlTurns turns_;
    QTimer sdl_busy_retry_;
    std::optional<Rumble> pending_rumble_;
    std::unique_ptr<MappingFileLoader> mapping_loader_;
};

}  // namespace pellox
