#pragma once
// The skin menu's two parallel lists, one text per entry in Russian and in
// English, so that an index means the same choice whichever language shows,
// and beside them the file each entry was found in.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_probe.h"

namespace pellox {

// Entry 0, the game without a skin file. UTF-8, like every text of our own.
inline constexpr std::string_view kBuiltinMenuTitleSU =
    "Встроенная игра по умолчанию «Kestrow»";
inline constexpr std::string_view kBuiltinMenuTitleGB = "Built-in game “Kestrow”";

struct SkinMenu {
    std::vector<std::string> MenuTitlesSU{std::string(kBuiltinMenuTitleSU)};
    std::vector<std::string> MenuTitlesGB{std::string(kBuiltinMenuTitleGB)};
    // The skin file of each entry; entry 0 has none.
    std::vector<std::filesystem::path> SkinFiles{{}};
    // -1 while nothing is selected; that starts the built-in game, as entry 0 does.
    int selected = -1;

    // Appends a usable skin and selects it, so the menu opens on the last
    // skin found.
    void AddSkin(const SkinProbe& skin, const std::filesystem::path& file);

    // The skin file entry index was built from: nothing for the built-in
    // game and for an index out of range. Two skins may share a title; each
    // entry still launches its own file.
    std::filesystem::path FileOf(int index) const;
};

}  // namespace pellox
