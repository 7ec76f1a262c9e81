#include "assets/sounds/builtin_sounds.h"

namespace pellox {

std::string BuiltinSoundPath(Effect effect) {
    return std::string(":/builtin/sounds/") + std::string(EffectName(effect)) + ".wav";
}

}  // namespace pellox
