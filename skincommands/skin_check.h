#pragma once
// `pellox --check-skin FILE`: what a skin's author needs to know before
// playing it, judged as the launch judges it, without a display or a sound
// device.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "skin/skin_apply.h"

namespace pellox {

// What a check found, for whoever tells the player.
struct SkinCheckOutcome {
    // 0 when the skin would launch with every entry, 1 otherwise.
    int status = 1;
    // Why it would not launch: each failed entry with its reason, and why the
    // game does not take it as a skin (with no section or key). Empty when it
    // launches.
    std::vector<SkinEntryFailure> problems;
};

// Writes a report on the skin file to out: whether the game takes it as a
// skin and if not why, its settings as the launch reads them, and every
// picture and sound entry, loaded or why not. Entries that the launch would
// pass over, after an earlier failure in their group, are checked all the
// same and marked so. Gives 0 when the skin would launch with every entry,
// 1 otherwise. Names and titles are printed with control characters escaped
// (skincommands/terminal_text.h).
//
// Looks for the skin's files from its dir as the launch does; the current
// folder is never changed, so the check can be run again (--watch).
int CheckSkinCommand(const std::filesystem::path& file, std::ostream& out);

// The same check, its report written to out, giving what it found.
SkinCheckOutcome CheckSkin(const std::filesystem::path& file, std::ostream& out);

// Why the skin file would not start (as CheckSkin's problems); nothing when
// it would. What the start screen tells the player of a skin it has just
// installed.
std::vector<SkinEntryFailure> SkinLaunchProblems(const std::filesystem::path& file);

}  // namespace pellox
