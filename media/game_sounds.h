#pragma once
// The game window's sound: the device DXSound, the effect list DXWaveList with
// the eight built-in effects, and the engine's SoundPlayer over them. The
// sound output opens when it is made or when the game window shows it
// (OutputOpens); without one the game plays silently.
//
//   auto sounds = MakeWindowGameSound();                 // at game window creation
//   sounds->LoadEffectFile(Effect::UL, "skin/ul.wav");   // a skin's "MoveUL"
//   sounds->OpenOutput();                                // the window is shown
//   sounds->PlayEffect(Effect::Basket, false);           // the engine's SoundPlayer

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <QTimer>

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
    // A file that cannot be read or played leaves the effect as it was and
    // says why (the wave reader's reason, or CheckPlayableFormat's).
    virtual Result<void> LoadEffectFile(Effect effect, const std::string& path) = 0;
    // How long an effect sounds, in seconds; nothing when unknown.
    virtual std::optional<double> EffectSeconds(Effect) { return std::nullopt; }

    // The game window's hold on the output: opened when it is shown, closed
    // when it is hidden, its mixer asleep while the game is paused (the
    // window inactive). Nothing by default.
    virtual void OpenOutput() {}
    virtual void CloseOutput() {}
    virtual void SetGamePaused(bool /*paused*/) {}
};

// When the output opens: with the sound, or when the game window shows
// (OpenOutput), so that a start screen that has made the hidden game window
// runs no mixer.
enum class OutputOpens { AtOnce, WithTheWindow };

class GameSounds final : public GameSoundPlayer {
public:
    // Nothing sounding for this long while the game runs (its demo is silent),
    // the mixer goes to sleep until the next play; while the game is paused,
    // as soon as the last sound has ended.
    static constexpr std::chrono::milliseconds kQuietBeforeSleep{5000};

    // On OpenAL Soft's default output.
    GameSounds();
    // On the given back-end. Throws EFOpenError or EWaveStreamError if a
    // built-in wave cannot be read (a broken build).
    explicit GameSounds(std::unique_ptr<SoundSystem> system, OutputOpens opens = OutputOpens::AtOnce);
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
    // Throws EDirectSoundBufferError when the output refuses a voice.
    Result<void> LoadEffectFile(Effect effect, const std::string& path) override;
    std::optional<double> EffectSeconds(Effect effect) override;

    // Opens the output unless it is open (without one the game plays
    // silently, said once); from then on its mixer sleeps while nothing
    // sounds, as kQuietBeforeSleep says, and every play wakes it first.
    void OpenOutput() override;
    void CloseOutput() override;
    void SetGamePaused(bool paused) override;
    // Says once that there is no output, when there is none.
    void TellIfSilent();

private:
    void ScheduleSleep();
    void SleepIfQuiet();

    std::unique_ptr<SoundSystem> system_;
    std::unique_ptr<TDXSound> sound_;
    std::unique_ptr<TDXWaveList> list_;
    bool told_silent_ = false;
    // Set by OpenOutput: the window keeps the mixer asleep when it can.
    bool sleeps_when_quiet_ = false;
    bool game_paused_ = false;
    // When the last sound played ends.
    std::chrono::steady_clock::time_point quiet_from_{};
    QTimer sleep_timer_;
};

// The game window's sound on the default output, opened at once.
std::unique_ptr<GameSounds> MakeGameSound();
// The same, its output opened when the game window is shown.
std::unique_ptr<GameSounds> MakeWindowGameSound();

}  // namespace pellox
