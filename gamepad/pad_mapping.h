#pragma once
// What a gamepad's buttons do, and which rumble the game's events give: plain
// decisions, no SDL, so that the mapping can be read and tested as a table.
//
// The pad is held as the handheld is: the left hand plays the left chutes and
// the right hand the right ones, the upper button of each pair the upper chute.
// The thumbs rest on the D-pad and the face buttons, so the case's buttons sit
// where no resting thumb lands: Start, Back and the right stick's press.

#include <cstdint>
#include <optional>

#include "engine/effects.h"
#include "engine/engine_state.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {

// A controller's buttons by place, as SDL's game controller API names them
// (south is the Xbox pad's A, north its Y), the two triggers counted as buttons.
enum class PadButton : std::uint8_t {
    South,
    East,
    West,
    North,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    LeftTrigger,
    RightTrigger,
    Other,
};

// A button either turns the wolf (a game key's position: 0 upper left, 1 upper
// right, 2 lower left, 3 lower right) or is one of the case's buttons (held
// while the pad's button is held), or does nothing.
struct PadAction {
    enum class Kind : std::uint8_t { None, GameKey, CaseButton };
    Kind kind = Kind::None;
    std::uint8_t position = 0;         // with GameKey
    SpriteId button = SpriteId::imButtA;  // with CaseButton: imButtA, imButtB or imButtT

    static constexpr PadAction Nothing() { return {}; }
    static constexpr PadAction Key(std::uint8_t position) { return {Kind::GameKey, position, SpriteId::imButtA}; }
    static constexpr PadAction Case(SpriteId button) { return {Kind::CaseButton, 0, button}; }
    friend constexpr bool operator==(const PadAction&, const PadAction&) = default;
};

// The default mapping; a skin's keys do not change it. A player remaps the
// pad itself (which of its buttons SDL calls south, start...) with SDL's
// mapping strings, not this table.
constexpr PadAction ActionForPadButton(PadButton button) {
    switch (button) {
        case PadButton::DpadUp:
        case PadButton::LeftShoulder: return PadAction::Key(0);  // upper left, as W
        case PadButton::DpadDown:
        case PadButton::LeftTrigger: return PadAction::Key(2);  // lower left, as D
        case PadButton::North:
        case PadButton::RightShoulder: return PadAction::Key(1);  // upper right, as O
        case PadButton::South:
        case PadButton::RightTrigger: return PadAction::Key(3);  // lower right, as K
        case PadButton::Start: return PadAction::Case(SpriteId::imButtA);
        case PadButton::Back: return PadAction::Case(SpriteId::imButtB);
        case PadButton::RightStick:
        case PadButton::Guide: return PadAction::Case(SpriteId::imButtT);
        default: return PadAction::Nothing();
    }
}

// A trigger is an axis from 0 (let go) to 32767 (pulled fully). It counts as
// pressed past half way and as let go again below a quarter, so that a finger
// resting near the middle does not make it chatter.
inline constexpr std::int16_t kTriggerPressedAt = 16384;
inline constexpr std::int16_t kTriggerReleasedBelow = 8192;

constexpr bool TriggerHeld(bool held_before, std::int16_t value) {
    return held_before ? value >= kTriggerReleasedBelow : value >= kTriggerPressedAt;
}

// A rumble: the strength of the heavy (low) and light (high) motors, 0..65535,
// and how long it lasts.
struct Rumble {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    std::uint32_t duration_ms = 0;
    friend constexpr bool operator==(const Rumble&, const Rumble&) = default;
};

inline constexpr Rumble kMissRumble{0x6000, 0xA000, 150};
inline constexpr Rumble kGameOverRumble{0xC000, 0x8000, 600};

// The rumble for an effect the engine plays, given the state it is in then.
// The engine plays effects only while the sound is on, so a quiet game does
// not rumble either. The crack of a fallen egg is a miss; the same crack
// while the miss marks flash for a bonus is not.
constexpr std::optional<Rumble> RumbleForEffect(Effect effect, GameMode state) {
    if (effect == Effect::Crack && state == GameMode::MissAnim) return kMissRumble;
    if (effect == Effect::GO) return kGameOverRumble;
    return std::nullopt;
}

}  // namespace pellox
