#include "skininstall/archive_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pellox {
namespace {

struct NameCase {
    std::string bytes;
    std::string utf8;
};

TEST(ArchiveNameToUtf8, KeepsUtf8AndReadsOldCodePagesAsCyrillic) {
    const NameCase cases[] = {
        {"plain/ascii.bmp", "plain/ascii.bmp"},
        {"Волк/фон.bmp", "Волк/фон.bmp"},
        {"\x82\xAE\xAB\xAA\\\xE4\xAE\xAD.bmp", "Волк\\фон.bmp"},  // CP866
        {"\xC2\xEE\xEB\xEA\\\xF4\xEE\xED.bmp", "Волк\\фон.bmp"},  // Windows-1251
        {"\xB8\xEB\xEA\xE0", "ёлка"},                             // Windows-1251 with ё
        {"\xF1\xAB\xAA\xA0", "ёлка"},                             // CP866 with ё
        {"\x98\xEB\xEA\xE0", "Шыър"},  // 0x98 is no Windows-1251 letter: CP866 even with fewer letters
        {"\xB0\xB1", "░▒"},              // no letter either way: CP866 on the tie
    };
    for (const NameCase& c : cases) EXPECT_EQ(ArchiveNameToUtf8(c.bytes), c.utf8) << c.utf8;
}

TEST(SafeRelativePath, RefusesEveryWayOut) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"Wolf\\pics\\bg.bmp", "Wolf/pics/bg.bmp"},
        {"./Wolf//bg.bmp", "Wolf/bg.bmp"},
        {"Wolf/", "Wolf"},
        {"..", std::nullopt},
        {"Wolf/../../x", std::nullopt},
        {"Wolf\\..\\x", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"\\etc\\passwd", std::nullopt},
        {"C:\\x.bmp", std::nullopt},
        {"c:x.bmp", "c:x.bmp"},
        {".", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [name, want] : cases) {
        const std::optional<std::filesystem::path> got = SafeRelativePath(name);
        if (!want)
            EXPECT_FALSE(got) << name;
        else
            EXPECT_EQ(got.value_or("(refused)"), std::filesystem::path(*want)) << name;
    }
}

}  // namespace
}  // namespace pellox
