#include "skin/skin_menu.h"

namespace pellox {

void SkinMenu::AddSkin(const SkinProbe& skin, const std::filesystem::path& file) {
    MenuTitlesSU.push_back(skin.TitleSU);
    MenuTitlesGB.push_back(skin.EnglishTitle());
    SkinFiles.push_back(file);
    selected = static_cast<int>(MenuTitlesSU.size()) - 1;
}

std::filesystem::path SkinMenu::FileOf(int index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= SkinFiles.size()) return {};
    return SkinFiles[static_cast<std::size_t>(index)];
}

}  // namespace pellox
