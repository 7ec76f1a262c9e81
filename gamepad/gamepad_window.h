#pragma once
// The game window with gamepads playing it beside the keyboard and mouse.
//
//   auto window = MakeGameWindowWithGamepads(pictures, MakeGameSound(), records,
//                                            GamepadMappingFileBeside(records_file));

#include <memory>

#include <QString>

#include "gamepad/effect_rumble.h"
#include "gamepad/gamepad_input.h"
#include "gamewindow/game_window.h"

namespace pellox {

// The player's own gamepad mappings, in SDL's format: "gamecontrollerdb.txt"
// in the folder of the scores file.
QString GamepadMappingFileBeside(const QString& records_file);

// A GameWindow whose gamepads are parts of it as its controls are, and whose
// sound also rumbles them. Without SDL the window is the same and the
// gamepads do nothing.
class GamepadGameWindow final : public GameWindow {
public:
    GamepadGameWindow(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
                      std::unique_ptr<RecordsStore> records, const QString& mapping_file);
    ~GamepadGameWindow() override;

    GamepadInput& Gamepads() { return gamepads_; }

private:
    // The window's sound (GameWindow owns it), which outlives the gamepads.
    EffectRumble& rumble_;
    // Made after the controls they play and gone before them.
    GamepadInput gamepads_;
};

std::unique_ptr<GamepadGameWindow> MakeGameWindowWithGamepads(PictureSet pictures,
                                                              std::unique_ptr<GameSoundPlayer> sound,
                                                              std::unique_ptr<RecordsStore> records,
                                                              const QString& mapping_file);

// The gamepads of a window made so, nullptr for any other.
GamepadInput* GamepadsOf(GameWindow& window);

}  // namespace pellox
