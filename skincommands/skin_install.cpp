#include "skincommands/skin_install.h"

#include <sstream>
#include <string>

#include "skincommands/skin_check.h"

namespace pellox {
namespace {

// Entries of a failing check shown here; the check itself tells the rest.
constexpr int kFailuresShown = 5;

// Checks the installed skin as --check-skin does, and gives its summary and
// first failures.
void ReportCheck(const InstalledSkin& skin, std::ostream& out) {
    std::ostringstream report;
    const int status = CheckSkinCommand(skin.ini, report);

    std::istringstream lines(report.str());
    std::string summary;
    std::string failures;
    int shown = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Summary: ")) summary = line.substr(9);
        if (line.find(": FAILED: ") != std::string::npos && shown++ < kFailuresShown) failures += "    " + line + "\n";
    }
    if (status == 0) {
        out << "  Check: passes (" << summary << ")\n";
        return;
    }
    out << "  Check: FAILS: " << summary << "\n" << failures
        << "  For every entry: pellox --check-skin '" << skin.ini.string() << "'\n";
}

}  // namespace

int InstallSkinCommand(const std::filesystem::path& source, const std::filesystem::path& skins_folder,
                       std::ostream& out, std::ostream& err, const SkinInstallLimits& limits,
                       SameTitleChoice same_title) {
    const SkinInstallResult result = InstallSkins(source, skins_folder, limits, same_title);
    for (const InstalledSkin& skin : result.already_installed)
        out << "Already installed: \"" << skin.title_gb << "\" in " << skin.folder.string()
            << " holds the same files; nothing copied\n";
    if (!result.Succeeded() && !result.already_installed.empty() && result.error.empty()) return 0;
    if (!result.Succeeded()) {
        err << "pellox: nothing installed from " << source.string() << ": "
            << (result.error.empty() ? std::string("no usable skin") : result.error) << "\n";
        for (const RejectedSkinCandidate& rejected : result.rejected)
            err << "  " << rejected.where << ": not a skin: " << rejected.reason << "\n";
        for (const std::string& note : result.notes) err << "  Note: " << note << "\n";
        return 1;
    }
    for (const InstalledSkin& skin : result.installed) {
        out << "Installed \"" << skin.title_gb << "\"";
        if (skin.title_su != skin.title_gb) out << " (in Russian \"" << skin.title_su << "\")";
        out << " in " << skin.folder.string() << "\n"
            << "  Skin file: " << skin.ini.string() << "\n";
        ReportCheck(skin, out);
    }
    for (const RejectedSkinCandidate& rejected : result.rejected)
        out << "Passed over " << rejected.where << ": not a skin: " << rejected.reason << "\n";
    for (const std::string& note : result.notes) out << "Note: " << note << "\n";
    out << "The skin menu lists " << (result.installed.size() == 1 ? "it" : "them")
        << " the next time the game starts.\n";
    return 0;
}

}  // namespace pellox
