#pragma once
// The game window's sound: the device DXSound, the effect list DXWaveList with
// the eight built-in effects, and the engine's SoundPlayer over them. Making
// one opens the sound output; without one the game plays silently.
//
//   auto sounds = MakeGameSound();             // at game window creation
//   sounds->LoadEffectFile(0, "skin/ul.wav");  // a skin's "MoveUL"
//   sounds->PlayEffect(4, false);              // the engine's SoundPlayer

#include <memory>
#include <string>

#include "engine/ports.h"
#include "media/dx_sound.h"
#include "media/sound_port.h"
#include "media/wave_list.h"

namespace pellox {

// Sets the output's mixing format: 44100 Hz, 16-bit, stereo.
void DXSoundInitialize(TDXSound& sender);

class GameSounds final : public SoundPlayer {
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
    SoundPlayer& Player() { return *this; }
    // Effect 0..7; with wait, returns when the effect has ended (at once without output).
    void PlayEffect(int index, bool wait) override { port_->PlayEffect(index, wait); }
    SoundSystem& System() { return *system_; }

    // Replaces the wave of effect 0..7 with a WAV file; later plays sound it.
    // Throws EFOpenError, EWaveStreamError, EReadError or EDirectSoundBufferError.
    void LoadEffectFile(int index, const std::string& path);

private:
    std::unique_ptr<SoundSystem> system_;
    std::unique_ptr<TDXSound> sound_;
    std::unique_ptr<TDXWaveList> list_;
    std::unique_ptr<SoundPort> port_;
};

// The game window's sound on the default output.
std::unique_ptr<GameSounds> MakeGameSound();

}  // namespace pellox
