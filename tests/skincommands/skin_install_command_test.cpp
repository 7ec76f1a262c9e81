// pellox --install-skin: a skin packed as a Windows player packs it installs
// and checks clean; a skin that installs but would not launch says why; what
// is no skin is refused with status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <QProcess>
#include <QProcessEnvironment>

#include "skincommands/skin_export.h"
#include "skincommands/skin_install.h"
#include "tests/skininstall/test_archives.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// The folder's files as a zip with "\" between names, under top\.
std::string ZipAsWindowsDoes(const fs::path& folder, const std::string& top) {
    std::vector<test::ArchiveItem> items;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string name = top + "\\" + entry.path().lexically_relative(folder).string();
        for (char& c : name) c = c == '/' ? '\\' : c;
        std::ifstream in(entry.path(), std::ios::binary);
        items.push_back(test::File(name, std::string(std::istreambuf_iterator<char>(in), {})));
    }
    return test::MakeArchive(test::ArchiveKind::Zip, items);
}

struct Ran {
    int status;
    std::string out;
    std::string err;
};

// The program as a player runs it: no display, its own data folder.
Ran RunPellox(const QStringList& arguments, const fs::path& data_home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(data_home.string()));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PELLOX_PROGRAM), arguments);
    if (!program.waitForFinished(60000)) return {-1, {}, "did not finish"};
    return {program.exitCode(), program.readAllStandardOutput().toStdString(),
            program.readAllStandardError().toStdString()};
}

TEST(InstallSkinProgramTest, AWindowsZipOfAWholeSkinInstallsAndChecksClean) {
    TempFolder folder;
    std::ostringstream quiet;
    ASSERT_EQ(ExportSkinCommand(folder.path() / "export", quiet, quiet), 0);
    const fs::path zip = folder.Write("Night Shift.zip", ZipAsWindowsDoes(folder.path() / "export", "Night"));

    const Ran ran = RunPellox({QStringLiteral("--install-skin"), QString::fromStdString(zip.string())},
                              folder.path() / "data");
    EXPECT_EQ(ran.status, 0) << ran.err;
    const fs::path installed = folder.path() / "data/pellox/skins/Night";
    EXPECT_NE(ran.out.find("Installed \"Kestrow (your copy)\" (in Russian \"Kestrow (ваша копия)\") in " +
                           installed.string()),
              std::string::npos)
        << ran.out;
    EXPECT_NE(ran.out.find("Check: passes (the skin would launch: all 90 entries load)"), std::string::npos)
        << ran.out;
    EXPECT_TRUE(fs::is_regular_file(installed / "pellox.ini"));
}

TEST(InstallSkinProgramTest, ReinstallingSaysAlreadyInstalledAndReplacesOnlyWhenAsked) {
    TempFolder folder;
    folder.Write("Night/night.ini", "[SETTINGS]\nver=1.6\ntitle=Ночь\ntitleGB=Night\n[BACK]\nground=0,0,1,1,bg.bmp\n");
    folder.Write("Night/bg.bmp", "BM1");
    const QString source = QString::fromStdString((folder.path() / "Night").string());
    const fs::path skins = folder.path() / "data/pellox/skins";
    // The skin names one picture only: every install of it says it would not
    // start (status 1); finding it installed already copies nothing (0).
    ASSERT_EQ(RunPellox({QStringLiteral("--install-skin"), source}, folder.path() / "data").status, 1);

    const Ran again = RunPellox({QStringLiteral("--install-skin"), source}, folder.path() / "data");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Already installed: \"Night\" in " + (skins / "Night").string()), std::string::npos)
        << again.out;
    EXPECT_FALSE(fs::exists(skins / "Night (2)"));

    folder.Write("Night/bg.bmp", "BM2");
    const Ran beside = RunPellox({QStringLiteral("--install-skin"), source}, folder.path() / "data");
    EXPECT_EQ(beside.status, 1) << beside.err;
    EXPECT_NE(beside.out.find("Installed \"Night (2)\""), std::string::npos) << beside.out;
    EXPECT_NE(beside.out.find("Note: "), std::string::npos) << beside.out;

    folder.Write("Night/bg.bmp", "BM3");
    const Ran replaced =
        RunPellox({QStringLiteral("--install-skin"), source, QStringLiteral("--replace")}, folder.path() / "data");
    EXPECT_EQ(replaced.status, 1) << replaced.err;
    EXPECT_NE(replaced.out.find("Installed \"Night\" (in Russian \"Ночь\") in " + (skins / "Night").string()),
              std::string::npos)
        << replaced.out;
    std::ifstream picture(skins / "Night/bg.bmp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(picture), {}), "BM3");
    EXPECT_FALSE(fs::exists(skins / "Night (3)"));

    EXPECT_EQ(RunPellox({QStringLiteral("--replace")}, folder.path() / "data").status, 2);
}

TEST(InstallSkinProgramTest, WhatIsNoSkinIsRefusedWithStatusOne) {
    TempFolder folder;
    const fs::path text = folder.Write("notes.ini", "[SETTINGS]\r\ntitle=No version\r\n");
    const Ran ran = RunPellox({QStringLiteral("--install-skin"), QString::fromStdString(text.string())},
                              folder.path() / "data");
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("pellox: nothing installed from "), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("notes.ini: not a skin: [SETTINGS] has no ver"), std::string::npos) << ran.err;
    EXPECT_TRUE(fs::is_empty(folder.path() / "data/pellox/skins"));
}

// Installed all the same, so the player can mend it where it lies; the
// status says that it would not start.
TEST(InstallSkinCommandTest, ASkinThatWouldNotLaunchIsInstalledWithItsFailuresAndStatusOne) {
    TempFolder folder;
    folder.Write("Wolf/bg.bmp", "not a picture");
    const fs::path ini = folder.Write("Wolf/wolf.ini", "[SETTINGS]\r\nver=1.6\r\ntitle=Wolf\r\n"
                                                       "[BACK]\r\nground=0,0,10,10,bg.bmp\r\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(InstallSkinCommand(ini.parent_path(), folder.path() / "skins", out, err), 1) << err.str();
    EXPECT_TRUE(fs::is_regular_file(folder.path() / "skins/Wolf/wolf.ini"));
    EXPECT_NE(out.str().find("Check: FAILS: 90 of 90 entries fail"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("    [BACK] ground: not a picture"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("    ...and 85 more\n"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("the skin installed from " + ini.parent_path().string() +
                             " fails its check and would not start"),
              std::string::npos)
        << err.str();
    EXPECT_NE(out.str().find("For every entry: pellox --check-skin '" + (folder.path() / "skins/Wolf/wolf.ini").string()),
              std::string::npos)
        << out.str();
}

}  // namespace
}  // namespace pellox
