#pragma once
// The engine's SoundPlayer over the game window's effect list: index 0..7 is
// the effect at that place ("UL", "UR", "DL", "DR", "Basket", "Crack", "Chuck", "GO").

#include "engine/ports.h"
#include "media/wave_list.h"

namespace pellox {

class SoundPort final : public SoundPlayer {
public:
    explicit SoundPort(TDXWaveList& list) : list_(list) {}
    // An index outside the list plays nothing.
    void PlayEffect(int index, bool wait) override {
        if (index < 0 || static_cast<std::size_t>(index) >= list_.Count()) return;
        list_.Items(static_cast<std::size_t>(index)).PlayEffect(wait);
    }

private:
    TDXWaveList& list_;
};

}  // namespace pellox
