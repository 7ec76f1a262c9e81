#pragma once
// The game window with gamepads playing it beside the keyboard and mouse.
//
//   auto window = MakeGameWindowWithGamepads(pictures, MakeGameSound(), records,
//                                            GamepadMappingFileBeside(records_file));

#include <memory>

#include <QString>

#include "gamepad/gamepad_input.h"
#include "gamewindow/game_window.h"

namespace pellox {

// The player's own gamepad mappings, in SDL's format: "gamecontrollerdb.txt"
// in the folder of the scores file.
QString GamepadMappingFileBeside(const QString& records_file);

// A GameWindow whose sound also rumbles the gamepads, with the gamepads
// (GamepadInput, owned by the window's TMForm) playing it. Without SDL the
// window is the same and the gamepads do nothing.
std::unique_ptr<GameWindow> MakeGameWindowWithGamepads(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
                                                       std::unique_ptr<RecordsStore> records,
                                                       const QString& mapping_file);

// The gamepads of a window made so, nullptr for any other.
GamepadInput* GamepadsOf(GameWindow& window);

}  // namespace pellox
