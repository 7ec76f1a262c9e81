#pragma once
// The skin search: fills the skin menu from a folder tree, and finds a chosen
// skin again by its title.

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "startscreen/skin/skin_menu.h"

namespace pellox {

// How many levels of folders below a root the skin search looks into.
inline constexpr int kDeepestSkinFolder = 32;

// Called for each usable skin, in the order of the menu.
using SkinFoundFn = std::function<void(const SkinProbe& skin, const std::filesystem::path& file)>;
// Asked before each folder is read and each file is probed, and every few
// thousand entries of a long listing; false ends the walk there.
using SkinSearchGoOnFn = std::function<bool()>;

// Walks folder depth first: first every "*.ini" of a folder (letter case
// ignored, hidden files included), each usable one added to menu and
// selected; then each subfolder not starting with ".". Entries are taken in
// name order, ASCII letter case ignored first, so the menu is the same on
// every machine. Links to folders are followed, but a folder is entered at
// most once, so a link loop ends; a folder that cannot be listed is passed
// over, and so are folders more than kDeepestSkinFolder levels below folder.
// The kernel's own file systems (/proc, /sys, ...) are never entered; network
// and FUSE file systems (NFS, SMB, sshfs, ...) are not entered below a root,
// so that a mount in the home folder does not make the game wait for the
// network, while a root that lies on one, such as a home folder on NFS, is
// still walked.
//
// Gives the path (folder, "/", names) of the first usable skin whose title is
// exactly wanted, stopping the search there, or an empty path. Pass
// NoTitleMarker as wanted to list every skin of the tree.
std::filesystem::path FindSkin(const std::filesystem::path& folder, std::string_view wanted,
                               SkinMenu& menu);

// FindSkin over each root in turn (see SkinSearchRoots), stopping at the
// first hit. A folder the walk of an earlier root has entered is not walked
// again, so a root inside an earlier root, or the same folder by another
// path, adds nothing twice. A root that an earlier walk could not reach, such
// as ~/.local/share/pellox/skins behind the hidden ".local" when the game is
// started in the home folder, is still walked.
std::filesystem::path FindSkinInRoots(const std::vector<std::filesystem::path>& roots,
                                      std::string_view wanted, SkinMenu& menu);

// The same walk, handing each usable skin to found, and ending early when
// go_on says so (then it gives an empty path). Safe to run on a thread of its
// own: it touches nothing but the file system and what the two callbacks do.
std::filesystem::path SearchSkins(const std::vector<std::filesystem::path>& roots, std::string_view wanted,
                                  const SkinFoundFn& found, const SkinSearchGoOnFn& go_on = {});

// How the search treats a folder by its file system (statfs's f_type).
enum class FileSystemKind { Local, Kernel, Remote };
FileSystemKind KindOfFileSystem(unsigned long f_type);

}  // namespace pellox
