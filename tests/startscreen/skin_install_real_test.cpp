// A skin installed from the start screen with the game's own installer: a
// player's copy of the built-in game, one picture painted over, zipped,
// dropped on the window and then played from the menu.
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <fstream>
#include <sstream>

#include "skincommands/skin_check.h"
#include "skincommands/skin_export.h"
#include "skininstall/install_skins.h"
#include "tests/skininstall/test_archives.h"
#include "tests/startscreen/start_screen_rig.h"

namespace pellox {
namespace {

constexpr QRgb kPaint = qRgb(0, 0, 255);

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Every pixel of the case, all but the see-through ones, in one colour.
void PaintOver(const std::filesystem::path& bitmap) {
    QImage picture(QString::fromStdString(bitmap.string()));
    ASSERT_FALSE(picture.isNull()) << bitmap;
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb key = picture.pixel(0, picture.height() - 1);  // the lower-left pixel's colour is see-through
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != key) picture.setPixel(x, y, kPaint);
    ASSERT_TRUE(picture.save(QString::fromStdString(bitmap.string()), "BMP"));
}

int Painted(const QImage& frame) {
    int painted = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) painted += frame.pixel(x, y) == kPaint;
    return painted;
}

class RealInstallTest : public StartScreenTest {
protected:
    TempFolder installed;
    TempFolder work;
    std::atomic<int> install_runs{0};
    CurrentDirGuard dir_guard;  // the launch enters the skin's dir

    RealInstallTest() {
        RunTheApplicationLoopOnce();
        adjust_setup = [this](StartScreenSetup& setup) {
            setup.search_roots.push_back(installed.path());
            setup.installed_skins_folder = installed.path();
            setup.install_skin = [this](const std::filesystem::path& source, SameTitleChoice same_title,
                                        InstallMonitor& monitor) {
                ++install_runs;
                return InstallSkins(source, installed.path(), {}, same_title, &monitor);
            };
            setup.check_installed_skin = SkinLaunchProblems;
        };
    }

    // Drops the file on the start screen and lets the install run; gives the
    // text of each message box it opened, each read and closed.
    QStringList DropAndRead(const std::filesystem::path& file) {
        QStringList boxes;
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&boxes] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->close();
            }
        });
        reader.start(10);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        WaitForInstalls();
        return boxes;
    }

    // The export, its background painted blue and its title its own, zipped
    // in a folder as players share skins.
    std::filesystem::path BlueSkinZip() {
        const std::filesystem::path exported = work.path() / "export";
        std::ostringstream out, err;
        EXPECT_EQ(ExportSkinCommand(exported, out, err), 0) << err.str();
        PaintOver(exported / "pictures" / "imBckgrnd.bmp");
        std::string ini = ReadFile(exported / kExportedSkinFile);
        const auto retitle = [&ini](std::string_view from, std::string_view to) {
            const std::size_t at = ini.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            ini.replace(at, from.size(), to);
        };
        retitle(kExportedTitleSU, "Синий волк");
        retitle(kExportedTitleGB, "Blue Wolf");
        std::ofstream(exported / kExportedSkinFile, std::ios::binary | std::ios::trunc) << ini;

        std::vector<test::ArchiveItem> items;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(exported)) {
            const std::string name = "blue-wolf/" + entry.path().lexically_relative(exported).generic_string();
            items.push_back(entry.is_directory() ? test::Folder(name + "/") : test::File(name, ReadFile(entry.path())));
        }
        return work.Write("Downloads/blue-wolf.zip", test::MakeArchive(test::ArchiveKind::ZipUtf8, items));
    }
};

TEST_F(RealInstallTest, ADroppedZipOfAPaintedExportIsInstalledSelectedAndPlays) {
    const std::filesystem::path zip = BlueSkinZip();
    Open();
    ASSERT_EQ(form->MenuState(), SkinMenuState::NoneFound);
    EXPECT_EQ(DropAndRead(zip), QStringList()) << "the skin passes its check: nothing to tell";

    ASSERT_EQ(form->CbSkin().count(), 2);
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Синий волк"));
    const std::filesystem::path ini = form->Menu().SkinFiles.at(1);
    EXPECT_EQ(ini.parent_path().parent_path(), installed.path()) << ini;
    EXPECT_TRUE(std::filesystem::exists(ini.parent_path() / "pictures" / "imBckgrnd.bmp")) << ini;

    std::filesystem::current_path(work.Folder("elsewhere"));  // not the skin's folder
    EXPECT_EQ(Start(), 0);
    GameWindow* game = form->GameWindowIfCreated();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->Texts().TitleSU, u"Синий волк");
    EXPECT_EQ(game->Form().size(), QSize(875 + 8, 532 + 34));
    // Most of the case shows the new paint; the built-in game has none of it.
    EXPECT_GT(Painted(game->Form().Frame()), 875 * 532 / 2);
}

// The same title with other files: the player is asked while the install
// waits, unpacked, and it goes on with the answer, without unpacking again.
TEST_F(RealInstallTest, AReinstallWithOtherFilesAsksTheQuestionWithinOneInstall) {
    QStringList asked;
    adjust_setup = [&, with_installer = adjust_setup](StartScreenSetup& setup) {
        with_installer(setup);
        setup.check_installed_skin = nullptr;
        setup.choose_same_title = [&](QWidget*, const QStringList& titles) {
            asked += titles;
            EXPECT_TRUE(form->SkinInstallRunning()) << "the install waits for the answer";
            return std::optional<SameTitleChoice>(SameTitleChoice::Replace);
        };
    };
    const auto skin = [](const std::string& ground) {
        return test::MakeArchive(test::ArchiveKind::ZipUtf8,
                                 {test::File("night/night.ini", "[SETTINGS]\r\nver=1.6\r\ntitle=Ночь\r\n"
                                                                "[BACK]\r\nground=0,0,20,10,bg.bmp\r\n"),
                                  test::File("night/bg.bmp", ground)});
    };
    Open();
    EXPECT_EQ(DropAndRead(work.Write("night.zip", skin("BM first"))), QStringList());
    EXPECT_EQ(DropAndRead(work.Write("night-2.zip", skin("BM second"))), QStringList());
    EXPECT_EQ(asked, QStringList{QStringLiteral("Ночь")});
    EXPECT_EQ(install_runs, 2) << "one run for each archive";
    EXPECT_EQ(ReadFile(installed.path() / "night" / "bg.bmp"), "BM second");
    EXPECT_EQ(form->CbSkin().count(), 2) << "replaced in its own entry";
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Ночь"));
}

// The game's own check after the game's own install: a picture the skin
// names in other letters' case is found (Windows matches Cyrillic case too),
// one that is not there is told in a box at once, not at Start.
TEST_F(RealInstallTest, ADroppedSkinThatWouldNotStartIsListedAndTheBoxSaysWhy) {
    const std::filesystem::path exported = work.path() / "export";
    std::ostringstream out, err;
    ASSERT_EQ(ExportSkinCommand(exported, out, err), 0) << err.str();
    std::filesystem::rename(exported / "pictures", exported / "Рисунки");
    std::string ini = ReadFile(exported / kExportedSkinFile);
    for (std::size_t at = 0; (at = ini.find("pictures/", at)) != std::string::npos;) ini.replace(at, 9, "РИСУНКИ\\");
    const std::size_t hare = ini.find("РИСУНКИ\\imHare.bmp");
    ASSERT_NE(hare, std::string::npos);
    ini.replace(hare, std::string("РИСУНКИ\\imHare.bmp").size(), "РИСУНКИ\\ЗАЯЦ.BMP");
    std::ofstream(exported / kExportedSkinFile, std::ios::binary | std::ios::trunc) << ini;
    std::vector<test::ArchiveItem> items;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(exported))
        if (entry.is_regular_file())
            items.push_back(test::File("wolf/" + entry.path().lexically_relative(exported).generic_string(),
                                       ReadFile(entry.path())));
    const std::filesystem::path zip = work.Write("wolf.zip", test::MakeArchive(test::ArchiveKind::ZipUtf8, items));
    Open();

    const QStringList boxes = DropAndRead(zip);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Скин «Kestrow (ваша копия)» установлен, но не запустится:\n"
                                                    "• [HARE] hare: нет такого файла: ")))
        << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Рисунки/\" нет \"ЗАЯЦ.BMP\""))) << boxes[0].toStdString();
    EXPECT_EQ(boxes[0].count(u'•'), 1) << boxes[0].toStdString();  // every other picture was found
    EXPECT_EQ(form->CbSkin().count(), 2);
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);
}

}  // namespace
}  // namespace pellox
