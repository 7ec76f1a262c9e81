#include "gamepad/effect_rumble.h"

namespace pellox {

void EffectRumble::PlayEffect(Effect effect, bool wait) {
    // The rumble first: the chute steps hold the tick until they have sounded.
    if (engine_ && start_rumble_)
        if (const std::optional<Rumble> rumble = RumbleForEffect(effect, engine_->CurrentState()))
            start_rumble_(*rumble);
    sound_->PlayEffect(effect, wait);
}

}  // namespace pellox
