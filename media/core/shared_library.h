#pragma once
// A library opened by its file name while the game runs (dlopen) rather than
// linked: the services the start screen does not use (sound, gamepads) load
// when the game window first needs them. Once opened a library stays loaded
// for the rest of the process; its functions are found by name.

#include <string>

namespace pellox {

class SharedLibrary {
public:
    // Opens the library, or gives a closed one with why it cannot be opened.
    static SharedLibrary Open(const std::string& file_name, std::string& why);

    bool IsOpen() const { return handle_ != nullptr; }
    // Finds a function by name into `function`; false, with why, when the
    // library has none of that name.
    template <typename Function>
    bool Find(const char* name, Function& function, std::string& why) const {
        function = reinterpret_cast<Function>(Symbol(name));
        if (!function) why = file_name_ + " has no " + name;
        return function != nullptr;
    }

private:
    void* Symbol(const char* name) const;

    std::string file_name_;
    void* handle_ = nullptr;
};

}  // namespace pellox
