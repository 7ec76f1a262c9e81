// Paths in skin files, written on Windows, found on Linux.
#include "skin/skin_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/support/kernel_files.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// A skin's folder with names in mixed case, two names that differ only in
// case, and things that are not files.
class SkinTree {
public:
    SkinTree() {
        temp_.Write("skin/Sprites/Wolf.bmp", "wolf");
        temp_.Write("skin/Sprites/egg.bmp", "egg");
        temp_.Write("skin/Case/A.bmp", "upper");
        temp_.Write("skin/Case/a.bmp", "lower");
        temp_.Write("skin/Case/tWO.bmp", "second");
        temp_.Write("skin/Case/Two.bmp", "first");
        temp_.Write("skin/\xE2\xEE\xEB\xEA.bmp", "cp1251");      // "волк" in Windows-1251
        temp_.Write("skin/\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA.bmp", "utf8");  // "волк" in UTF-8
        temp_.Write("\xD1\x80\xD0\xB8\xD1\x81\xD1\x83\xD0\xBD\xD0\xBA\xD0\xB8/\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA"
                    "0.bmp", "рисунки/волк0");
        temp_.Write("skin/\xD1\x91\xD0\xBB\xD0\xBA\xD0\xB0.bmp", "ёлка");
        temp_.Folder("skin/waves");
        if (::mkfifo((temp_.path() / "skin/pipe.wav").c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
        fs::create_symlink("Sprites/Wolf.bmp", temp_.path() / "skin/link.bmp");
        fs::create_symlink("gone.bmp", temp_.path() / "skin/dangling.bmp");
    }

private:
    TempFolder temp_;
    // Declared after temp_: left before it is removed. Relative skin paths resolve against it.
    CurrentDirGuard inside_{temp_.path()};
};

struct PathCase {
    std::string written;
    std::string resolved;  // empty when it must fail
    std::string says;      // a part of the error
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << testing::PrintToString(c.written); }

class SkinPath : public testing::TestWithParam<PathCase> {
protected:
    SkinTree tree;
};

TEST_P(SkinPath, ResolvesOrSaysWhyNot) {
    const PathCase& c = GetParam();
    // A FIFO, and a name that is no UTF-8, Node's file system cannot hold.
    if (c.written.find("pipe") != std::string::npos || c.written.find("PIPE") != std::string::npos ||
        c.written.find('\xE2') != std::string::npos)
        PELLOX_SKIP_WITHOUT_KERNEL_FILES();
    const ResolvedSkinPath result = ResolveSkinFilePath(c.written);
    if (c.resolved.empty()) {
        EXPECT_FALSE(result);
        EXPECT_NE(result.reason().find(c.says), std::string::npos) << result.reason();
    } else {
        ASSERT_TRUE(result) << result.reason();
        EXPECT_EQ(*result, fs::path(c.resolved));
        struct stat info {};
        EXPECT_TRUE(::stat(result->c_str(), &info) == 0 && S_ISREG(info.st_mode));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Found, SkinPath,
    testing::Values(
        PathCase{"skin\\Sprites\\Wolf.bmp", "skin/Sprites/Wolf.bmp", ""},
        PathCase{"skin\\\\Sprites//\\Wolf.bmp", "skin/Sprites/Wolf.bmp", ""},
        PathCase{"SKIN\\sprites\\WOLF.BMP", "skin/Sprites/Wolf.bmp", ""},
        PathCase{".\\Skin\\..\\skin\\SPRITES\\.\\Egg.Bmp", "./skin/../skin/Sprites/./egg.bmp", ""},
        // The exact name wins over "A.bmp", which sorts first.
        PathCase{"SKIN/case/a.bmp", "skin/Case/a.bmp", ""},
        // Neither is exact: the first byte-wise ("T" is 0x54, "t" 0x74).
        PathCase{"skin/case/TWO.BMP", "skin/Case/Two.bmp", ""},
        PathCase{"skin/link.bmp", "skin/link.bmp", ""},
        PathCase{"Skin/Link.BMP", "skin/link.bmp", ""},
        // Written as they are, in either encoding.
        PathCase{"skin\\\xE2\xEE\xEB\xEA.BMP", "skin/\xE2\xEE\xEB\xEA.bmp", ""},
        PathCase{"skin\\\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA.BMP", "skin/\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA.bmp", ""},
        // Every letter's case is matched, as on Windows: "Рисунки\ВОЛК0.BMP"
        // finds "рисунки/волк0.bmp", Ё finds ё; a Windows-1251 "Волк" finds the
        // UTF-8 "волк" first in byte order.
        PathCase{"\xD0\xA0\xD0\xB8\xD1\x81\xD1\x83\xD0\xBD\xD0\xBA\xD0\xB8\\\xD0\x92\xD0\x9E\xD0\x9B\xD0\x9A"
                 "0.BMP",
                 "\xD1\x80\xD0\xB8\xD1\x81\xD1\x83\xD0\xBD\xD0\xBA\xD0\xB8/\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA"
                 "0.bmp",
                 ""},
        PathCase{"skin/\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0.BMP", "skin/\xD1\x91\xD0\xBB\xD0\xBA\xD0\xB0.bmp", ""},
        PathCase{"skin/\xC2\xEE\xEB\xEA.bmp", "skin/\xD0\xB2\xD0\xBE\xD0\xBB\xD0\xBA.bmp", ""}));

INSTANTIATE_TEST_SUITE_P(
    Refused, SkinPath,
    testing::Values(
        PathCase{"", "", "no file named"},
        PathCase{"C:\\skin\\Sprites\\Wolf.bmp", "", "a Windows drive letter (C:) has no meaning on Linux"},
        PathCase{"d:/skin/Sprites/Wolf.bmp", "", "drive letter (d:)"},
        PathCase{"c:Wolf.bmp", "", "drive letter (c:)"},
        PathCase{"skin/Sprites/Bear.bmp", "", "no such file: no \"Bear.bmp\" in \"skin/Sprites/\""},
        PathCase{"Skin/Sprits/Wolf.bmp", "", "no such file: no \"Sprits\" in \"skin/\""},
        PathCase{"nowhere\\Wolf.bmp", "", "no such file: no \"nowhere\" in \"./\""},
        PathCase{"skin/Sprites/Wolf.bmp/x.bmp", "", "\"skin/Sprites/Wolf.bmp\" is not a folder"},
        PathCase{"skin\\Sprites\\Wolf.bmp\\", "", "ends with a separator"},
        PathCase{"skin/dangling.bmp", "", "a link to nothing"},
        // Read up to the zero, the name would be a file that exists.
        PathCase{std::string("skin/Sprites/Wolf.bmp\0.txt", 26), "", "zero byte"},
        PathCase{"skin\\waves", "", "not a regular file (a folder)"},
        PathCase{"SKIN\\WAVES\\", "", "not a regular file (a folder)"},
        PathCase{"skin/pipe.wav", "", "not a regular file (a FIFO)"},
        PathCase{"skin/PIPE.WAV", "", "not a regular file (a FIFO)"},
        PathCase{"/dev/zero", "", "not a regular file (a device)"},
        PathCase{"\\DEV\\Zero", "", "not a regular file (a device)"}));

}  // namespace
}  // namespace pellox
