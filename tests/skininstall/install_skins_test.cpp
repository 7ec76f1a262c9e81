#include "skininstall/archive_unpack.h"
#include "skininstall/install_skins.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "skin/skin_apply.h"
#include "skin/skin_file.h"
#include "skin/sprite_entry.h"
#include "skininstall/archive_kinds.h"
#include "skininstall/skin_layout.h"
#include "tests/skininstall/test_archives.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;
using test::ArchiveItem;
using test::ArchiveKind;
using test::File;
using test::MakeArchive;

// "Волк" ("wolf") and "картинки" ("pictures") in the code pages of old packers.
const std::string kWolfCp866 = "\x82\xAE\xAB\xAA";
const std::string kWolfCp1251 = "\xC2\xEE\xEB\xEA";
const std::string kWolfUtf8 = "Волк";
const std::string kPicturesCp866 = "\xAA\xA0\xE0\xE2\xA8\xAD\xAA\xA8";
const std::string kPicturesCp1251 = "\xEA\xE0\xF0\xF2\xE8\xED\xEA\xE8";
const std::string kPicturesUtf8 = "картинки";

// A small skin file: a title, a background and the game-over wave, paths as
// written; dir only when given.
std::string SkinIni(const std::string& title, const std::string& ground, const std::string& over,
                    const std::string& dir = {}) {
    std::string ini = "[SETTINGS]\r\nver=1.6\r\ntitle=" + title + "\r\n";
    if (!dir.empty()) ini += "dir=" + dir + "\r\n";
    ini += "[BACK]\r\nground=0,0,20,10," + ground + "\r\n[SOUNDS]\r\nOver=" + over + "\r\n";
    return ini;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every path under folder, relative to it, for "nothing left behind".
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> paths;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        paths.insert(it->path().lexically_relative(folder).string());
    return paths;
}

// What the launch reads for the background and the game-over wave, started
// in an empty folder far from the skin, as a desktop menu starts the game.
struct Launched {
    std::string ground;
    std::string over;
};
Launched LaunchFrom(const fs::path& ini, const fs::path& start) {
    CurrentDirGuard in_start(start);
    const SkinFile skin = *LoadSkinFile(ini);
    const fs::path folder = ini.parent_path();
    const fs::path work = SkinWorkFolder(ReadSkinSettings(skin).dir, folder);
    Launched launched;
    const ParsedSpriteEntry ground = ParseSpriteEntry(skin.Read("BACK", "ground", "-"));
    if (ground) {
        const ResolvedSkinPath file = ResolveSkinEntryPath(ground->path, folder, work);
        if (file.ok()) launched.ground = ReadFile(*file);
    }
    const ResolvedSkinPath over = ResolveSkinEntryPath(skin.Read("SOUNDS", "Over", "-"), folder, work);
    if (over.ok()) launched.over = ReadFile(*over);
    return launched;
}

struct Expected {
    std::string folder;  // the new folder's name under the skins folder
    std::string title;   // UTF-8
    std::string ground;  // the background's bytes, as the launch finds them
    std::string over;
};

struct ArchiveCase {
    std::string name;
    ArchiveKind kind;
    std::vector<ArchiveItem> items;
    std::vector<Expected> installed;  // none: refused
    std::string error_has = {};       // a part of the refusal's reason
    SkinInstallLimits limits = {};
};

void PrintTo(const ArchiveCase& c, std::ostream* out) { *out << c.name; }

// The skin "Волк" ("wolf") with its pictures and waves in "картинки": the
// archive's names in one encoding, its skin file's title and paths in another.
std::vector<ArchiveItem> CyrillicWolf(const std::string& wolf, const std::string& pictures, const std::string& separator,
                                      const std::string& ini_title, const std::string& ini_pictures) {
    const std::string folder = wolf + separator;
    return {File(folder + wolf + ".ini", SkinIni(ini_title, ini_pictures + "\\bg.bmp", ini_pictures + "\\over.wav")),
            File(folder + pictures + separator + "bg.bmp", "BM picture"),
            File(folder + pictures + separator + "over.wav", "RIFF wave")};
}

std::vector<ArchiveCase> ArchiveCases() {
    const std::string wolf = SkinIni("Wolf", "pics\\bg.bmp", "snd\\over.wav");
    const std::string zeros(4 << 20, '\0');
    std::vector<ArchiveCase> cases = {
        {"ZipCp866NamesCp1251Skin", ArchiveKind::Zip,
         CyrillicWolf(kWolfCp866, kPicturesCp866, "\\", kWolfCp1251, kPicturesCp1251),
         {{kWolfUtf8, kWolfUtf8, "BM picture", "RIFF wave"}}},
        {"ZipCp1251Names", ArchiveKind::Zip, CyrillicWolf(kWolfCp1251, kPicturesCp1251, "/", kWolfCp1251, kPicturesCp1251),
         {{kWolfUtf8, kWolfUtf8, "BM picture", "RIFF wave"}}},
        {"ZipUtf8Names", ArchiveKind::ZipUtf8, CyrillicWolf(kWolfUtf8, kPicturesUtf8, "/", kWolfUtf8, kPicturesUtf8),
         {{kWolfUtf8, kWolfUtf8, "BM picture", "RIFF wave"}}},
        // Written "КАРТИНКИ\..." by a skin whose files are "картинки/...":
        // Windows matches the Cyrillic letters' case too.
        {"ZipUtf8NamesInOtherCase", ArchiveKind::ZipUtf8,
         CyrillicWolf(kWolfUtf8, kPicturesUtf8, "/", kWolfUtf8, "КАРТИНКИ"),
         {{kWolfUtf8, kWolfUtf8, "BM picture", "RIFF wave"}}},
        // 7z keeps names in UTF-16: read under the C locale they would be lost.
        {"SevenZipCyrillicNames", ArchiveKind::SevenZip,
         CyrillicWolf(kWolfUtf8, kPicturesUtf8, "/", kWolfUtf8, kPicturesUtf8),
         {{kWolfUtf8, kWolfUtf8, "BM picture", "RIFF wave"}}},
        {"SevenZip", ArchiveKind::SevenZip,
         {File("Wolf/wolf.ini", wolf), File("Wolf/pics/bg.bmp", "BM 7z"), File("Wolf/snd/over.wav", "RIFF 7z")},
         {{"Wolf", "Wolf", "BM 7z", "RIFF 7z"}}},
        {"TarGz", ArchiveKind::TarGz,
         {File("Wolf/wolf.ini", wolf), File("Wolf/pics/bg.bmp", "BM tar"), File("Wolf/snd/over.wav", "RIFF tar")},
         {{"Wolf", "Wolf", "BM tar", "RIFF tar"}}},
        {"NestedTwoFoldersDown", ArchiveKind::Zip,
         {File("pack/skins/Wolf/wolf.ini", wolf), File("pack/skins/Wolf/pics/bg.bmp", "BM"),
          File("pack/skins/Wolf/snd/over.wav", "RIFF"), File("pack/readme.txt", "read me")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        {"TwoSkins", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", wolf), File("Wolf/pics/bg.bmp", "BM wolf"), File("Wolf/snd/over.wav", "RIFF wolf"),
          File("Hare/hare.ini", SkinIni("Hare", "bg.bmp", "over.wav")), File("Hare/bg.bmp", "BM hare"),
          File("Hare/over.wav", "RIFF hare")},
         {{"Hare", "Hare", "BM hare", "RIFF hare"}, {"Wolf", "Wolf", "BM wolf", "RIFF wolf"}}},
        {"BackslashPaths", ArchiveKind::Zip,
         {File("Wolf\\wolf.ini", wolf), File("Wolf\\pics\\bg.bmp", "BM"), File("Wolf\\snd\\over.wav", "RIFF")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        // Windows packers may store folders as empty files named with a
        // trailing "\" (libarchive's zip reader turns those into folders,
        // its tar reader does not).
        {"BackslashFolderEntries", ArchiveKind::TarGz,
         {File("Wolf\\", ""), File("Wolf\\pics\\", ""), File("Wolf\\wolf.ini", wolf),
          File("Wolf\\pics\\bg.bmp", "BM"), File("Wolf\\snd\\over.wav", "RIFF")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        // Packed where the game stood, dir naming the skin's folder.
        {"DirNamesThePackedFolder", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", SkinIni("Wolf", "pics\\bg.bmp", "snd\\over.wav", "Wolf")),
          File("Wolf/pics/bg.bmp", "BM"), File("Wolf/snd/over.wav", "RIFF")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        {"DirIsTheAuthorsWindowsFolder", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", SkinIni("Wolf", "pics\\bg.bmp", "snd\\over.wav", "C:\\Games\\Pellox\\Wolf")),
          File("Wolf/pics/bg.bmp", "BM"), File("Wolf/snd/over.wav", "RIFF")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        // A dir out of the archive: the skin stays in a folder of its own,
        // laid out as it was packed.
        {"DirOutOfTheArchive", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", SkinIni("Wolf", "pics\\bg.bmp", "snd\\missing.wav", "/")),
          File("Wolf/pics/bg.bmp", "BM")},
         {{"Wolf", "Wolf", "BM", ""}}},
        // The paths start at the archive's top, where the game stood.
        {"PathsFromTheArchiveTop", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", SkinIni("Wolf", "Wolf\\pics\\bg.bmp", "Wolf\\snd\\over.wav")),
          File("Wolf/pics/bg.bmp", "BM"), File("Wolf/snd/over.wav", "RIFF")},
         {{"Wolf", "Wolf", "BM", "RIFF"}}},
        {"DotDotEntry", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", wolf), File("Wolf/../../escaped.txt", "out")},
         {},
         "outside"},
        {"AbsoluteEntry", ArchiveKind::TarGz,
         {File("Wolf/wolf.ini", wolf), File("/tmp/pellox-escaped.txt", "out")},
         {},
         "outside"},
        {"DriveLetterEntry", ArchiveKind::Zip, {File("Wolf/wolf.ini", wolf), File("C:\\escaped.txt", "out")}, {},
         "outside"},
        // The archive is unpacked inside the player's data folder: a path
        // climbing out of it must not copy the player's files into the skin.
        {"PathsOutOfTheArchiveFindNothing", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", SkinIni("Wolf", "..\\..\\..\\..\\secret.bmp", "../../../../../secret.wav"))},
         {{"Wolf", "Wolf", "", ""}}},
        {"LinksNeverWritten", ArchiveKind::TarGz,
         {File("Wolf/wolf.ini", wolf), test::Symlink("Wolf/pics/bg.bmp", "/etc/passwd"),
          test::Hardlink("Wolf/snd/over.wav", "../../../etc/passwd")},
         {{"Wolf", "Wolf", "", ""}}},
        {"ZipBombByRatio", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", wolf), File("Wolf/pics/bg.bmp", zeros)},
         {},
         "times its own size",
         {.ratio_checked_from_bytes = 1 << 20}},
        {"TooManyBytes", ArchiveKind::SevenZip,
         {File("Wolf/wolf.ini", wolf), File("Wolf/pics/bg.bmp", zeros)},
         {},
         "unpacks to more than",
         {.max_unpacked_bytes = 1 << 20}},
        {"TooManyEntries", ArchiveKind::Zip,
         {File("Wolf/wolf.ini", wolf), File("a", ""), File("b", ""), File("c", ""), File("d", "")},
         {},
         "more than 3 entries",
         {.max_entries = 3}},
        {"NoSkin", ArchiveKind::Zip,
         {File("Wolf/readme.txt", "hello"), File("Wolf/desktop.ini", "[.ShellClassInfo]\r\nIconIndex=0\r\n")},
         {},
         "1 .ini file found, none of them a skin"},
        {"NoIniAtAll", ArchiveKind::Zip, {File("Wolf/readme.txt", "hello")}, {}, "it holds readme.txt"},
    };
    return cases;
}

class InstallArchive : public ::testing::TestWithParam<ArchiveCase> {
protected:
    TempFolder temp_;
    fs::path skins_ = temp_.Folder("home/skins");
    fs::path start_ = temp_.Folder("start");
};

TEST_P(InstallArchive, InstallsOrRefusesLeavingNothingBehind) {
    const ArchiveCase& c = GetParam();
    const fs::path archive = temp_.Write("downloads/skin.archive", MakeArchive(c.kind, c.items));
    temp_.Folder("home/skins/Other skin");  // an installed skin that must stay as it is
    for (const char* secret : {"secret.bmp", "secret.wav", "home/secret.bmp", "home/secret.wav"})
        temp_.Write(secret, "the player's own");
    const std::set<std::string> before = Listing(temp_.path());

    const SkinInstallResult result = InstallSkins(archive, skins_, c.limits);

    if (c.installed.empty()) {
        EXPECT_FALSE(result.Succeeded());
        EXPECT_NE(result.error.find(c.error_has), std::string::npos) << result.error;
        EXPECT_EQ(Listing(temp_.path()), before) << "left behind after: " << result.error;
        return;
    }
    ASSERT_TRUE(result.Succeeded()) << result.error;
    ASSERT_EQ(result.installed.size(), c.installed.size());
    for (std::size_t i = 0; i < c.installed.size(); ++i) {
        const Expected& want = c.installed[i];
        const InstalledSkin& got = result.installed[i];
        EXPECT_EQ(got.folder, skins_ / want.folder);
        EXPECT_EQ(got.title_su, want.title);
        EXPECT_TRUE(fs::is_regular_file(got.ini)) << got.ini;
        const Launched launched = LaunchFrom(got.ini, start_);
        EXPECT_EQ(launched.ground, want.ground) << got.ini;
        EXPECT_EQ(launched.over, want.over) << got.ini;
    }
    // Only the new folders are new: no staging folder stays, nothing else moved.
    std::set<std::string> after = Listing(skins_);
    std::erase_if(after, [&](const std::string& path) {
        return std::any_of(c.installed.begin(), c.installed.end(),
                           [&](const Expected& e) { return path == e.folder || path.starts_with(e.folder + "/"); });
    });
    EXPECT_EQ(after, std::set<std::string>{"Other skin"});
}

INSTANTIATE_TEST_SUITE_P(Archives, InstallArchive, ::testing::ValuesIn(ArchiveCases()),
                         [](const auto& info) { return info.param.name; });

TEST(InstallArchiveFixtures, ZipNamesAreFlaggedUtf8OnlyWhereMeant) {
    EXPECT_FALSE(test::ZipFirstNameFlaggedUtf8(MakeArchive(ArchiveKind::Zip, {File(kWolfCp866 + "/a", "")})));
    EXPECT_TRUE(test::ZipFirstNameFlaggedUtf8(MakeArchive(ArchiveKind::ZipUtf8, {File(kWolfUtf8 + "/a", "")})));
}

class InstallSkinsTest : public ::testing::Test {
protected:
    // The usual skin in folder (relative to the temp folder).
    fs::path WriteWolf(const std::string& folder) {
        temp_.Write(folder + "/pics/bg.bmp", "BM");
        temp_.Write(folder + "/snd/over.wav", "RIFF");
        temp_.Write(folder + "/unrelated.txt", "not named by the skin");
        return temp_.Write(folder + "/wolf.ini", SkinIni("Wolf", "pics\\BG.BMP", "snd\\over.wav"));
    }

    TempFolder temp_;
    fs::path skins_ = temp_.Folder("home/skins");
    fs::path start_ = temp_.Folder("start");
    UnwatchedInstall unwatched;
};

TEST_F(InstallSkinsTest, AFolderInstallsWithTheFilesTheSkinNamesOnly) {
    WriteWolf("downloads/Wolf");
    const SkinInstallResult result = InstallSkins(temp_.path() / "downloads/Wolf", skins_);
    ASSERT_TRUE(result.Succeeded()) << result.error;
    ASSERT_EQ(result.installed.size(), 1u);
    EXPECT_EQ(result.installed[0].folder, skins_ / "Wolf");
    EXPECT_EQ(Listing(skins_ / "Wolf"), (std::set<std::string>{"pics", "pics/bg.bmp", "snd", "snd/over.wav", "wolf.ini"}));
    EXPECT_EQ(LaunchFrom(result.installed[0].ini, start_).ground, "BM");
}

TEST_F(InstallSkinsTest, AnIniInstallsWithFilesFromAboveItsFolder) {
    temp_.Write("downloads/shared/bg.bmp", "BM shared");
    temp_.Write("downloads/Wolf/over.wav", "RIFF");
    const fs::path ini = temp_.Write("downloads/Wolf/wolf.ini", SkinIni("Wolf", "..\\shared\\bg.bmp", "over.wav"));
    const SkinInstallResult result = InstallSkins(ini, skins_);
    ASSERT_TRUE(result.Succeeded()) << result.error;
    const Launched launched = LaunchFrom(result.installed[0].ini, start_);
    EXPECT_EQ(launched.ground, "BM shared");
    EXPECT_EQ(launched.over, "RIFF");
    EXPECT_EQ(result.installed[0].folder, skins_ / "wolf");
}

TEST_F(InstallSkinsTest, ATakenNameGivesTheNewSkinAFreeOneBesideIt) {
    const fs::path source = WriteWolf("downloads/Wolf").parent_path();
    temp_.Write("home/skins/Wolf/mine.txt", "the player's own");
    temp_.Folder("home/skins/Wolf (2)");
    const SkinInstallResult result = InstallSkins(source, skins_);
    ASSERT_TRUE(result.Succeeded()) << result.error;
    EXPECT_EQ(result.installed[0].folder, skins_ / "Wolf (3)");
    EXPECT_EQ(Listing(skins_ / "Wolf"), std::set<std::string>{"mine.txt"});
    EXPECT_TRUE(fs::is_empty(skins_ / "Wolf (2)"));
}

TEST_F(InstallSkinsTest, MixedBasesGetAnAbsoluteDirAndANote) {
    // One file beside the skin, one from the archive's top: no single place
    // for the skin file keeps both, so dir is set to the new folder's top;
    // also behind the byte-order mark of a skin file saved by Notepad.
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(mark.empty() ? "no mark" : "byte-order mark");
        const std::string archive = MakeArchive(ArchiveKind::Zip,
            {File("Wolf/wolf.ini", mark + SkinIni("Wolf", "Wolf\\pics\\bg.bmp", "over.wav")),
             File("Wolf/pics/bg.bmp", "BM"), File("Wolf/over.wav", "RIFF")});
        const SkinInstallResult result = InstallSkins(temp_.Write("wolf.zip", archive), skins_);
        ASSERT_TRUE(result.Succeeded()) << result.error;
        const Launched launched = LaunchFrom(result.installed[0].ini, start_);
        EXPECT_EQ(launched.ground, "BM");
        EXPECT_EQ(launched.over, "RIFF");
        ASSERT_EQ(result.notes.size(), 1u);
        EXPECT_NE(result.notes[0].find("its dir was set to " + result.installed[0].folder.string() + ", as no layout"),
                  std::string::npos)
            << result.notes[0];
        fs::remove_all(result.installed[0].folder);
    }
}

// What the start screen takes in a drop is what the installer reads: every
// kind listed installs (rar aside, which libarchive cannot write).
TEST_F(InstallSkinsTest, EveryArchiveKindListedIsRead) {
    const auto written_as = [](const SkinArchiveKind& kind) -> std::optional<ArchiveKind> {
        if (kind.format == ArchiveFormat::Zip) return ArchiveKind::Zip;
        if (kind.format == ArchiveFormat::SevenZip) return ArchiveKind::SevenZip;
        if (kind.format != ArchiveFormat::Tar) return std::nullopt;
        switch (kind.compression) {
            case ArchiveCompression::None: return ArchiveKind::Tar;
            case ArchiveCompression::Gzip: return ArchiveKind::TarGz;
            case ArchiveCompression::Bzip2: return ArchiveKind::TarBzip2;
            case ArchiveCompression::Xz: return ArchiveKind::TarXz;
            case ArchiveCompression::Lzma: return ArchiveKind::TarLzma;
            case ArchiveCompression::Lzip: return ArchiveKind::TarLzip;
            case ArchiveCompression::Zstd: return ArchiveKind::TarZstd;
        }
        return std::nullopt;
    };
    for (const SkinArchiveKind& kind : kSkinArchiveKinds) {
        const std::optional<ArchiveKind> as = written_as(kind);
        if (!as) continue;
        const std::string name = "Wolf" + std::string(kind.ending);
        EXPECT_TRUE(HasSkinArchiveEnding(name)) << name;
        const std::string archive = MakeArchive(*as, {File("wolf.ini", SkinIni("Wolf", "bg.bmp", "over.wav")),
                                                      File("bg.bmp", "BM"), File("over.wav", "RIFF")});
        const SkinInstallResult result = InstallSkins(temp_.Write("downloads/" + name, archive), skins_);
        ASSERT_TRUE(result.Succeeded()) << name << ": " << result.error;
        EXPECT_EQ(LaunchFrom(result.installed[0].ini, start_).ground, "BM") << name;
        fs::remove_all(result.installed[0].folder);
    }
}

TEST_F(InstallSkinsTest, ATruncatedArchiveIsRefusedLeavingNothing) {
    std::string zip = MakeArchive(ArchiveKind::Zip, {File("Wolf/wolf.ini", SkinIni("Wolf", "bg.bmp", "over.wav")),
                                                     File("Wolf/bg.bmp", std::string(5000, 'x'))});
    zip.resize(zip.size() / 2);
    const SkinInstallResult result = InstallSkins(temp_.Write("cut.zip", zip), skins_);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(fs::is_empty(skins_));
}

TEST_F(InstallSkinsTest, WithoutTheArchiveLibraryAnArchiveIsRefusedSayingWhy) {
    const std::string zip = MakeArchive(ArchiveKind::Zip, {File("Wolf/wolf.ini", SkinIni("Wolf", "bg.bmp", "over.wav"))});
    const fs::path into = temp_.Folder("unpacked");
    const UnpackResult result =
        UnpackArchive(temp_.Write("wolf.zip", zip), into, SkinInstallLimits{}, unwatched, "libpellox-no-such-archive.so.13");
    EXPECT_NE(result.error.find("archives cannot be read here: the archive library cannot be loaded "
                                "(libpellox-no-such-archive.so.13"),
              std::string::npos)
        << result.error;
    EXPECT_TRUE(fs::is_empty(into));
    // The library the game ships with reads the same archive.
    EXPECT_EQ(UnpackArchive(temp_.path() / "wolf.zip", into, SkinInstallLimits{}, unwatched).error, "");
}

// A live install is told by the lock it holds on its staging folder, not by
// its process number: one in another PID namespace may bear the number of a
// process that is gone here. The lock is taken through a descriptor of the
// test's own, which conflicts with the installer's as another process's would.
TEST_F(InstallSkinsTest, AStagingFolderOfAKilledInstallIsRemovedAndALockedOneKept) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);  // a process that no longer runs
    const auto an_hour_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::string stale = ".pellox-install-" + std::to_string(child) + "-0";
    temp_.Write("home/skins/" + stale + "/unpacked/half.bmp", "BM");
    fs::last_write_time(skins_ / stale, an_hour_ago);
    const std::string live = ".pellox-install-" + std::to_string(child) + "-1";
    temp_.Write("home/skins/" + live + "/unpacked/half.bmp", "BM");
    fs::last_write_time(skins_ / live, an_hour_ago);
    const int lock = ::open((skins_ / live).c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    // Just made, not yet locked: an install between its mkdir and its lock.
    const std::string new_one = ".pellox-install-new";
    temp_.Folder("home/skins/" + new_one);

    ASSERT_TRUE(InstallSkins(WriteWolf("downloads/Wolf").parent_path(), skins_).Succeeded());
    EXPECT_FALSE(fs::exists(skins_ / stale));
    EXPECT_TRUE(fs::exists(skins_ / live / "unpacked/half.bmp"));
    EXPECT_TRUE(fs::exists(skins_ / new_one));
    ::close(lock);
    RemoveStaleSkinStaging(skins_);
    EXPECT_FALSE(fs::exists(skins_ / live));
}

TEST_F(InstallSkinsTest, SourcesThatAreNoSkinAreRefusedWithTheReason) {
    const fs::path not_skin = temp_.Write("downloads/old.ini", "[SETTINGS]\r\nver=1.5\r\ntitle=Old\r\n");
    const SkinInstallResult old = InstallSkins(not_skin, skins_);
    EXPECT_FALSE(old.Succeeded());
    ASSERT_EQ(old.rejected.size(), 1u);
    EXPECT_NE(old.rejected[0].reason.find("older than 1.6"), std::string::npos) << old.rejected[0].reason;

    const SkinInstallResult missing = InstallSkins(temp_.path() / "nothing.zip", skins_);
    EXPECT_NE(missing.error.find("nothing at"), std::string::npos) << missing.error;

    const SkinInstallResult garbage = InstallSkins(temp_.Write("junk.zip", "this is no zip"), skins_);
    EXPECT_NE(garbage.error.find("not an archive"), std::string::npos) << garbage.error;

    // A FIFO would block whoever opens it: neither is opened.
    for (const char* name : {"pipe.zip", "pipe.ini"}) {
        const fs::path fifo = temp_.path() / name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        EXPECT_FALSE(InstallSkins(fifo, skins_).Succeeded()) << name;
    }
    EXPECT_TRUE(fs::is_empty(skins_));
}

struct DirCase {
    const char* name;
    std::string text;
    std::optional<std::string> written;  // the whole text afterwards; nothing: refused
};

void PrintTo(const DirCase& c, std::ostream* out) { *out << c.name; }

class SkinDirRewrite : public testing::TestWithParam<DirCase> {};

TEST_P(SkinDirRewrite, SetsTheDirTheGameReadsOrSaysItCannot) {
    const DirCase& c = GetParam();
    const std::optional<std::string> written = WithSkinDir(c.text, "/skins/Night");
    EXPECT_EQ(written, c.written);
    if (written) {
        EXPECT_EQ(SkinFile::FromText(*written).Read("SETTINGS", "dir", "-"), "/skins/Night");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SkinDirRewrite,
    testing::Values(
        DirCase{"Added", "[SETTINGS]\r\nver=1.6\r\n", "[SETTINGS]\r\ndir=/skins/Night\r\nver=1.6\r\n"},
        DirCase{"Replaced", "[settings]\nDIR = old\ntitle=x\n", "[settings]\ndir=/skins/Night\r\ntitle=x\n"},
        // Notepad's UTF-8 starts with a byte-order mark: the section behind it is seen.
        DirCase{"BehindAByteOrderMark", "\xEF\xBB\xBF[SETTINGS]\r\nver=1.6\r\n",
                "\xEF\xBB\xBF[SETTINGS]\r\ndir=/skins/Night\r\nver=1.6\r\n"},
        DirCase{"BehindAByteOrderMarkReplaced", "\xEF\xBB\xBF[SETTINGS]\r\ndir=old\r\n",
                "\xEF\xBB\xBF[SETTINGS]\r\ndir=/skins/Night\r\n"},
        // A DEL byte the game trims around a header or a key: the edit finds them as the game does.
        DirCase{"DelTrimmedAsTheGameTrimsIt", "\x7F[SETTINGS]\r\n\x7F" "dir=old\r\n",
                "\x7F[SETTINGS]\r\ndir=/skins/Night\r\n"},
        DirCase{"NoSettingsSection", "[BACK]\r\nground=0,0,1,1,a.bmp\r\n", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SkinDirRewrite, AFolderNameTheGameWouldNotReadBackIsRefused) {
    EXPECT_EQ(WithSkinDir("[SETTINGS]\r\n", "/skins/two\nlines"), std::nullopt);
    EXPECT_EQ(WithSkinDir("[SETTINGS]\r\n", "/skins/Night "), std::nullopt);
}

// What the player reads when a source is odd: the thing named, in plain words.
struct MessageCase {
    const char* name;
    // Makes the source in temp (the skins folder is temp/home/skins) and gives it.
    std::function<fs::path(TempFolder& temp)> source;
    std::string says;  // part of the error, or of a note when installed counts
    std::size_t installed = 0;
    SkinInstallLimits limits = {};
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class InstallMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(InstallMessage, NamesTheThingAndSaysWhy) {
    const MessageCase& c = GetParam();
    TempFolder temp;
    const fs::path source = c.source(temp);
    const SkinInstallResult result = InstallSkins(source, temp.path() / "home/skins", c.limits);
    ASSERT_EQ(result.installed.size(), c.installed) << result.error;
    std::string said = result.error;
    for (const std::string& note : result.notes) said += "\n" + note;
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
    EXPECT_FALSE(said.starts_with(": ")) << said;  // never an empty name
}

std::string Skin(const std::string& title) { return SkinIni(title, "bg.bmp", "over.wav"); }

INSTANTIATE_TEST_SUITE_P(
    Sources, InstallMessage,
    testing::Values(
        MessageCase{"AFifo",
                    [](TempFolder& temp) {
                        const fs::path fifo = temp.path() / "pipe";
                        ::mkfifo(fifo.c_str(), 0600);
                        return fifo;
                    },
                    "pipe: not a file or folder (a FIFO)"},
        MessageCase{"ADevice", [](TempFolder&) { return fs::path("/dev/null"); },
                    "null: not a file or folder (a device)"},
        MessageCase{"TheRoot", [](TempFolder&) { return fs::path("/"); }, "/: more than 5 files and folders", 0,
                    {.max_entries = 5}},
        MessageCase{"AFolderWrittenWithASlash",
                    [](TempFolder& temp) {
                        temp.Write("Wolf/readme.txt", "hello");
                        return fs::path(temp.path().string() + "/Wolf/");
                    },
                    "Wolf: no skin this game can use (no .ini skin file in it; it holds readme.txt)"},
        MessageCase{"AFileWhereTheSkinsFolderShouldBe",
                    [](TempFolder& temp) {
                        temp.Write("home/skins", "not a folder");
                        return temp.Write("Wolf/wolf.ini", Skin("Wolf"));
                    },
                    "there is a file where the skins folder should be: "},
        MessageCase{"ASkinFortyFoldersDown",
                    [](TempFolder& temp) {
                        std::string deep = "pack";
                        for (int i = 0; i < 40; ++i) deep += "/d";
                        temp.Write(deep + "/wolf.ini", Skin("Wolf"));
                        return temp.path() / "pack";
                    },
                    "no .ini skin file within 32 folders of its top, which is as deep as the installer looks"},
        MessageCase{"AZipEntryMarkedUtf8ThatIsNot",
                    [](TempFolder& temp) {
                        std::string zip = MakeArchive(ArchiveKind::ZipUtf8,
                                                      {File("Wolf/wolf.ini", Skin("Wolf")), File("Wolf/bg.bmp", "BM"),
                                                       File("Wolf/ЖXX.bmp", "BM")});
                        for (std::size_t at = 0; (at = zip.find("XX", at)) != std::string::npos;) zip.replace(at, 2, "\xFF\xFE");
                        return temp.Write("wolf.zip", zip);
                    },
                    "passed over entry 3 (the one after \"Wolf/bg.bmp\"): its name cannot be read", 1},
        MessageCase{"MoreSkinsThanOneSourceMayAdd",
                    [](TempFolder& temp) {
                        for (const char* name : {"a", "b", "c"}) temp.Write(std::string("pack/") + name + ".ini", Skin(name));
                        return temp.path() / "pack";
                    },
                    "it holds 3 skins; the first 2 were installed", 2, {.max_skins = 2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellox
