#include "skininstall/unpack_bounds.h"

namespace pellox {

Result<void> CheckEntryCount(const SkinInstallLimits& limits, std::uint64_t entries) {
    if (entries <= limits.max_entries) return {};
    return Failure("the archive holds more than " + std::to_string(limits.max_entries) +
                   " entries, too many for a skin");
}

Result<void> CheckUnpackedBytes(const SkinInstallLimits& limits, std::uint64_t unpacked, std::uint64_t packed) {
    if (unpacked > limits.max_unpacked_bytes)
        return Failure("the archive unpacks to more than " + std::to_string(limits.max_unpacked_bytes >> 20) +
                       " MiB, far more than a skin needs");
    const double ratio_bound = limits.max_unpacked_per_packed * static_cast<double>(packed);
    if (unpacked > limits.ratio_checked_from_bytes && static_cast<double>(unpacked) > ratio_bound)
        return Failure("the archive unpacks to more than " +
                       std::to_string(static_cast<long long>(limits.max_unpacked_per_packed)) +
                       " times its own size, which no skin does (a zip bomb?)");
    return {};
}

std::string OutsideTheFolder(const std::string& utf8_name) {
    return "the entry \"" + utf8_name + "\" would be written outside the skin's folder";
}

}  // namespace pellox
