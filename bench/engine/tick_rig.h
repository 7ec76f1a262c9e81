#pragma once
// The engine with silent ports that never wait, and a player who always turns
// to the chute that just moved: what the tick benchmarks run, natively and
// in WebAssembly.

#include "engine/game_engine.h"
#include "lcd/core/sprite_model.h"
#include "tests/engine/fake_ports.h"

namespace pellox::bench {

// Counts only: the recording fake would grow without end over millions of ticks.
struct SilentSound : SoundPlayer {
    int played = 0;
    void PlayEffect(Effect, bool) override { ++played; }
};
struct Pump : EventPump {
    GameEngine* engine = nullptr;
    // A player who always turns to the chute that just moved.
    void ProcessQueuedEvents() override {
        if (!engine) return;
        engine->PressGameKey(engine->CurChute());
    }
};
struct Rig {
    SpriteModel sprites;
    SilentSound sound;
    testing::FakeFrameTimer frame;
    testing::FakeSideTimer side;
    testing::FakeClock clock;
    testing::FakeTitle title;
    Pump pump;
    testing::FakeRecords records;
    GameTexts texts{InterfaceLanguage::English, u"Kestrow", u"Kestrow"};
    GameEngine engine{EnginePorts{sprites, sound, frame, side, clock, title, pump, records, texts}};

    Rig() {
        engine.PrepareLaunch();
        frame.SetEnabled(true);
    }
};

}  // namespace pellox::bench
