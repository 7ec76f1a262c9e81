// A hundred hours of the game on a fake clock, in seconds of real time: the
// demo alone, and a bot playing game after game. Every counter stays within
// what the rules let it reach, and the engine's memory does not grow.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>

#include "engine/game_engine.h"
#include "engine/level_table.h"
#include "fake_ports.h"
#include "lcd/core/sprite_model.h"

namespace pellox::testing {
namespace {

constexpr std::int64_t kHundredHours_ms = 100LL * 3600 * 1000;
constexpr std::int64_t kSideTick_ms = 250;

// Counts only: a recording fake would grow over millions of plays.
struct CountingSound : SoundPlayer {
    std::int64_t played = 0;
    void PlayEffect(Effect, bool) override { ++played; }
};

// Keeps the last score of each variant and counts the writes.
struct CountingRecords : RecordsStore {
    std::uint16_t stored[2] = {0, 0};
    std::int64_t writes = 0;
    std::uint16_t ReadRecord(Variant v) override { return stored[v == Variant::B]; }
    void WriteRecord(Variant v, std::uint16_t score) override {
        stored[v == Variant::B] = score;
        ++writes;
    }
};

// A player who turns to the chute that just moved, but now and then looks
// away, so that games end and new ones start.
struct Bot : EventPump {
    GameEngine* engine = nullptr;
    std::uint32_t dice = 12345;
    void ProcessQueuedEvents() override {
        if (!engine) return;
        dice = dice * 1103515245u + 12345u;
        if ((dice >> 16) % 100 < 97) engine->PressGameKey(engine->CurChute());
    }
};

struct Rig {
    SpriteModel sprites;
    CountingSound sound;
    FakeFrameTimer frame;
    FakeSideTimer side;
    FakeClock clock;
    FakeTitle title;
    Bot bot;
    CountingRecords records;
    GameTexts texts{InterfaceLanguage::Russian, u"Кестров", u"Kestrow"};
    GameEngine engine{EnginePorts{sprites, sound, frame, side, clock, title, bot, records, texts}};
    std::int64_t now_ms = 0;
    std::int64_t next_side_ms = kSideTick_ms;

    Rig() {
        engine.PrepareLaunch();
        frame.SetEnabled(true);
    }

    void AdvanceClock(std::int64_t ms) {
        now_ms += ms;
        const std::int64_t of_day = now_ms % (24LL * 3600 * 1000);
        clock.local = {static_cast<int>(of_day / 3600000), static_cast<int>(of_day / 60000 % 60),
                       static_cast<int>(of_day / 1000 % 60), static_cast<int>(of_day % 1000)};
        clock.utc_ms = static_cast<std::uint32_t>(of_day);
        for (; next_side_ms <= now_ms; next_side_ms += kSideTick_ms)
            if (side.enabled) engine.TimerTimer();
    }

    // One frame tick as the frame timer gives it: after its interval, and only while enabled.
    void Tick() {
        AdvanceClock(frame.enabled ? std::max(frame.interval, 1) : kSideTick_ms);
        if (frame.enabled) engine.dxTimerTimer();
    }
};

// What the rules let each variable reach.
void ExpectWithinRange(const Rig& rig) {
    const EngineState& s = rig.engine.State();
    ASSERT_LE(static_cast<int>(s.GameState), static_cast<int>(GameMode::Demo));
    for (std::uint8_t c : s.Chutes) ASSERT_LT(c, 64);
    ASSERT_LT(s.CurChute, 4);
    ASSERT_LT(s.WolfPos, 4);
    ASSERT_LE(s.EggsInPlay, 9);
    ASSERT_LE(s.Misses, 8);
    ASSERT_LT(s.ScoreLow, 100);
    ASSERT_LT(s.ScoreHundreds, 10);
    ASSERT_LE(s.HareCount, 40);
    ASSERT_GE(s.Period, 1);
    ASSERT_LE(s.Period, kGameOverPeriod);
    ASSERT_LE(s.ShownHour, 23);
    ASSERT_LE(s.ShownMinute, 59);
    // The demo scrolls a title of exactly 16 characters; a game shows its name.
    if (s.GameState == GameMode::Demo) {
        ASSERT_EQ(rig.engine.Title().size(), 16u);
    }
}

#ifdef __EMSCRIPTEN__
// Emscripten's malloc has only the older mallinfo, whose int fields suffice
// for a heap of a few megabytes.
std::size_t HeapInUse() { return static_cast<std::size_t>(mallinfo().uordblks); }
#else
std::size_t HeapInUse() { return mallinfo2().uordblks; }
#endif

TEST(LongRun, AHundredHoursOfDemoKeepEveryCounterInRangeAndTheHeapFlat) {
    Rig rig;
    for (int i = 0; i < 1000; ++i) rig.Tick();  // past the first allocations
    const std::size_t heap_before = HeapInUse();
    while (rig.now_ms < kHundredHours_ms) {
        rig.Tick();
        ASSERT_EQ(rig.engine.CurrentState(), GameMode::Demo);
        if (rig.now_ms % 600000 < 250) ExpectWithinRange(rig);
    }
    EXPECT_LT(HeapInUse(), heap_before + 64 * 1024);
    EXPECT_EQ(rig.sound.played, 0);  // the demo is silent
}

TEST(LongRun, AHundredHoursOfBotPlayedGamesKeepEveryCounterInRangeAndTheHeapFlat) {
    Rig rig;
    rig.bot.engine = &rig.engine;
    for (int i = 0; i < 1000; ++i) rig.Tick();
    const std::size_t heap_before = HeapInUse();
    int games = 0;
    int best = 0;
    std::int64_t ticks = 0;
    while (rig.now_ms < kHundredHours_ms) {
        const GameMode mode = rig.engine.CurrentState();
        if (mode == GameMode::Demo || mode == GameMode::GameOver) {
            // The player presses Game B and lets go, as soon as the game allows.
            rig.engine.PressGameButton(games % 2 ? Variant::A : Variant::B);
            rig.engine.ReleaseGameButton();
            ++games;
        }
        rig.Tick();
        best = std::max<int>(best, rig.engine.Score());
        if (++ticks % 4096 == 0) ExpectWithinRange(rig);
    }
    EXPECT_LT(HeapInUse(), heap_before + 64 * 1024);
    EXPECT_GT(games, 100);  // games did end and start again
    EXPECT_GT(best, 100);   // and the bot scored in them
    RecordProperty("games", games);
    RecordProperty("best_score", best);
    RecordProperty("ticks", static_cast<int>(ticks));
    // Every finished game stored its score.
    EXPECT_GE(rig.records.writes, games - 1);
}

}  // namespace
}  // namespace pellox::testing
