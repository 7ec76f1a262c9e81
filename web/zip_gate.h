#pragma once
// The page's unzipper asks here, entry by entry, what the desktop's installer
// would do: the entry's name as a path inside the skin's folder (names in
// UTF-8, CP866 or Windows-1251, "\" as a separator, nothing outside), and
// whether the entries and the bytes unpacked so far stay within its bounds.

#include <cstdint>
#include <string>

#include "base/result.h"
#include "skininstall/install_skins.h"

namespace pellox {

// The relative path to unpack an entry to, '/'-separated (empty: pass over),
// or why the whole archive is refused.
using ZipEntryVerdict = Result<std::string>;

class ZipGate {
public:
    explicit ZipGate(std::uint64_t packed_bytes) : packed_(packed_bytes) {}
    // name_bytes: the name exactly as the archive stores it.
    ZipEntryVerdict Admit(const std::string& name_bytes, bool folder);
    // More bytes unpacked: within the bounds, or which one they pass.
    Result<void> Unpacked(std::uint64_t bytes);

private:
    SkinInstallLimits limits_;
    std::uint64_t packed_;
    std::uint64_t entries_ = 0;
    std::uint64_t unpacked_ = 0;
};

}  // namespace pellox
