// Play: the egg's road down a chute, catching by position and by key, falls,
// the miss marks, the flash that clears them, and the end of a game.
#include "engine_fakes.h"

namespace pellox::testing {
namespace {

class PlayTest : public EngineTest {
protected:
    // Starts Game B and runs the first tick, which puts the first egg on top of
    // some chute. Returns that chute.
    int StartWithFirstEgg(Variant v = Variant::B) {
        Launch();
        StartGame(v);
        Tick();
        return engine.CurChute();
    }
    void MoveWolfAwayFrom(int chute) {
        if (engine.WolfPos() == chute) PressKey(static_cast<std::uint8_t>((chute + 1) & 3));
    }
    const std::array<SpriteId, 6>& Floor(int chute) const { return tables.FloorSprites[chute & 1]; }
};

TEST_F(PlayTest, FirstEggRollsToTheMouthInElevenTicksAndFallsOnTheTwelfth) {
    for (std::uint32_t seed : {0u, 12345678u, 86399999u, 4321u}) {
        SCOPED_TRACE(seed);
        clock.utc_ms = seed;
        const int c = StartWithFirstEgg();
        MoveWolfAwayFrom(c);
        EXPECT_EQ(LitPlaces(c), std::vector<int>{1});
        for (int tick = 2; tick <= 10; ++tick) {
            Tick();
            // Moving ticks 3, 5, 7, 9 bring it to places 2..5; the checking ticks leave it.
            EXPECT_EQ(LitPlaces(c), std::vector<int>{tick / 2 + (tick % 2)}) << "tick " << tick;
            for (int other = 0; other < 4; ++other)
                if (other != c) {
                    EXPECT_TRUE(LitPlaces(other).empty());
                }
        }
        Tick();  // 11: at the mouth, not drawn
        EXPECT_TRUE(LitPlaces(c).empty());
        EXPECT_EQ(engine.Chute(c), 1);
        EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
        // Every moving tick sounded the chute and waited for it.
        EXPECT_EQ(sound.played.back(), std::make_pair(c, true));
        EXPECT_EQ(sound.Count(c), 6);

        Tick();  // 12: the egg falls
        EXPECT_EQ(engine.CurrentState(), GameMode::MissAnim);
        EXPECT_TRUE(Lit(Floor(c)[0]));
        EXPECT_TRUE(Lit(Floor(c)[1]));
        EXPECT_EQ(sound.played.back(), std::make_pair(static_cast<int>(EffectIndex(Effect::Crack)), false));
        EXPECT_EQ(engine.Period(), kMissAnimPeriod);
        EXPECT_EQ(engine.State().SavedPeriod, 265);
        sound.played.clear();
    }
}

TEST_F(PlayTest, WolfAlreadyThereCatchesOnTheMovingTick) {
    const int c = StartWithFirstEgg();
    Tick(9);  // egg at place 5
    PressKey(static_cast<std::uint8_t>(c));
    EXPECT_EQ(engine.Score(), 0);
    Tick();  // 11
    EXPECT_EQ(engine.Score(), 1);
    EXPECT_EQ(engine.Chute(c), 0);
    ASSERT_GE(sound.played.size(), 2u);
    EXPECT_EQ(sound.played[sound.played.size() - 2], std::make_pair(c, true));
    EXPECT_EQ(sound.played.back(), std::make_pair(static_cast<int>(EffectIndex(Effect::Basket)), false));
    EXPECT_EQ(Shown(), "   1");
    EXPECT_EQ(engine.State().LastCatch, c);
    Tick();  // 12 checks an empty mouth
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_FALSE(engine.State().StepPending);
}

TEST_F(PlayTest, KeyTypedDuringTheChuteSoundCatchesAfterTheChuteIsDrawn) {
    const int c = StartWithFirstEgg();
    MoveWolfAwayFrom(c);
    Tick(9);
    bool drawn_before_key = false;
    pump.on_pump = [&] {
        if (engine.Chute(c) & 1) {
            drawn_before_key = LitPlaces(c).empty();
            PressKey(static_cast<std::uint8_t>(c));
        }
    };
    Tick();  // 11
    EXPECT_TRUE(drawn_before_key);
    EXPECT_EQ(engine.Score(), 1);
    EXPECT_EQ(engine.WolfPos(), c);
    // The catch emptied the chute, so the check is already done: the next tick moves.
    EXPECT_FALSE(engine.State().StepPending);
    pump.on_pump = nullptr;
    const int before = sound.Count(0) + sound.Count(1) + sound.Count(2) + sound.Count(3);
    Tick();
    EXPECT_EQ(sound.Count(0) + sound.Count(1) + sound.Count(2) + sound.Count(3), before + 1);
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
}

TEST_F(PlayTest, KeyBetweenTheMovingAndTheCheckingTickCatches) {
    const int c = StartWithFirstEgg();
    MoveWolfAwayFrom(c);
    Tick(10);  // 11: at the mouth
    PressKey(static_cast<std::uint8_t>(c));
    EXPECT_EQ(engine.Score(), 1);
    Tick();  // 12
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_EQ(sound.Count(Effect::Crack), 0);
}

TEST_F(PlayTest, KeyAfterTheCheckingTickIsTooLate) {
    const int c = StartWithFirstEgg();
    MoveWolfAwayFrom(c);
    Tick(11);  // 12: the fall
    ASSERT_EQ(engine.CurrentState(), GameMode::MissAnim);
    PressKey(static_cast<std::uint8_t>(c));
    EXPECT_EQ(engine.WolfPos(), c);  // the wolf still turns
    EXPECT_EQ(engine.Score(), 0);
    EXPECT_EQ(sound.Count(Effect::Basket), 0);
}

TEST_F(PlayTest, FallWithTheHareLitIsAHalfMissWithARunningChick) {
    const int c = StartWithFirstEgg();
    MoveWolfAwayFrom(c);
    for (int i = 0; i < 20; ++i) engine.TimerTimer();
    Tick(10);  // the chute steps light the hare
    ASSERT_TRUE(Lit(SpriteId::imHare));
    Tick();  // the fall
    ASSERT_EQ(engine.State().SeqCount, 1);
    const auto& floor = Floor(c);
    for (int t = 1; t <= 4; ++t) {
        Tick();
        EXPECT_FALSE(Lit(floor[1]));
        EXPECT_TRUE(Lit(floor[0]));
        for (int slot = 2; slot <= 5; ++slot)
            EXPECT_EQ(Lit(floor[static_cast<std::size_t>(slot)]), slot == t + 1) << "tick " << t;
        for (int chute = 0; chute < 4; ++chute) EXPECT_EQ(engine.Chute(chute), 0);
    }
    EXPECT_EQ(sound.Count(Effect::Chuck), 4);
    Tick(3);  // the chick has gone; the shell still lies there
    for (int slot = 1; slot <= 5; ++slot) EXPECT_FALSE(Lit(floor[static_cast<std::size_t>(slot)]));
    EXPECT_TRUE(Lit(floor[0]));
    EXPECT_EQ(engine.CurrentState(), GameMode::MissAnim);
    Tick();  // the eighth ends it
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_EQ(engine.Misses(), 1);
    EXPECT_FALSE(Lit(floor[0]));
    EXPECT_EQ(engine.Period(), 265);
    EXPECT_EQ(engine.CurChute(), 3);
    EXPECT_EQ(sound.Count(Effect::Chuck), 4);
}

TEST_F(PlayTest, FallWithoutTheHareIsAWholeMiss) {
    const int c = StartWithFirstEgg();
    MoveWolfAwayFrom(c);
    Tick(11);
    ASSERT_FALSE(Lit(SpriteId::imHare));
    ASSERT_EQ(engine.State().SeqCount, 5);
    Tick(3);
    EXPECT_TRUE(Lit(Floor(c)[1]));
    EXPECT_EQ(engine.CurrentState(), GameMode::MissAnim);
    Tick();
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_EQ(engine.Misses(), 2);
    EXPECT_FALSE(Lit(Floor(c)[0]));
    EXPECT_FALSE(Lit(Floor(c)[1]));
    EXPECT_EQ(sound.Count(Effect::Chuck), 0);
}

TEST_F(PlayTest, MissMarksShowWholeMissesAndBlinkAHalfOne) {
    struct Case {
        std::uint8_t misses;
        int whole;
        int blinking;  // mark index, or -1
    };
    const Case cases[] = {{1, 0, 0}, {2, 1, -1}, {3, 1, 1}, {4, 2, -1}, {5, 2, 2}};
    const auto& marks = tables.MissMarkSprites;
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.misses));
        for (SpriteId m : marks) sprites.Hide(m);
        engine.RestoreState(With([&](EngineState& s) {
            s.GameState = GameMode::Playing;
            s.Misses = k.misses;
        }));
        engine.TimerTimer();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Lit(marks[static_cast<std::size_t>(i)]), i < k.whole || i == k.blinking);
        engine.TimerTimer();
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Lit(marks[static_cast<std::size_t>(i)]), i < k.whole);
        engine.TimerTimer();
        if (k.blinking >= 0) {
            EXPECT_TRUE(Lit(marks[static_cast<std::size_t>(k.blinking)]));
        }
        EXPECT_EQ(engine.Misses(), k.misses);
    }
    EXPECT_EQ(sound.Count(Effect::GO), 0);
}

TEST_F(PlayTest, GameOverSoundIsGivenOnce) {
    engine.SetSoundOn(true);
    for (std::uint8_t misses : {6, 7}) {
        sound.played.clear();
        engine.RestoreState(With([&](EngineState& s) {
            s.GameState = GameMode::GameOver;
            s.Misses = misses;
        }));
        for (int i = 0; i < 6; ++i) engine.TimerTimer();
        EXPECT_EQ(sound.Count(Effect::GO), 1);
        EXPECT_EQ(engine.Misses(), 8);
        for (SpriteId m : tables.MissMarkSprites) EXPECT_TRUE(Lit(m));
    }
}

struct BonusCase {
    std::uint8_t thousands, hundreds;  // before the catch, which completes the hundred
    std::uint8_t misses;
    bool flashes;
    int marks;
};

class BonusTest : public EngineTest, public ::testing::WithParamInterface<BonusCase> {};

TEST_P(BonusTest, CompletingTwoOrFiveHundredWithMissesFlashesThemAway) {
    const BonusCase k = GetParam();
    engine.SetSoundOn(true);
    engine.RestoreState(With([&](EngineState& s) {
        s.GameState = GameMode::Playing;
        s.ScoreThousands = k.thousands;
        s.ScoreHundreds = k.hundreds;
        s.ScoreLow = 99;
        s.Level = 16;
        s.Misses = k.misses;
        s.CurChute = 1;
        s.WolfPos = 1;
        s.Chutes = {0, 1, 8, 0};
        s.EggsInPlay = 2;
        s.Period = 193;
    }));
    side.enabled = true;
    PressKey(1);
    if (!k.flashes) {
        EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
        EXPECT_EQ(engine.Misses(), k.misses);
        EXPECT_NE(engine.Period(), kBonusFlashPeriod);
        EXPECT_TRUE(side.enabled);
        return;
    }
    EXPECT_EQ(engine.CurrentState(), GameMode::BonusFlash);
    EXPECT_FALSE(side.enabled);
    EXPECT_EQ(engine.Period(), kBonusFlashPeriod);
    EXPECT_EQ(engine.State().SavedPeriod, 193);
    EXPECT_EQ(engine.Misses(), k.marks);
    const auto& marks = tables.MissMarkSprites;
    for (int t = 1; t <= 15; ++t) {
        Tick();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Lit(marks[static_cast<std::size_t>(i)]), t % 2 == 0 && i < k.marks) << "tick " << t;
    }
    EXPECT_EQ(sound.Count(Effect::Crack), 7);
    Tick();
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_EQ(engine.Misses(), 0);
    EXPECT_EQ(engine.Period(), 193);
    EXPECT_TRUE(side.enabled);
    EXPECT_EQ(engine.Chute(2), 8);  // the eggs stay where they were
    for (SpriteId m : marks) EXPECT_FALSE(Lit(m));
}

INSTANTIATE_TEST_SUITE_P(Scores, BonusTest,
                         ::testing::Values(BonusCase{0, 1, 1, true, 1},   // 200, one half miss
                                           BonusCase{0, 4, 5, true, 3},   // 500, blinking third counts
                                           BonusCase{0, 4, 4, true, 2},   // 500, two whole
                                           BonusCase{1, 1, 2, true, 1},   // 1200
                                           BonusCase{2, 4, 3, true, 2},   // 2500
                                           BonusCase{0, 1, 0, false, 0},  // 200 without misses
                                           BonusCase{0, 2, 3, false, 0},  // 300
                                           BonusCase{0, 9, 2, false, 0}));  // 1000

class GameOverTest : public PlayTest {
protected:
    // A game of `variant` with two whole misses and `score` points; the next tick drops an egg.
    void ArmLastMiss(Variant variant, std::uint8_t score) {
        Launch();
        StartGame(variant);
        engine.RestoreState(With([&](EngineState& s) {
            s.Misses = 4;
            s.ScoreLow = static_cast<std::uint8_t>(score - 1);
            s.CurChute = 2;
            s.Chutes = {0, 0, 1, 0};
            s.EggsInPlay = 1;
        }));
        PressKey(2);  // the catch that brings the score to `score` and shows it
        engine.RestoreState(With([&](EngineState& s) {
            s.CurChute = 0;
            s.WolfPos = 2;
            s.Chutes = {1, 0, 0, 0};
            s.EggsInPlay = 1;
            s.StepPending = true;
        }));
        sprites.Hide(SpriteId::imHare);
    }
};

TEST_F(GameOverTest, EndStoresTheScoreOfTheLitVariantOnly) {
    for (Variant v : {Variant::A, Variant::B}) {
        records.writes.clear();
        records.stored = {{Variant::A, 500}, {Variant::B, 700}};
        ArmLastMiss(v, 37);
        Tick(5);
        EXPECT_EQ(engine.CurrentState(), GameMode::GameOver);
        ASSERT_EQ(records.writes.size(), 1u);
        EXPECT_EQ(records.writes[0], std::make_pair(v, std::uint16_t{37}));
        // The lower score replaces the higher one; the other variant keeps its record.
        EXPECT_EQ(engine.RecordA(), v == Variant::A ? 37 : 500);
        EXPECT_EQ(engine.RecordB(), v == Variant::B ? 37 : 700);
        EXPECT_EQ(engine.Period(), kGameOverPeriod);
        EXPECT_FALSE(Lit(tables.FloorSprites[0][0]));
    }
}

TEST_F(GameOverTest, EndSoundsOnceThenTheDemoReturnsAfterThirtyTicks) {
    ArmLastMiss(Variant::A, 12);
    Tick(5);
    ASSERT_EQ(engine.CurrentState(), GameMode::GameOver);
    for (int i = 0; i < 8; ++i) engine.TimerTimer();
    EXPECT_EQ(sound.Count(Effect::GO), 1);
    for (SpriteId m : tables.MissMarkSprites) EXPECT_TRUE(Lit(m));
    Tick(29);
    EXPECT_EQ(engine.CurrentState(), GameMode::GameOver);
    EXPECT_EQ(Shown(), "  12");
    Tick();
    EXPECT_EQ(engine.CurrentState(), GameMode::Demo);
    EXPECT_EQ(engine.Period(), kDemoPeriod);
}

TEST_F(GameOverTest, FailedWriteIsReportedAndTheGameStillEnds) {
    ArmLastMiss(Variant::B, 40);
    records.fail_with = "Failed to set data for 'B'";
    Tick(4);
    try {
        Tick();
        FAIL() << "the failed write was not reported";
    } catch (const RecordsWriteError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'B'");
    }
    EXPECT_EQ(engine.CurrentState(), GameMode::GameOver);
    EXPECT_EQ(engine.RecordB(), 40);
    // The rest of that tick did not run: the shell still lies there.
    EXPECT_TRUE(Lit(tables.FloorSprites[0][0]));
    Tick(30);
    EXPECT_EQ(engine.CurrentState(), GameMode::Demo);
}

TEST_F(PlayTest, GameANeverPutsAnEggOnItsClosedChute) {
    Launch();
    StartGame(Variant::A);
    ASSERT_TRUE(Lit(SpriteId::imGameA));
    const int off = engine.State().OffChute;
    // A perfect player: the game runs long enough to visit every chute many times.
    pump.on_pump = [&] { PressKey(engine.CurChute()); };
    for (int i = 0; i < 3000; ++i) {
        Tick();
        ASSERT_EQ(engine.Chute(off), 0) << "tick " << i;
    }
    EXPECT_GT(engine.Score(), 100);
    EXPECT_EQ(engine.Misses(), 0);
}

TEST_F(PlayTest, SoundOffSilencesEverything) {
    Launch();
    engine.ToggleSound();
    EXPECT_FALSE(engine.SoundOn());
    EXPECT_FALSE(Lit(SpriteId::imBell));
    StartGame(Variant::B);
    Tick(40);
    EXPECT_TRUE(sound.played.empty());
    engine.ToggleSound();
    EXPECT_TRUE(Lit(SpriteId::imBell));
}

}  // namespace
}  // namespace pellox::testing
