#include "startscreen/menu/skin_menu_model.h"

#include <system_error>

namespace pellox {
namespace {

// The walk and the installer may name one file by two paths (a link, "./").
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.lexically_normal() == b.lexically_normal()) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

const std::vector<std::string>& SkinMenuModel::Titles(InterfaceLanguage language) const {
    return language == InterfaceLanguage::Russian ? entries_.MenuTitlesSU : entries_.MenuTitlesGB;
}

std::filesystem::path SkinMenuModel::CommandLineSkin() const {
    return state_ == SkinMenuState::Locked && source_ == Source::CommandLine ? entries_.FileOf(1)
                                                                            : std::filesystem::path();
}

int SkinMenuModel::EntryOfFile(const std::filesystem::path& file) const {
    for (std::size_t i = 1; i < entries_.SkinFiles.size(); ++i)
        if (SameFile(entries_.SkinFiles[i], file)) return static_cast<int>(i);
    return -1;
}

void SkinMenuModel::SetState(SkinMenuState state) { state_ = state; }

void SkinMenuModel::CommandLineLooked(const SkinProbe& probe, const std::filesystem::path& file) {
    if (source_ != Source::Undecided) return;
    if (!probe.usable) {
        source_ = Source::Search;
        return;
    }
    source_ = Source::CommandLine;
    entries_.AddSkin(probe, file);
    selected_ = 1;
    SetState(SkinMenuState::Locked);
}

void SkinMenuModel::SearchStarted() {
    source_ = Source::Search;
    search_ = Search::Running;
    // Until a skin is found the menu shows what the start button launches,
    // unless the player has taken a skin already (one installed at once).
    if (!player_chose_) selected_ = 0;
}

bool SkinMenuModel::SkinFound(const SkinProbe& probe, const std::filesystem::path& file) {
    if (!probe.usable || InstalledHere(file)) return false;
    entries_.AddSkin(probe, file);
    if (!player_chose_) selected_ = entries_.selected;
    return true;
}

void SkinMenuModel::SearchEnded() {
    search_ = Search::Ended;
    if (entries_.SkinFiles.size() > 1) return;  // choosing, as it has been
    selected_ = 0;
    SetState(SkinMenuState::NoneFound);
}

void SkinMenuModel::PlayerChose(int index) {
    Select(index);
    player_chose_ = true;
}

void SkinMenuModel::Select(int index) {
    if (index < -1 || static_cast<std::size_t>(index + 1) > entries_.SkinFiles.size()) return;
    selected_ = index;
}

void SkinMenuModel::Launched() { player_chose_ = true; }

void SkinMenuModel::CommandLineSkinFailed() {
    entries_ = SkinMenu{};
    ++list_version_;
    SetState(SkinMenuState::Choosing);
    selected_ = 0;
    player_chose_ = true;  // skins found later leave the built-in game selected
    source_ = Source::Search;
    search_ = Search::NotStarted;
}

int SkinMenuModel::SkinInstalled(const SkinProbe& probe, const std::filesystem::path& file) {
    if (!probe.usable) return -1;
    if (!InstalledHere(file)) installed_here_.push_back(file);
    if (const int listed = EntryOfFile(file); listed > 0) {
        // Installed again over its own files: one entry, with the titles it has now.
        const auto entry = static_cast<std::size_t>(listed);
        std::string& su = entries_.MenuTitlesSU[entry];
        std::string& gb = entries_.MenuTitlesGB[entry];
        if (su != probe.TitleSU || gb != probe.EnglishTitle()) {
            su = probe.TitleSU;
            gb = probe.EnglishTitle();
            ++list_version_;
        }
        return listed;
    }
    entries_.AddSkin(probe, file);
    if (!player_chose_) selected_ = entries_.selected;
    return entries_.selected;
}

void SkinMenuModel::OfferInstalled(int entry) {
    if (entry <= 0 || static_cast<std::size_t>(entry) >= entries_.SkinFiles.size()) return;
    SetState(SkinMenuState::Choosing);
    selected_ = entry;
    player_chose_ = true;
}

bool SkinMenuModel::InstalledHere(const std::filesystem::path& file) const {
    for (const std::filesystem::path& installed : installed_here_)
        if (SameFile(file, installed)) return true;
    return false;
}

}  // namespace pellox
