#pragma once
// The bounds an archive from a stranger is held to while it unpacks, and the
// words that say which one it passed. The desktop's installer and the page's
// unzipper count the same way, so a skin is refused for the same reason.

#include <cstdint>
#include <string>

#include "skininstall/install_skins.h"

namespace pellox {

// Why one more entry is too many; empty while there are at most max_entries.
std::string EntryCountPassed(const SkinInstallLimits& limits, std::uint64_t entries);

// Why the bytes unpacked so far (never a header's claim) pass a bound, on
// their own or over the archive's packed size; empty while they do not.
std::string UnpackedBytesPassed(const SkinInstallLimits& limits, std::uint64_t unpacked, std::uint64_t packed);

// Why an entry's name cannot be unpacked: it would land outside the skin's folder.
std::string OutsideTheFolder(const std::string& utf8_name);

}  // namespace pellox
