#pragma once
// The game: its state, the tick, catching, scoring, the pace, game start and
// the demo. It draws only by lighting and darkening sprites, and reads back the
// lit state of a few of them (the variant labels, the hare, the smashed egg,
// a blinking miss mark) as game state. Everything else it reaches through the
// ports handed to the constructor, which must outlive the engine.
//
// Threading: one thread. dxTimerTimer runs queued window events in the middle
// of a moving tick (EventPump), so the key handler, TimerTimer and the buttons
// may re-enter the engine there; nothing else re-enters it.

#include <cstdint>
#include <string>

#include "engine/engine_state.h"
#include "engine/lcg_random.h"
#include "engine/ports.h"
#include "lcd/core/sprite_display.h"
#include "lcd/core/sprite_tables.h"

namespace pellox {

struct EnginePorts {
    SpriteDisplay& display;
    SoundPlayer& sound;
    FrameTimerControl& frame_timer;
    SideTimerControl& side_timer;
    Clock& clock;
    AppTitle& title;
    EventPump& events;
    RecordsStore& records;
    // Read at the moment of use: the start screen and the launch may change it.
    const GameTexts& texts;
};

class GameEngine {
public:
    explicit GameEngine(const EnginePorts& ports, const SpriteTables& tables = BindSpriteTables());
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    // --- Launch ---------------------------------------------------------
    // What every launch does to the engine before a skin is applied: the wolf
    // at the lower left, sound on, both stored scores read, the demo running.
    void PrepareLaunch();
    // Reads both stored scores; anything unreadable, and a score above 9999
    // (which play never produces), is 0.
    void LoadRecords();
    void SetWolfPos(std::uint8_t position);  // the place the layout's wolf stands at
    // Sets SoundOn and shows the bell exactly when it is set.
    void SetSoundOn(bool on);
    void DemoInit();

    // --- Timers ---------------------------------------------------------
    // The frame tick. May throw RecordsWriteError when a finished game's score
    // cannot be stored: the game is over all the same and the next ticks go on;
    // show the message to the player.
    void dxTimerTimer();
    // The 250 ms side tick: hare cycle, miss marks, the game-over sound.
    void TimerTimer();

    // --- The player's keys and buttons ------------------------------------
    // A game key asks for wolf position 0..3 (the chute index). Ignored in the
    // demo; otherwise the wolf turns, and during play catches the egg waiting
    // at that chute's mouth at once.
    void PressGameKey(std::uint8_t position);
    // Game A or Game B pressed: arms that variant after a game or in the demo
    // and shows its stored score; in any other state nothing happens.
    void PressGameButton(Variant variant);
    // Either game button released: starts the armed variant.
    void ReleaseGameButton();
    // The Time button released: leaves a finished game for the demo at once.
    void ReleaseTimeButton();
    // The sound button: flips SoundOn and the bell.
    void ToggleSound();

    // --- Reading the state ----------------------------------------------
    const EngineState& State() const { return s_; }
    GameMode CurrentState() const { return s_.GameState; }
    std::uint8_t Chute(int chute) const { return s_.Chutes[static_cast<std::size_t>(chute & 3)]; }
    std::uint8_t CurChute() const { return s_.CurChute; }
    std::uint8_t WolfPos() const { return s_.WolfPos; }
    std::uint8_t Misses() const { return s_.Misses; }
    std::uint8_t Level() const { return s_.Level; }
    std::uint8_t HareCount() const { return s_.HareCount; }
    bool SoundOn() const { return s_.SoundOn; }
    std::uint16_t RecordA() const { return s_.RecordA; }
    std::uint16_t RecordB() const { return s_.RecordB; }
    std::uint16_t Score() const { return ScoreValue(s_); }
    std::int32_t Period() const { return s_.Period; }
    const std::u16string& Title() const { return title_; }

    // Puts the engine into a given state at once (tests and tools). The period
    // is handed to the frame timer; sprites are left as they are.
    void RestoreState(const EngineState& state);

private:
    void catchegg();
    void UpdateWolf(std::uint8_t position);
    void GameInit(Variant variant);
    void GameStart();
    // True when a game key may catch now: the wolf stands at the current chute
    // and an egg waits at its mouth during play.
    bool CanCatch() const;

    void UpdateChute();
    void UpdateChicks(std::uint8_t side, std::uint8_t pattern);
    void Sound(Effect effect);
    void RecalcDifficulty();
    void UpdateScore();
    void UpdateTime(const TimeOfDay& time);
    // place 1 (ones) .. 4 (thousands); value 0..9, or kBlankDigit.
    void UpdateDigit(int place, int value);

    void SetPeriod(std::int32_t period_ms);
    std::uint32_t Random(std::uint32_t n) { return NextRandom(s_.RandSeed, n); }
    void Reseed();
    void SetTitle(std::u16string title);

    void PlayingTick();
    void MovingTick();
    bool SpawnAllowed();
    void MissAnimTick();
    void EndMissSequence();
    void BonusFlashTick();
    void GameOverTick();
    void DemoTick();
    void DemoStep();
    std::uint8_t DemoWolfChoice();
    void ScrollTitleOnce();
    void RefreshClock();
    void ShowMissMarks(int count, bool lit);

    bool Lit(SpriteId id) const { return display_.IsVisible(id); }
    SpriteDisplay& display_;
    SoundPlayer& sound_;
    FrameTimerControl& frame_timer_;
    SideTimerControl& side_timer_;
    Clock& clock_;
    AppTitle& app_title_;
    EventPump& events_;
    RecordsStore& records_;
    const GameTexts& texts_;
    const SpriteTables tables_;

    EngineState s_;
    std::u16string title_;
};

}  // namespace pellox
