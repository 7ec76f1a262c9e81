#pragma once
// `pellox --check-skin FILE`: what a skin's author needs to know before
// playing it, judged as the launch judges it, without a display or a sound
// device.

#include <filesystem>
#include <ostream>

namespace pellox {

// Writes a report on the skin file to out: whether the game takes it as a
// skin and if not why, its settings as the launch reads them, and every
// picture and sound entry, loaded or why not. Entries that the launch would
// pass over, after an earlier failure in their group, are checked all the
// same and marked so. Gives 0 when the skin would launch with every entry,
// 1 otherwise.
//
// Looks for the skin's files from its dir as the launch does; the current
// folder is never changed, so the check can be run again (--watch).
int CheckSkinCommand(const std::filesystem::path& file, std::ostream& out);

}  // namespace pellox
