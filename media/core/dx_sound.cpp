#include "media/core/dx_sound.h"

#include <algorithm>

#include "media/core/media_errors.h"

namespace pellox {

TDXSound::TDXSound(SoundSystem& system) : system_(system) {}

TDXSound::~TDXSound() {
    CloseDevice();
    Notify(SoundNotice::Destroying);
    listeners_.clear();
}

void TDXSound::Loaded() {
    if (!AutoInitialize) return;
    try {
        OpenDevice();
    } catch (const std::exception&) {
        // No output, an output without a mixer, or effects that cannot be
        // made on it: whatever cannot play leaves the game silent.
        CloseDevice();
    }
}

void TDXSound::SetPaused(bool paused) {
    if (!open_ || paused == paused_) return;
    paused_ = paused;
    output_->SetPaused(paused);
}

void TDXSound::OpenDevice() {
    CloseDevice();
    Notify(SoundNotice::Opening);
    if (OnInitializing) OnInitializing(*this);
    opening_ = true;
    try {
        SoundSystem::OpenResult result = SoundSystem::OpenResult::Ok;
        output_ = system_.OpenDefaultOutput(result);
        if (result == SoundSystem::OpenResult::NoDevice || (!output_ && result == SoundSystem::OpenResult::Ok))
            throw EDirectSoundError("The sound output cannot be opened");
        if (result == SoundSystem::OpenResult::NoMixer || !output_)
            throw EDXSoundError("The sound output has no mixer to play on");
        output_->SetFocusFlags(effective_.soGlobalFocus);
        open_ = true;
        paused_ = false;
        lost_ = false;
        awaiting_output_ = false;
    } catch (...) {
        CloseDevice();
        throw;
    }
    Notify(SoundNotice::Opened);
    initialize_called_ = true;
    if (OnInitialize) OnInitialize(*this);
    RestoreDevice();
}

void TDXSound::CloseDevice() {
    if (!opening_) return;
    struct Finish {
        TDXSound& self;
        ~Finish() {
            self.open_ = false;
            self.opening_ = false;
            self.effective_ = self.options_;
            self.output_.reset();
        }
    } finish{*this};
    struct NotifyClosed {
        TDXSound& self;
        // Listeners let go of their voices before the output goes, also when
        // OnFinalize fails.
        ~NotifyClosed() { self.Notify(SoundNotice::Closed); }
    } notify_closed{*this};
    if (initialize_called_) {
        initialize_called_ = false;
        if (OnFinalize) OnFinalize(*this);
    }
}

void TDXSound::RestoreDevice() {
    if (!open_) return;
    Notify(SoundNotice::Restored);
    if (OnRestore) OnRestore(*this);
}

void TDXSound::SetOptions(const TDXSoundOptions& options) {
    options_ = options;
    if (open_) {
        // Focus reaches the voices made from now on; exclusivity waits for
        // the next open.
        effective_.soGlobalFocus = options.soGlobalFocus;
        output_->SetFocusFlags(effective_.soGlobalFocus);
    } else {
        effective_ = options;
    }
}

void TDXSound::RegisterNotifyEvent(SoundListener& listener) {
    UnRegisterNotifyEvent(listener);
    listeners_.push_back(&listener);
    if (open_) {
        listener.DeviceNotice(*this, SoundNotice::Opened);
        listener.DeviceNotice(*this, SoundNotice::Restored);
    }
}

void TDXSound::UnRegisterNotifyEvent(SoundListener& listener) {
    const auto it = std::find(listeners_.begin(), listeners_.end(), &listener);
    if (it == listeners_.end()) return;
    listeners_.erase(it);
    if (open_) listener.DeviceNotice(*this, SoundNotice::Closed);
}

void TDXSound::Notify(SoundNotice notice) {
    // Newest listener first; a listener may unregister itself meanwhile.
    const std::vector<SoundListener*> listeners = listeners_;
    for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) {
        if (std::find(listeners_.begin(), listeners_.end(), *it) != listeners_.end())
            (*it)->DeviceNotice(*this, notice);
    }
}

void TDXSound::RecoverIfLost() {
    if (recovering_) return;
    if (!lost_ && !(awaiting_output_ && system_.NowSeconds() >= next_reopen_seconds_)) return;
    recovering_ = true;
    lost_ = false;
    const bool was_awaiting = awaiting_output_;
    bool opened = false;
    try {
        // The old output cannot come back: open a fresh one, which closes the old
        // one (effects let go of their voices) and rebuilds every effect from
        // the waves they keep.
        OpenDevice();
        opened = true;
    } catch (const std::exception&) {
        // OpenDevice closed the old output: silent until a later try succeeds.
        // A device that opened but could not take every effect counts as back.
        opened = open_;
    }
    recovering_ = false;
    if (opened) {
        if (was_awaiting && OnOutputBack) OnOutputBack(*this);
        return;
    }
    awaiting_output_ = true;
    next_reopen_seconds_ = system_.NowSeconds() + kReopenIntervalSeconds;
    if (!was_awaiting && OnOutputLost) OnOutputLost(*this);
}

}  // namespace pellox
