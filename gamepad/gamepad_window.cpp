#include "gamepad/gamepad_window.h"

#include <QDir>
#include <QFileInfo>

namespace pellox {

QString GamepadMappingFileBeside(const QString& records_file) {
    return QFileInfo(records_file).dir().filePath(QStringLiteral("gamecontrollerdb.txt"));
}

GamepadGameWindow::GamepadGameWindow(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
                                     std::unique_ptr<RecordsStore> records, const QString& mapping_file)
    : GameWindow(std::move(pictures), std::make_unique<EffectRumble>(std::move(sound)), std::move(records)),
      // The sound handed to GameWindow just above.
      rumble_(static_cast<EffectRumble&>(Sound())),
      gamepads_(Controls(), GamepadInputOptions{.mapping_file = mapping_file, .form = &Form()}) {
    rumble_.Connect(Engine(), [this](const Rumble& rumble) { gamepads_.StartRumble(rumble); });
}

GamepadGameWindow::~GamepadGameWindow() {
    // The sound goes after the gamepads and the engine it reaches: from here
    // on it only sounds.
    rumble_.Disconnect();
}

std::unique_ptr<GamepadGameWindow> MakeGameWindowWithGamepads(PictureSet pictures,
                                                              std::unique_ptr<GameSoundPlayer> sound,
                                                              std::unique_ptr<RecordsStore> records,
                                                              const QString& mapping_file) {
    return std::make_unique<GamepadGameWindow>(std::move(pictures), std::move(sound), std::move(records),
                                               mapping_file);
}

GamepadInput* GamepadsOf(GameWindow& window) {
    auto* with_gamepads = dynamic_cast<GamepadGameWindow*>(&window);
    return with_gamepads ? &with_gamepads->Gamepads() : nullptr;
}

}  // namespace pellox
