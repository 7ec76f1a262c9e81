// The frame tick of play and of the timed sequences, and catching.
#include <array>

#include "engine/game_engine.h"
#include "engine/level_table.h"

namespace pellox {

void GameEngine::dxTimerTimer() {
    switch (s_.GameState) {
    case GameMode::Playing: PlayingTick(); break;
    case GameMode::BonusFlash: BonusFlashTick(); break;
    case GameMode::MissAnim: MissAnimTick(); break;
    case GameMode::GameOver: GameOverTick(); break;
    case GameMode::Demo: DemoTick(); break;
    default: break;  // Armed, or a value no rule sets
    }
}

void GameEngine::PlayingTick() {
    if (!s_.StepPending) {
        MovingTick();
        return;
    }
    // Checking tick: an egg still at the mouth with the wolf elsewhere falls.
    const std::uint8_t c = s_.CurChute & 3;
    if ((s_.Chutes[c] & 1) && s_.WolfPos != c) {
        s_.GameState = GameMode::MissAnim;
        s_.MissSide = c & 1;
        const auto& floor = tables_.FloorSprites[s_.MissSide];
        display_.Show(floor[0]);
        display_.Show(floor[1]);
        // With the hare up a chick hatches and runs off: a half miss.
        s_.SeqCount = Lit(SpriteId::imHare) ? 1 : 5;
        s_.SavedPeriod = s_.Period;
        SetPeriod(kMissAnimPeriod);
        Sound(Effect::Crack);
    }
    s_.StepPending = false;
}

bool GameEngine::SpawnAllowed() {
    // Tested in this order; a random number is drawn only when its test is reached.
    const std::uint8_t c = s_.CurChute;
    if (!(Random(10) < static_cast<std::uint32_t>((s_.ScoreHundreds >> 1) + 4 + s_.ScoreThousands)))
        return false;
    if (!(LevelTableRow(s_.Level).limit > s_.EggsInPlay)) return false;
    if (!(s_.Chutes[c] < 16)) return false;
    if (!(c != s_.OffChute || Lit(SpriteId::imGameB))) return false;
    return s_.LastCatch != c || Random(100) < 4;
}

void GameEngine::MovingTick() {
    // EggsInPlay counts the eggs in the chutes; should it ever disagree with
    // four empty chutes, no spawn test could pass and the visits below would
    // never end.
    if (s_.Chutes == std::array<std::uint8_t, 4>{}) s_.EggsInPlay = 0;
    std::uint8_t c;
    do {
        c = s_.CurChute = (s_.CurChute + 1) & 3;
        s_.Chutes[c] >>= 1;
        if (SpawnAllowed()) {
            s_.Chutes[c] += 32;
            ++s_.EggsInPlay;
            s_.LastCatch = kNoChute;
        }
    } while (s_.Chutes[c] == 0);

    Sound(ChuteStepEffect(c));
    UpdateChute();
    // A key typed during the chute's sound turns the wolf (and may catch) here.
    events_.ProcessQueuedEvents();
    c = s_.CurChute & 3;
    s_.StepPending = true;
    if ((s_.Chutes[c] & 1) && s_.WolfPos == c) {
        catchegg();
        return;
    }
    if (s_.Chutes[c] == 0) s_.StepPending = false;
}

void GameEngine::catchegg() {
    const std::uint8_t c = s_.CurChute & 3;
    // Callers check for an egg at the mouth; without one there is nothing to catch.
    if ((s_.Chutes[c] & 1) == 0) return;
    s_.LastCatch = c;
    s_.Chutes[c] -= 1;
    --s_.EggsInPlay;
    ++s_.ScoreLow;
    Sound(Effect::Basket);

    bool bonus = false;
    if (s_.ScoreLow == 100) {
        s_.ScoreLow = 0;
        ++s_.ScoreHundreds;
        if (s_.ScoreHundreds == 10) {
            s_.ScoreHundreds = 0;
            ++s_.ScoreThousands;
            s_.Level = 20;
        }
        if ((s_.ScoreHundreds == 2 || s_.ScoreHundreds == 5) && s_.Misses > 0) {
            bonus = true;
            s_.GameState = GameMode::BonusFlash;
            side_timer_.SetEnabled(false);
            s_.SeqCount = 0;
            s_.SavedPeriod = s_.Period;
            // The marks lit or blinking: a half mark counts as one.
            s_.Misses = static_cast<std::uint8_t>((s_.Misses + 1) >> 1);
        }
    }
    UpdateScore();
    if (bonus) SetPeriod(kBonusFlashPeriod);
    if (LevelTableRow(s_.Level).threshold == s_.ScoreLow) ++s_.Level;
    s_.StepPending = true;
}

void GameEngine::MissAnimTick() {
    for (std::uint8_t c = 0; c < 4; ++c) {
        s_.Chutes[c] = 0;
        s_.CurChute = c;
        UpdateChute();
    }
    s_.EggsInPlay = 0;

    const auto& floor = tables_.FloorSprites[s_.MissSide & 1];
    if (s_.SeqCount >= 0 && s_.SeqCount < 6) display_.Hide(floor[static_cast<std::size_t>(s_.SeqCount)]);
    ++s_.SeqCount;
    if (s_.SeqCount >= 0 && s_.SeqCount < 6) {
        display_.Show(floor[static_cast<std::size_t>(s_.SeqCount)]);
        Sound(Effect::Chuck);
    }
    if (s_.SeqCount <= 8) return;
    EndMissSequence();
}

void GameEngine::EndMissSequence() {
    const auto& floor = tables_.FloorSprites[s_.MissSide & 1];
    ++s_.Misses;
    // The smashed egg still lying there: no chick ran off, a whole miss.
    if (Lit(floor[1])) ++s_.Misses;

    if (s_.Misses <= 5) {
        s_.GameState = GameMode::Playing;
        SetPeriod(s_.SavedPeriod);
        s_.CurChute = 3;  // the next moving tick starts with the upper-left chute
    } else {
        s_.GameState = GameMode::GameOver;
        SetPeriod(kGameOverPeriod);
        s_.SeqCount = 0;
        const std::uint16_t score = ScoreValue(s_);
        if (Lit(SpriteId::imGameA)) {
            s_.RecordA = score;
            records_.WriteRecord(Variant::A, score);
        } else {
            s_.RecordB = score;
            records_.WriteRecord(Variant::B, score);
        }
    }
    display_.Hide(floor[0]);
    display_.Hide(floor[1]);
    s_.OffChute = static_cast<std::uint8_t>(Random(4));
}

void GameEngine::ShowMissMarks(int count, bool lit) {
    for (int i = 0; i < count && i < 3; ++i)
        display_.SetVisible(tables_.MissMarkSprites[static_cast<std::size_t>(i)], lit);
}

void GameEngine::BonusFlashTick() {
    ++s_.SeqCount;
    if (s_.SeqCount == 16) {
        s_.GameState = GameMode::Playing;
        side_timer_.SetEnabled(true);
        SetPeriod(s_.SavedPeriod);
        s_.Misses = 0;
        return;
    }
    if (s_.SeqCount % 2 != 0) {
        ShowMissMarks(s_.Misses, false);
    } else {
        Sound(Effect::Crack);
        ShowMissMarks(s_.Misses, true);
    }
}

void GameEngine::GameOverTick() {
    ++s_.SeqCount;
    if (s_.SeqCount > 29) DemoInit();
}

void GameEngine::TimerTimer() {
    ++s_.HareCount;
    if (s_.HareCount >= 40) s_.HareCount = 0;
    if (s_.GameState == GameMode::BonusFlash) return;

    int n = s_.Misses;
    int i = 1;
    while (n >= 2 && i <= 3) {
        display_.Show(tables_.MissMarkSprites[static_cast<std::size_t>(i - 1)]);
        ++i;
        n -= 2;
    }
    if (i == 4 && n < 2) {
        // The game is over: announce it once.
        s_.Misses = 8;
        Sound(Effect::GO);
    } else if (i <= 3 && n == 1) {
        const SpriteId half = tables_.MissMarkSprites[static_cast<std::size_t>(i - 1)];
        display_.SetVisible(half, !Lit(half));
    }
}

}  // namespace pellox
