#pragma once
// The game window's sound: the device DXSound, the effect list DXWaveList with
// the eight built-in effects, and the engine's SoundPlayer over them. Making
// one opens the sound output; without one the game plays silently.
//
//   auto sounds = MakeGameSound();                       // at game window creation
//   sounds->LoadEffectFile(Effect::UL, "skin/ul.wav");   // a skin's "MoveUL"
//   sounds->PlayEffect(Effect::Basket, false);           // the engine's SoundPlayer

#include <memory>
#include <optional>
#include <string>

#include "engine/ports.h"
#include "media/core/dx_sound.h"
#include "media/core/wave_list.h"

namespace pellox {

// Sets the output's mixing format: 44100 Hz, 16-bit, stereo.
void DXSoundInitialize(TDXSound& sender);

// What the game window needs of its sound: the engine's SoundPlayer, and a
// skin's waves loaded over the built-in ones.
class GameSoundPlayer : public SoundPlayer {
public:
    // Replaces the wave of an effect with a WAV file; later plays sound it.
    // Throws the wave reader's errors (EFOpenError, EWaveStreamError, ...) or
    // EWaveFormatError, leaving the effect as it was.
    virtual void LoadEffectFile(Effect effect, const std::string& path) = 0;
    // How long an effect sounds, in seconds; nothing when unknown.
    virtual std::optional<double> EffectSeconds(Effect) { return std::nullopt; }
};

class GameSounds final : public GameSoundPlayer {
public:
    // On OpenAL Soft's default output.
    GameSounds();
    // On the given back-end. Throws the wave reader's errors if a built-in wave
    // cannot be read.
    explicit GameSounds(std::unique_ptr<SoundSystem> system);
    ~GameSounds() override;
    GameSounds(const GameSounds&) = delete;
    GameSounds& operator=(const GameSounds&) = delete;

    TDXSound& DXSound() { return *sound_; }
    TDXWaveList& DXWaveList() { return *list_; }
    // With wait, returns when the effect has ended (at once without output).
    // Throws EDirectSoundBufferError when the output refuses a voice.
    void PlayEffect(Effect effect, bool wait) override;
    SoundSystem& System() { return *system_; }

    // Replaces the wave of an effect with a WAV file; later plays sound it.
    // Throws EFOpenError, EWaveStreamError, EReadError or EDirectSoundBufferError.
    void LoadEffectFile(Effect effect, const std::string& path) override;
    std::optional<double> EffectSeconds(Effect effect) override;

private:
    std::unique_ptr<SoundSystem> system_;
    std::unique_ptr<TDXSound> sound_;
    std::unique_ptr<TDXWaveList> list_;
};

// The game window's sound on the default output.
std::unique_ptr<GameSounds> MakeGameSound();

}  // namespace pellox
