// The game window's sound: its output opened with the window, its mixer asleep
// while the game is paused and woken by the next play.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "media/game_sounds.h"
#include "tests/media/fake_sound.h"

namespace pellox {
namespace {

class WindowSoundTest : public ::testing::Test {
protected:
    testing::FakeSoundSystem* system = nullptr;
    std::unique_ptr<GameSounds> sounds;

    void SetUp() override {
        auto fake = std::make_unique<testing::FakeSoundSystem>();
        system = fake.get();
        sounds = std::make_unique<GameSounds>(std::move(fake), OutputOpens::WithTheWindow);
    }
    testing::FakeWorld& world() { return system->world; }

    // Runs the event loop until the output is paused, for at most a second.
    bool PausedSoon() {
        QElapsedTimer waited;
        waited.start();
        while (!world().paused && waited.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return world().paused;
    }
};

TEST_F(WindowSoundTest, TheOutputOpensWithTheWindowAndClosesWithIt) {
    EXPECT_EQ(world().open_attempts, 0);
    sounds->OpenOutput();
    sounds->OpenOutput();  // shown again: the same output
    EXPECT_EQ(world().outputs_opened, 1);
    EXPECT_TRUE(sounds->DXWaveList().Items(0).Attached());
    sounds->CloseOutput();
    EXPECT_EQ(world().outputs_closed, 1);
    EXPECT_FALSE(sounds->DXSound().Initialized());
    sounds->PlayEffect(Effect::Basket, false);  // hidden: silent, no error
    sounds->OpenOutput();
    EXPECT_EQ(world().outputs_opened, 2);
}

TEST_F(WindowSoundTest, APausedGameSleepsTheMixerAndEveryPlayWakesItFirst) {
    sounds->OpenOutput();
    EXPECT_FALSE(world().paused);  // a running game keeps the mixer ready
    sounds->SetGamePaused(true);
    ASSERT_TRUE(PausedSoon());

    // The game-over sound of a game paused in its last moment still sounds,
    // and a waited chute step ends instead of waiting on a stopped mixer.
    sounds->PlayEffect(Effect::GO, false);
    sounds->PlayEffect(Effect::UL, true);
    EXPECT_EQ(world().plays_while_paused, 0);
    EXPECT_TRUE(PausedSoon()) << "asleep again once the sounds have ended";

    sounds->SetGamePaused(false);
    EXPECT_FALSE(world().paused);  // ready before the next tick's sound
}

TEST_F(WindowSoundTest, WithoutAnOutputTheWindowPlaysSilently) {
    world().has_device = false;
    sounds->OpenOutput();
    sounds->SetGamePaused(true);
    sounds->PlayEffect(Effect::UL, true);
    EXPECT_FALSE(sounds->DXSound().Initialized());
    EXPECT_EQ(world().plays_while_paused, 0);
}

}  // namespace
}  // namespace pellox
