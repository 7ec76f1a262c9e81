#pragma once
// The game window's sound with the gamepads' rumble beside it: every effect
// the engine plays goes on to the sound, and a miss or the end of a game
// also rumbles (RumbleForEffect). The engine plays nothing while the sound is
// off, so the sound button quiets the rumble too.

#include <functional>
#include <memory>
#include <string>

#include "engine/game_engine.h"
#include "gamepad/pad_mapping.h"
#include "media/game_sounds.h"

namespace pellox {

class EffectRumble final : public GameSoundPlayer {
public:
    using RumbleStarter = std::function<void(const Rumble&)>;

    explicit EffectRumble(std::unique_ptr<GameSoundPlayer> sound) : sound_(std::move(sound)) {}

    // From now until Disconnect effects rumble, judged by the engine's state
    // when they play. Whoever connects disconnects before the engine or the
    // rumble's target go.
    void Connect(const GameEngine& engine, RumbleStarter start_rumble) {
        engine_ = &engine;
        start_rumble_ = std::move(start_rumble);
    }
    void Disconnect() {
        engine_ = nullptr;
        start_rumble_ = nullptr;
    }

    void PlayEffect(Effect effect, bool wait) override;
    Result<void> LoadEffectFile(Effect effect, const std::string& path) override {
        return sound_->LoadEffectFile(effect, path);
    }
    void OpenOutput() override { sound_->OpenOutput(); }
    void CloseOutput() override { sound_->CloseOutput(); }
    void SetGamePaused(bool paused) override { sound_->SetGamePaused(paused); }

private:
    std::unique_ptr<GameSoundPlayer> sound_;
    const GameEngine* engine_ = nullptr;
    RumbleStarter start_rumble_;
};

}  // namespace pellox
