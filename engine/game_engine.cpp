// The engine's shared drawing routines, sound, and what the launch sets.
#include "engine/game_engine.h"

namespace pellox {

GameEngine::GameEngine(const EnginePorts& ports, const SpriteTables& tables)
    : display_(ports.display),
      sound_(ports.sound),
      frame_timer_(ports.frame_timer),
      side_timer_(ports.side_timer),
      clock_(ports.clock),
      app_title_(ports.title),
      events_(ports.events),
      records_(ports.records),
      texts_(ports.texts),
      tables_(tables) {}

void GameEngine::LoadRecords() {
    auto read = [this](Variant v) -> std::uint16_t {
        const std::uint16_t score = records_.ReadRecord(v);
        // Play never stores more than 9999; a larger value was written by
        // something else and would not fit the four digits.
        return score > 9999 ? 0 : score;
    };
    s_.RecordA = read(Variant::A);
    s_.RecordB = read(Variant::B);
}

void GameEngine::PrepareLaunch() {
    SetWolfPos(2);
    SetSoundOn(true);
    LoadRecords();
    DemoInit();
}

void GameEngine::SetWolfPos(std::uint8_t position) { s_.WolfPos = position & 3; }

void GameEngine::SetSoundOn(bool on) {
    s_.SoundOn = on;
    display_.SetVisible(SpriteId::imBell, on);
}

void GameEngine::RestoreState(const EngineState& state) {
    s_ = state;
    frame_timer_.SetInterval(s_.Period);
}

bool GameEngine::CanCatch() const {
    return s_.GameState == GameMode::Playing && s_.WolfPos == s_.CurChute &&
           (s_.Chutes[s_.CurChute & 3] & 1) != 0;
}

void GameEngine::SetPeriod(std::int32_t period_ms) {
    s_.Period = period_ms;
    frame_timer_.SetInterval(period_ms);
}

void GameEngine::Reseed() { s_.RandSeed = clock_.UtcMillisecondsSinceMidnight(); }

void GameEngine::SetTitle(std::u16string title) {
    title_ = std::move(title);
    app_title_.SetTitle(title_);
}

void GameEngine::Sound(Effect effect) {
    if (!s_.SoundOn) return;
    sound_.PlayEffect(effect, WaitsForItsEnd(effect));
}

void GameEngine::UpdateChute() {
    const std::size_t c = s_.CurChute & 3;
    for (int place = 5; place >= 1; --place)
        display_.SetVisible(tables_.EggSprites[c][static_cast<std::size_t>(place - 1)],
                            (s_.Chutes[c] >> (6 - place)) & 1);
    const bool sequence = s_.GameState == GameMode::BonusFlash ||
                          s_.GameState == GameMode::MissAnim ||
                          s_.GameState == GameMode::GameOver;
    if (!sequence && frame_timer_.Enabled())
        display_.SetVisible(SpriteId::imHare, s_.HareCount >= 20);
}

void GameEngine::UpdateWolf(std::uint8_t position) {
    const std::uint8_t p = position & 3;
    const std::uint8_t old = s_.WolfPos & 3;
    const bool side_changes = (p & 1) != (old & 1);
    // New sprites are lit before the old ones go dark.
    if (side_changes) display_.Show(tables_.WolfSprites[p & 1]);
    if (p != old) display_.Show(tables_.BasketSprites[p]);
    if (side_changes) display_.Hide(tables_.WolfSprites[old & 1]);
    if (p != old) display_.Hide(tables_.BasketSprites[old]);
    s_.WolfPos = p;
}

void GameEngine::UpdateChicks(std::uint8_t side, std::uint8_t pattern) {
    const auto& floor = tables_.FloorSprites[side & 1];
    display_.SetVisible(floor[0], pattern != 0);
    // Bit 3 the smashed egg, bits 4..7 the chick in its four places.
    for (int slot = 5; slot >= 1; --slot)
        display_.SetVisible(floor[static_cast<std::size_t>(slot)], (pattern >> (slot + 2)) & 1);
}

}  // namespace pellox
