#include "tools/wavesynth/recipe.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

namespace pellox::wavesynth {
namespace {

// Longer than any effect needs; keeps a typo from writing gigabytes.
constexpr std::size_t kMaxFrames = std::size_t{kRate} * 60;

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A finite number: from_chars also reads "nan" and "inf", which no field takes.
std::optional<double> Number(const std::string& word) {
    double v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::uint32_t> Seed(const std::string& word) {
    std::string_view digits = word;
    int base = 10;
    if (digits.size() > 2 && (digits.substr(0, 2) == "0x" || digits.substr(0, 2) == "0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    std::uint32_t v = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return v;
}

// A word from the file as it can be shown in a message: control bytes as '?'.
std::string Shown(std::string word) {
    for (char& ch : word)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ch = '?';
    return word;
}

std::optional<Effect> EffectNamed(std::string_view name) {
    for (Effect e : kAllEffects)
        if (EffectName(e) == name) return e;
    return std::nullopt;
}

std::optional<WaveShape> ShapeNamed(std::string_view name) {
    if (name == "square") return WaveShape::Square;
    if (name == "triangle") return WaveShape::Triangle;
    if (name == "sine") return WaveShape::Sine;
    return std::nullopt;
}

// Reads the numbers of a tone or a crackle; gives why not, or an empty text.
std::string ReadPart(const std::vector<std::string>& w, std::size_t first, RecipePart& part) {
    double* fields[] = {&part.start_ms, &part.length_ms, &part.from_hz, &part.to_hz, &part.level};
    const char* names[] = {"start", "length", "from pitch", "to pitch", "level"};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const auto v = Number(w[first + i]);
        if (!v) return std::string(names[i]) + " \"" + Shown(w[first + i]) + "\" is not a number";
        *fields[i] = *v;
    }
    if (part.start_ms < 0) return "the start is before the sound's beginning";
    if (part.length_ms <= 0) return "the length must be more than 0 ms";
    if (part.from_hz <= 0 || part.to_hz <= 0 || part.from_hz >= kRate / 2 || part.to_hz >= kRate / 2)
        return "pitches must lie between 0 and " + std::to_string(kRate / 2) + " Hz";
    if (part.level <= 0 || part.level > 1) return "the level must be more than 0 and at most 1";
    return {};
}

}  // namespace

RecipeResult ParseRecipe(std::string_view text) {
    Recipe recipe;
    std::array<bool, kEffectCount> seen{};
    bool soften_seen = false;
    int line_no = 0;
    auto fail = [&](const std::string& why) {
        return RecipeResult{std::nullopt, "line " + std::to_string(line_no) + ": " + why};
    };

    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t eol = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++line_no;
        if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        const std::string& verb = w[0];

        if (verb == "soften") {
            if (soften_seen || !recipe.sounds.empty()) return fail("soften comes once, before the first sound");
            const auto hz = w.size() == 2 ? Number(w[1]) : std::nullopt;
            if (!hz || *hz <= 0 || *hz >= kRate / 2)
                return fail("soften takes one cutoff in Hz, below " + std::to_string(kRate / 2));
            recipe.soften_hz = *hz;
            soften_seen = true;
        } else if (verb == "sound") {
            if (w.size() != 3 && w.size() != 4)
                return fail("sound takes a name, a length in frames and maybe 16 or 18");
            const auto effect = EffectNamed(w[1]);
            if (!effect) return fail("no effect is called \"" + Shown(w[1]) + "\"");
            if (seen[EffectIndex(*effect)]) return fail(w[1] + " comes a second time");
            seen[EffectIndex(*effect)] = true;
            const auto frames = Number(w[2]);
            if (!frames || *frames < 1 || *frames > double(kMaxFrames) || *frames != std::floor(*frames))
                return fail("the length must be a whole number of frames from 1 to " + std::to_string(kMaxFrames));
            const auto format = w.size() == 4 ? Number(w[3]) : std::optional<double>(16);
            if (!format || (*format != 16 && *format != 18)) return fail("the format size is 16 or 18");
            recipe.sounds.push_back(RecipeSound{*effect, static_cast<std::size_t>(*frames), int(*format), {}});
        } else if (verb == "tone" || verb == "crackle") {
            if (recipe.sounds.empty()) return fail(verb + " before the first sound");
            RecipeSound& sound = recipe.sounds.back();
            RecipePart part;
            part.crackle = verb == "crackle";
            std::size_t first = 1;
            if (!part.crackle) {
                if (w.size() != 7 && w.size() != 8)
                    return fail("tone takes a shape, start, length, two pitches, a level and maybe a fade");
                const auto shape = ShapeNamed(w[1]);
                if (!shape) return fail("no wave shape is called \"" + Shown(w[1]) + "\" (square, triangle, sine)");
                part.shape = *shape;
                first = 2;
            } else if (w.size() != 7) {
                return fail("crackle takes a start, a length, two pitches, a level and a seed");
            }
            if (const std::string why = ReadPart(w, first, part); !why.empty()) return fail(why);
            if (part.crackle) {
                const auto seed = Seed(w[6]);
                if (!seed) return fail("the seed \"" + Shown(w[6]) + "\" is not a whole number");
                part.seed = *seed;
            } else if (w.size() == 8) {
                const auto fade = Number(w[7]);
                if (!fade || *fade < 0) return fail("the fade must be a number of ms, 0 or more");
                part.fade_ms = *fade;
            }
            const double end_frames = (part.start_ms + part.length_ms) * kRate / 1000.0;
            if (end_frames > double(sound.frames) + 0.5)
                return fail(verb + " ends after its sound (" + std::to_string(sound.frames) + " frames)");
            sound.parts.push_back(part);
        } else {
            return fail("\"" + Shown(verb) + "\" is not a line a recipe has (soften, sound, tone, crackle)");
        }
    }

    std::string missing;
    for (Effect e : kAllEffects)
        if (!seen[EffectIndex(e)]) missing += (missing.empty() ? "" : ", ") + std::string(EffectName(e));
    if (!missing.empty()) return {std::nullopt, "no sound for " + missing};
    for (const RecipeSound& s : recipe.sounds)
        if (s.parts.empty()) return {std::nullopt, std::string(EffectName(s.effect)) + " has no tone"};
    std::sort(recipe.sounds.begin(), recipe.sounds.end(),
              [](const RecipeSound& a, const RecipeSound& b) { return EffectIndex(a.effect) < EffectIndex(b.effect); });
    return {std::move(recipe), {}};
}

void Play(const RecipePart& part, Track& track) {
    if (part.crackle)
        track.Crackle(part.start_ms, part.length_ms, part.from_hz, part.to_hz, part.level, part.seed);
    else
        track.Tone(part.start_ms, part.length_ms, part.from_hz, part.to_hz, part.level, part.fade_ms, part.shape);
}

}  // namespace pellox::wavesynth
