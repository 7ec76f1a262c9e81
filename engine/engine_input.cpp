// The player's keys and buttons: what each does in each state of the game.
#include "engine/game_engine.h"

namespace pellox {

void GameEngine::PressGameKey(std::uint8_t position) {
    if (s_.GameState == GameMode::Demo) return;
    UpdateWolf(position);
    // An egg waiting at the mouth the wolf now faces is caught without
    // waiting for the next tick.
    if (CanCatch()) catchegg();
}

void GameEngine::PressGameButton(Variant variant) {
    if (s_.GameState == GameMode::GameOver || s_.GameState == GameMode::Demo) GameInit(variant);
}

void GameEngine::ReleaseGameButton() {
    // Either button starts the variant that was armed.
    if (s_.GameState == GameMode::Armed) GameStart();
}

void GameEngine::ReleaseTimeButton() {
    if (s_.GameState == GameMode::GameOver) DemoInit();
}

void GameEngine::ToggleSound() { SetSoundOn(!s_.SoundOn); }

}  // namespace pellox
