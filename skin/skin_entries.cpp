#include "skin/skin_entries.h"

#include "lcd/core/sprite_tables.h"

namespace pellox {
namespace {

SkinEntry Picture(std::string_view section, std::string key, SpriteId sprite) {
    return {section, std::move(key), sprite, std::nullopt};
}

std::vector<SkinEntryGroup> MakeGroups() {
    const SpriteTables t = BindSpriteTables();
    std::vector<SkinEntryGroup> groups;
    groups.push_back({Picture("BACK", "ground", SpriteId::imBckgrnd), Picture("TIME", "am", SpriteId::imAM),
                      Picture("TIME", "pm", SpriteId::imPM), Picture("TIME", "div", SpriteId::imColon)});
    // "d" + segment (1 U .. 7 D) + digit (1 ones .. 4 thousands), each alone.
    for (int digit = 1; digit <= 4; ++digit)
        for (int segment = 1; segment <= 7; ++segment)
            groups.push_back({Picture("TIME", "d" + std::to_string(segment) + std::to_string(digit),
                                      t.SegmentSprites[static_cast<std::size_t>(digit - 1)]
                                                      [static_cast<std::size_t>(segment - 1)])});
    groups.push_back({Picture("GAME", "btA", SpriteId::imButtA), Picture("GAME", "btB", SpriteId::imButtB),
                      Picture("GAME", "btS", SpriteId::imButtS), Picture("GAME", "btT", SpriteId::imButtT),
                      Picture("GAME", "btX", SpriteId::imButtX), Picture("GAME", "gameA", SpriteId::imGameA),
                      Picture("GAME", "gameB", SpriteId::imGameB)});
    for (std::size_t miss = 0; miss < 3; ++miss)
        groups.push_back({Picture("ERRORS", "err" + std::to_string(miss + 1), t.MissMarkSprites[miss])});
    groups.push_back({Picture("ERRORS", "smashL", t.FloorSprites[0][1]), Picture("ERRORS", "smashR", t.FloorSprites[1][1]),
                      Picture("ERRORS", "shellL", t.FloorSprites[0][0]), Picture("ERRORS", "shellR", t.FloorSprites[1][0])});
    for (std::size_t step = 1; step <= 4; ++step)
        groups.push_back({Picture("ERRORS", "chuck" + std::to_string(step) + "L", t.FloorSprites[0][step + 1]),
                          Picture("ERRORS", "chuck" + std::to_string(step) + "R", t.FloorSprites[1][step + 1])});
    groups.push_back({Picture("WOLF", "wolfL", t.WolfSprites[0]), Picture("WOLF", "wolfR", t.WolfSprites[1]),
                      Picture("WOLF", "baskUL", t.BasketSprites[0]), Picture("WOLF", "baskUR", t.BasketSprites[1]),
                      Picture("WOLF", "baskDL", t.BasketSprites[2]), Picture("WOLF", "baskDR", t.BasketSprites[3])});
    static constexpr std::string_view kChutes[] = {"UL", "UR", "DL", "DR"};
    for (std::size_t place = 1; place <= 5; ++place) {
        SkinEntryGroup eggs;
        for (std::size_t chute = 0; chute < 4; ++chute)
            eggs.push_back(Picture("CHUTES", "egg" + std::string(kChutes[chute]) + std::to_string(place),
                                   t.EggSprites[chute][place - 1]));
        groups.push_back(std::move(eggs));
    }
    groups.push_back({Picture("HARE", "hare", SpriteId::imHare), Picture("HARE", "bell", SpriteId::imBell)});
    static constexpr std::string_view kSoundKeys[kEffectCount] = {"MoveUL", "MoveUR", "MoveDL", "MoveDR",
                                                                  "Catch",  "Miss",   "Chuck",  "Over"};
    for (Effect e : kAllEffects)
        groups.push_back({SkinEntry{"SOUNDS", std::string(kSoundKeys[EffectIndex(e)]), std::nullopt, e}});
    return groups;
}

}  // namespace

const std::vector<SkinEntryGroup>& SkinEntryGroups() {
    static const std::vector<SkinEntryGroup> groups = MakeGroups();
    return groups;
}

namespace {

// Every entry by what it feeds: sprites by their index, then the sounds.
const std::vector<const SkinEntry*>& EntriesByTarget() {
    static const std::vector<const SkinEntry*> entries = [] {
        std::vector<const SkinEntry*> by_target(kSpriteCount + kEffectCount, nullptr);
        for (const SkinEntryGroup& group : SkinEntryGroups())
            for (const SkinEntry& entry : group)
                by_target[entry.sprite ? static_cast<std::size_t>(IndexOf(*entry.sprite))
                                       : kSpriteCount + EffectIndex(*entry.effect)] = &entry;
        return by_target;
    }();
    return entries;
}

}  // namespace

const SkinEntry& SkinEntryOf(SpriteId sprite) { return *EntriesByTarget()[static_cast<std::size_t>(IndexOf(sprite))]; }
const SkinEntry& SkinEntryOf(Effect effect) { return *EntriesByTarget()[kSpriteCount + EffectIndex(effect)]; }

}  // namespace pellox
