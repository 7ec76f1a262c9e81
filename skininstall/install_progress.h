#pragma once
// What an install tells as it goes, and how whoever started it stops it: a
// window shows a bar from it and offers Cancel while the install runs on a
// thread of its own.

#include <cstdint>
#include <optional>
#include <vector>

namespace pellox {

struct InstalledSkin;            // install_skins.h
enum class SameTitleChoice;      // install_skins.h

// The reason a stopped install gives, beside SkinInstallResult::cancelled.
inline constexpr char kInstallCancelled[] = "the install was cancelled";

// An install so far. An archive's entries and unpacked bytes have no total
// before the end (a compressed tar has no index, and a header's claim is
// never trusted); how much of the archive file has been read does.
struct InstallProgress {
    std::uint64_t entries = 0;         // archive entries unpacked or passed over
    std::uint64_t unpacked_bytes = 0;  // bytes written out of the archive
    std::uint64_t packed_read = 0;     // bytes of the archive file read so far
    std::uint64_t packed_total = 0;    // the archive file's size; 0 for a folder or a skin file
};

// Called on the installing thread: between entries and every 64 KiB inside
// an entry. Both must be cheap and must not throw.
class InstallMonitor {
public:
    virtual ~InstallMonitor() = default;
    virtual void Progress(const InstallProgress& so_far) = 0;
    // True once the install is to stop: it then ends, leaving nothing behind,
    // with SkinInstallResult::cancelled set. Asked for the last time just
    // before the new skins are renamed into place; after that the install
    // always completes.
    virtual bool StopRequested() = 0;
    // With SameTitleChoice::Ask, once everything is unpacked and built: the
    // installed skins whose titles skins of the source have, with other
    // files. The answer applies to all of them. Nothing: no answer here, and
    // the install ends listing them in to_choose, installing nothing (to be
    // run again with the answer); a watcher that may wait for one (the
    // player's) returns it, or asks the install to stop.
    virtual std::optional<SameTitleChoice> ChooseSameTitle(const std::vector<InstalledSkin>& skins) {
        (void)skins;
        return std::nullopt;
    }
};

// For installs that nobody watches (the command line).
class UnwatchedInstall final : public InstallMonitor {
public:
    void Progress(const InstallProgress&) override {}
    bool StopRequested() override { return false; }
};

}  // namespace pellox
