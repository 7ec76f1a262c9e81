#include "web/zip_gate.h"

#include "skininstall/archive_names.h"
#include "skininstall/unpack_bounds.h"

namespace pellox {

ZipEntryVerdict ZipGate::Admit(const std::string& name_bytes, bool folder) {
    if (Result<void> counted = CheckEntryCount(limits_, ++entries_); !counted) return Failure(counted.reason());
    const std::string name = ArchiveNameToUtf8(name_bytes);
    const auto relative = SafeRelativePath(name);
    if (!relative) {
        if (folder && (name == "." || name == "./")) return std::string();
        return Failure(OutsideTheFolder(name));
    }
    if (folder) return std::string();
    return relative->generic_string();
}

Result<void> ZipGate::Unpacked(std::uint64_t bytes) {
    unpacked_ += bytes;
    return CheckUnpackedBytes(limits_, unpacked_, packed_);
}

}  // namespace pellox
