#include "skininstall/unpack_bounds.h"

namespace pellox {

std::string EntryCountPassed(const SkinInstallLimits& limits, std::uint64_t entries) {
    if (entries <= limits.max_entries) return {};
    return "the archive holds more than " + std::to_string(limits.max_entries) + " entries, too many for a skin";
}

std::string UnpackedBytesPassed(const SkinInstallLimits& limits, std::uint64_t unpacked, std::uint64_t packed) {
    if (unpacked > limits.max_unpacked_bytes)
        return "the archive unpacks to more than " + std::to_string(limits.max_unpacked_bytes >> 20) +
               " MiB, far more than a skin needs";
    const double ratio_bound = limits.max_unpacked_per_packed * static_cast<double>(packed);
    if (unpacked > limits.ratio_checked_from_bytes && static_cast<double>(unpacked) > ratio_bound)
        return "the archive unpacks to more than " +
               std::to_string(static_cast<long long>(limits.max_unpacked_per_packed)) +
               " times its own size, which no skin does (a zip bomb?)";
    return {};
}

std::string OutsideTheFolder(const std::string& utf8_name) {
    return "the entry \"" + utf8_name + "\" would be written outside the skin's folder";
}

}  // namespace pellox
