#pragma once
// SDL 2, opened when the game window is first shown instead of at start: the
// one place that names the library and the functions the gamepads call in
// it. SDL is made to be opened so; its types and constants come from its
// headers, its functions through SdlFunctions.

#include <SDL.h>

#include <memory>
#include <string>

namespace pellox {

// The library as the system installs it.
inline constexpr char kSdlLibrary[] = "libSDL2-2.0.so.0";

struct SdlFunctions {
    decltype(&::SDL_GetError) GetError = nullptr;
    decltype(&::SDL_SetHint) SetHint = nullptr;
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_PumpEvents) PumpEvents = nullptr;
    decltype(&::SDL_PeepEvents) PeepEvents = nullptr;
    decltype(&::SDL_RWFromFile) RWFromFile = nullptr;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&::SDL_LockJoysticks) LockJoysticks = nullptr;
    decltype(&::SDL_UnlockJoysticks) UnlockJoysticks = nullptr;
    decltype(&::SDL_GameControllerAddMappingsFromRW) GameControllerAddMappingsFromRW = nullptr;
    decltype(&::SDL_GameControllerAddMapping) GameControllerAddMapping = nullptr;
    decltype(&::SDL_GameControllerOpen) GameControllerOpen = nullptr;
    decltype(&::SDL_GameControllerClose) GameControllerClose = nullptr;
    decltype(&::SDL_GameControllerGetJoystick) GameControllerGetJoystick = nullptr;
    decltype(&::SDL_GameControllerName) GameControllerName = nullptr;
    decltype(&::SDL_GameControllerPath) GameControllerPath = nullptr;
    decltype(&::SDL_GameControllerRumble) GameControllerRumble = nullptr;
    decltype(&::SDL_JoystickGetDeviceInstanceID) JoystickGetDeviceInstanceID = nullptr;
    decltype(&::SDL_JoystickInstanceID) JoystickInstanceID = nullptr;
};

// The library opened and every function found; null when it cannot be, with
// why in `why` (the game then plays without gamepads). Once opened the
// library stays loaded for the rest of the process.
std::shared_ptr<const SdlFunctions> LoadSdl(const std::string& library, std::string& why);

}  // namespace pellox
