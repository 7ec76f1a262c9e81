#pragma once
// Everything the engine reaches outside itself, as small interfaces.
// The game window supplies the real ones (Qt, OpenAL); tests supply fakes.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine/effects.h"
#include "engine/language.h"

namespace pellox {

// Plays an effect of the game window's effect list.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // wait: return only when the effect has finished (see WaitsForItsEnd).
    virtual void PlayEffect(Effect effect, bool wait) = 0;
};

// The frame timer that calls dxTimerTimer.
class FrameTimerControl {
public:
    virtual ~FrameTimerControl() = default;
    virtual void SetInterval(int interval_ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

// The 250 ms side timer that calls TimerTimer.
class SideTimerControl {
public:
    virtual ~SideTimerControl() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

struct TimeOfDay {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay LocalTimeOfDay() const = 0;
    // For reseeding the random numbers.
    virtual std::uint32_t UtcMillisecondsSinceMidnight() const = 0;
};

// The application title shown in the taskbar.
class AppTitle {
public:
    virtual ~AppTitle() = default;
    virtual void SetTitle(const std::u16string& title) = 0;
};

// Lets the window's queued input events run in the middle of a tick.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessQueuedEvents() = 0;
};

enum class Variant { A, B };

// A stored score could not be written. what() is the message for the player:
// "Failed to create key %s" or "Failed to set data for '%s'", the latter
// followed by ": " and the reason when the store knows it.
class RecordsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The two stored scores.
class RecordsStore {
public:
    virtual ~RecordsStore() = default;
    // Never fails: anything unreadable reads 0.
    virtual std::uint16_t ReadRecord(Variant variant) = 0;
    // Throws RecordsWriteError when the score cannot be stored.
    virtual void WriteRecord(Variant variant, std::uint16_t score) = 0;
};

// The interface language and the game's titles, set by the start screen and the launch.
struct GameTexts {
    InterfaceLanguage Language = InterfaceLanguage::Russian;
    std::u16string TitleSU;
    std::u16string TitleGB;
};

}  // namespace pellox
