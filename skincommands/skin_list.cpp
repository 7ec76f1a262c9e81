#include "skincommands/skin_list.h"

#include <cstddef>
#include <string>
#include <system_error>

#include <QString>

#include "skin/find_skin.h"
#include "skin/skin_menu.h"
#include "skin/skin_probe.h"
#include "skin/skin_text.h"
#include "skincommands/terminal_text.h"

namespace pellox {
namespace {

std::string Shown(const std::string& skin_text) {
    return TerminalSafe(QString::fromStdU16String(DecodeSkinText(skin_text)).toStdString());
}

// Paths as a player can paste them: the search's "./..." made absolute.
std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    const std::filesystem::path normal = (ec ? path : absolute).lexically_normal();
    // "/start/." comes out as "/start/": shown without the trailing slash.
    return normal.has_filename() ? normal : normal.parent_path();
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    return Absolute(a) == Absolute(b);
}

void WriteEntries(const SkinMenu& menu, std::ostream& out) {
    out << "The skin menu, as the start screen fills it:\n";
    for (std::size_t i = 0; i < menu.MenuTitlesSU.size(); ++i) {
        out << "  " << i << "  Russian: " << Shown(menu.MenuTitlesSU[i]) << "\n"
            << "     English: " << Shown(menu.MenuTitlesGB[i]) << "\n";
        if (i == 0) {
            out << "     File:    none, the game built into Pellox\n";
            continue;
        }
        out << "     File:    " << TerminalSafe(Absolute(menu.SkinFiles[i]).string()) << "\n";
    }
    if (menu.MenuTitlesSU.size() == 1)
        out << "No skins found: the menu offers only the built-in game.\n";
    else
        out << "The start screen opens with entry " << menu.selected << " selected, the last skin found.\n";
}

void WriteRoots(const std::vector<std::filesystem::path>& roots, const std::filesystem::path& installed_folder,
                std::ostream& out) {
    out << "\nFolders searched, in this order, each with its subfolders (those starting with a dot are passed over):\n";
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const std::filesystem::path& root = roots[i];
        std::error_code ec;
        const bool there = std::filesystem::is_directory(root, ec);
        const bool installed = SameFolder(root, installed_folder);
        out << "  " << TerminalSafe(Absolute(root).string());
        if (i == 0 && root == ".") out << "  (the current folder)";
        if (installed) out << "  (installed skins: a skin dropped on the start screen goes here)";
        if (!there) out << (installed ? "  not made yet" : "  not there");
        out << "\n";
    }
}

}  // namespace

int ListSkinsCommand(const std::vector<std::filesystem::path>& roots, const std::filesystem::path& installed_folder,
                     std::ostream& out) {
    SkinMenu menu;
    FindSkinInRoots(roots, NoTitleMarker, menu);
    WriteEntries(menu, out);
    WriteRoots(roots, installed_folder, out);
    return 0;
}

}  // namespace pellox
