#pragma once
// Fakes of the engine's ports and a fixture that owns a fresh engine over the
// real sprite model.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/game_engine.h"
#include "lcd/sprite_model.h"

namespace pellox::testing {

struct FakeSound : SoundPlayer {
    std::vector<std::pair<int, bool>> played;  // (effect, waited)
    void PlayEffect(int index, bool wait) override { played.emplace_back(index, wait); }
    int Count(int effect) const {
        int n = 0;
        for (auto& [e, w] : played) n += e == effect;
        return n;
    }
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

class EngineTest : public ::testing::Test {
protected:
    SpriteModel sprites;
    FakeSound sound;
    FakeFrameTimer frame;
    FakeSideTimer side;
    FakeClock clock;
    FakeTitle title;
    FakePump pump;
    FakeRecords records;
    GameTexts texts{1, u"Кестров", u"Kestrow"};
    GameEngine engine{EnginePorts{sprites, sound, frame, side, clock, title, pump, records, texts}};
    const SpriteTables tables = BindSpriteTables();

    // What the launch does before the window is shown.
    void Launch() {
        engine.SetWolfPos(2);
        engine.SetSoundOn(true);
        engine.LoadRecords();
        engine.DemoInit();
        frame.SetEnabled(true);
    }

    // Pressing and releasing a game button.
    void StartGame(Variant v) {
        engine.GameInit(v);
        engine.GameStart();
    }

    // The key handler: turn the wolf, then catch if an egg waits there.
    void PressKey(std::uint8_t position) {
        if (engine.CurrentState() == GameMode::Demo) return;
        engine.UpdateWolf(position);
        if (engine.CanCatch()) engine.catchegg();
    }

    bool Lit(SpriteId id) const { return sprites.IsVisible(id); }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) engine.dxTimerTimer();
    }

    // The value 0..9 a digit place (1 ones .. 4 thousands) shows, 10 for blank, -1 for no digit.
    int Digit(int place) const;
    // The digits as text, blank places as spaces ("  40").
    std::string Shown() const;

    // The lit places 1..5 of a chute.
    std::vector<int> LitPlaces(int chute) const {
        std::vector<int> places;
        for (int p = 1; p <= 5; ++p)
            if (Lit(tables.EggSprites[static_cast<std::size_t>(chute)][static_cast<std::size_t>(p - 1)]))
                places.push_back(p);
        return places;
    }

    EngineState With(std::function<void(EngineState&)> change) const {
        EngineState s = engine.State();
        change(s);
        return s;
    }
};

}  // namespace pellox::testing
