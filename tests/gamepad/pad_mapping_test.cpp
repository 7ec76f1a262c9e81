#include <gtest/gtest.h>

#include "gamepad/pad_mapping.h"

namespace pellox {
namespace {

TEST(PadMapping, LeftHandPlaysTheLeftChutesRightHandTheRightAndTheCaseButtonsSitApart) {
    using P = PadButton;
    const PadAction nothing = PadAction::Nothing();
    // Game key positions as the keys give them: W 0, O 1, D 2, K 3.
    const std::pair<PadButton, PadAction> cases[] = {
        {P::DpadUp, PadAction::Key(0)},       {P::LeftShoulder, PadAction::Key(0)},
        {P::DpadDown, PadAction::Key(2)},     {P::LeftTrigger, PadAction::Key(2)},
        {P::North, PadAction::Key(1)},        {P::RightShoulder, PadAction::Key(1)},
        {P::South, PadAction::Key(3)},        {P::RightTrigger, PadAction::Key(3)},
        {P::Start, PadAction::Case(SpriteId::imButtA)},
        {P::Back, PadAction::Case(SpriteId::imButtB)},
        {P::RightStick, PadAction::Case(SpriteId::imButtT)},
        {P::Guide, PadAction::Case(SpriteId::imButtT)},
        // Where a resting thumb or a slip lands: nothing.
        {P::DpadLeft, nothing},  {P::DpadRight, nothing}, {P::East, nothing},
        {P::West, nothing},      {P::LeftStick, nothing},  {P::Other, nothing},
    };
    for (const auto& [button, action] : cases)
        EXPECT_EQ(ActionForPadButton(button), action) << static_cast<int>(button);
}

TEST(PadMapping, TriggerPressesPastHalfWayAndLetsGoBelowAQuarter) {
    struct Case { bool held_before; std::int16_t value; bool held; };
    const Case cases[] = {
        {false, 0, false},     {false, 16383, false}, {false, 16384, true}, {false, 32767, true},
        {true, 32767, true},   {true, 12000, true},   {true, 8192, true},   {true, 8191, false},
        {true, 0, false},      {false, 12000, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TriggerHeld(c.held_before, c.value), c.held) << c.held_before << " " << c.value;
}

TEST(PadMapping, AFallenEggRumblesShortlyTheGamesEndLongerNothingElse) {
    EXPECT_EQ(RumbleForEffect(Effect::Crack, GameMode::MissAnim), kMissRumble);
    EXPECT_EQ(RumbleForEffect(Effect::GO, GameMode::Playing), kGameOverRumble);
    EXPECT_EQ(RumbleForEffect(Effect::GO, GameMode::MissAnim), kGameOverRumble);
    EXPECT_GT(kGameOverRumble.duration_ms, kMissRumble.duration_ms);
    // The miss marks' flash at a bonus cracks too, and is no miss.
    EXPECT_EQ(RumbleForEffect(Effect::Crack, GameMode::BonusFlash), std::nullopt);
    for (Effect effect : kAllEffects) {
        if (effect == Effect::Crack || effect == Effect::GO) continue;
        for (GameMode state : {GameMode::Playing, GameMode::MissAnim, GameMode::Demo})
            EXPECT_EQ(RumbleForEffect(effect, state), std::nullopt) << EffectName(effect);
    }
}

}  // namespace
}  // namespace pellox
