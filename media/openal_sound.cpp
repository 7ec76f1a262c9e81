#include "media/openal_sound.h"

#include "media/diagnostics.h"
#include "media/openal_library.h"

#include <AL/alext.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <thread>

namespace pellox {
namespace {

// alsa-lib's error handler type; it is variadic.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// OpenAL Soft and the ALSA library it probes write their complaints about a
// missing device straight to the terminal, many lines a start. The game says
// it once itself (MakeGameSound), so both are kept quiet unless the player
// asked for OpenAL's log with ALSOFT_LOGLEVEL. ALSA is quietened through its
// own error handler, in the same library instance OpenAL Soft loads later.
void QuietSoundLibraries() {
    static bool done = false;
    if (done) return;
    done = true;
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr) return;
    ::setenv("ALSOFT_LOGLEVEL", "0", 0);
    if (void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL)) {
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) set(IgnoreAlsaError);
        // Kept loaded: the handler must stay in force while OpenAL uses ALSA.
    }
}

// The samples of one wave, shared by all voices that play it.
struct AlSamples {
    explicit AlSamples(std::shared_ptr<const OpenALFunctions> al) : al_(std::move(al)) {}
    std::shared_ptr<const OpenALFunctions> al_;
    ALuint buffer = 0;
    ALint frames = 0;
    ALint rate = 0;
    ~AlSamples() {
        if (buffer) al_->DeleteBuffers(1, &buffer);
    }
};

class OpenALVoice final : public SoundVoice {
public:
    OpenALVoice(ALCdevice* device, std::shared_ptr<AlSamples> samples, ALuint source)
        : al_(samples->al_), device_(device), samples_(std::move(samples)), source_(source) {}
    ~OpenALVoice() override {
        al_->SourceStop(source_);
        al_->Sourcei(source_, AL_BUFFER, 0);
        al_->DeleteSources(1, &source_);
    }

    const std::shared_ptr<AlSamples>& Samples() const { return samples_; }

    VoiceResult Stop() override {
        al_->SourceStop(source_);
        return Connection();
    }
    VoiceResult Rewind() override {
        al_->SourceRewind(source_);
        return Connection();
    }
    VoiceResult ResetControls() override {
        al_->Sourcef(source_, AL_PITCH, 1.0f);
        al_->Sourcef(source_, AL_GAIN, 1.0f);
        al_->Sourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        al_->Source3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
        return Connection();
    }
    VoiceResult Play(bool looped) override {
        al_->Sourcei(source_, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
        al_->SourcePlay(source_);
        return Connection();
    }
    VoiceResult IsSounding(bool& sounding) override {
        ALint state = AL_STOPPED;
        al_->GetSourcei(source_, AL_SOURCE_STATE, &state);
        sounding = state == AL_PLAYING;
        return Connection();
    }
    double RemainingSeconds() override {
        ALint offset = 0;
        al_->GetSourcei(source_, AL_SAMPLE_OFFSET, &offset);
        if (samples_->rate <= 0) return 0;
        return std::max(0, samples_->frames - offset) / static_cast<double>(samples_->rate);
    }

private:
    VoiceResult Connection() {
        ALCint connected = ALC_TRUE;
        al_->GetIntegerv(device_, ALC_CONNECTED, 1, &connected);
        return connected ? VoiceResult::Ok : VoiceResult::Lost;
    }

    std::shared_ptr<const OpenALFunctions> al_;
    ALCdevice* device_;
    std::shared_ptr<AlSamples> samples_;
    ALuint source_;
};

ALenum AlFormatOf(const PcmFormat& pcm) {
    if (pcm.format_tag != 1) return AL_NONE;
    if (pcm.channels == 1 && pcm.bits_per_sample == 8) return AL_FORMAT_MONO8;
    if (pcm.channels == 1 && pcm.bits_per_sample == 16) return AL_FORMAT_MONO16;
    if (pcm.channels == 2 && pcm.bits_per_sample == 8) return AL_FORMAT_STEREO8;
    if (pcm.channels == 2 && pcm.bits_per_sample == 16) return AL_FORMAT_STEREO16;
    return AL_NONE;
}

std::unique_ptr<SoundVoice> MakeSource(ALCdevice* device, std::shared_ptr<AlSamples> samples) {
    const OpenALFunctions* al_ = samples->al_.get();
    al_->GetError();
    ALuint source = 0;
    al_->GenSources(1, &source);
    if (al_->GetError() != AL_NO_ERROR) return nullptr;
    al_->Sourcei(source, AL_BUFFER, static_cast<ALint>(samples->buffer));
    if (al_->GetError() != AL_NO_ERROR) {
        al_->DeleteSources(1, &source);
        return nullptr;
    }
    return std::make_unique<OpenALVoice>(device, std::move(samples), source);
}

class OpenALOutput final : public SoundOutput {
public:
    OpenALOutput(std::shared_ptr<const OpenALFunctions> al, ALCdevice* device, ALCcontext* context, double mix_ahead,
                 OpenALLoopbackSystem* loopback)
        : al_(std::move(al)), device_(device), context_(context), mix_ahead_(mix_ahead), loopback_(loopback) {}
    ~OpenALOutput() override {
        al_->MakeContextCurrent(nullptr);
        al_->DestroyContext(context_);
        al_->CloseDevice(device_);
        if (loopback_) loopback_->OutputClosed();
    }

    void SetMixFormat(const PcmFormat& format) override {
        // The channel layout and sample type are the device's; the rate can be
        // asked for again where the device can be reset. The result is not ours
        // to judge: the mixer converts whatever it gets.
        if (loopback_ || format.samples_per_second == 0) return;
        ALCint rate = 0;
        al_->GetIntegerv(device_, ALC_FREQUENCY, 1, &rate);
        if (rate == static_cast<ALCint>(format.samples_per_second)) return;
        if (!al_->IsExtensionPresent(device_, "ALC_SOFT_HRTF")) return;
        auto reset = reinterpret_cast<LPALCRESETDEVICESOFT>(al_->GetProcAddress(device_, "alcResetDeviceSOFT"));
        const ALCint attributes[] = {ALC_FREQUENCY, static_cast<ALCint>(format.samples_per_second), ALC_REFRESH,
                                     OpenALSoundSystem::kRefreshHz, 0};
        if (reset) reset(device_, attributes);
    }

    std::unique_ptr<SoundVoice> MakeVoice(const TWave& wave, MakeResult& result) override {
        result = MakeResult::CannotMake;
        PcmFormat pcm;
        if (!wave.ReadPcmFormat(pcm) || pcm.block_align == 0 || pcm.samples_per_second == 0) return nullptr;
        const ALenum format = AlFormatOf(pcm);
        const int frame_bytes = pcm.channels * pcm.bits_per_sample / 8;
        if (format == AL_NONE) return nullptr;
        // A trailing part of a frame cannot be played; drop it.
        const ALsizei frames = wave.DataSize() / frame_bytes;
        if (frames == 0) return nullptr;

        auto samples = std::make_shared<AlSamples>(al_);
        al_->GetError();
        al_->GenBuffers(1, &samples->buffer);
        if (al_->GetError() != AL_NO_ERROR) {
            samples->buffer = 0;
            return nullptr;
        }
        al_->BufferData(samples->buffer, format, wave.Data(), frames * frame_bytes,
                     static_cast<ALsizei>(pcm.samples_per_second));
        if (al_->GetError() != AL_NO_ERROR) {
            result = MakeResult::CannotFill;
            return nullptr;
        }
        samples->frames = frames;
        samples->rate = static_cast<ALint>(pcm.samples_per_second);
        auto voice = MakeSource(device_, std::move(samples));
        if (voice) result = MakeResult::Ok;
        return voice;
    }

    std::unique_ptr<SoundVoice> DuplicateVoice(SoundVoice& original) override {
        return MakeSource(device_, static_cast<OpenALVoice&>(original).Samples());
    }

    double MixAheadSeconds() const override { return mix_ahead_; }
    void SetMixAhead(double seconds) { mix_ahead_ = seconds; }

    void SetPaused(bool paused) override {
        // A loopback output mixes only when asked to; a device's mixer thread
        // stops while it is paused (ALC_SOFT_pause_device).
        if (loopback_ || !al_->IsExtensionPresent(device_, "ALC_SOFT_pause_device")) return;
        const char* name = paused ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
        if (auto call = reinterpret_cast<LPALCDEVICEPAUSESOFT>(al_->GetProcAddress(device_, name))) call(device_);
    }

private:
    std::shared_ptr<const OpenALFunctions> al_;
    ALCdevice* device_;
    ALCcontext* context_;
    double mix_ahead_;
    OpenALLoopbackSystem* loopback_;
};

std::unique_ptr<OpenALOutput> MakeOutput(std::shared_ptr<const OpenALFunctions> al_, ALCdevice* device,
                                        const ALCint* attributes, double mix_ahead, OpenALLoopbackSystem* loopback,
                                        SoundSystem::OpenResult& result) {
    ALCcontext* context = al_->CreateContext(device, attributes);
    if (!context || !al_->MakeContextCurrent(context)) {
        if (context) al_->DestroyContext(context);
        al_->CloseDevice(device);
        result = SoundSystem::OpenResult::NoMixer;
        return nullptr;
    }
    result = SoundSystem::OpenResult::Ok;
    return std::make_unique<OpenALOutput>(std::move(al_), device, context, mix_ahead, loopback);
}

}  // namespace

OpenALSoundSystem::OpenALSoundSystem(std::string library) : library_(std::move(library)) {}
OpenALSoundSystem::~OpenALSoundSystem() = default;

std::unique_ptr<SoundOutput> OpenALSoundSystem::OpenDefaultOutput(OpenResult& result) {
    if (!al_ && !load_failed_) {
        // Quiet first: OpenAL Soft reads its log level as it loads.
        QuietSoundLibraries();
        std::string why;
        al_ = LoadOpenAL(library_, why);
        load_failed_ = !al_;
        if (load_failed_) qCWarning(lcSound, "the sound library cannot be loaded (%s)", why.c_str());
    }
    if (!al_) {
        result = OpenResult::NoDevice;
        return nullptr;
    }
    ALCdevice* device = al_->OpenDevice(nullptr);
    if (!device) {
        result = OpenResult::NoDevice;
        return nullptr;
    }
    const ALCint attributes[] = {ALC_FREQUENCY, 44100, ALC_REFRESH, kRefreshHz, 0};
    auto output = MakeOutput(al_, device, attributes, 0.0, nullptr, result);
    if (output) {
        // One mixing period of the period the device actually took.
        ALCint refresh = 0;
        al_->GetIntegerv(device, ALC_REFRESH, 1, &refresh);
        output->SetMixAhead(refresh > 0 ? 1.0 / refresh : 1.0 / kRefreshHz);
    }
    return output;
}

double OpenALSoundSystem::NowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
}

void OpenALSoundSystem::SleepUntil(double seconds) {
    const auto until = origin_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                     std::chrono::duration<double>(seconds));
    std::this_thread::sleep_until(until);
}

// ---- loopback ----

namespace {
LPALCLOOPBACKOPENDEVICESOFT LoopbackOpen(const OpenALFunctions* al) {
    if (!al) return nullptr;
    return reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(al->GetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
}
}  // namespace

OpenALLoopbackSystem::OpenALLoopbackSystem() {
    std::string why;
    al_ = LoadOpenAL(kOpenALLibrary, why);
}
OpenALLoopbackSystem::~OpenALLoopbackSystem() = default;

bool OpenALLoopbackSystem::Available() {
    std::string why;
    const auto al = LoadOpenAL(kOpenALLibrary, why);
    return al && al->IsExtensionPresent(nullptr, "ALC_SOFT_loopback") && LoopbackOpen(al.get()) != nullptr;
}

std::unique_ptr<SoundOutput> OpenALLoopbackSystem::OpenDefaultOutput(OpenResult& result) {
    auto open = LoopbackOpen(al_.get());
    ALCdevice* device = open ? open(nullptr) : nullptr;
    if (!device) {
        result = OpenResult::NoDevice;
        return nullptr;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, kRate, 0};
    // Rendering is exact here: nothing is mixed ahead of the play position.
    auto output = MakeOutput(al_, device, attributes, 0.0, this, result);
    if (output) device_ = device;
    return output;
}

void OpenALLoopbackSystem::Render(std::size_t frames) {
    const std::size_t start = captured_.size();
    captured_.resize(start + frames * 2, 0);
    if (device_) {
        auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
            al_->GetProcAddress(static_cast<ALCdevice*>(device_), "alcRenderSamplesSOFT"));
        render(static_cast<ALCdevice*>(device_), captured_.data() + start, static_cast<ALCsizei>(frames));
    }
    rendered_frames_ += frames;
}

void OpenALLoopbackSystem::SleepUntil(double seconds) {
    const auto target = static_cast<std::uint64_t>(std::ceil(seconds * kRate));
    if (target > rendered_frames_) Render(target - rendered_frames_);
}

}  // namespace pellox
