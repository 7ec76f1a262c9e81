#pragma once
// The game as the page plays it: the sprites, the engine with the page's
// ports, the frame timer's logic, the effects' waves, the control keys, and
// the launch of the built-in game or a skin from the page's file system.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/game_engine.h"
#include "lcd/core/sprite_model.h"
#include "media/core/dx_timer.h"
#include "media/core/frame_timer_port.h"
#include "media/core/wave.h"
#include "web/page_reasons.h"
#include "web/web_ports.h"

namespace pellox {

class WebGame {
public:
    // builtin_waves: the folder of the eight built-in effects, <Name>.wav.
    explicit WebGame(const std::string& builtin_waves);
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // The built-in game: what every launch does first, then the frame timer on.
    void LaunchBuiltin();
    // The start section's language: the demo's title and the game's texts follow it.
    void SetRussian(bool russian) { texts_.Language = russian ? InterfaceLanguage::Russian : InterfaceLanguage::English; }
    // A skin from the page's file system, launched as the desktop launches one.
    // Gives the failure lines, none when it launched; the game does not run
    // then. The lines name the skin's files as its package has them.
    std::vector<std::string> LaunchSkin(const std::string& skin_file, const PagePackage& package);
    void Stop();

    // The frame timer: polled when due; -1 when it does not run.
    int MillisecondsUntilTick();
    bool PollFrameTimer();
    void SetPageShown(bool shown);
    bool SideTimerEnabled() const { return side_timer_.Enabled(); }
    void SideTick();

    void PressGameKey(int position);
    void PressGameButton(bool variant_b);
    void ReleaseGameButton();
    void ReleaseTimeButton();
    void ToggleSound();
    // The case's buttons under the pointer, as the desktop's controls press
    // them: A, B and Time sink a pixel while held; sound and exit on a click.
    void PressCaseButton(int sprite);
    void ReleaseCaseButton(int sprite);

    GameEngine& Engine() { return engine_; }
    const SpriteModel& Sprites() const { return sprites_; }
    // The four keys for the upper left, upper right, lower left and lower
    // right chutes, as the launch set them (W O D K for the built-in game).
    std::u16string ControlKeys() const;
    std::u16string Title() const { return title_.Title(); }
    PageSound& Sound() { return sound_; }
    const TWave& Wave(Effect effect) const { return waves_[static_cast<std::size_t>(effect)]; }
    // A sprite's picture file from the launched skin; empty for the built-in one.
    const std::string& PictureFile(int sprite) const { return pictures_[static_cast<std::size_t>(sprite)]; }
    // What the engine reported that the player should read (a score that could
    // not be stored); empty when nothing.
    std::string TakeReport();
    // left, top, width, height of every sprite in drawing order, refreshed by
    // the call: what the page reads to draw a frame.
    const std::vector<std::int32_t>& Boxes();

private:
    void Guarded(void (*action)(WebGame&));
    void LoadBuiltinWaves();

    std::string builtin_waves_;
    SpriteModel sprites_;
    PageSound sound_{sprites_};
    PageTimerHost timer_host_;
    TDXTimer frame_timer_logic_{timer_host_};
    FrameTimerPort frame_timer_{frame_timer_logic_};
    PageSideTimer side_timer_;
    PageClock clock_;
    PageTitle title_;
    PageEvents events_;
    PageRecordsStore records_;
    GameTexts texts_;
    GameEngine engine_;
    std::array<char16_t, 4> keys_{u'W', u'O', u'D', u'K'};
    std::array<TWave, kEffectCount> waves_;
    std::array<std::string, kSpriteCount> pictures_;
    std::string report_;
    std::vector<std::int32_t> boxes_;
};

}  // namespace pellox
