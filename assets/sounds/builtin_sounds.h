#pragma once
// The built-in sound effects, embedded as resources and named after the effects.

#include <string>

#include "engine/effects.h"

namespace pellox {

// ":/builtin/sounds/<Name>.wav": a complete RIFF WAVE image in the resources.
std::string BuiltinSoundPath(Effect effect);

}  // namespace pellox
