#include "gamepad/gamepad_window.h"

#include <QDir>
#include <QFileInfo>

#include "gamepad/effect_rumble.h"

namespace pellox {

QString GamepadMappingFileBeside(const QString& records_file) {
    return QFileInfo(records_file).dir().filePath(QStringLiteral("gamecontrollerdb.txt"));
}

std::unique_ptr<GameWindow> MakeGameWindowWithGamepads(PictureSet pictures, std::unique_ptr<GameSoundPlayer> sound,
                                                       std::unique_ptr<RecordsStore> records,
                                                       const QString& mapping_file) {
    auto rumbling_sound = std::make_unique<EffectRumble>(std::move(sound));
    EffectRumble& rumble = *rumbling_sound;
    auto window = std::make_unique<GameWindow>(std::move(pictures), std::move(rumbling_sound), std::move(records));
    // A child of the form: it goes with the window, after the controls it
    // plays, and touches them no more then.
    auto* gamepads = new GamepadInput(window->Controls(), GamepadInputOptions{.mapping_file = mapping_file},
                                      &window->Form());
    rumble.Connect(window->Engine(), [gamepads](const Rumble& r) { gamepads->StartRumble(r); });
    return window;
}

GamepadInput* GamepadsOf(GameWindow& window) {
    return window.Form().findChild<GamepadInput*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace pellox
