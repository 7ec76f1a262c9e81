#pragma once
// The page's unzipper asks here, entry by entry, what the desktop's installer
// would do: the entry's name as a path inside the skin's folder (names in
// UTF-8, CP866 or Windows-1251, "\" as a separator, nothing outside), and
// whether the entries and the bytes unpacked so far stay within its bounds.

#include <cstdint>
#include <string>

#include "skininstall/install_skins.h"

namespace pellox {

struct ZipEntryVerdict {
    std::string path;   // the relative path to unpack to, '/'-separated; empty: pass over
    std::string error;  // why the whole archive is refused; empty when it is not
};

class ZipGate {
public:
    explicit ZipGate(std::uint64_t packed_bytes) : packed_(packed_bytes) {}
    // name_bytes: the name exactly as the archive stores it.
    ZipEntryVerdict Admit(const std::string& name_bytes, bool folder);
    // More bytes unpacked; why they pass a bound, or empty.
    std::string Unpacked(std::uint64_t bytes);

private:
    SkinInstallLimits limits_;
    std::uint64_t packed_;
    std::uint64_t entries_ = 0;
    std::uint64_t unpacked_ = 0;
};

}  // namespace pellox
