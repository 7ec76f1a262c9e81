#pragma once
// The bounds an archive from a stranger is held to while it unpacks, and the
// words that say which one it passed. The desktop's installer and the page's
// unzipper count the same way, so a skin is refused for the same reason.

#include <cstdint>
#include <string>

#include "base/result.h"
#include "skininstall/install_skins.h"

namespace pellox {

// Whether entries stay within max_entries, or why one more is too many.
Result<void> CheckEntryCount(const SkinInstallLimits& limits, std::uint64_t entries);

// Whether the bytes unpacked so far (never a header's claim) stay within the
// bounds, on their own and over the archive's packed size, or which one they pass.
Result<void> CheckUnpackedBytes(const SkinInstallLimits& limits, std::uint64_t unpacked, std::uint64_t packed);

// Why an entry's name cannot be unpacked: it would land outside the skin's folder.
std::string OutsideTheFolder(const std::string& utf8_name);

}  // namespace pellox
