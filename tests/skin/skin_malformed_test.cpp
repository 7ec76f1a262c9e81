// Skin files, skin folders and search trees a stranger may hand the game:
// each gives its entry a clear failure (or the documented fallback) quickly,
// and never reads without bound or walks for ever.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "skin/find_skin.h"
#include "skin/skin_apply.h"
#include "skin/skin_entries.h"
#include "skin/skin_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/kernel_files.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A generous bound that proves "does not hang": each case takes milliseconds.
constexpr auto kNoHang = std::chrono::seconds(5);

// Makes a file of `bytes` bytes: `head`, then zeros (sparse, so that 100 MB
// cost no disk).
fs::path SparseFile(const fs::path& path, const std::string& head, std::uint64_t bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) throw std::runtime_error("open " + path.string());
    const bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    ::ftruncate(fd, static_cast<off_t>(bytes)) == 0;
    ::close(fd);
    if (!ok) throw std::runtime_error("cannot write " + path.string());
    return path;
}

struct SkinFileCase {
    const char* name;
    fs::path (*make)(const TempFolder& folder);
    std::string error;  // part of the error; empty when the file loads
    std::string title;  // SETTINGS/title when it loads
};
void PrintTo(const SkinFileCase& c, std::ostream* out) { *out << c.name; }

const std::vector<SkinFileCase>& SkinFileCases() {
    static const std::vector<SkinFileCase> cases = {
        {"a_hundred_megabytes",
         [](const TempFolder& f) { return SparseFile(f.path() / "big.ini", "[SETTINGS]\ntitle=Big\n", 100u << 20); },
         "is too large for a skin file (over 4 MiB)", ""},
        {"just_at_the_limit",
         [](const TempFolder& f) {
             return SparseFile(f.path() / "full.ini", "[SETTINGS]\ntitle=Full\n", SkinFile::kMaxBytes);
         },
         "", "Full"},
        // One line of a megabyte is read like any other: its value is kept whole.
        {"a_line_of_a_megabyte",
         [](const TempFolder& f) {
             return f.Write("long.ini", "[SETTINGS]\ntitle=Long\nnote=" + std::string(1u << 20, 'x') + "\n");
         },
         "", "Long"},
        {"a_megabyte_of_zero_bytes",
         [](const TempFolder& f) { return SparseFile(f.path() / "zeros.ini", "", 1u << 20); }, "", ""},
        {"dev_zero", [](const TempFolder&) { return fs::path("/dev/zero"); }, "is not a regular file", ""},
        {"a_fifo",
         [](const TempFolder& f) {
             const fs::path fifo = f.path() / "pipe.ini";
             if (::mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
             return fifo;
         },
         "is not a regular file", ""},
    };
    return cases;
}

class SkinFileMalformed : public testing::TestWithParam<SkinFileCase> {};

TEST_P(SkinFileMalformed, IsRefusedWithItsReasonOrReadWithinTheLimit) {
    const SkinFileCase& c = GetParam();
    if (std::string_view(c.name) == "a_fifo") PELLOX_SKIP_WITHOUT_KERNEL_FILES();
    TempFolder folder;
    const fs::path path = c.make(folder);
    const auto start = std::chrono::steady_clock::now();
    const LoadedSkinFile loaded = LoadSkinFile(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
    if (!c.error.empty()) {
        EXPECT_FALSE(loaded);
        EXPECT_NE(loaded.reason().find(c.error), std::string::npos) << loaded.reason();
        return;
    }
    ASSERT_TRUE(loaded) << loaded.reason();
    EXPECT_EQ(loaded->Read("SETTINGS", "title", ""), c.title);
    if (c.title == "Long") {
        EXPECT_EQ(loaded->Read("SETTINGS", "note", "").size(), 1u << 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SkinFileMalformed, testing::ValuesIn(SkinFileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// What a skin's dir may name. A dir that is no folder leaves the current
// folder as it is: the entries are then looked for from there and beside the
// skin file, as for a skin without dir.
struct DirCase {
    const char* name;
    std::string dir;
    std::string error;  // part of why dir is no folder
};
void PrintTo(const DirCase& c, std::ostream* out) { *out << c.name; }

class SkinDirMalformed : public testing::TestWithParam<DirCase> {
protected:
    SkinDirMalformed() {
        folder.Write("skin/plain.bmp", "BM");
        ::mkfifo((folder.path() / "skin" / "pipe").c_str(), 0600);
    }
    TempFolder folder;
};

TEST_P(SkinDirMalformed, IsNoFolderAndLeavesTheCurrentFolder) {
    const DirCase& c = GetParam();
    CurrentDirGuard guard(folder.path());
    const fs::path skin_folder = folder.path() / "skin";
    const ResolvedSkinPath resolved = ResolveSkinDir(c.dir, skin_folder);
    EXPECT_NE(resolved.reason().find(c.error), std::string::npos) << resolved.reason();
    EXPECT_EQ(SkinWorkFolder(c.dir, skin_folder), fs::path());
    EXPECT_EQ(fs::current_path(), folder.path());
}

INSTANTIATE_TEST_SUITE_P(
    Dirs, SkinDirMalformed,
    testing::Values(DirCase{"a_file", "skin\\plain.bmp", "not a folder"},
                    DirCase{"a_fifo", "skin/pipe", "not a folder"},
                    DirCase{"dev_zero", "/dev/zero", "not a folder"},
                    DirCase{"a_zero_byte", "skin\0/../skin"s, "the file name holds a zero byte: \"skin\""},
                    // Bytes that are neither UTF-8 nor a name here: looked for and not found.
                    DirCase{"invalid_utf8", "\xFF\xFE\xC0", "no such file"},
                    DirCase{"empty", "", "no file named"}),
    [](const auto& info) { return std::string(info.param.name); });

// A picture or wave entry naming what is no file never reaches the loader.
class CountingTarget final : public SkinTarget {
public:
    Result<void> LoadSprite(SpriteId, const SpriteEntry&, const fs::path&) override {
        ++loads;
        return {};
    }
    Result<void> LoadSound(Effect, const fs::path&) override {
        ++loads;
        return {};
    }
    int loads = 0;
};

TEST(SkinEntryMalformed, AFolderAFifoADeviceOrAZeroByteNeverReachesTheLoader) {
    TempFolder folder;
    folder.Folder("skin/folder.bmp");
    ASSERT_EQ(::mkfifo((folder.path() / "skin" / "pipe.wav").c_str(), 0600), 0);
    CurrentDirGuard guard(folder.path());
    const SkinEntry* picture = nullptr;
    const SkinEntry* sound = nullptr;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            if (entry.sprite && !picture) picture = &entry;
            if (entry.effect && !sound) sound = &entry;
        }
    }
    ASSERT_TRUE(picture && sound);
    struct Case {
        std::string written;
        std::string error;
    };
    const Case cases[] = {
        {"skin\\folder.bmp", "not a regular file (a folder)"},
        {"skin/pipe.wav", "not a regular file (a FIFO)"},
        {"/dev/zero", "not a regular file (a device)"},
        {"skin/pipe.wav\0.bmp"s, "zero byte"},
    };
    for (const Case& c : cases) {
        if (c.written == "skin/pipe.wav" && !kKernelFiles) continue;
        for (const SkinEntry* entry : {picture, sound}) {
            SCOPED_TRACE(entry->key + " = " + c.written);
            // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on "[" + std::string.
            std::string text = "[";
            text.append(entry->section).append("]\n").append(entry->key).append("=");
            if (entry->sprite) text += "1,2,3,4,";
            text.append(c.written).append("\n");
            const SkinFile skin = SkinFile::FromText(text);
            CountingTarget target;
            const auto start = std::chrono::steady_clock::now();
            const Result<void> applied = ApplySkinEntry(skin, *entry, {{}, folder.path() / "skin"}, target);
            EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
            EXPECT_FALSE(applied);
            EXPECT_NE(applied.reason().find(c.error), std::string::npos) << applied.reason();
            EXPECT_EQ(target.loads, 0);
        }
    }
}

std::string SkinText(const std::string& title) { return "[SETTINGS]\nver=1.6\ntitle=" + title + "\n"; }

// Ten thousand folders, a hundred of them holding a skin, with links back
// up at every level: the walk ends, lists each skin once, and in order.
TEST(SkinSearchMalformed, TenThousandFoldersAndLinkLoopsEndQuickly) {
    // Made and removed in memory: on a busy disk thousands of folders took seconds.
    TempFolder tree(TempFolder::Where::Memory);
    for (int a = 0; a < 100; ++a) {
        char outer[8];
        std::snprintf(outer, sizeof outer, "%02d", a);
        const fs::path top = tree.Folder(outer);
        fs::create_directory_symlink("..", top / "up");
        for (int b = 0; b < 100; ++b) {
            char inner[8];
            std::snprintf(inner, sizeof inner, "%02d", b);
            fs::create_directory(top / inner);
        }
        tree.Write(fs::path(outer) / "50" / "skin.ini", SkinText(outer));
        fs::create_directory_symlink(tree.path(), top / "50" / "root");
    }
    SkinMenu menu;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FindSkin(tree.path(), NoTitleMarker, menu), fs::path());
    EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
    ASSERT_EQ(menu.MenuTitlesSU.size(), 101u);  // the built-in entry and the hundred skins
    EXPECT_EQ(menu.MenuTitlesSU[1], "00");
    EXPECT_EQ(menu.MenuTitlesSU[100], "99");
}

// A chain of folders deeper than a path may even be long: the walk stops
// kDeepestSkinFolder levels down, quickly.
TEST(SkinSearchMalformed, AChainOfThousandsOfFoldersIsWalkedOnlySoDeep) {
    PELLOX_SKIP_WITHOUT_KERNEL_FILES();
    // Made and removed in memory: on a busy disk thousands of folders took seconds.
    TempFolder tree(TempFolder::Where::Memory);
    constexpr int kDepth = 3000;  // 6000 bytes of "d/": past the 4096 a path may hold
    const int top = ::open(tree.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(top, 0);
    int at = ::dup(top);
    for (int level = 0; level < kDepth; ++level) {
        ASSERT_EQ(::mkdirat(at, "d", 0700), 0) << level;
        // The last level looked into, and the one below it.
        if (level == kDeepestSkinFolder || level == kDeepestSkinFolder + 1) {
            const bool within = level == kDeepestSkinFolder;
            const int file = ::openat(at, within ? "near.ini" : "beyond.ini", O_WRONLY | O_CREAT, 0600);
            const std::string text = SkinText(within ? "Near" : "Beyond");
            ASSERT_EQ(::write(file, text.data(), text.size()), static_cast<ssize_t>(text.size()));
            ::close(file);
        }
        const int next = ::openat(at, "d", O_RDONLY | O_DIRECTORY);
        ::close(at);
        ASSERT_GE(next, 0);
        at = next;
    }
    const int file = ::openat(at, "deep.ini", O_WRONLY | O_CREAT, 0600);
    const std::string text = SkinText("Deep");
    ASSERT_EQ(::write(file, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(file);
    ::close(at);

    SkinMenu menu;
    const auto start = std::chrono::steady_clock::now();
    FindSkin(tree.path(), NoTitleMarker, menu);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kNoHang);
    ASSERT_EQ(menu.MenuTitlesSU.size(), 2u);
    EXPECT_EQ(menu.MenuTitlesSU[1], "Near");

    // A path this deep is out of reach for the folder's own clean-up: lift the
    // chain one level at a time (move d/d up beside d, drop the empty d).
    for (int level = 0; level < kDepth; ++level) {
        if (::renameat(top, "d/d", top, "lifted") != 0) break;
        ::unlinkat(top, "d/near.ini", 0);
        ::unlinkat(top, "d/beyond.ini", 0);
        ASSERT_EQ(::unlinkat(top, "d", AT_REMOVEDIR), 0) << level;
        ASSERT_EQ(::renameat(top, "lifted", top, "d"), 0);
    }
    ::close(top);
}

}  // namespace
}  // namespace pellox
