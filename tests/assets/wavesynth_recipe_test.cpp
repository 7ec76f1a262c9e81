// A skin's sound recipe: a whole recipe is read into the effects' order, and
// each kind of mistake is refused with its line and reason.
#include <gtest/gtest.h>

#include <string>

#include "tools/wavesynth/recipe.h"

namespace pellox::wavesynth {
namespace {

// Every effect once, in another order than the effects'; `extra` follows on
// line 19, inside the Chuck's sound.
std::string Recipe(const std::string& extra = "") {
    return "# all eight\n"
           "soften 3000\n"
           "sound GO 28377 18\n"
           "tone triangle 0 140 659.3 659.3 0.26 18\n"
           "sound UL 1767\ntone sine 0 40 659.3 659.3 0.3 12\n"
           "sound UR 1768\ntone sine 0 40 784 784 0.3\n"
           "sound DL 1768\ntone square 0 40 523.3 523.3 0.3 12\n"
           "sound DR 1768\ntone sine 0 40 587.3 587.3 0.3 12\n"
           "sound Basket 4977 18\ntone sine 0 50 1046.5 1046.5 0.22 8   # a chime\n"
           "sound Crack 14555\ncrackle 0 80 500 180 0.14 0x6e19417\n"
           "sound Chuck 6301\ntone sine 0 60 1400 2100 0.24 10\n" +
           extra;
}

TEST(WavesynthRecipe, AWholeRecipeIsReadInTheEffectsOrder) {
    const RecipeResult r = ParseRecipe(Recipe());
    ASSERT_TRUE(r.recipe) << r.error;
    EXPECT_EQ(r.recipe->soften_hz, 3000.0);
    ASSERT_EQ(r.recipe->sounds.size(), kEffectCount);
    for (std::size_t i = 0; i < kEffectCount; ++i) EXPECT_EQ(EffectIndex(r.recipe->sounds[i].effect), i);

    const RecipeSound& go = r.recipe->sounds[EffectIndex(Effect::GO)];
    EXPECT_EQ(go.frames, 28377u);
    EXPECT_EQ(go.format_size, 18);
    ASSERT_EQ(go.parts.size(), 1u);
    EXPECT_EQ(go.parts[0].shape, WaveShape::Triangle);
    EXPECT_EQ(go.parts[0].fade_ms, 18.0);

    const RecipeSound& ur = r.recipe->sounds[EffectIndex(Effect::UR)];
    EXPECT_EQ(ur.format_size, 16);
    EXPECT_EQ(ur.parts[0].fade_ms, 3.0);  // left out: the built-in sounds' fade

    const RecipePart& crackle = r.recipe->sounds[EffectIndex(Effect::Crack)].parts[0];
    EXPECT_TRUE(crackle.crackle);
    EXPECT_EQ(crackle.seed, 0x6e19417u);
}

TEST(WavesynthRecipe, MistakesAreRefusedWithTheirLineAndReason) {
    const std::string whole = Recipe();
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {whole + "tone sine 0 200 1400 2100 0.24\n", "line 19: tone ends after its sound (6301 frames)"},
        {whole + "tone saw 0 60 1400 2100 0.24\n", "line 19: no wave shape is called \"saw\""},
        {whole + "tone sine 0 sixty 1400 2100 0.24\n", "line 19: length \"sixty\" is not a number"},
        {whole + "tone sine nan 60 1400 2100 0.24\n", "line 19: start \"nan\" is not a number"},
        {whole + "tone sine 0 60 inf 2100 0.24\n", "line 19: from pitch \"inf\" is not a number"},
        {whole + "tone sine 0 60 1400 30000 0.24\n", "line 19: pitches must lie between 0 and 22050 Hz"},
        {whole + "tone sine 0 60 1400 2100 1.5\n", "line 19: the level must be more than 0 and at most 1"},
        {whole + "tone sine 0 60 1400\n", "line 19: tone takes a shape"},
        {whole + "crackle 0 60 900 300 0.2 seed\n", "line 19: the seed \"seed\" is not a whole number"},
        {whole + "sound UL 1767\n", "line 19: UL comes a second time"},
        {whole + "sound Boom 1767\n", "line 19: no effect is called \"Boom\""},
        {whole + "sound Boom\n", "line 19: sound takes a name"},
        {whole + "soften 2000\n", "line 19: soften comes once, before the first sound"},
        {whole + "beep 1 2 3\n", "line 19: \"beep\" is not a line a recipe has"},
        {whole + "be\x01\x1bp\n", "line 19: \"be??p\" is not a line a recipe has"},  // shown without control bytes
        {"tone sine 0 40 440 440 0.2\n", "line 1: tone before the first sound"},
        {"sound UL 0\n", "line 1: the length must be a whole number of frames"},
        {"sound UL 1767.5\n", "line 1: the length must be a whole number of frames"},
        {"sound UL 1767 24\n", "line 1: the format size is 16 or 18"},
        {"sound UL 1767\ntone sine 0 40 440 440 0.2\n", "no sound for UR, DL, DR, Basket, Crack, Chuck, GO"},
        {"", "no sound for UL, UR, DL, DR, Basket, Crack, Chuck, GO"},
    };
    for (const Case& c : cases) {
        const RecipeResult r = ParseRecipe(c.text);
        EXPECT_FALSE(r.recipe) << c.error;
        EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << "got: " << r.error;
    }
    // A sound with nothing in it is a mistake, not a silent effect.
    std::string silent = whole;
    silent.replace(silent.find("tone sine 0 60 1400"), std::string("tone sine 0 60 1400 2100 0.24 10\n").size(), "");
    EXPECT_EQ(ParseRecipe(silent).error, "Chuck has no tone");
}

}  // namespace
}  // namespace pellox::wavesynth
