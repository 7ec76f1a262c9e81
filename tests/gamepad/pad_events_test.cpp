// SDL's events made into the game's keys and case buttons, from tables of
// events: SDL's header only, nothing of it running.

#include <gtest/gtest.h>

#include "gamepad/pad_events.h"

namespace pellox {
namespace {

using Kind = PadEvent::Kind;

SDL_Event Device(Uint32 type, Sint32 which) {
    SDL_Event event{};
    event.cdevice = {.type = type, .timestamp = 0, .which = which};
    return event;
}
SDL_Event Button(Uint8 button, bool down, SDL_JoystickID which = 7) {
    SDL_Event event{};
    event.cbutton.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.which = which;
    event.cbutton.button = button;
    event.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    return event;
}
SDL_Event Axis(Uint8 axis, Sint16 value, SDL_JoystickID which = 7) {
    SDL_Event event{};
    event.caxis.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.which = which;
    event.caxis.axis = axis;
    event.caxis.value = value;
    return event;
}

TEST(PadEvents, SdlsControllerEventsAreReadByPlaceAndEverythingElseIsOther) {
    SDL_Event joystick_button{};
    joystick_button.jbutton.type = SDL_JOYBUTTONDOWN;
    const std::pair<SDL_Event, PadEvent> cases[] = {
        {Device(SDL_CONTROLLERDEVICEADDED, 2), {.kind = Kind::Added, .which = 2}},
        {Device(SDL_CONTROLLERDEVICEREMOVED, 9), {.kind = Kind::Removed, .which = 9}},
        {Button(SDL_CONTROLLER_BUTTON_A, true), {Kind::Button, 7, PadButton::South, true}},
        {Button(SDL_CONTROLLER_BUTTON_Y, false), {Kind::Button, 7, PadButton::North, false}},
        {Button(SDL_CONTROLLER_BUTTON_START, true, 3), {Kind::Button, 3, PadButton::Start, true}},
        {Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true), {Kind::Button, 7, PadButton::DpadDown, true}},
        {Button(SDL_CONTROLLER_BUTTON_RIGHTSTICK, true), {Kind::Button, 7, PadButton::RightStick, true}},
        {Button(SDL_CONTROLLER_BUTTON_MISC1, true), {Kind::Button, 7, PadButton::Other, true}},
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 30000), {Kind::Axis, 7, PadButton::LeftTrigger, false, 30000}},
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 5), {Kind::Axis, 7, PadButton::RightTrigger, false, 5}},
        {Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768), {Kind::Axis, 7, PadButton::Other, false, -32768}},
        {joystick_button, {}},
    };
    for (const auto& [event, read] : cases) EXPECT_EQ(ReadPadEvent(event), read) << event.type;
}

// One controller played through a sequence, each event with the game in
// front or behind, and what each plays.
TEST(PadEvents, AControllersEventsPlayKeysOnPressAndCaseButtonsOnPressAndRelease) {
    const PadPlay nothing{};
    const auto key = [](std::uint8_t position) { return PadPlay{PadAction::Key(position), true}; };
    const auto press = [](SpriteId button) { return PadPlay{PadAction::Case(button), true}; };
    const auto let_go = [](SpriteId button) { return PadPlay{PadAction::Case(button), false}; };
    struct Step {
        SDL_Event event;
        bool in_front;
        PadPlay plays;
    };
    const Step steps[] = {
        {Button(SDL_CONTROLLER_BUTTON_A, true), true, key(3)},
        {Button(SDL_CONTROLLER_BUTTON_A, true), true, nothing},  // already down
        {Button(SDL_CONTROLLER_BUTTON_A, false), true, nothing},
        {Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true), true, key(0)},
        {Button(SDL_CONTROLLER_BUTTON_START, true), true, press(SpriteId::imButtA)},
        {Button(SDL_CONTROLLER_BUTTON_START, false), true, let_go(SpriteId::imButtA)},
        {Button(SDL_CONTROLLER_BUTTON_START, false), true, nothing},  // never let go twice
        {Button(SDL_CONTROLLER_BUTTON_B, true), true, nothing},       // where a resting thumb lands
        {Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767), true, nothing},
        // A trigger: pressed past half way, held down to a quarter.
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 16000), true, nothing},
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 16384), true, key(2)},
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 8192), true, nothing},
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 8191), true, nothing},  // let go
        {Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 20000), true, key(2)},
        // Behind another program: a press is not taken, nor its release...
        {Button(SDL_CONTROLLER_BUTTON_BACK, true), false, nothing},
        {Button(SDL_CONTROLLER_BUTTON_BACK, false), true, nothing},
        {Button(SDL_CONTROLLER_BUTTON_Y, true), false, nothing},
        // ...but a button pressed in front is let go behind.
        {Button(SDL_CONTROLLER_BUTTON_GUIDE, true), true, press(SpriteId::imButtT)},
        {Button(SDL_CONTROLLER_BUTTON_GUIDE, false), false, let_go(SpriteId::imButtT)},
    };
    PadButtons pad;
    for (std::size_t step = 0; step < std::size(steps); ++step)
        EXPECT_EQ(pad.Take(ReadPadEvent(steps[step].event), steps[step].in_front), steps[step].plays) << "step " << step;
}

TEST(PadEvents, AControllerGoingLetsGoTheCaseButtonsItHeldAndNothingElse) {
    PadButtons pad;
    for (int button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_A,
                       SDL_CONTROLLER_BUTTON_X})
        pad.Take(ReadPadEvent(Button(static_cast<Uint8>(button), true)), true);
    pad.Take(ReadPadEvent(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000)), true);
    const std::vector<PadPlay> let_go{{PadAction::Case(SpriteId::imButtB), false},
                                      {PadAction::Case(SpriteId::imButtA), false}};
    EXPECT_EQ(pad.LetGoAll(), let_go);  // in the order of the buttons' places
    EXPECT_TRUE(pad.LetGoAll().empty());
    // Held no more: a press of Start plays again.
    EXPECT_EQ(pad.Take(ReadPadEvent(Button(SDL_CONTROLLER_BUTTON_START, true)), true),
              (PadPlay{PadAction::Case(SpriteId::imButtA), true}));
}

}  // namespace
}  // namespace pellox
