#include "gamepad/sdl_library.h"

#include "media/core/shared_library.h"

namespace pellox {

std::shared_ptr<const SdlFunctions> LoadSdl(const std::string& library, std::string& why) {
    const SharedLibrary sdl = SharedLibrary::Open(library, why);
    if (!sdl.IsOpen()) return nullptr;
    auto f = std::make_shared<SdlFunctions>();
    const bool all =
        sdl.Find("SDL_GetError", f->GetError, why) && sdl.Find("SDL_SetHint", f->SetHint, why) &&
        sdl.Find("SDL_InitSubSystem", f->InitSubSystem, why) && sdl.Find("SDL_QuitSubSystem", f->QuitSubSystem, why) &&
        sdl.Find("SDL_PumpEvents", f->PumpEvents, why) && sdl.Find("SDL_PeepEvents", f->PeepEvents, why) &&
        sdl.Find("SDL_RWFromFile", f->RWFromFile, why) && sdl.Find("SDL_RWFromConstMem", f->RWFromConstMem, why) &&
        sdl.Find("SDL_LockJoysticks", f->LockJoysticks, why) &&
        sdl.Find("SDL_UnlockJoysticks", f->UnlockJoysticks, why) &&
        sdl.Find("SDL_GameControllerAddMappingsFromRW", f->GameControllerAddMappingsFromRW, why) &&
        sdl.Find("SDL_GameControllerAddMapping", f->GameControllerAddMapping, why) &&
        sdl.Find("SDL_GameControllerOpen", f->GameControllerOpen, why) &&
        sdl.Find("SDL_GameControllerClose", f->GameControllerClose, why) &&
        sdl.Find("SDL_GameControllerGetJoystick", f->GameControllerGetJoystick, why) &&
        sdl.Find("SDL_GameControllerName", f->GameControllerName, why) &&
        sdl.Find("SDL_GameControllerPath", f->GameControllerPath, why) &&
        sdl.Find("SDL_GameControllerRumble", f->GameControllerRumble, why) &&
        sdl.Find("SDL_JoystickGetDeviceInstanceID", f->JoystickGetDeviceInstanceID, why) &&
        sdl.Find("SDL_JoystickInstanceID", f->JoystickInstanceID, why);
    if (!all) return nullptr;
    return f;
}

}  // namespace pellox
