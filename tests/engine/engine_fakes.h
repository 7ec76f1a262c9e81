#pragma once
// A fixture that owns a fresh engine over the real sprite model and fake ports.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/game_engine.h"
#include "fake_ports.h"
#include "lcd/core/sprite_model.h"

namespace pellox::testing {

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
    GameTexts texts{InterfaceLanguage::Russian, u"Кестров", u"Kestrow"};
    GameEngine engine{EnginePorts{sprites, sound, frame, side, clock, title, pump, records, texts}};
    const SpriteTables tables = BindSpriteTables();

    // What the launch does before the window is shown.
    void Launch() {
        engine.PrepareLaunch();
        frame.SetEnabled(true);
    }

    // Pressing and releasing a game button.
    void StartGame(Variant v) {
        engine.PressGameButton(v);
        engine.ReleaseGameButton();
    }

    void PressKey(std::uint8_t position) { engine.PressGameKey(position); }

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
