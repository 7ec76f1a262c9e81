// An install watched as a window watches it: how far it got, and a stop at
// any moment, from the first entry to the moment before the new skin is
// renamed into place, leaving the skins folder exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "skininstall/install_progress.h"
#include "skininstall/install_skins.h"
#include "tests/skininstall/test_archives.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;
using test::ArchiveKind;
using test::File;

constexpr std::size_t kBigPicture = 1024 * 1024;  // sixteen of the unpacker's 64 KiB writes

// Bytes that do not compress, so that the archive is read as it unpacks.
std::string Noise(std::size_t size) {
    std::string bytes = "BM";
    std::uint32_t x = 2463534242u;
    while (bytes.size() < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes += static_cast<char>(x & 0xFF);
    }
    return bytes;
}

std::string SkinIni(const std::string& title, const std::string& ground) {
    return "[SETTINGS]\r\nver=1.6\r\ntitle=" + title + "\r\n[BACK]\r\nground=0,0,20,10," + ground +
           "\r\n[SOUNDS]\r\nOver=over.wav\r\n";
}

// Records what it is told; asks the install to stop from its stop_at-th
// question on (never when 0).
class StopAt final : public InstallMonitor {
public:
    explicit StopAt(std::size_t stop_at) : stop_at_(stop_at) {}
    void Progress(const InstallProgress& so_far) override { told.push_back(so_far); }
    bool StopRequested() override {
        ++asked;
        return stop_at_ != 0 && asked >= stop_at_;
    }

    std::vector<InstallProgress> told;
    std::size_t asked = 0;

private:
    std::size_t stop_at_;
};

enum class SourceShape { Zip, TarGz, Folder };

class InstallCancel : public ::testing::TestWithParam<SourceShape> {
protected:
    InstallCancel() {
        // The skin installed before, with other files: the install replaces it.
        temp_.Write("old/Wolf/wolf.ini", SkinIni("Wolf", "old.bmp"));
        temp_.Write("old/Wolf/old.bmp", "BM old");
        temp_.Write("old/Wolf/over.wav", "RIFF old");
        EXPECT_TRUE(InstallSkins(temp_.path() / "old/Wolf", skins_).Succeeded());
        temp_.Write("home/skins/notes.txt", "the player's own file");

        const std::string big = Noise(kBigPicture);
        const std::vector<test::ArchiveItem> items{File("Wolf/wolf.ini", SkinIni("Wolf", "pics\\big.bmp")),
                                                   File("Wolf/pics/big.bmp", big), File("Wolf/over.wav", "RIFF new"),
                                                   File("Wolf/readme.txt", "drawn by hand")};
        switch (GetParam()) {
            case SourceShape::Zip: source_ = temp_.Write("Wolf.zip", test::MakeArchive(ArchiveKind::ZipUtf8, items)); break;
            case SourceShape::TarGz: source_ = temp_.Write("Wolf.tar.gz", test::MakeArchive(ArchiveKind::TarGz, items)); break;
            case SourceShape::Folder:
                for (const test::ArchiveItem& item : items) temp_.Write("new/" + item.name, item.bytes);
                source_ = temp_.path() / "new/Wolf";
                break;
        }
        before_ = FolderSnapshot(skins_);
    }

    SkinInstallResult Install(StopAt& monitor) {
        return InstallSkins(source_, skins_, {}, SameTitleChoice::Replace, &monitor);
    }

    TempFolder temp_;
    fs::path skins_ = temp_.Folder("home/skins");
    fs::path source_;
    std::map<std::string, std::string> before_;
};

TEST_P(InstallCancel, AStopAtAnyQuestionLeavesTheSkinsFolderAsItWas) {
    // A whole install, to count the questions it asks.
    StopAt counting(0);
    {
        TempFolder elsewhere;
        const SkinInstallResult whole = InstallSkins(source_, elsewhere.path(), {}, SameTitleChoice::Replace, &counting);
        ASSERT_TRUE(whole.Succeeded()) << whole.error;
    }
    const std::size_t questions = counting.asked;
    ASSERT_GE(questions, 3u);

    bool stopped_inside_the_big_picture = false;
    for (std::size_t stop_at = 1; stop_at <= questions; ++stop_at) {
        StopAt monitor(stop_at);
        const SkinInstallResult result = Install(monitor);
        EXPECT_TRUE(result.cancelled) << "stopped at question " << stop_at;
        EXPECT_EQ(result.error, kInstallCancelled);
        EXPECT_TRUE(result.installed.empty() && result.to_choose.empty() && result.already_installed.empty());
        EXPECT_EQ(FolderSnapshot(skins_), before_) << "stopped at question " << stop_at << " of " << questions;
        if (!monitor.told.empty()) {
            const std::uint64_t unpacked = monitor.told.back().unpacked_bytes;
            stopped_inside_the_big_picture |= unpacked > 0 && unpacked < kBigPicture;
        }
        if (stop_at == questions && GetParam() != SourceShape::Folder) {
            // The last question comes after everything was unpacked: just
            // before the rename.
            ASSERT_FALSE(monitor.told.empty());
            EXPECT_EQ(monitor.told.back().entries, 4u);
        }
    }
    if (GetParam() != SourceShape::Folder) {
        EXPECT_TRUE(stopped_inside_the_big_picture);
    }

    // Not stopped: it goes through, in the old skin's place.
    StopAt never(0);
    const SkinInstallResult result = Install(never);
    ASSERT_TRUE(result.Succeeded()) << result.error;
    EXPECT_FALSE(result.cancelled);
    ASSERT_EQ(result.installed.size(), 1u);
    EXPECT_EQ(result.installed[0].folder, skins_ / "Wolf");
    EXPECT_TRUE(fs::exists(skins_ / "Wolf" / "pics" / "big.bmp"));
    EXPECT_FALSE(fs::exists(skins_ / "Wolf" / "old.bmp"));
}

// Answers the same-title question as a player would, once everything is
// unpacked; declining stops the install.
class Answers final : public InstallMonitor {
public:
    explicit Answers(std::optional<SameTitleChoice> answer) : answer_(answer) {}
    void Progress(const InstallProgress& so_far) override { told.push_back(so_far); }
    bool StopRequested() override { return declined_; }
    std::optional<SameTitleChoice> ChooseSameTitle(const std::vector<InstalledSkin>& skins) override {
        asked_about.insert(asked_about.end(), skins.begin(), skins.end());
        declined_ = !answer_;
        return answer_;
    }

    std::vector<InstallProgress> told;
    std::vector<InstalledSkin> asked_about;

private:
    std::optional<SameTitleChoice> answer_;
    bool declined_ = false;
};

TEST_P(InstallCancel, TheSameTitleQuestionIsAnsweredWithinOneInstall) {
    const struct {
        std::optional<SameTitleChoice> answer;
        const char* folder;  // where the new skin lands; empty: nothing installed
    } cases[] = {
        {SameTitleChoice::Replace, "Wolf"},
        {SameTitleChoice::KeepBoth, "Wolf (2)"},
        {std::nullopt, ""},  // the player cancelled the question
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        Answers monitor(c.answer);
        const SkinInstallResult result = InstallSkins(source_, skins_, {}, SameTitleChoice::Ask, &monitor);
        ASSERT_EQ(monitor.asked_about.size(), 1u);
        EXPECT_EQ(monitor.asked_about[0].folder, skins_ / "Wolf");
        EXPECT_TRUE(result.to_choose.empty());
        // Unpacked once: the counts never went back to zero for a second run.
        for (std::size_t i = 1; i < monitor.told.size(); ++i)
            EXPECT_GE(monitor.told[i].unpacked_bytes, monitor.told[i - 1].unpacked_bytes);
        if (!c.answer) {
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(FolderSnapshot(skins_), before_);
            continue;
        }
        ASSERT_EQ(result.installed.size(), 1u) << result.error;
        EXPECT_EQ(result.installed[0].folder, skins_ / c.folder);
        EXPECT_TRUE(fs::exists(skins_ / c.folder / "over.wav"));
        fs::remove_all(skins_);  // as it was, for the next answer
        fs::create_directories(skins_);
        for (const auto& [path, bytes] : before_) {
            if (bytes == "/") fs::create_directories(skins_ / path);
            else temp_.Write(fs::path("home/skins") / path, bytes);
        }
    }
    // Nobody to answer: nothing installed, the skins listed for the caller to ask.
    UnwatchedInstall unwatched;
    const SkinInstallResult result = InstallSkins(source_, skins_, {}, SameTitleChoice::Ask, &unwatched);
    EXPECT_TRUE(result.installed.empty());
    ASSERT_EQ(result.to_choose.size(), 1u);
    EXPECT_EQ(FolderSnapshot(skins_), before_);
}

INSTANTIATE_TEST_SUITE_P(Sources, InstallCancel,
                         ::testing::Values(SourceShape::Zip, SourceShape::TarGz, SourceShape::Folder),
                         [](const ::testing::TestParamInfo<SourceShape>& info) {
                             switch (info.param) {
                                 case SourceShape::Zip: return "Zip";
                                 case SourceShape::TarGz: return "TarGz";
                                 case SourceShape::Folder: return "Folder";
                             }
                             return "";
                         });

// What a progress bar is drawn from: counts that only grow, and ends that
// match the archive.
TEST(InstallProgressReport, CountsGrowToTheArchivesEntriesBytesAndSize) {
    TempFolder temp;
    const std::string big = Noise(kBigPicture);
    const fs::path zip = temp.Write(
        "Wolf.zip", test::MakeArchive(ArchiveKind::ZipUtf8, {File("Wolf/wolf.ini", SkinIni("Wolf", "big.bmp")),
                                                             File("Wolf/big.bmp", big), File("Wolf/over.wav", "RIFF")}));
    StopAt monitor(0);
    ASSERT_TRUE(InstallSkins(zip, temp.path() / "skins", {}, SameTitleChoice::KeepBoth, &monitor).Succeeded());
    ASSERT_GE(monitor.told.size(), kBigPicture / (64 * 1024));  // within the big entry too
    for (std::size_t i = 1; i < monitor.told.size(); ++i) {
        EXPECT_GE(monitor.told[i].entries, monitor.told[i - 1].entries);
        EXPECT_GE(monitor.told[i].unpacked_bytes, monitor.told[i - 1].unpacked_bytes);
        EXPECT_GE(monitor.told[i].packed_read, monitor.told[i - 1].packed_read);
    }
    const InstallProgress& last = monitor.told.back();
    EXPECT_EQ(last.entries, 3u);
    EXPECT_EQ(last.unpacked_bytes, big.size() + SkinIni("Wolf", "big.bmp").size() + 4);
    EXPECT_EQ(last.packed_total, fs::file_size(zip));
    EXPECT_GT(last.packed_read, big.size()) << "the big entry was read from the file";
    EXPECT_LE(last.packed_read, last.packed_total);
}

}  // namespace
}  // namespace pellox
