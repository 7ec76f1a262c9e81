// What the page's scripts call: the game, the skin probe and the few rules
// the page shares with the desktop (the language of a locale, the skin texts).

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "engine/language.h"
#include "lcd/core/sprite_layout.h"
#include "skin/skin_menu.h"
#include "skin/skin_probe.h"
#include "skin/code_pages.h"
#include "skin/skin_text.h"
#include "startscreen/menu/start_texts.h"
#include "web/page_reasons.h"
#include "web/web_game.h"
#include "web/zip_gate.h"

namespace pellox {
namespace {

using emscripten::val;

val Strings(const std::vector<std::string>& lines) {
    val out = val::array();
    for (const std::string& line : lines) out.call<void>("push", line);
    return out;
}

// The sprites in drawing order: name, box, see-through, as JSON text (the
// page parses it at once: one call instead of hundreds into the module while
// the page starts).
std::string LayoutJson() {
    std::string json = "[";
    for (const SpriteLayout& s : BuiltinLayout()) {
        if (json.size() > 1) json += ',';
        // Sprite names are identifiers: nothing in them needs escaping.
        json += "{\"name\":\"" + std::string(s.name) + "\",\"left\":" + std::to_string(s.bounds.left) +
                ",\"top\":" + std::to_string(s.bounds.top) + ",\"width\":" + std::to_string(s.bounds.width) +
                ",\"height\":" + std::to_string(s.bounds.height) +
                ",\"transparent\":" + (s.transparent ? "true" : "false") + "}";
    }
    return json + "]";
}

// A skin file's usability and titles as the menu shows them.
val Probe(const std::string& path) {
    const LoadedSkinFile loaded = LoadSkinFile(path);
    val out = val::object();
    if (!loaded) {
        out.set("usable", false);
        out.set("reasons", Strings({loaded.reason()}));
        return out;
    }
    const SkinProbe probe = ProbeSkin(*loaded);
    out.set("usable", probe.usable);
    out.set("reasons", Strings(SkinUnusableReasons(*loaded)));
    if (probe.usable) {
        out.set("titleSU", SkinTextToUtf8(probe.TitleSU));
        out.set("titleGB", SkinTextToUtf8(probe.EnglishTitle()));
    }
    return out;
}

// The menu's entry of the built-in game, in Russian and in English.
val BuiltinMenuTitles() {
    val out = val::object();
    out.set("su", std::string(kBuiltinMenuTitleSU));
    out.set("gb", std::string(kBuiltinMenuTitleGB));
    return out;
}

bool LocaleIsRussian(const std::string& locale) {
    return LanguageOfLocale(locale) == InterfaceLanguage::Russian;
}

val Sprite(const WebGame& game, int index) {
    val out = val::object();
    const SpriteState& s = game.Sprites().State(SpriteAt(index));
    out.set("left", s.bounds.left);
    out.set("top", s.bounds.top);
    out.set("width", s.bounds.width);
    out.set("height", s.bounds.height);
    out.set("picture", game.PictureFile(index));
    return out;
}

// Every sprite's picture file from the launched skin (empty for the
// built-in one), in drawing order.
val PictureFiles(const WebGame& game) {
    val out = val::array();
    for (int i = 0; i < kSpriteCount; ++i) out.call<void>("push", game.PictureFile(i));
    return out;
}

// A view of the game's memory: read it at once, before the next call.
val Boxes(WebGame& game) {
    const std::vector<std::int32_t>& boxes = game.Boxes();
    return val(emscripten::typed_memory_view(boxes.size(), boxes.data()));
}

std::string Lit(const WebGame& game) { return LitSprites(game.Sprites()); }

// The effects played since the last call, and the sprites lit while the first
// waited-for one sounds (empty when none was waited for).
val TakeSounds(WebGame& game) {
    if (game.Sound().Nothing()) return val::null();  // most ticks of the demo
    val out = val::object();
    val played = val::array();
    for (const PlayedEffect& p : game.Sound().TakePlayed()) {
        val e = val::object();
        e.set("effect", static_cast<int>(p.effect));
        e.set("wait", p.wait);
        played.call<void>("push", e);
    }
    out.set("played", played);
    out.set("litBeforeWait", game.Sound().TakeLitBeforeWait());
    return out;
}

// An effect's wave as the page makes its sound from it: format and samples.
val WaveOf(const WebGame& game, int effect) {
    const TWave& wave = game.Wave(static_cast<Effect>(effect & 7));
    val out = val::object();
    PcmFormat format;
    if (!wave.ReadPcmFormat(format) || wave.DataSize() <= 0) return val::null();
    out.set("channels", format.channels);
    out.set("rate", format.samples_per_second);
    out.set("bits", format.bits_per_sample);
    out.set("data", val(emscripten::typed_memory_view(static_cast<std::size_t>(wave.DataSize()), wave.Data())));
    return out;
}

std::string Title(const WebGame& game) { return Utf16ToUtf8(game.Title()); }
std::string Keys(const WebGame& game) { return Utf16ToUtf8(game.ControlKeys()); }
int Score(WebGame& game) { return game.Engine().Score(); }
int RecordA(WebGame& game) { return game.Engine().RecordA(); }
int RecordB(WebGame& game) { return game.Engine().RecordB(); }
int Mode(WebGame& game) { return static_cast<int>(game.Engine().CurrentState()); }
int WolfPos(WebGame& game) { return game.Engine().WolfPos(); }
bool SoundOn(WebGame& game) { return game.Engine().SoundOn(); }
// A skin launched from its package (its folder in the file system, and the
// name the player knows it by).
val Launch(WebGame& game, const std::string& skin, const std::string& folder, const std::string& name) {
    return Strings(game.LaunchSkin(skin, {folder, name}));
}

// The start screen's texts that the desktop shows too, by the page's names.
val StartTextsOf(bool russian) {
    const StartTexts& t = StartTextsIn(russian ? InterfaceLanguage::Russian : InterfaceLanguage::English);
    val out = val::object();
    out.set("caption", std::string(t.window_caption));
    out.set("start", std::string(t.start_button));
    out.set("choosing", std::string(t.menu_choosing));
    out.set("pickFiles", std::string(t.install_skin));
    out.set("quoted", std::string(t.quoted));
    out.set("more", std::string(t.and_more));
    out.set("launchFailed", std::string(t.launch_failed_title));
    out.set("notLoaded", std::string(t.not_loaded));
    out.set("chooseAnother", std::string(t.choose_another));
    out.set("installFailed", std::string(t.install_failed_title));
    out.set("noSkinFrom", std::string(t.nothing_installed_from));
    out.set("rejectedHeading", std::string(t.rejected_heading));
    out.set("noSkinFile", std::string(t.no_skin_file));
    return out;
}

// A reason in the page's language, its paths named within the package it
// came from (none: an empty folder).
std::string Reason(bool russian, const std::string& reason, const std::string& folder, const std::string& name) {
    return PageReasonText(russian, reason, {folder, name});
}

val Admit(ZipGate& gate, const std::string& name_bytes, bool folder) {
    const ZipEntryVerdict verdict = gate.Admit(name_bytes, folder);
    val out = val::object();
    out.set("path", verdict ? *verdict : std::string());
    out.set("error", verdict.reason());
    return out;
}

// Why the bytes pass a bound; empty while they do not (the page's check).
std::string Unpacked(ZipGate& gate, double bytes) { return gate.Unpacked(static_cast<std::uint64_t>(bytes)).reason(); }

}  // namespace
}  // namespace pellox

EMSCRIPTEN_BINDINGS(pellox) {
    using namespace emscripten;
    using pellox::WebGame;
    function("layoutJson", &pellox::LayoutJson);
    function("probeSkin", &pellox::Probe);
    function("localeIsRussian", &pellox::LocaleIsRussian);
    function("builtinMenuTitles", &pellox::BuiltinMenuTitles);
    function("reasonText", &pellox::Reason);
    function("startTexts", &pellox::StartTextsOf);
    class_<pellox::ZipGate>("ZipGate")
        .constructor<double>()
        .function("admit", &pellox::Admit)
        .function("unpacked", &pellox::Unpacked);
    class_<WebGame>("Game")
        .constructor<std::string>()
        .function("launchBuiltin", &WebGame::LaunchBuiltin)
        .function("setRussian", &WebGame::SetRussian)
        .function("launchSkin", &pellox::Launch)
        .function("stop", &WebGame::Stop)
        .function("msUntilTick", &WebGame::MillisecondsUntilTick)
        .function("pollFrameTimer", &WebGame::PollFrameTimer)
        .function("setPageShown", &WebGame::SetPageShown)
        .function("sideTimerEnabled", &WebGame::SideTimerEnabled)
        .function("sideTick", &WebGame::SideTick)
        .function("pressGameKey", &WebGame::PressGameKey)
        .function("pressGameButton", &WebGame::PressGameButton)
        .function("releaseGameButton", &WebGame::ReleaseGameButton)
        .function("releaseTimeButton", &WebGame::ReleaseTimeButton)
        .function("toggleSound", &WebGame::ToggleSound)
        .function("pressCaseButton", &WebGame::PressCaseButton)
        .function("releaseCaseButton", &WebGame::ReleaseCaseButton)
        .function("takeReport", &WebGame::TakeReport)
        .function("sprite", &pellox::Sprite)
        .function("pictureFiles", &pellox::PictureFiles)
        .function("lit", &pellox::Lit)
        .function("boxes", &pellox::Boxes)
        .function("takeSounds", &pellox::TakeSounds)
        .function("wave", &pellox::WaveOf)
        .function("title", &pellox::Title)
        .function("keys", &pellox::Keys)
        .function("score", &pellox::Score)
        .function("recordA", &pellox::RecordA)
        .function("recordB", &pellox::RecordB)
        .function("mode", &pellox::Mode)
        .function("wolfPos", &pellox::WolfPos)
        .function("soundOn", &pellox::SoundOn);
}
