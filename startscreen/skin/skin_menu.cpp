#include "startscreen/skin/skin_menu.h"

#include <algorithm>

namespace pellox {

void SkinMenu::AddSkin(const SkinProbe& skin, const std::filesystem::path& file) {
    MenuTitlesSU.push_back(skin.TitleSU);
    MenuTitlesGB.push_back(skin.EnglishTitle());
    SkinFiles.push_back(file);
    selected = static_cast<int>(MenuTitlesSU.size()) - 1;
}

std::size_t SkinMenu::LaunchedEntry(int index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= MenuTitlesSU.size()) return 0;
    const auto first = std::find(MenuTitlesSU.begin() + 1, MenuTitlesSU.end(), MenuTitlesSU[static_cast<std::size_t>(index)]);
    return static_cast<std::size_t>(first - MenuTitlesSU.begin());
}

}  // namespace pellox
