#include "gamepad/pad_events.h"

namespace pellox {
namespace {

PadButton PadButtonOf(Uint8 sdl_button) {
    switch (static_cast<SDL_GameControllerButton>(sdl_button)) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::East;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::West;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::North;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_GUIDE: return PadButton::Guide;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK: return PadButton::LeftStick;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return PadButton::RightStick;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
        default: return PadButton::Other;
    }
}

PadButton TriggerOf(Uint8 sdl_axis) {
    if (sdl_axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) return PadButton::LeftTrigger;
    if (sdl_axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) return PadButton::RightTrigger;
    return PadButton::Other;
}

}  // namespace

PadEvent ReadPadEvent(const SDL_Event& event) {
    using Kind = PadEvent::Kind;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: return {.kind = Kind::Added, .which = event.cdevice.which};
        case SDL_CONTROLLERDEVICEREMOVED: return {.kind = Kind::Removed, .which = event.cdevice.which};
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            return {.kind = Kind::Button,
                    .which = event.cbutton.which,
                    .button = PadButtonOf(event.cbutton.button),
                    .down = event.cbutton.state == SDL_PRESSED};
        case SDL_CONTROLLERAXISMOTION:
            return {.kind = Kind::Axis,
                    .which = event.caxis.which,
                    .button = TriggerOf(event.caxis.axis),
                    .value = event.caxis.value};
        default: return {};
    }
}

PadPlay PadButtons::Take(const PadEvent& event, bool in_front) {
    if (event.button == PadButton::Other) return {};
    if (event.kind == PadEvent::Kind::Button) return Change(event.button, event.down, in_front);
    if (event.kind == PadEvent::Kind::Axis) {
        const bool held_before = held_[static_cast<std::size_t>(event.button)];
        return Change(event.button, TriggerHeld(held_before, event.value), in_front);
    }
    return {};
}

std::vector<PadPlay> PadButtons::LetGoAll() {
    std::vector<PadPlay> plays;
    for (std::size_t b = 0; b < held_.size(); ++b) {
        if (!held_[b]) continue;
        const PadPlay play = Change(static_cast<PadButton>(b), false, true);
        if (play.action.kind != PadAction::Kind::None) plays.push_back(play);
    }
    return plays;
}

PadPlay PadButtons::Change(PadButton button, bool down, bool in_front) {
    const auto index = static_cast<std::size_t>(button);
    if (held_[index] == down) return {};
    if (down && !in_front) return {};
    held_[index] = down;
    const PadAction action = ActionForPadButton(button);
    // A game key turns the wolf as it goes down; its release does nothing.
    if (action.kind == PadAction::Kind::None || (action.kind == PadAction::Kind::GameKey && !down)) return {};
    return {action, down};
}

}  // namespace pellox
