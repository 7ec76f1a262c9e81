#include "skincommands/skin_install.h"

#include <sstream>
#include <string>

#include "skincommands/skin_check.h"
#include "skincommands/terminal_text.h"

namespace pellox {
namespace {

// Entries of a failing check shown here; the check itself tells the rest.
constexpr std::size_t kFailuresShown = 5;

// Checks the installed skin as --check-skin does and says how it went.
// Gives whether it passes.
bool ReportCheck(const InstalledSkin& skin, std::ostream& out) {
    std::ostringstream report;
    const SkinCheckOutcome check = CheckSkin(skin.ini, report);
    std::istringstream lines(report.str());
    std::string summary;
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("Summary: ")) summary = line.substr(9);
    if (check.status == 0) {
        out << "  Check: passes (" << summary << ")\n";
        return true;
    }
    out << "  Check: FAILS: " << summary << "\n";
    for (std::size_t i = 0; i < check.problems.size() && i < kFailuresShown; ++i) {
        const SkinEntryFailure& problem = check.problems[i];
        out << "    ";
        if (!problem.section.empty()) out << "[" << problem.section << "] " << problem.key << ": ";
        out << TerminalSafe(problem.reason) << "\n";
    }
    if (check.problems.size() > kFailuresShown) out << "    ...and " << check.problems.size() - kFailuresShown << " more\n";
    out << "  For every entry: pellox --check-skin '" << TerminalSafe(skin.ini.string()) << "'\n";
    return false;
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
        err << "pellox: nothing installed from " << TerminalSafe(source.string()) << ": "
            << TerminalSafe(result.error.empty() ? std::string("no usable skin") : result.error) << "\n";
        for (const RejectedSkinCandidate& rejected : result.rejected)
            err << "  " << TerminalSafe(rejected.where) << ": not a skin: " << TerminalSafe(rejected.reason) << "\n";
        for (const std::string& note : result.notes) err << "  Note: " << TerminalSafe(note) << "\n";
        return 1;
    }
    std::size_t failing = 0;
    for (const InstalledSkin& skin : result.installed) {
        out << "Installed \"" << TerminalSafe(skin.title_gb) << "\"";
        if (skin.title_su != skin.title_gb) out << " (in Russian \"" << TerminalSafe(skin.title_su) << "\")";
        out << " in " << TerminalSafe(skin.folder.string()) << "\n"
            << "  Skin file: " << TerminalSafe(skin.ini.string()) << "\n";
        if (!ReportCheck(skin, out)) ++failing;
    }
    for (const RejectedSkinCandidate& rejected : result.rejected)
        out << "Passed over " << TerminalSafe(rejected.where) << ": not a skin: " << TerminalSafe(rejected.reason) << "\n";
    for (const std::string& note : result.notes) out << "Note: " << TerminalSafe(note) << "\n";
    out << "The skin menu lists " << (result.installed.size() == 1 ? "it" : "them")
        << " the next time the game starts.\n";
    if (failing == 0) return 0;
    err << "pellox: " << (result.installed.size() == 1 ? std::string("the skin")
                                                        : std::to_string(failing) + " of the " +
                                                              std::to_string(result.installed.size()) + " skins")
        << " installed from " << TerminalSafe(source.string())
        << (failing == 1 ? " fails" : " fail") << " its check and would not start; see above for why\n";
    return 1;
}

}  // namespace pellox
