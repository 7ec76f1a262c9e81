#include "skin/skin_menu.h"

namespace pellox {

void SkinMenu::AddSkin(const SkinProbe& skin) {
    MenuTitlesSU.push_back(skin.TitleSU);
    MenuTitlesGB.push_back(skin.EnglishTitle());
    selected = static_cast<int>(MenuTitlesSU.size()) - 1;
}

}  // namespace pellox
