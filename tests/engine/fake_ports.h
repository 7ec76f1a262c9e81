#pragma once
// Fakes of the engine's ports: they record what the engine asked of them.
// No test framework here, so that benchmarks can use them too.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ports.h"

namespace pellox::testing {

struct FakeSound : SoundPlayer {
    std::vector<std::pair<int, bool>> played;  // (effect's place in the list, waited)
    void PlayEffect(Effect effect, bool wait) override {
        played.emplace_back(static_cast<int>(EffectIndex(effect)), wait);
    }
    int Count(int effect) const {
        int n = 0;
        for (auto& [e, w] : played) n += e == effect;
        return n;
    }
    int Count(Effect effect) const { return Count(static_cast<int>(EffectIndex(effect))); }
};

struct FakeFrameTimer : FrameTimerControl {
    int interval = 0;
    bool enabled = false;
    void SetInterval(int ms) override { interval = ms; }
    int Interval() const override { return interval; }
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
};

struct FakeSideTimer : SideTimerControl {
    bool enabled = true;  // runs from the creation of the game window
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
};

struct FakeClock : Clock {
    TimeOfDay local{10, 15, 0, 0};
    std::uint32_t utc_ms = 12345678;
    TimeOfDay LocalTimeOfDay() const override { return local; }
    std::uint32_t UtcMillisecondsSinceMidnight() const override { return utc_ms; }
};

struct FakeTitle : AppTitle {
    std::u16string title;
    int sets = 0;
    void SetTitle(const std::u16string& t) override {
        title = t;
        ++sets;
    }
};

// Runs `on_pump` when the tick lets queued events through (a key typed
// during the chute's sound).
struct FakePump : EventPump {
    std::function<void()> on_pump;
    int calls = 0;
    void ProcessQueuedEvents() override {
        ++calls;
        if (on_pump) on_pump();
    }
};

struct FakeRecords : RecordsStore {
    std::map<Variant, std::uint16_t> stored;
    std::vector<std::pair<Variant, std::uint16_t>> writes;
    std::optional<std::string> fail_with;
    std::uint16_t ReadRecord(Variant v) override { return stored.count(v) ? stored[v] : 0; }
    void WriteRecord(Variant v, std::uint16_t score) override {
        if (fail_with) throw RecordsWriteError(*fail_with);
        writes.emplace_back(v, score);
        stored[v] = score;
    }
};

}  // namespace pellox::testing
