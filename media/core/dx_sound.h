#pragma once
// The sound device of the game window: opens the sound output and tells its
// listeners (the effect list) when it opens, closes or has to rebuild voices.

#include <functional>
#include <memory>
#include <vector>

#include "media/core/sound_platform.h"

namespace pellox {

class TDXSound;

enum class SoundNotice { Destroying = 0, Opening = 1, Opened = 2, Closed = 3, Restored = 4 };

class SoundListener {
public:
    virtual ~SoundListener() = default;
    virtual void DeviceNotice(TDXSound& sender, SoundNotice notice) = 0;
};

struct TDXSoundOptions {
    bool soGlobalFocus = false;  // sounds go on when the window loses focus
    bool soExclusive = false;    // the output held by the game alone (from its next open)
    bool operator==(const TDXSoundOptions&) const = default;
};

class TDXSound {
public:
    using Event = std::function<void(TDXSound& sender)>;

    explicit TDXSound(SoundSystem& system);
    ~TDXSound();
    TDXSound(const TDXSound&) = delete;
    TDXSound& operator=(const TDXSound&) = delete;

    bool AutoInitialize = true;
    Event OnInitializing;
    Event OnInitialize;
    Event OnRestore;
    Event OnFinalize;

    // Opens the device if AutoInitialize; any failure to start the sound only
    // leaves it closed, so the game plays silently. Throws nothing.
    void Loaded();
    // Throws EDirectSoundError "The sound output cannot be opened" without an
    // output, EDXSoundError "The sound output has no mixer to play on" without a mixer.
    void OpenDevice();
    void CloseDevice();
    void RestoreDevice();

    // Stops the open output's mixer (or lets it run again); the voices keep
    // their places. A play on a paused output sounds only once it runs again,
    // so the caller runs it first. An output opened later runs.
    void SetPaused(bool paused);
    bool Paused() const { return open_ && paused_; }

    const TDXSoundOptions& Options() const { return options_; }
    void SetOptions(const TDXSoundOptions& options);
    const TDXSoundOptions& EffectiveOptions() const { return effective_; }

    bool Initialized() const { return open_; }
    SoundOutput* Output() { return output_.get(); }
    SoundSystem& System() { return system_; }

    void RegisterNotifyEvent(SoundListener& listener);
    void UnRegisterNotifyEvent(SoundListener& listener);

    // A voice found the output gone. Handled at the next safe moment by
    // RecoverIfLost: the output is opened afresh and every effect rebuilt.
    void NoteOutputLost() { lost_ = true; }
    // Reopens a lost output at once; if none opens, the game goes on silently
    // and another try is made when called again kReopenIntervalSeconds later
    // (by the system's clock), so that sound comes back when a device does.
    // Cheap when there is nothing to do: it is called at every play.
    void RecoverIfLost();
    // Lost and not yet back.
    bool AwaitingOutput() const { return awaiting_output_; }
    static constexpr double kReopenIntervalSeconds = 3.0;

    // Once when a lost output could not be reopened, once when one is back.
    Event OnOutputLost;
    Event OnOutputBack;

private:
    void Notify(SoundNotice notice);

    SoundSystem& system_;
    TDXSoundOptions options_;
    TDXSoundOptions effective_;
    bool open_ = false;
    bool opening_ = false;
    bool initialize_called_ = false;
    bool lost_ = false;
    bool recovering_ = false;
    bool awaiting_output_ = false;
    bool paused_ = false;
    double next_reopen_seconds_ = 0;
    std::unique_ptr<SoundOutput> output_;
    std::vector<SoundListener*> listeners_;
};

}  // namespace pellox
