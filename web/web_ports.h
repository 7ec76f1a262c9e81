#pragma once
// The engine's ports in the page: the frame timer's logic polled by the
// page's timers (its port is the desktop's, media/core/frame_timer_port.h),
// the side timer's flag, the clock, the title, the records in the page's
// storage, and the sound as a list of effects the page plays.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/ports.h"
#include "lcd/core/sprite_model.h"
#include "media/core/dx_timer.h"

namespace pellox {

// The page polls the frame timer when MillisecondsUntilDue says; active is
// whether the page is shown.
class PageTimerHost final : public TimerHost {
public:
    std::uint32_t NowMs() override;
    bool ApplicationActive() const override { return active; }
    void TakePolling(TDXTimer&) override {}
    void ReleasePolling(TDXTimer&) override {}
    bool active = true;
};

class PageSideTimer final : public SideTimerControl {
public:
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

private:
    bool enabled_ = true;
};

class PageClock final : public Clock {
public:
    TimeOfDay LocalTimeOfDay() const override;
    std::uint32_t UtcMillisecondsSinceMidnight() const override;
};

class PageTitle final : public AppTitle {
public:
    void SetTitle(const std::u16string& title) override { title_ = title; }
    const std::u16string& Title() const { return title_; }

private:
    std::u16string title_;
};

// Input typed during a step's sound waits in the page until the sound has
// ended (the page runs it then), so there is nothing to run here.
class PageEvents final : public EventPump {
public:
    void ProcessQueuedEvents() override {}
};

// The scores in the page's storage as the record codec writes them. What the
// storage refuses is kept for the session and reported.
class PageRecordsStore final : public RecordsStore {
public:
    std::uint16_t ReadRecord(Variant variant) override;
    void WriteRecord(Variant variant, std::uint16_t score) override;

private:
    std::optional<std::uint16_t> session_[2];
};

struct PlayedEffect {
    Effect effect;
    bool wait;
};

// Effects are collected for the page to play after the engine returns. At the
// first effect the tick waits for, the sprites as lit then are kept: the page
// shows them during the sound and the rest when it has ended, as the desktop
// draws the chute only after its step has sounded.
class PageSound final : public SoundPlayer {
public:
    explicit PageSound(const SpriteModel& sprites) : sprites_(sprites) {}
    void PlayEffect(Effect effect, bool wait) override;
    std::vector<PlayedEffect> TakePlayed();
    bool Nothing() const { return played_.empty(); }
    // The sprites lit when the first waited-for effect began; empty when none.
    std::string TakeLitBeforeWait();

private:
    const SpriteModel& sprites_;
    std::vector<PlayedEffect> played_;
    std::string lit_before_wait_;
};

// '1' for each lit sprite, '0' for each dark one, in drawing order.
std::string LitSprites(const SpriteModel& sprites);

}  // namespace pellox
