#pragma once
// One of SDL's virtual game controllers for the probes, as the test suite
// plugs one in: SDL maps its buttons and axes by their numbers.

#include <SDL.h>

namespace pellox::bench {

// Plugs one in; false when SDL refused it.
inline bool PlugInBenchPad() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.name = "Pellox bench pad";
    return SDL_JoystickAttachVirtualEx(&pad) >= 0;
}

}  // namespace pellox::bench
