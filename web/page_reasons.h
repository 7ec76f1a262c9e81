#pragma once
// The skin reader's and the installer's reasons as the page shows them: in
// the page's language (the desktop's table of Russian reasons, its patterns
// matched by the browser's own regular expressions), and with the paths they
// quote named as the skin has them, not by the page's file system.

#include <string>
#include <string_view>

namespace pellox {

// A package of skin files in the page's file system (/skins/<id>), and the
// name the player knows it by: the archive dropped or picked, or none for
// files and folders (their paths in it name them already).
struct PagePackage {
    std::string folder;
    std::string name;
};

// text with package's folder dropped from the paths in it, as the desktop
// drops its start folder: "/skins/<id>/kestrow/egg.bmp" is "kestrow/egg.bmp",
// the folder itself is the package's name ("./" when it has none), and "."
// steps go.
std::string ShownInPackage(std::string text, const PagePackage& package);

std::string PageReasonText(bool russian, const std::string& reason, const PagePackage& package);

}  // namespace pellox
