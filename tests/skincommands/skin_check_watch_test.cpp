// --check-skin --watch: the report printed again at every save.
#include <sstream>

#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "skincommands/skin_check_watch.h"
#include "skincommands/skin_export.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

class SkinCheckWatchTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path ini = folder.path() / "skin" / std::string(kExportedSkinFile);
    void SetUp() override {
        std::ostringstream out, err;
        ASSERT_EQ(ExportSkinCommand(folder.path() / "skin", out, err), 0) << err.str();
    }
    // Written beside and renamed over, as an editor saves.
    void SaveByRename(const std::string& relative, const std::string& bytes) {
        folder.Write(relative + ".new", bytes);
        std::filesystem::rename(folder.path() / (relative + ".new"), folder.path() / relative);
    }
};

TEST_F(SkinCheckWatchTest, EverySaveIsCheckedAgainFromTheSameFolder) {
    const CurrentDirGuard guard(folder.path());
    std::ostringstream out;
    // Named from the folder the command runs in, as a shell user names it.
    SkinCheckWatch watch("skin/pellox.ini", folder.path(), out);
    QSignalSpy reported(&watch, &SkinCheckWatch::Reported);
    watch.Start();
    ASSERT_EQ(reported.count(), 1);
    EXPECT_EQ(reported.takeFirst().value(0).toInt(), 0);
    EXPECT_NE(out.str().find("Summary: the skin would launch"), std::string::npos);

    out.str({});
    SaveByRename("skin/pictures/imHare.bmp", "not a picture");
    ASSERT_TRUE(reported.wait(3000));
    EXPECT_EQ(reported.takeFirst().value(0).toInt(), 1);
    EXPECT_NE(out.str().find("saved, checked again"), std::string::npos);
    EXPECT_NE(out.str().find("[HARE] hare: FAILED: not a picture"), std::string::npos) << out.str();

    out.str({});
    std::filesystem::copy_file(folder.path() / "skin/pictures/imBell.bmp", folder.path() / "skin/pictures/imHare.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(reported.wait(3000));
    while (reported.wait(300)) {}  // the copy may fire twice
    EXPECT_EQ(reported.last().value(0).toInt(), 0) << out.str();
    EXPECT_NE(out.str().find("[HARE] hare: loaded"), std::string::npos) << out.str();
}

TEST_F(SkinCheckWatchTest, TheProgramPrintsTheReportAgainUntilStopped) {
    QProcess program;
    program.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    program.start(QStringLiteral(PELLOX_PROGRAM), {QStringLiteral("--check-skin"), QStringLiteral("skin/pellox.ini"),
                                                   QStringLiteral("--watch")});
    QByteArray output;
    auto read_until = [&](const QByteArray& text) {
        for (int i = 0; i < 50 && !output.contains(text); ++i) {
            program.waitForReadyRead(100);
            output += program.readAllStandardOutput();
        }
        return output.contains(text);
    };
    ASSERT_TRUE(read_until("Ctrl+C ends.")) << output.toStdString();
    SaveByRename("skin/pellox.ini", "[SETTINGS]\nver=1.6\ntitle=Half done\n");
    ASSERT_TRUE(read_until("saved, checked again")) << output.toStdString();
    EXPECT_TRUE(read_until("entries fail")) << output.toStdString();
    program.kill();
    program.waitForFinished(3000);

    QProcess alone;
    alone.start(QStringLiteral(PELLOX_PROGRAM), {QStringLiteral("--watch")});
    ASSERT_TRUE(alone.waitForFinished(10000));
    EXPECT_EQ(alone.exitCode(), 2);
    EXPECT_TRUE(alone.readAllStandardError().contains("--watch goes with --check-skin"));
}

}  // namespace
}  // namespace pellox
