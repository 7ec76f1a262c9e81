#pragma once
// Gamepads playing the game window through SDL's game controller part: any
// controller SDL knows, plugged in before or during play, and unplugged again.
// Its buttons go to GameControls as the keys and the case's buttons do
// (ActionForPadButton); StartRumble shakes every open controller that can.
//
// Nothing here polls while nothing happens. A new or vanished node in
// /dev/input (an inotify watch) lets SDL look for controllers a few times
// over the next seconds, as the system finishes setting the device up. A
// controller with a device node wakes us when the node has input: we read
// our own descriptor of it (every reader of an input node gets its own copy
// of the events) and then let SDL read its own. Only a controller without a
// node (SDL's virtual ones) is polled, and only while it is plugged in:
// every 10 ms while it is played, every 100 ms once left alone for 2 s.
//
// One at a time in a process: SDL has one event queue, and whichever reads
// it takes every controller's events.
//
// SDL is opened (dlopen) when the game window is first shown. Without SDL,
// or when SDL cannot start, there are no gamepads and the
// keyboard and mouse play as before; the reason is told under
// pellox.gamepad, which is silent unless a logging rule turns it on.

#include <atomic>
#include <bitset>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "controls/game_controls.h"
#include "gamepad/mapping_file.h"
#include "gamepad/pad_mapping.h"
#include "gamepad/sdl_library.h"
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
    bool Polling() const { return poll_timer_.isActive(); }
    // True once the mapping file has been read and its mappings added, or
    // found missing or refused (gamepad/mapping_file.h).
    bool MappingsRead() const { return mappings_read_; }

    // Lets SDL read what has come in (controllers plugged in or out, buttons)
    // and plays it. The wakes above call it; so may anyone who knows that
    // something happened (a test that worked a virtual controller).
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
    bool WindowTakesSdl();
    void WindowLeavesSdl();
    void LoaderTakesSdl();

    void Handle(const ::SDL_Event& event);
    void Open(int device_index);
    void Close(std::int32_t instance_id);
    Pad* Find(std::int32_t instance_id);
    void ButtonChanged(Pad& pad, PadButton button, bool down);
    void WatchNode(Pad& pad);
    void WakeOnNode(Pad& pad);
    void NodeReadable(std::int32_t instance_id);
    void WatchDeviceFolder(const QString& folder);
    void LookForControllers();
    void LookAgain();
    void UpdatePolling();

    GameControls& controls_;
    std::function<bool()> in_front_;
    TMForm* form_;
    std::optional<StartSettings> start_when_shown_;
    std::shared_ptr<const SdlFunctions> sdl_;
    bool started_ = false;
    bool updating_ = false;
    bool update_again_ = false;
    std::vector<std::unique_ptr<Pad>> pads_;
    // Unplugged, kept until the wake that found them gone is over.
    std::vector<std::unique_ptr<Pad>> closed_pads_;
    QFileSystemWatcher device_folder_;
    // Looks for controllers a few times after /dev/input changed.
    QTimer look_again_;
    std::size_t looks_done_ = 0;
    QTimer poll_timer_;
    QElapsedTimer last_played_;  // the last button or axis moved
    // SDL stops a rumble at the first update after its end.
    QTimer rumble_end_;
    bool mappings_read_ = false;
    // Turns in SDL between the window thread and the mapping loader.
    std::atomic<bool> window_wants_sdl_{false};
    std::atomic<bool> loader_in_sdl_{false};
    int window_turns_ = 0;  // the window thread's own, nested
    QTimer sdl_busy_retry_;
    std::optional<Rumble> pending_rumble_;
    std::unique_ptr<MappingFileLoader> mapping_loader_;
};

}  // namespace pellox
