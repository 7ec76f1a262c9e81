#include "assets/sounds/builtin_sounds.h"

namespace pellox {

std::string BuiltinSoundPath(int index) {
    return std::string(":/builtin/sounds/") + kBuiltinSoundNames.at(static_cast<std::size_t>(index)) + ".wav";
}

}  // namespace pellox
