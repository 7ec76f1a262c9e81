#pragma once
// One of SDL's virtual controllers, plugged into the running SDL as a real one
// would be: buttons and triggers set by the test, rumbles recorded.
// SDL must be started (a GamepadInput does it) before one is plugged in.

#include <string>
#include <utility>
#include <vector>

#include <SDL.h>

namespace pellox::testing {

class VirtualPad {
public:
    // type SDL_JOYSTICK_TYPE_GAMECONTROLLER: SDL maps its buttons and axes by
    // their numbers (button i is SDL_GameControllerButton i); any other type
    // is a game controller only with a mapping for its GUID.
    explicit VirtualPad(Uint16 type = SDL_JOYSTICK_TYPE_GAMECONTROLLER, const char* name = "Pellox test pad") {
        SDL_zero(desc_);
        desc_.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc_.type = type;
        desc_.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc_.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc_.name = name;
        desc_.userdata = this;
        desc_.Rumble = [](void* self, Uint16 low, Uint16 high) {
            static_cast<VirtualPad*>(self)->rumbles_.emplace_back(low, high);
            return 0;
        };
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // True when SDL took it.
    bool Plug() {
        const int index = SDL_JoystickAttachVirtualEx(&desc_);
        if (index < 0) return false;
        joystick_ = SDL_JoystickOpen(index);
        return joystick_ != nullptr;
    }
    void Unplug() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0); }
    void Axis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(joystick_, axis, value); }
    // Low and high motor strengths in the order SDL asked for them; 0, 0 stops.
    const std::vector<std::pair<Uint16, Uint16>>& Rumbles() const { return rumbles_; }

    // The GUID of a virtual controller of this type and name as a mapping
    // names it. Starts and stops SDL's joystick part.
    static std::string GuidOf(Uint16 type, const char* name) {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        VirtualPad pad(type, name);
        SDL_JoystickGUID guid{};
        if (pad.Plug()) guid = SDL_JoystickGetGUID(pad.joystick_);
        // Bytes 2 and 3 hold a checksum of the name, which SDL 2.26 leaves
        // out when it looks a device up among the mappings (the published
        // mappings have none there): a mapping that has it matches nothing.
        guid.data[2] = guid.data[3] = 0;
        std::string text(33, '\0');
        SDL_JoystickGetGUIDString(guid, text.data(), 33);
        pad.Unplug();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return text.c_str();
    }

private:
    SDL_VirtualJoystickDesc desc_;
    SDL_Joystick* joystick_ = nullptr;
    std::vector<std::pair<Uint16, Uint16>> rumbles_;
};

}  // namespace pellox::testing
