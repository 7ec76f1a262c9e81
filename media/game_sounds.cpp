#include "media/game_sounds.h"

#include <algorithm>

#include <QByteArray>
#include <QFile>
#include <span>

#include "assets/sounds/builtin_sounds.h"
#include "media/core/byte_source.h"
#include "media/core/media_errors.h"
#include "media/diagnostics.h"
#include "media/openal_sound.h"

namespace pellox {
namespace {

void LoadResourceWave(TWave& wave, const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(path);
    const QByteArray bytes = file.readAll();
    MemorySource source(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())));
    // The built-in waves are the game's own: one that cannot be read is a
    // broken build, and the sound cannot be made without it.
    if (const Result<void> read = wave.LoadWaveImage(source); !read) throw EWaveStreamError(path + ": " + read.reason());
}

// How long the wave sounds, from its format and its size.
std::chrono::steady_clock::duration LengthOf(const TWave& wave) {
    PcmFormat format;
    if (!wave.ReadPcmFormat(format) || format.avg_bytes_per_second == 0) return {};
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(static_cast<double>(wave.DataSize()) / format.avg_bytes_per_second));
}

}  // namespace

void DXSoundInitialize(TDXSound& sender) {
    PcmFormat format;
    format.format_tag = 1;
    format.channels = 2;
    format.bits_per_sample = 16;
    format.samples_per_second = 44100;
    format.block_align = format.channels * format.bits_per_sample / 8;
    format.avg_bytes_per_second = format.block_align * format.samples_per_second;
    if (SoundOutput* output = sender.Output()) output->SetMixFormat(format);
}

GameSounds::GameSounds() : GameSounds(std::make_unique<OpenALSoundSystem>()) {}

GameSounds::GameSounds(std::unique_ptr<SoundSystem> system, OutputOpens opens)
    : system_(std::move(system)),
      sound_(std::make_unique<TDXSound>(*system_)),
      list_(std::make_unique<TDXWaveList>()) {
    // Sounds go on when the window loses focus.
    sound_->SetOptions({.soGlobalFocus = true, .soExclusive = true});
    sound_->OnInitialize = DXSoundInitialize;
    // One line each way; the tries in between stay quiet.
    sound_->OnOutputLost = [](TDXSound&) {
        qCWarning(lcSound) << "the sound output was lost: the game goes on silently";
    };
    sound_->OnOutputBack = [](TDXSound&) { qCWarning(lcSound) << "the sound output is back"; };
    // The list's places are the effects' own: list item i is Effect i.
    for (Effect e : kAllEffects) {
        TWaveCollectionItem& item = list_->Add(std::string(EffectName(e)));
        LoadResourceWave(item.Wave(), BuiltinSoundPath(e));
    }
    list_->SetDXSound(sound_.get());
    sleep_timer_.setSingleShot(true);
    QObject::connect(&sleep_timer_, &QTimer::timeout, &sleep_timer_, [this] { SleepIfQuiet(); });
    if (opens == OutputOpens::AtOnce) sound_->Loaded();  // opens the output, or leaves the game silent
}

GameSounds::~GameSounds() {
    list_.reset();
    sound_.reset();
}

std::unique_ptr<GameSounds> MakeGameSound() {
    auto sounds = std::make_unique<GameSounds>();
    sounds->TellIfSilent();
    return sounds;
}

std::unique_ptr<GameSounds> MakeWindowGameSound() {
    return std::make_unique<GameSounds>(std::make_unique<OpenALSoundSystem>(), OutputOpens::WithTheWindow);
}

void GameSounds::TellIfSilent() {
    // The one thing worth saying about sound on a machine without it, once.
    if (sound_->Initialized() || told_silent_) return;
    told_silent_ = true;
    qCWarning(lcSound) << "no sound output found: the game plays silently";
}

void GameSounds::PlayEffect(Effect effect, bool wait) {
    TWaveCollectionItem& item = list_->Items(EffectIndex(effect));
    // A paused mixer would hold the sound, and a waiting play with it.
    sound_->SetPaused(false);
    if (sleeps_when_quiet_) {
        quiet_from_ = std::max(quiet_from_, std::chrono::steady_clock::now() + LengthOf(item.Wave()));
        ScheduleSleep();
    }
    item.PlayEffect(wait);
}

void GameSounds::OpenOutput() {
    if (!sound_->Initialized()) {
        sound_->Loaded();  // or the game goes on silently
        TellIfSilent();
    }
    sleeps_when_quiet_ = true;
    ScheduleSleep();
}

void GameSounds::CloseOutput() {
    sleeps_when_quiet_ = false;
    sleep_timer_.stop();
    sound_->CloseDevice();
}

void GameSounds::SetGamePaused(bool paused) {
    game_paused_ = paused;
    if (!paused) {
        // Back in the game, the mixer is ready before the next step sounds,
        // and stays so for a while even if nothing does.
        sound_->SetPaused(false);
        quiet_from_ = std::max(quiet_from_, std::chrono::steady_clock::now());
    }
    ScheduleSleep();
}

void GameSounds::ScheduleSleep() {
    if (!sleeps_when_quiet_ || !sound_->Initialized()) return;
    const auto wait = game_paused_ ? std::chrono::steady_clock::duration{} : kQuietBeforeSleep;
    const auto left = quiet_from_ + wait - std::chrono::steady_clock::now();
    sleep_timer_.start(std::max<std::chrono::milliseconds>(
        std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(0)));
}

void GameSounds::SleepIfQuiet() {
    if (!sleeps_when_quiet_) return;
    const auto wait = game_paused_ ? std::chrono::steady_clock::duration{} : kQuietBeforeSleep;
    if (std::chrono::steady_clock::now() < quiet_from_ + wait) {
        ScheduleSleep();  // a sound played meanwhile
        return;
    }
    sound_->SetPaused(true);
}

std::optional<double> GameSounds::EffectSeconds(Effect effect) {
    const TWave& wave = list_->Items(EffectIndex(effect)).Wave();
    PcmFormat format;
    if (!wave.ReadPcmFormat(format) || format.block_align == 0 || format.samples_per_second == 0)
        return std::nullopt;
    return static_cast<double>(wave.DataSize() / format.block_align) / format.samples_per_second;
}

Result<void> GameSounds::LoadEffectFile(Effect effect, const std::string& path) {
    // Read and judged apart first, so that a wave that cannot play leaves the
    // effect as it was, with or without an output to play on.
    TWave wave;
    if (Result<void> read = wave.LoadWaveFile(path); !read) return read;
    if (Result<void> playable = CheckPlayableFormat(wave); !playable) return playable;
    list_->Items(EffectIndex(effect)).ReplaceWave(std::move(wave));
    return {};
}

}  // namespace pellox
