#include "web/zip_gate.h"

#include "skininstall/archive_names.h"
#include "skininstall/unpack_bounds.h"

namespace pellox {

ZipEntryVerdict ZipGate::Admit(const std::string& name_bytes, bool folder) {
    if (std::string error = EntryCountPassed(limits_, ++entries_); !error.empty()) return {{}, error};
    const std::string name = ArchiveNameToUtf8(name_bytes);
    const auto relative = SafeRelativePath(name);
    if (!relative) {
        if (folder && (name == "." || name == "./")) return {};
        return {{}, OutsideTheFolder(name)};
    }
    if (folder) return {};
    return {relative->generic_string(), {}};
}

std::string ZipGate::Unpacked(std::uint64_t bytes) {
    unpacked_ += bytes;
    return UnpackedBytesPassed(limits_, unpacked_, packed_);
}

}  // namespace pellox
