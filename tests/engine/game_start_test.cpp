// Arming and starting a game, the score on the digits, the levels and the pace.
#include "engine/digits.h"
#include "engine/level_table.h"
#include "engine/pace.h"
#include "engine_fakes.h"

namespace pellox::testing {
namespace {

class StartTest : public EngineTest {};

TEST_F(StartTest, ArmingShowsTheStoredScoreAndDarkensWolfAndClock) {
    records.stored = {{Variant::A, 37}, {Variant::B, 1234}};
    Launch();
    ASSERT_TRUE(Lit(SpriteId::imColon));
    engine.PressGameButton(Variant::B);
    EXPECT_EQ(engine.CurrentState(), GameMode::Armed);
    EXPECT_EQ(Shown(), "1234");
    EXPECT_TRUE(Lit(SpriteId::imGameB));
    EXPECT_FALSE(Lit(SpriteId::imGameA));
    for (SpriteId id : {SpriteId::imColon, SpriteId::imAM, SpriteId::imPM, SpriteId::imHare, SpriteId::imWolf0,
                        SpriteId::imWolf1, SpriteId::imBask0, SpriteId::imBask1, SpriteId::imBask2,
                        SpriteId::imBask3})
        EXPECT_FALSE(Lit(id)) << NameOf(id);
    EXPECT_FALSE(frame.enabled);
    EXPECT_FALSE(side.enabled);
    EXPECT_EQ(title.title, u"Кестров");
    EXPECT_EQ(engine.Level(), 1);
    EXPECT_EQ(engine.Period(), PlayingPeriod(1, 2, 34));

    engine.ReleaseGameButton();
    EXPECT_EQ(engine.CurrentState(), GameMode::Playing);
    EXPECT_EQ(Shown(), "   0");
    EXPECT_EQ(engine.Period(), 265);
    EXPECT_EQ(frame.interval, 265);
    EXPECT_TRUE(frame.enabled);
    EXPECT_TRUE(side.enabled);
    EXPECT_EQ(engine.WolfPos(), 2);
    for (SpriteId id : {SpriteId::imWolf1, SpriteId::imBask0, SpriteId::imBask1, SpriteId::imBask3})
        EXPECT_FALSE(Lit(id)) << NameOf(id);
    EXPECT_TRUE(Lit(SpriteId::imWolf0));
    EXPECT_TRUE(Lit(SpriteId::imBask2));
    EXPECT_FALSE(engine.State().StepPending);
}

TEST_F(StartTest, ArmingAnotherVariantShowsItsOwnRecordInTheInterfaceLanguage) {
    records.stored = {{Variant::A, 37}};
    texts.Language = InterfaceLanguage::English;
    Launch();
    engine.PressGameButton(Variant::A);
    EXPECT_EQ(Shown(), "  37");
    EXPECT_TRUE(Lit(SpriteId::imGameA));
    EXPECT_EQ(title.title, u"Kestrow");
    engine.DemoInit();
    engine.PressGameButton(Variant::B);
    EXPECT_EQ(Shown(), "   0");
}

TEST_F(StartTest, StoredScoreAboveWhatPlayCanReachReadsZero) {
    records.stored = {{Variant::A, 10000}, {Variant::B, 9999}};
    Launch();
    EXPECT_EQ(engine.RecordA(), 0);
    EXPECT_EQ(engine.RecordB(), 9999);
    engine.PressGameButton(Variant::B);
    EXPECT_EQ(Shown(), "9999");
}

TEST_F(StartTest, ScoreDigits) {
    struct Case {
        std::uint8_t t, h, l;
        const char* shown;
    };
    const Case cases[] = {{0, 0, 0, "   0"}, {0, 0, 40, "  40"},  {0, 1, 0, " 100"},   {1, 0, 5, "1005"},
                          {0, 0, 7, "   7"}, {9, 9, 99, "9999"}, {10, 0, 0, " 000"},  {10, 9, 99, " 999"},
                          {11, 2, 34, " 234"}, {255, 0, 1, " 001"}};
    for (const Case& k : cases) {
        std::string shown;
        const DigitValues digits = ScoreDigits(k.t, k.h, k.l);
        for (int place = 3; place >= 0; --place) {
            const int d = digits[static_cast<std::size_t>(place)];
            shown += d == kBlankDigit ? ' ' : static_cast<char>('0' + d);
        }
        EXPECT_EQ(shown, k.shown) << int{k.t} << " " << int{k.h} << " " << int{k.l};
    }
}

TEST_F(StartTest, CatchThatMakesAThousandGoesToLevelTwentyOne) {
    Launch();
    StartGame(Variant::B);
    engine.RestoreState(With([](EngineState& s) {
        s.ScoreHundreds = 9;
        s.ScoreLow = 99;
        s.Level = 41;
        s.CurChute = 0;
        s.WolfPos = 0;
        s.Chutes[0] = 1;
        s.EggsInPlay = 1;
        s.Period = PlayingPeriod(0, 9, 99);
    }));
    EXPECT_EQ(engine.Period(), 90);
    PressKey(0);
    EXPECT_EQ(engine.Score(), 1000);
    EXPECT_EQ(Shown(), "1000");
    EXPECT_EQ(engine.Level(), 21);
    EXPECT_EQ(LevelTableRow(engine.Level()).limit, 4);
    EXPECT_EQ(engine.Period(), 175);
    EXPECT_EQ(frame.interval, 175);
}

// The egg limit in force after each catch, from 0 to 2999 points.
TEST_F(StartTest, LevelScheduleFollowsTheScore) {
    // (first score of the range, limit) for 0..999.
    const std::vector<std::pair<int, int>> first_thousand = {
        {0, 1},   {5, 2},   {10, 3},  {50, 4},  {90, 5},  {100, 3}, {140, 4}, {180, 5}, {200, 3},
        {230, 4}, {270, 5}, {290, 6}, {300, 3}, {320, 4}, {360, 5}, {380, 6}, {400, 3}, {410, 4},
        {450, 5}, {470, 6}, {500, 4}, {540, 5}, {560, 6}, {590, 7}, {600, 4}, {630, 5}, {650, 6},
        {680, 7}, {700, 4}, {720, 5}, {740, 6}, {770, 7}, {800, 4}, {810, 5}, {830, 6}, {860, 7},
        {890, 8}, {900, 5}, {920, 6}, {950, 7}, {980, 8}};
    auto limit_in_first_thousand = [&](int score) {
        int limit = 0;
        for (auto [from, l] : first_thousand)
            if (score >= from) limit = l;
        return limit;
    };
    auto expected_limit = [&](int score) {
        if (score < 1000) return limit_in_first_thousand(score);
        const int within = score % 1000;
        return within < 500 ? limit_in_first_thousand(within + 500) : 9;
    };

    Launch();
    engine.SetSoundOn(false);
    StartGame(Variant::B);
    EXPECT_EQ(LevelTableRow(engine.Level()).limit, 1);
    for (int score = 1; score < 3000; ++score) {
        engine.RestoreState(With([](EngineState& s) {
            s.CurChute = 1;
            s.Chutes[1] = 1;
            s.EggsInPlay = 1;
        }));
        PressKey(1);
        ASSERT_EQ(engine.Score(), score);
        ASSERT_EQ(LevelTableRow(engine.Level()).limit, expected_limit(score)) << "score " << score;
    }
}

TEST(PaceTest, PeriodFollowsTheScoreWithinEachThousand) {
    // Columns: (T=0,L=0) (T=0,L=50) (T=0,L=99) (T=1,L=0) (T=1,L=99) (T=2,L=0) (T=2,L=99); rows H=0..9.
    const int table[10][7] = {
        {265, 235, 206, 175, 145, 85, 65}, {247, 219, 193, 166, 139, 79, 61},
        {229, 204, 180, 157, 132, 73, 57}, {211, 189, 167, 148, 126, 67, 52},
        {193, 173, 154, 139, 120, 61, 48}, {175, 158, 141, 130, 113, 55, 44},
        {157, 143, 129, 121, 107, 49, 40}, {139, 127, 116, 112, 100, 43, 35},
        {121, 112, 103, 103, 94, 37, 31},  {103, 96, 90, 94, 88, 31, 27},
    };
    const std::pair<int, int> columns[7] = {{0, 0}, {0, 50}, {0, 99}, {1, 0}, {1, 99}, {2, 0}, {2, 99}};
    for (int h = 0; h < 10; ++h)
        for (int col = 0; col < 7; ++col) {
            auto [t, l] = columns[col];
            EXPECT_EQ(PlayingPeriod(static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(h),
                                    static_cast<std::uint8_t>(l)),
                      table[h][col])
                << "T=" << t << " H=" << h << " L=" << l;
        }
}

TEST(PaceTest, FromThreeThousandOnThePaceOf2999Holds) {
    EXPECT_EQ(PlayingPeriod(2, 9, 99), 27);
    for (int t : {3, 4, 9, 10, 255})
        for (int h : {0, 5, 9})
            for (int l : {0, 99})
                EXPECT_EQ(PlayingPeriod(static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(h),
                                        static_cast<std::uint8_t>(l)),
                          27);
}

}  // namespace
}  // namespace pellox::testing
