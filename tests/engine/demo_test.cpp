// The demo: its first steps, silent play, the clock and the scrolling title.
#include "engine/title_scroll.h"
#include <set>

#include "engine_fakes.h"

namespace pellox::testing {
namespace {

class DemoTest : public EngineTest {};

TEST_F(DemoTest, DemoInitDrawsTheFirstEggAndBlanksTheTitle) {
    Launch();
    EXPECT_EQ(engine.CurrentState(), GameMode::Demo);
    EXPECT_EQ(title.title, std::u16string(16, u' '));
    EXPECT_EQ(engine.Period(), kDemoPeriod);
    EXPECT_TRUE(Lit(SpriteId::imColon));
    EXPECT_FALSE(Lit(SpriteId::imGameA));
    EXPECT_FALSE(Lit(SpriteId::imGameB));
    int egg_chute = -1;
    for (int c = 0; c < 4; ++c)
        if (!LitPlaces(c).empty()) {
            EXPECT_EQ(egg_chute, -1);
            egg_chute = c;
            EXPECT_EQ(LitPlaces(c), std::vector<int>{1});
        }
    ASSERT_NE(egg_chute, -1);
    EXPECT_EQ(engine.CurChute(), (egg_chute + 2) & 3);
    EXPECT_EQ(engine.State().EggsInPlay, 1);
}

TEST_F(DemoTest, FirstEggMovesOnTheSecondStep) {
    for (std::uint32_t seed : {1u, 777u, 5000000u}) {
        clock.utc_ms = seed;
        Launch();
        int egg_chute = -1;
        for (int c = 0; c < 4; ++c)
            if (!LitPlaces(c).empty()) egg_chute = c;
        Tick();  // the first step visits the chute before the egg's
        EXPECT_EQ(LitPlaces(egg_chute), std::vector<int>{1});
        int ticks = 1;
        while (LitPlaces(egg_chute) == std::vector<int>{1} && ticks < 10) {
            Tick();
            ++ticks;
        }
        EXPECT_EQ(LitPlaces(egg_chute), std::vector<int>{2});
        EXPECT_EQ(engine.CurChute(), egg_chute);
        // One step a second, or three ticks after a step that left its chute empty.
        EXPECT_TRUE(ticks == 4 || ticks == 5) << ticks;
    }
}

TEST_F(DemoTest, DemoPlaysSilentlyAndKeepsNoScore) {
    Launch();
    ASSERT_TRUE(engine.SoundOn());
    std::set<int> wolf_places;
    int floor_lit = 0;
    for (int i = 0; i < 4000; ++i) {
        Tick();
        ASSERT_EQ(title.title.size(), 16u);
        ASSERT_LE(engine.State().EggsInPlay, 6);
        wolf_places.insert(engine.WolfPos());
        floor_lit += Lit(SpriteId::imErrL) || Lit(SpriteId::imErrR);
    }
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(engine.CurrentState(), GameMode::Demo);
    EXPECT_EQ(engine.Misses(), 0);
    EXPECT_EQ(engine.Score(), 0);
    EXPECT_EQ(wolf_places.size(), 4u);
    EXPECT_GT(floor_lit, 0);  // some eggs fall and their chicks run off
}

TEST_F(DemoTest, KeysDoNothingInTheDemo) {
    Launch();
    const auto before = engine.WolfPos();
    PressKey(static_cast<std::uint8_t>((before + 1) & 3));
    EXPECT_EQ(engine.WolfPos(), before);
}

// The characters the title gains, in order, over `ticks` demo ticks.
std::u16string GainedCharacters(const std::vector<std::u16string>& titles) {
    std::u16string gained;
    for (const auto& t : titles) gained.push_back(t.back());
    return gained;
}

struct RecordingTitle : AppTitle {
    std::vector<std::u16string> titles;
    void SetTitle(const std::u16string& t) override { titles.push_back(t); }
};

TEST_F(DemoTest, TitleScrollsTheCreditLineThenSeventeenSpacesInEitherLanguage) {
    for (InterfaceLanguage language : {InterfaceLanguage::English, InterfaceLanguage::Russian}) {
        RecordingTitle recording;
        texts.Language = language;
        GameEngine demo{EnginePorts{sprites, sound, frame, side, clock, recording, pump, records, texts}};
        demo.DemoInit();
        frame.SetEnabled(true);
        recording.titles.clear();
        while (recording.titles.size() < 3 * 224) demo.dxTimerTimer();
        for (const auto& t : recording.titles) ASSERT_EQ(t.size(), 16u);
        const std::u16string round = std::u16string(ScrollText(language)) + std::u16string(17, u' ');
        const std::u16string gained = GainedCharacters(recording.titles);
        EXPECT_EQ(gained.substr(0, 224), round);
        EXPECT_EQ(gained.substr(224, 224), round);
        // The title shows the last 16 characters gained.
        EXPECT_EQ(recording.titles[40], round.substr(41 - 16, 16));
        EXPECT_EQ(demo.Title(), recording.titles.back());
    }
}

TEST(TitleScrollTest, StoredFormIsReadInStepsOfSeventeen) {
    for (InterfaceLanguage language : {InterfaceLanguage::English, InterfaceLanguage::Russian}) {
        const auto text = ScrollText(language);
        ASSERT_EQ(text.size(), 207u);
        const StoredScrollText& stored = StoredScroll(language);
        for (int k = 0; k < 207; ++k) EXPECT_EQ(stored[(17 * k) % 207], text[k]);
        std::uint16_t pos = 1;
        std::u16string read;
        for (int i = 0; i < 224; ++i) read.push_back(NextTitleChar(pos, stored));
        EXPECT_EQ(read, std::u16string(text) + std::u16string(17, u' '));
        EXPECT_EQ(pos, 1);
    }
    // The credits' author, as the start screen names them.
    EXPECT_NE(ScrollText(InterfaceLanguage::English).find(u"the Pellox developers"), std::u16string_view::npos);
    EXPECT_NE(ScrollText(InterfaceLanguage::Russian).find(u"разработчики Pellox"), std::u16string_view::npos);
}

TEST_F(DemoTest, ClockShowsTwelveHourTime) {
    struct Case {
        int hour, minute;
        const char* shown;
        bool am;
    };
    const Case cases[] = {{0, 30, "1230", false}, {12, 30, "1230", true}, {9, 5, " 905", true},
                          {23, 59, "1159", false}, {13, 0, " 100", false}, {11, 59, "1159", true}};
    for (const Case& k : cases) {
        clock.local = {k.hour, k.minute, 0, 0};
        engine.DemoInit();  // the demo starts on the clock
        EXPECT_EQ(Shown(), k.shown) << k.hour << ":" << k.minute;
        EXPECT_EQ(Lit(SpriteId::imAM), k.am);
        EXPECT_EQ(Lit(SpriteId::imPM), !k.am);
    }
}

TEST_F(DemoTest, ClockIsRedrawnOnlyWhenTheMinuteOrHourChanges) {
    clock.local = {9, 5, 0, 0};
    Launch();
    EXPECT_EQ(Shown(), " 905");
    sprites.Hide(SpriteId::imD1_U);  // a mark of our own on the ones place
    clock.local.second = 40;
    Tick();
    EXPECT_FALSE(Lit(SpriteId::imD1_U));
    clock.local = {10, 5, 0, 0};
    Tick();
    EXPECT_EQ(Shown(), "1005");
    clock.local = {10, 6, 0, 0};
    Tick();
    EXPECT_EQ(Shown(), "1006");
}

}  // namespace
}  // namespace pellox::testing
