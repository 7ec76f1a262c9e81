// An archive from a stranger, installed as a skin: whatever the bytes, the
// install writes nothing outside the skins folder, no link, leaves no half-made
// folder behind, and a refusal leaves the skins folder as it was.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "skininstall/install_skins.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// Everything under skins is a folder or a regular file of an installed skin.
void CheckSkinsFolder(const fs::path& skins, const pellox::SkinInstallResult& result) {
    std::error_code ec;
    std::size_t top_level = 0;
    for (fs::recursive_directory_iterator it(skins, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (fs::is_symlink(status)) Fail("a link was written: " + it->path().string());
        if (!fs::is_directory(status) && !fs::is_regular_file(status))
            Fail("something neither file nor folder was written: " + it->path().string());
        if (it.depth() == 0) {
            ++top_level;
            if (it->path().filename().string().starts_with(".")) Fail("left behind: " + it->path().string());
        }
    }
    if (top_level != result.installed.size()) Fail("the skins folder holds other than the installed skins");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pellox::TempFolder scratch(pellox::TempFolder::Where::Memory);
    const fs::path archive = scratch.Write("in/skin.zip", data, size);
    const fs::path skins = scratch.path() / "skins";
    std::error_code ec;
    fs::remove_all(skins, ec);

    pellox::SkinInstallLimits limits;
    limits.max_unpacked_bytes = 8u << 20;
    limits.max_entries = 2000;
    const pellox::SkinInstallResult result = pellox::InstallSkins(archive, skins, limits);

    if (result.Succeeded() != result.error.empty()) Fail("success and error disagree: " + result.error);
    CheckSkinsFolder(skins, result);
    for (const auto& entry : fs::directory_iterator(scratch.path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name != "in" && name != "skins") Fail("written outside the skins folder: " + name);
    }
    for (const auto& entry : fs::directory_iterator(scratch.path() / "in", ec))
        if (entry.path().filename() != "skin.zip") Fail("written beside the archive: " + entry.path().string());
    fs::remove_all(skins, ec);
    return 0;
}
