#include "media/game_sounds.h"


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
    wave.LoadWaveImage(source);
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

GameSounds::GameSounds(std::unique_ptr<SoundSystem> system)
    : system_(std::move(system)),
      sound_(std::make_unique<TDXSound>(*system_)),
      list_(std::make_unique<TDXWaveList>()) {
    // Sounds go on when the window loses focus.
    sound_->SetOptions({.soGlobalFocus = true, .soStickyFocus = false, .soExclusive = true});
    sound_->OnInitialize = DXSoundInitialize;
    // One line each way; the tries in between stay quiet.
    sound_->OnOutputLost = [](TDXSound&) { Tell(lcSound, "the sound output was lost: the game goes on silently"); };
    sound_->OnOutputBack = [](TDXSound&) { Tell(lcSound, "the sound output is back"); };
    // The list's places are the effects' own: list item i is Effect i.
    for (Effect e : kAllEffects) {
        TWaveCollectionItem& item = list_->Add(std::string(EffectName(e)));
        LoadResourceWave(item.Wave(), BuiltinSoundPath(e));
    }
    list_->SetDXSound(sound_.get());
    sound_->Loaded();  // opens the output, or leaves the game silent
}

GameSounds::~GameSounds() {
    list_.reset();
    sound_.reset();
}

std::unique_ptr<GameSounds> MakeGameSound() {
    auto sounds = std::make_unique<GameSounds>();
    // The one thing worth saying about sound on a machine without it.
    if (!sounds->DXSound().Initialized()) Tell(lcSound, "no sound output found: the game plays silently");
    return sounds;
}

void GameSounds::PlayEffect(Effect effect, bool wait) {
    list_->Items(EffectIndex(effect)).PlayEffect(wait);
}

std::optional<double> GameSounds::EffectSeconds(Effect effect) {
    const TWave& wave = list_->Items(EffectIndex(effect)).Wave();
    PcmFormat format;
    if (!wave.ReadPcmFormat(format) || format.block_align == 0 || format.samples_per_second == 0)
        return std::nullopt;
    return static_cast<double>(wave.DataSize() / format.block_align) / format.samples_per_second;
}

void GameSounds::LoadEffectFile(Effect effect, const std::string& path) {
    // Read and judged apart first, so that a wave that cannot play leaves the
    // effect as it was, with or without an output to play on.
    TWave wave;
    wave.LoadWaveFile(path);
    if (std::string reason = UnplayableFormatReason(wave); !reason.empty()) throw EWaveFormatError(reason);
    list_->Items(EffectIndex(effect)).ReplaceWave(std::move(wave));
}

}  // namespace pellox
