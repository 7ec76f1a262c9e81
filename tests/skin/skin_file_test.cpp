// The INI reading of skin files: lines, trimming, comments, sections, keys.
#include "skin/skin_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/support/kernel_files.h"

namespace pellox {
namespace {

using namespace std::string_literals;

std::optional<std::string> Value(const SkinFile& file, std::string_view section, std::string_view key) {
    const auto found = file.Find(section, key);
    if (!found) return std::nullopt;
    return std::string(*found);
}

TEST(SkinFileLines, SplitAtCrLfAndCrLf) {
    // Skins come from Windows editors (CR LF), old Mac ones (CR) and ours (LF).
    const SkinFile file = SkinFile::FromText("[S]\ra=1\nb=2\r\nc=3\r\r\nd=4");
    EXPECT_EQ(Value(file, "S", "a"), "1");
    EXPECT_EQ(Value(file, "S", "b"), "2");
    EXPECT_EQ(Value(file, "S", "c"), "3");
    EXPECT_EQ(Value(file, "S", "d"), "4");
}

TEST(SkinFileLines, NamesFoldAsciiCaseAndEverythingIsTrimmed) {
    const SkinFile file = SkinFile::FromText(
        "  [  settings ]\t\n"
        " \tTITLE  =  a wolf = a hare \x7F\x01 \n");
    EXPECT_EQ(Value(file, "SETTINGS", "title"), "a wolf = a hare");
    EXPECT_EQ(Value(file, "Settings", "Title"), "a wolf = a hare");
}

TEST(SkinFileLines, BytesAboveAsciiAreNeitherTrimmedNorFolded) {
    // "Волк" in windows-1251 and in UTF-8: both end in a byte above 127, which
    // a trim that takes char as signed would cut off as if it were a space.
    const SkinFile file = SkinFile::FromText(
        "[SETTINGS]\n"
        "cp1251=\xC2\xEE\xEB\xEA\n"
        "utf8=\xD0\x92\xD0\xBE\xD0\xBB\xD0\xBA\n"
        "\xC2=upper\n");
    EXPECT_EQ(Value(file, "SETTINGS", "cp1251"), "\xC2\xEE\xEB\xEA");
    EXPECT_EQ(Value(file, "SETTINGS", "utf8"), "\xD0\x92\xD0\xBE\xD0\xBB\xD0\xBA");
    // 0xC2 and 0xE2 are one letter in two cases in windows-1251, but folding
    // it would break UTF-8: such keys stay distinct.
    EXPECT_EQ(Value(file, "SETTINGS", "\xC2"), "upper");
    EXPECT_EQ(Value(file, "SETTINGS", "\xE2"), std::nullopt);
}

TEST(SkinFileLines, CommentsAndLinesThatCanNeverBeRead) {
    const SkinFile file = SkinFile::FromText(
        "title=before any section\n"
        "[BACK]\n"
        "; ground=a comment\n"
        "   ;wolf=an indented comment\n"
        "bell\n"
        "ground=1,2,3,4,back.bmp ; the grass\n"
        "[\n"
        "open=not a section\n");
    EXPECT_EQ(Value(file, "BACK", "ground"), "1,2,3,4,back.bmp ; the grass");
    EXPECT_EQ(Value(file, "BACK", "wolf"), std::nullopt);
    EXPECT_EQ(Value(file, "BACK", ";wolf"), std::nullopt);
    EXPECT_EQ(Value(file, "BACK", "bell"), std::nullopt);
    EXPECT_EQ(Value(file, "", "title"), std::nullopt);
    // "[" alone opens no section: its next line still belongs to BACK.
    EXPECT_EQ(Value(file, "BACK", "open"), "not a section");
}

TEST(SkinFileSections, OnlyTheLastOccurrenceOfASectionAndOfAKeyCounts) {
    const SkinFile file = SkinFile::FromText(
        "[TIME]\n"
        "am=first\n"
        "pm=first\n"
        "[HARE]\n"
        "hare=1\n"
        "HARE=2\n"
        "[time]\n"
        "pm=second\n");
    EXPECT_EQ(Value(file, "TIME", "am"), std::nullopt);
    EXPECT_EQ(Value(file, "TIME", "pm"), "second");
    EXPECT_EQ(Value(file, "HARE", "hare"), "2");
}

TEST(SkinFileSections, AnEmptyValueIsPresentAndAnAbsentKeyGivesTheFallback) {
    const SkinFile file = SkinFile::FromText("[SETTINGS]\nsound=\n");
    EXPECT_EQ(file.Read("SETTINGS", "sound", "0"), "");
    EXPECT_EQ(file.Read("SETTINGS", "key0", "W"), "W");
    EXPECT_EQ(file.Read("NOSUCH", "key0", "W"), "W");
}

TEST(SkinFileText, AUtf8ByteOrderMarkDoesNotHideTheFirstSection) {
    const SkinFile file = SkinFile::FromText("\xEF\xBB\xBF[SETTINGS]\r\nver=1.6\r\n");
    EXPECT_EQ(Value(file, "SETTINGS", "ver"), "1.6");
}

TEST(SkinFileText, BinaryGarbageAndAHugeLineAreReadByTheSameRules) {
    std::string text;
    for (int round = 0; round < 64; ++round) {
        for (int byte = 0; byte < 256; ++byte) text += static_cast<char>(byte);
    }
    text += "\n[SETTINGS]\nnul=a\0b\n"s;
    text += "huge=" + std::string(3'000'000, 'x') + "\n";
    text += std::string(3'000'000, 'y');  // the last line: no "=" and no break
    const SkinFile file = SkinFile::FromText(text);
    EXPECT_EQ(Value(file, "SETTINGS", "nul"), "a\0b"s);
    EXPECT_EQ(file.Read("SETTINGS", "huge", "").size(), 3'000'000u);
}

TEST(LoadSkinFile, ReadsAFileAndSaysWhyOtherPathsGiveNoSkinFile) {
    TempFolder temp;
    const auto skin = temp.Write("skin.ini", "[SETTINGS]\r\ntitle=Wolf\r\n");
    const auto loaded = LoadSkinFile(skin);
    ASSERT_TRUE(loaded) << loaded.reason();
    EXPECT_EQ(loaded->Read("SETTINGS", "title", ""), "Wolf");

    const auto fifo = temp.path() / "pipe.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::filesystem::path path;
        std::string says;
    };
    const Case cases[] = {
        {temp.path() / "missing.ini", "no such file"},
        {temp.Folder("folder.ini"), "is a folder"},
        {fifo, "not a regular file"},  // opening it would wait for a writer
        {temp.Write("big.ini", std::string(SkinFile::kMaxBytes + 1, '\n')), "too large"},
    };
    for (const Case& c : cases) {
        if (c.path == fifo && !kKernelFiles) continue;
        SCOPED_TRACE(c.path);
        const auto refused = LoadSkinFile(c.path);
        EXPECT_FALSE(refused);
        EXPECT_NE(refused.reason().find(c.says), std::string::npos) << refused.reason();
    }
}

}  // namespace
}  // namespace pellox
