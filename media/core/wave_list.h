#pragma once
// The game window's named sound effects and their voices.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/core/dx_sound.h"
#include "media/core/wave.h"

namespace pellox {

class TDXWaveList;

// One playback voice; a voice without a platform voice fails every operation
// with EDirectSoundBufferError "A sound has no voice on the sound output".
class TDirectSoundBuffer {
public:
    TDirectSoundBuffer(TDXSound& sound, std::unique_ptr<SoundVoice> voice = nullptr)
        : sound_(sound), voice_(std::move(voice)) {}

    // Replaces the platform voice by one holding the wave's samples. Throws
    // EDirectSoundBufferError "A sound cannot be made ready on the sound output"
    // or "A sound cannot be copied to the sound output".
    void LoadFromWave(const TWave& wave);
    bool Made() const { return voice_ != nullptr; }
    SoundVoice* Voice() { return voice_.get(); }

    void Stop();
    void Rewind();
    void ResetControls();
    void Play(bool looped);
    bool Playing();
    double RemainingSeconds();

private:
    SoundVoice& Require();
    void Check(VoiceResult result);

    TDXSound& sound_;
    std::unique_ptr<SoundVoice> voice_;
};

class TWaveCollectionItem {
public:
    explicit TWaveCollectionItem(TDXWaveList& list) : list_(list) {}
    ~TWaveCollectionItem() { DetachEffect(); }
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    std::string Name;

    bool Looped() const { return looped_; }
    void SetLooped(bool value);
    std::int32_t MaxPlayingCount() const { return max_playing_count_; }
    // Negative values set 0 (no limit).
    void SetMaxPlayingCount(std::int32_t value);
    TWave& Wave() { return wave_; }
    const TWave& Wave() const { return wave_; }

    // Plays the effect; with wait, returns when it has ended. Returns at once
    // while the effect has no device.
    void PlayEffect(bool wait);
    void AttachEffect();
    void DetachEffect();
    // Builds the main voice from the wave (an empty wave gets none).
    void RebuildEffect();
    // Reads a WAV file into the wave and rebuilds the voices from it, or says
    // why the file cannot be read. Throws EDirectSoundBufferError when the
    // output refuses a voice.
    Result<void> LoadEffectFile(const std::string& path);
    // Takes a wave already read (and judged) and rebuilds the voices from it.
    void ReplaceWave(TWave wave);

    bool Attached() const { return attached_; }
    bool HasMainVoice() const { return main_ != nullptr && main_->Made(); }
    std::size_t ExtraVoiceCount() const { return extra_.size(); }
    // For tests: the platform voice of extra voice i.
    SoundVoice* ExtraVoice(std::size_t i) { return extra_.at(i)->Voice(); }
    SoundVoice* MainVoice() { return main_ ? main_->Voice() : nullptr; }

private:
    void RebuildOnOpenDevice();
    TDirectSoundBuffer* NextExtraVoice();
    void WaitUntilEnded(TDirectSoundBuffer& voice);

    TDXWaveList& list_;
    bool looped_ = false;
    std::int32_t max_playing_count_ = 0;
    TWave wave_;
    bool attached_ = false;
    std::unique_ptr<TDirectSoundBuffer> main_;
    std::vector<std::unique_ptr<TDirectSoundBuffer>> extra_;
};

class TDXWaveList final : public SoundListener {
public:
    TDXWaveList() = default;
    ~TDXWaveList() override;
    TDXWaveList(const TDXWaveList&) = delete;
    TDXWaveList& operator=(const TDXWaveList&) = delete;

    TDXSound* DXSound() const { return dxsound_; }
    void SetDXSound(TDXSound* sound);

    TWaveCollectionItem& Add(const std::string& name);
    TWaveCollectionItem& Items(std::size_t index) { return *items_.at(index); }
    std::size_t Count() const { return items_.size(); }

    // The open device the effects play on, or null.
    TDXSound* Device() const { return device_; }
    void DeviceNotice(TDXSound& sender, SoundNotice notice) override;

private:
    TDXSound* dxsound_ = nullptr;
    TDXSound* device_ = nullptr;
    std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
};

}  // namespace pellox
