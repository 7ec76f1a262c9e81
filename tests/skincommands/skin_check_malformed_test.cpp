// The skin check describes a broken picture as the game loads it.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "lcd/core/sprite_layout.h"
#include "skincommands/skin_check.h"
#include "skin/skin_entries.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

// A 16 x 16 run-length bitmap whose runs end at once: no pixel is set, so
// every pixel is palette colour 0 (magenta), the lower-left one too.
std::string EmptyRunLengthBitmap() {
    std::string b = "BM";
    auto put32 = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b += static_cast<char>(v >> (8 * i));
    };
    auto put16 = [&b](unsigned v) {
        b += static_cast<char>(v & 0xFF);
        b += static_cast<char>(v >> 8);
    };
    put32(14 + 40 + 1024 + 4);
    put32(0);
    put32(14 + 40 + 1024);
    for (std::uint32_t v : {40u, 16u, 16u}) put32(v);
    put16(1);
    put16(8);
    for (std::uint32_t v : {1u, 4u, 2835u, 2835u, 0u, 0u}) put32(v);
    for (int i = 0; i < 256; ++i) b += i == 0 ? std::string("\xFF\x00\xFF\x00", 4) : std::string(4, static_cast<char>(i));
    b += std::string("\x00\x00\x00\x01", 4);  // end of line, end of bitmap
    return b;
}

// The skin check's report of a skin whose one see-through sprite is the
// picture `bytes`.
std::string ReportOfSkinWithPicture(const std::string& bytes) {
    const SkinEntry* see_through = nullptr;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            if (!see_through && entry.sprite && LayoutOf(*entry.sprite).transparent) see_through = &entry;
        }
    }
    if (!see_through) return "no see-through sprite";
    TempFolder folder;
    folder.Write("picture.bmp", bytes);
    std::string skin = "[SETTINGS]\nver=1.6\ntitle=Check\n[";
    skin.append(see_through->section).append("]\n").append(see_through->key).append("=0,0,16,16,picture.bmp\n");
    const auto file = folder.Write("skin.ini", skin);
    CurrentDirGuard guard(folder.path());
    std::ostringstream report;
    CheckSkinCommand(file, report);
    return report.str();
}

TEST(SkinCheckMalformed, ARunLengthPicturesUnsetPixelsAreReportedAsColourZero) {
    // Decoded without care, the unset pixels are whatever the allocator hands
    // out: zeros here by luck, 0xbe under AddressSanitizer (which fills new
    // memory), 0x54 with GLIBC_TUNABLES=glibc.malloc.tcache_count=0 MALLOC_PERTURB_=171.
    const std::string report = ReportOfSkinWithPicture(EmptyRunLengthBitmap());
    EXPECT_NE(report.find("8-bit bitmap, see-through colour #ff00ff)"), std::string::npos) << report;
}

// The check refuses an SVG picture as the launch does, without opening the
// file its <image> names (a regular file here, so that a fault cannot hang).
TEST(SkinCheckMalformed, AnSvgPictureIsRefusedAsTheLaunchRefusesIt) {
    TempFolder other;
    const auto drawn = other.Write("drawn.bmp", EmptyRunLengthBitmap());
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                            "width='16' height='16'><image width='16' height='16' xlink:href='" +
                            drawn.string() + "'/></svg>";
    const std::string report = ReportOfSkinWithPicture(svg);
    EXPECT_NE(report.find("not a readable picture (BMP, PNG, GIF and JPEG pictures are read)"), std::string::npos)
        << report;
}

}  // namespace
}  // namespace pellox
