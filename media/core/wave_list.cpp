#include "media/core/wave_list.h"

#include <algorithm>

#include "media/core/media_errors.h"

namespace pellox {

// ---- voice ----

void TDirectSoundBuffer::LoadFromWave(const TWave& wave) {
    voice_.reset();
    SoundOutput* output = sound_.Output();
    if (!output) throw EDirectSoundBufferError("A sound cannot be made ready on the sound output");
    auto result = SoundOutput::MakeResult::Ok;
    voice_ = output->MakeVoice(wave, result);
    if (result == SoundOutput::MakeResult::CannotFill) {
        voice_.reset();
        throw EDirectSoundBufferError("A sound cannot be copied to the sound output");
    }
    if (!voice_ || result != SoundOutput::MakeResult::Ok) {
        voice_.reset();
        throw EDirectSoundBufferError("A sound cannot be made ready on the sound output");
    }
}

SoundVoice& TDirectSoundBuffer::Require() {
    if (!voice_) throw EDirectSoundBufferError("A sound has no voice on the sound output");
    return *voice_;
}

void TDirectSoundBuffer::Check(VoiceResult result) {
    if (result == VoiceResult::Lost) sound_.NoteOutputLost();
}

void TDirectSoundBuffer::Stop() { Check(Require().Stop()); }
void TDirectSoundBuffer::Rewind() { Check(Require().Rewind()); }
void TDirectSoundBuffer::ResetControls() { Check(Require().ResetControls()); }
void TDirectSoundBuffer::Play(bool looped) { Check(Require().Play(looped)); }

bool TDirectSoundBuffer::Playing() {
    bool sounding = false;
    const VoiceResult result = Require().IsSounding(sounding);
    Check(result);
    return result == VoiceResult::Ok && sounding;
}

double TDirectSoundBuffer::RemainingSeconds() { return Require().RemainingSeconds(); }

// ---- effect ----

void TWaveCollectionItem::SetLooped(bool value) {
    if (value == looped_) return;
    if (attached_) {
        if (main_ && main_->Made()) main_->Stop();
        for (auto& voice : extra_)
            if (voice->Made()) voice->Stop();
    }
    looped_ = value;
}

void TWaveCollectionItem::SetMaxPlayingCount(std::int32_t value) {
    value = std::max(value, 0);
    if (value == max_playing_count_) return;
    max_playing_count_ = value;
    if (attached_) extra_.clear();
}

void TWaveCollectionItem::AttachEffect() {
    DetachEffect();
    attached_ = list_.Device() != nullptr && list_.Device()->Initialized();
}

void TWaveCollectionItem::DetachEffect() {
    if (!attached_) return;
    attached_ = false;
    extra_.clear();
    main_.reset();
}

void TWaveCollectionItem::RebuildEffect() {
    if (wave_.DataSize() == 0) return;  // an empty effect never gets a voice
    if (!attached_) {
        if (list_.Device() && list_.Device()->Initialized()) AttachEffect();
        if (!attached_) return;
    }
    if (!main_) main_ = std::make_unique<TDirectSoundBuffer>(*list_.Device());
    main_->LoadFromWave(wave_);
    main_->ResetControls();
}

Result<void> TWaveCollectionItem::LoadEffectFile(const std::string& path) {
    if (Result<void> read = wave_.LoadWaveFile(path); !read) return read;
    RebuildOnOpenDevice();
    return {};
}

void TWaveCollectionItem::ReplaceWave(TWave wave) {
    wave_ = std::move(wave);
    RebuildOnOpenDevice();
}

void TWaveCollectionItem::RebuildOnOpenDevice() {
    if (list_.Device() && list_.Device()->Initialized()) {
        AttachEffect();
        RebuildEffect();
    }
}

TDirectSoundBuffer* TWaveCollectionItem::NextExtraVoice() {
    for (auto& voice : extra_)
        if (!voice->Made() || !voice->Playing()) return voice.get();
    if (max_playing_count_ == 0 || extra_.size() < static_cast<std::size_t>(max_playing_count_)) {
        if (!main_ || !main_->Made()) return nullptr;
        // A copy shares the main voice's samples; a refused copy has no voice and
        // fails below like any voice without one.
        extra_.push_back(std::make_unique<TDirectSoundBuffer>(
            *list_.Device(), list_.Device()->Output()->DuplicateVoice(*main_->Voice())));
        return extra_.back().get();
    }
    // All voices busy: cut off the oldest and reuse it.
    std::rotate(extra_.begin(), extra_.begin() + 1, extra_.end());
    return extra_.back().get();
}

void TWaveCollectionItem::PlayEffect(bool wait) {
    if (!attached_) {
        // Without a device: a lost one may be back by now (tried every few
        // seconds, not at every play); otherwise silent and at once.
        TDXSound* sound = list_.DXSound();
        if (!sound || !sound->AwaitingOutput()) return;
        sound->RecoverIfLost();
        if (!attached_) return;
    }
    TDXSound& device = *list_.Device();
    device.RecoverIfLost();
    if (!attached_) return;
    if (!HasMainVoice() && !main_) RebuildEffect();
    if (!main_) return;  // nothing to play: never sounds, never waits

    if (looped_) {
        main_->Stop();
        main_->Rewind();
        main_->Play(true);
    } else {
        TDirectSoundBuffer* voice = NextExtraVoice();
        if (!voice) return;
        voice->Stop();
        voice->Rewind();
        voice->ResetControls();
        voice->Play(false);
        if (wait) WaitUntilEnded(*voice);
    }
    // The voices are no longer in use here: a lost output may be replaced now.
    device.RecoverIfLost();
}

void TWaveCollectionItem::WaitUntilEnded(TDirectSoundBuffer& voice) {
    SoundSystem& system = list_.Device()->System();
    const double mix_ahead = list_.Device()->Output()->MixAheadSeconds();
    const double start = system.NowSeconds();
    if (!voice.Playing()) return;
    const double length = voice.RemainingSeconds();
    // However the output behaves, a wait never lasts much beyond the sound.
    const double give_up = start + 2 * length + 0.25;
    double deadline = start + length;
    for (;;) {
        system.SleepUntil(deadline);
        if (!voice.Playing()) return;
        // Still playing: the mixer may have started late. Wait for what is left
        // beyond the part the mixer has already taken.
        const double left = voice.RemainingSeconds() - mix_ahead;
        const double now = system.NowSeconds();
        if (left <= 0 || now >= give_up) return;
        deadline = std::min(now + left, give_up);
    }
}

// ---- list ----

TDXWaveList::~TDXWaveList() {
    SetDXSound(nullptr);
    items_.clear();
}

void TDXWaveList::SetDXSound(TDXSound* sound) {
    if (dxsound_) dxsound_->UnRegisterNotifyEvent(*this);
    dxsound_ = sound;
    if (dxsound_) dxsound_->RegisterNotifyEvent(*this);
}

TWaveCollectionItem& TDXWaveList::Add(const std::string& name) {
    items_.push_back(std::make_unique<TWaveCollectionItem>(*this));
    items_.back()->Name = name;
    return *items_.back();
}

void TDXWaveList::DeviceNotice(TDXSound& sender, SoundNotice notice) {
    switch (notice) {
    case SoundNotice::Destroying:
        SetDXSound(nullptr);
        break;
    case SoundNotice::Opening:
        break;
    case SoundNotice::Opened:
        for (auto& item : items_) item->DetachEffect();
        device_ = &sender;
        for (auto& item : items_) item->AttachEffect();
        break;
    case SoundNotice::Closed:
        for (auto& item : items_) item->DetachEffect();
        device_ = nullptr;
        break;
    case SoundNotice::Restored:
        for (auto& item : items_) item->RebuildEffect();
        break;
    }
}

}  // namespace pellox
