#include "web/web_game.h"

#include <emscripten.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

#include "skin/skin_apply.h"
#include "skin/skin_file.h"
#include "skin/skin_probe.h"
#include "skin/skin_text.h"
#include "web/page_reasons.h"

namespace pellox {
namespace {

// Why the page cannot draw the picture at path (decoded by the page before
// the launch, as the desktop's picture reader judges it); empty when it can.
// The caller frees the text.
EM_JS(char*, pellox_picture_problem, (const char* path), {
    const problem = Module.pictureProblem ? Module.pictureProblem(UTF8ToString(path))
                                          : "not a readable picture";
    return allocateUTF8(problem);
});

class WebSkinTarget final : public SkinTarget {
public:
    WebSkinTarget(SpriteModel& sprites, std::array<std::string, kSpriteCount>& pictures,
                  std::array<TWave, kEffectCount>& waves)
        : sprites_(sprites), pictures_(pictures), waves_(waves) {}

    Result<void> LoadSprite(SpriteId sprite, const SpriteEntry& e, const std::filesystem::path& file) override {
        if (Result<void> box = CheckSpriteBox(sprite, e); !box) return box;
        // Absolute and plain, as the page keyed the pictures it decoded.
        std::error_code ec;
        const std::string path = std::filesystem::absolute(file, ec).lexically_normal().string();
        char* text = pellox_picture_problem(path.c_str());
        const std::string problem = text ? text : "not a readable picture";
        std::free(text);
        if (!problem.empty()) return Failure("not a picture: " + problem);
        pictures_[static_cast<std::size_t>(sprite)] = path;
        sprites_.SetBounds(sprite, {e.left, e.top, e.width, e.height});
        return {};
    }

    Result<void> LoadSound(Effect effect, const std::filesystem::path& file) override {
        TWave wave;
        if (Result<void> read = wave.LoadWaveFile(file.string()); !read) return read;
        if (Result<void> playable = CheckPlayableFormat(wave); !playable) return playable;
        waves_[static_cast<std::size_t>(effect)] = std::move(wave);
        return {};
    }

private:
    SpriteModel& sprites_;
    std::array<std::string, kSpriteCount>& pictures_;
    std::array<TWave, kEffectCount>& waves_;
};

std::vector<std::string> FailureLines(const std::string& skin_file, const PagePackage& package,
                                      const std::vector<SkinEntryFailure>& failures, bool russian) {
    const std::string skin = ShownInPackage(skin_file, package);
    std::vector<std::string> lines;
    for (const SkinEntryFailure& f : failures)
        lines.push_back(SkinEntryFailureLine(skin, {f.section, f.key, PageReasonText(russian, f.reason, package)}));
    return lines;
}

}  // namespace

WebGame::WebGame(const std::string& builtin_waves)
    : builtin_waves_(builtin_waves),
      engine_(EnginePorts{sprites_, sound_, frame_timer_, side_timer_, clock_, title_, events_, records_, texts_}) {
    title_.SetTitle(std::u16string(16, u' '));
    // The frame timer waits for the launch; the side timer runs from now on.
    frame_timer_logic_.SetEnabled(false);
    frame_timer_logic_.OnTimer = [this](TDXTimer&) { Guarded([](WebGame& g) { g.engine_.dxTimerTimer(); }); };
    LoadBuiltinWaves();
}

void WebGame::LoadBuiltinWaves() {
    for (std::size_t i = 0; i < kEffectCount; ++i) {
        const Result<void> read = waves_[i].LoadWaveFile(builtin_waves_ + "/" + std::string(kEffectNames[i]) + ".wav");
        if (!read) report_ = read.reason();
    }
}

void WebGame::Guarded(void (*action)(WebGame&)) {
    try {
        action(*this);
    } catch (const std::exception& error) {
        report_ = error.what();
    }
}

void WebGame::LaunchBuiltin() {
    keys_ = {u'W', u'O', u'D', u'K'};
    engine_.PrepareLaunch();
    texts_.TitleSU = kBuiltinTitleSU;
    texts_.TitleGB = kBuiltinTitleGB;
    frame_timer_logic_.SetEnabled(true);
}

std::vector<std::string> WebGame::LaunchSkin(const std::string& skin_file, const PagePackage& package) {
    keys_ = {u'W', u'O', u'D', u'K'};
    engine_.PrepareLaunch();
    // The titles as the menu shows them, read when the skin was listed.
    const SkinProbe probe = ProbeSkin(std::filesystem::path(skin_file));
    texts_.TitleSU = DecodeSkinText(probe.TitleSU);
    texts_.TitleGB = DecodeSkinText(probe.EnglishTitle());

    LoadedSkinFile loaded = LoadSkinFile(skin_file);
    const SkinFile skin = loaded ? std::move(*loaded) : SkinFile::FromText("");
    const SkinSettings settings = ReadSkinSettings(skin);
    texts_.TitleSU = DecodeSkinText(settings.title);
    const std::filesystem::path skin_folder = std::filesystem::path(skin_file).parent_path();
    // The skin's dir resolves as on the desktop; the page has no start folder
    // of its own, the top of the skin's package (what was dropped) stands for it.
    const SkinFolders folders{SkinWorkFolder(settings.dir, skin_folder, package.folder), skin_folder};
    if (!settings.sound_on) engine_.ToggleSound();
    for (std::size_t i = 0; i < 4; ++i) keys_[i] = SkinControlKey(settings.keys[i], kSkinDefaultKeys[i]);

    WebSkinTarget target(sprites_, pictures_, waves_);
    std::vector<SkinEntryFailure> failures = ApplySkinEntries(skin, folders, target);
    if (!loaded) failures.insert(failures.begin(), {"", "", loaded.reason()});
    if (!failures.empty())
        return FailureLines(skin_file, package, failures, texts_.Language == InterfaceLanguage::Russian);
    frame_timer_logic_.SetEnabled(true);
    return {};
}

void WebGame::Stop() {
    frame_timer_logic_.SetEnabled(false);
    side_timer_.SetEnabled(false);
}

int WebGame::MillisecondsUntilTick() {
    if (!frame_timer_logic_.Polling()) return -1;
    return static_cast<int>(frame_timer_logic_.MillisecondsUntilDue());
}

bool WebGame::PollFrameTimer() { return frame_timer_logic_.PollStep(); }

void WebGame::SetPageShown(bool shown) {
    if (shown == timer_host_.active) return;
    timer_host_.active = shown;
    if (shown) frame_timer_logic_.ApplicationActivated();
    else frame_timer_logic_.ApplicationDeactivated();
}

void WebGame::SideTick() { Guarded([](WebGame& g) { g.engine_.TimerTimer(); }); }

void WebGame::PressGameKey(int position) {
    const auto p = static_cast<std::uint8_t>(position & 3);
    try {
        engine_.PressGameKey(p);
    } catch (const std::exception& error) {
        report_ = error.what();
    }
}

void WebGame::PressGameButton(bool variant_b) {
    try {
        engine_.PressGameButton(variant_b ? Variant::B : Variant::A);
    } catch (const std::exception& error) {
        report_ = error.what();
    }
}

void WebGame::ReleaseGameButton() { Guarded([](WebGame& g) { g.engine_.ReleaseGameButton(); }); }
void WebGame::ReleaseTimeButton() { Guarded([](WebGame& g) { g.engine_.ReleaseTimeButton(); }); }
void WebGame::ToggleSound() { Guarded([](WebGame& g) { g.engine_.ToggleSound(); }); }

void WebGame::PressCaseButton(int sprite) {
    const SpriteId id = SpriteAt(sprite);
    if (id != SpriteId::imButtA && id != SpriteId::imButtB && id != SpriteId::imButtT) return;
    sprites_.SetTop(id, sprites_.BoundsOf(id).top + 1);
    if (id != SpriteId::imButtT) PressGameButton(id == SpriteId::imButtB);
}

void WebGame::ReleaseCaseButton(int sprite) {
    const SpriteId id = SpriteAt(sprite);
    if (id == SpriteId::imButtS) return ToggleSound();
    if (id != SpriteId::imButtA && id != SpriteId::imButtB && id != SpriteId::imButtT) return;
    sprites_.SetTop(id, sprites_.BoundsOf(id).top - 1);
    if (id == SpriteId::imButtT) ReleaseTimeButton();
    else ReleaseGameButton();
}

std::u16string WebGame::ControlKeys() const { return std::u16string(keys_.begin(), keys_.end()); }

const std::vector<std::int32_t>& WebGame::Boxes() {
    boxes_.resize(static_cast<std::size_t>(kSpriteCount) * 4);
    for (int i = 0; i < kSpriteCount; ++i) {
        const Bounds& b = sprites_.BoundsOf(SpriteAt(i));
        const auto at = static_cast<std::size_t>(i) * 4;
        boxes_[at] = b.left;
        boxes_[at + 1] = b.top;
        boxes_[at + 2] = b.width;
        boxes_[at + 3] = b.height;
    }
    return boxes_;
}

std::string WebGame::TakeReport() {
    std::string out;
    out.swap(report_);
    return out;
}

}  // namespace pellox
