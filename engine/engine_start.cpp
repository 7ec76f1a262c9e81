// Arming and starting a game, the demo, and the pace of play.
#include "engine/game_engine.h"
#include "engine/pace.h"
#include "engine/title_scroll.h"

namespace pellox {

void GameEngine::GameInit(Variant variant) {
    frame_timer_.SetEnabled(false);
    side_timer_.SetEnabled(false);
    display_.Hide(SpriteId::imColon);
    display_.Hide(SpriteId::imAM);
    display_.Hide(SpriteId::imPM);

    s_.LastCatch = kNoChute;
    s_.Level = 1;
    s_.HareCount = 0;
    display_.Hide(SpriteId::imHare);
    s_.GameState = GameMode::Armed;

    // The variant lives in these two labels; the rules read them back.
    if (variant == Variant::A) {
        display_.Hide(SpriteId::imGameB);
        display_.Show(SpriteId::imGameA);
    } else {
        display_.Hide(SpriteId::imGameA);
        display_.Show(SpriteId::imGameB);
    }

    for (SpriteId basket : tables_.BasketSprites) display_.Hide(basket);
    for (SpriteId wolf : tables_.WolfSprites) display_.Hide(wolf);
    // With every wolf sprite dark, the start's move to 2 lights pose and basket.
    s_.WolfPos = 3;

    for (std::size_t i = 0; i < 6; ++i) {
        display_.Hide(tables_.FloorSprites[0][i]);
        display_.Hide(tables_.FloorSprites[1][i]);
    }
    for (std::uint8_t c = 0; c < 4; ++c) {
        s_.Chutes[c] = 0;
        s_.CurChute = c;
        UpdateChute();  // the hare stays as it is: the frame timer is stopped
    }
    s_.CurChute = static_cast<std::uint8_t>(Random(4));  // drawn before the reseed

    s_.EggsInPlay = 0;
    s_.Misses = 0;
    for (SpriteId mark : tables_.MissMarkSprites) display_.Hide(mark);
    s_.StepPending = false;

    SetTitle(texts_.Language == InterfaceLanguage::Russian ? texts_.TitleSU : texts_.TitleGB);

    Reseed();
    s_.OffChute = static_cast<std::uint8_t>(Random(4));

    const std::uint16_t stored = variant == Variant::A ? s_.RecordA : s_.RecordB;
    s_.ScoreLow = static_cast<std::uint8_t>(stored % 100);
    const auto hundreds = static_cast<std::uint8_t>(stored / 100);
    s_.ScoreThousands = hundreds / 10;
    s_.ScoreHundreds = hundreds % 10;
    UpdateScore();
}

void GameEngine::GameStart() {
    s_.ScoreThousands = 0;
    s_.ScoreHundreds = 0;
    s_.ScoreLow = 0;
    UpdateScore();
    UpdateWolf(2);
    frame_timer_.SetEnabled(true);
    side_timer_.SetEnabled(true);
    s_.GameState = GameMode::Playing;
}

void GameEngine::DemoInit() {
    s_.LastCatch = kNoChute;
    s_.HareCount = 0;
    display_.Hide(SpriteId::imHare);
    s_.GameState = GameMode::Demo;

    for (std::uint8_t c = 0; c < 4; ++c) {
        s_.Chutes[c] = 0;
        s_.CurChute = c;
        UpdateChute();
    }
    Reseed();
    s_.CurChute = static_cast<std::uint8_t>(Random(4));
    s_.Chutes[s_.CurChute] = 32;
    UpdateChute();
    // The egg's chute is visited by the second demo step.
    s_.CurChute = (s_.CurChute + 2) & 3;

    s_.EggsInPlay = 1;
    s_.ChickBitsL = 0;
    s_.ChickBitsR = 0;
    s_.Misses = 0;
    for (SpriteId mark : tables_.MissMarkSprites) display_.Hide(mark);
    display_.Hide(SpriteId::imGameA);
    display_.Hide(SpriteId::imGameB);

    s_.CaptionPos = 1;
    s_.DemoPhase = 0;
    SetTitle(BlankTitle());
    SetPeriod(kDemoPeriod);
    display_.Show(SpriteId::imColon);
    UpdateTime(clock_.LocalTimeOfDay());
}

void GameEngine::RecalcDifficulty() {
    SetPeriod(PlayingPeriod(s_.ScoreThousands, s_.ScoreHundreds, s_.ScoreLow));
}

void GameEngine::ScrollTitleOnce() {
    const char16_t c = NextTitleChar(s_.CaptionPos, StoredScroll(texts_.Language));
    std::u16string title = title_;
    ScrollTitle(title, c);
    SetTitle(std::move(title));
}

void GameEngine::RefreshClock() {
    const TimeOfDay now = clock_.LocalTimeOfDay();
    if (now.minute != s_.ShownMinute || now.hour != s_.ShownHour) UpdateTime(now);
}

void GameEngine::DemoTick() {
    for (;;) {
        ScrollTitleOnce();
        RefreshClock();
        s_.DemoPhase = (s_.DemoPhase + 1) & 3;
        if (s_.DemoPhase != 1) return;
        DemoStep();
        // A step that left its chute empty scrolls once more and ends the tick.
        if (s_.Chutes[s_.CurChute & 3] != 0) return;
    }
}

void GameEngine::DemoStep() {
    const std::uint8_t c = s_.CurChute = (s_.CurChute + 1) & 3;
    s_.Chutes[c] >>= 1;
    if (Random(10) < 3 && s_.EggsInPlay < 6 && s_.Chutes[c] < 16 &&
        (s_.LastCatch != c || Random(100) < 4)) {
        s_.Chutes[c] += 32;
        ++s_.EggsInPlay;
        s_.LastCatch = kNoChute;
    }
    UpdateChute();
    UpdateWolf(DemoWolfChoice());

    s_.ChickBitsR = static_cast<std::uint8_t>(s_.ChickBitsR << 1);
    s_.ChickBitsL = static_cast<std::uint8_t>(s_.ChickBitsL << 1);
    if (s_.Chutes[c] & 1) {
        // The egg's bit stays and is shifted out at the chute's next visit.
        if (s_.WolfPos != c) {
            if (c % 2 == 0) s_.ChickBitsL += 8;
            else s_.ChickBitsR += 8;
        }
        --s_.EggsInPlay;
    }
    UpdateChicks(0, s_.ChickBitsL);
    UpdateChicks(1, s_.ChickBitsR);
}

std::uint8_t GameEngine::DemoWolfChoice() {
    if ((s_.Chutes[s_.CurChute & 3] & 1) && Random(10) > 3) return s_.CurChute;
    if (Random(10) >= 8) return s_.WolfPos;
    return static_cast<std::uint8_t>(Random(4));
}

}  // namespace pellox
