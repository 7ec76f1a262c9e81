// Installs from the start screen run beside it: the window answers, a
// progress window with Cancel shows once an install takes longer than a
// moment, sources wait their turn, and closing the window stops the install.
#include <atomic>
#include <chrono>
#include <thread>

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include "skininstall/install_skins.h"
#include "startscreen/install_texts.h"
#include "tests/skininstall/test_archives.h"
#include "tests/startscreen/paced_install.h"
#include "tests/startscreen/start_screen_rig.h"
#include "tests/support/folder_snapshot.h"

namespace pellox {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// An install that goes on, telling its progress, until the test lets it end
// or it is asked to stop; the test sees how many ran at once.
struct HeldInstall {
    std::atomic<bool> let_go{false};
    std::atomic<int> running{0};
    std::atomic<int> most_at_once{0};
    std::atomic<int> stopped{0};
    std::atomic<int> returned{0};

    SkinInstallResult Run(InstallMonitor& monitor, const std::function<SkinInstallResult()>& finish) {
        most_at_once = std::max(most_at_once.load(), ++running);
        InstallProgress so_far;
        so_far.packed_total = 1000;
        const auto give_up = Clock::now() + std::chrono::seconds(20);
        while (!let_go && !monitor.StopRequested() && Clock::now() < give_up) {
            so_far.entries += 1;
            so_far.unpacked_bytes += 150 * 1024;
            so_far.packed_read = std::min<std::uint64_t>(so_far.packed_read + 5, 1000);
            monitor.Progress(so_far);
            std::this_thread::sleep_for(milliseconds(5));
        }
        --running;
        SkinInstallResult result;
        if (monitor.StopRequested()) {
            ++stopped;
            result.cancelled = true;
            result.error = kInstallCancelled;
        } else {
            result = finish();
        }
        ++returned;
        return result;
    }
};

class InstallProgressTest : public StartScreenTest {
protected:
    TempFolder installed;
    HeldInstall held;
    std::vector<std::filesystem::path> started;  // sources, as the installs began
    std::function<SkinInstallResult(const std::filesystem::path&, InstallMonitor&)> install;
    QStringList boxes;

    InstallProgressTest() {
        RunTheApplicationLoopOnce();
        adjust_setup = [this](StartScreenSetup& setup) {
            setup.search_roots.push_back(installed.path());
            setup.installed_skins_folder = installed.path();
            setup.install_skin = [this](const std::filesystem::path& source, SameTitleChoice, InstallMonitor& monitor) {
                started.push_back(source);
                return install(source, monitor);
            };
        };
    }

    ~InstallProgressTest() override {
        held.let_go = true;
        form.reset();  // before the folders and the installer it uses go
    }

    SkinInstallResult Installed(const std::string& folder, const std::string& title) {
        const std::filesystem::path ini =
            installed.Write(folder + "/" + folder + ".ini", "[SETTINGS]\nver=1.6\ntitle=" + title + "\n");
        SkinInstallResult result;
        result.installed.push_back({title, title, ini.parent_path(), ini});
        return result;
    }

    // Runs the event loop until done() or the time is up; every box opened
    // meanwhile is read and closed.
    bool RunUntil(const std::function<bool()>& done, milliseconds at_most = milliseconds(10000)) {
        const auto end = Clock::now() + at_most;
        while (!done() && Clock::now() < end) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->close();
            }
        }
        return done();
    }

    QProgressDialog* ProgressWindow() { return form->SkinInstalls().ProgressWindow(); }
};

TEST_F(InstallProgressTest, TheProgressWindowShowsPastTheDelayAndItsCancelLeavesTheSkinsFolderAsItWas) {
    // A real install of a real archive, slowed so that Cancel lands halfway.
    installed.Write("Old/old.ini", "[SETTINGS]\nver=1.6\ntitle=Old\n");
    const std::string picture(1024 * 1024, 'x');  // sixteen steps of the unpacking
    const std::filesystem::path zip = skins.Write(
        "downloads/Night.zip",
        test::MakeArchive(test::ArchiveKind::ZipUtf8,
                          {test::File("Night/night.ini", "[SETTINGS]\r\nver=1.6\r\ntitle=Night\r\n"),
                           test::File("Night/big.bmp", picture)}));
    install = [this](const std::filesystem::path& source, InstallMonitor& monitor) {
        PacedMonitor paced(monitor, milliseconds(25));
        return InstallSkins(source, installed.path(), {}, SameTitleChoice::Ask, &paced);
    };
    Open();
    form->imLanguageClick(0);
    const QStringList menu_before = Entries();
    const auto before = FolderSnapshot(installed.path());

    const auto dropped = Clock::now();
    form->InstallSkinSources({zip});
    EXPECT_FALSE(form->BtStart().isEnabled()) << "the start waits for the install";
    ASSERT_TRUE(RunUntil([this] { return ProgressWindow() != nullptr; }));
    EXPECT_GE(Clock::now() - dropped, SkinInstallUi::kProgressDelay);
    EXPECT_TRUE(form->SkinInstallRunning());
    QProgressDialog& window = *ProgressWindow();
    EXPECT_FALSE(window.isModal()) << "the menu stays in the player's hands";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Installing a skin"));
    EXPECT_TRUE(window.labelText().startsWith(QStringLiteral("Installing ‘Night.zip’…\nFiles unpacked: ")))
        << window.labelText().toStdString();
    EXPECT_TRUE(window.labelText().endsWith(QStringLiteral("The game can be started once the install has finished.")))
        << window.labelText().toStdString();
    // The bar moves with the archive read.
    ASSERT_TRUE(RunUntil([&] { return window.value() > 0; }));
    EXPECT_LT(window.value(), window.maximum());
    QTest::keyClick(form.get(), Qt::Key_Return);  // Enter does not start the game meanwhile
    EXPECT_EQ(played.size(), 0u);
    EXPECT_TRUE(form->isVisible());

    // Russian, as the flag is clicked.
    form->imLanguageClick(-1);
    ASSERT_TRUE(RunUntil([&] { return window.windowTitle() == QStringLiteral("Установка скина"); }));
    EXPECT_TRUE(window.labelText().startsWith(QStringLiteral("Устанавливается «Night.zip»…\nРаспаковано файлов: ")))
        << window.labelText().toStdString();
    QPushButton* cancel = window.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));

    cancel->click();
    ASSERT_TRUE(RunUntil([this] { return !form->SkinInstallRunning(); }));
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(boxes.isEmpty()) << "a cancel is no failure: " << boxes.join(u'\n').toStdString();
    EXPECT_EQ(FolderSnapshot(installed.path()), before);
    form->imLanguageClick(0);
    EXPECT_EQ(Entries(), menu_before);
    EXPECT_TRUE(form->BtStart().isEnabled());
}

TEST(InstallProgressText, SaysWhatIsInstallingAndHowFarInTheLanguage) {
    InstallProgress archive;
    archive.entries = 1234;
    archive.unpacked_bytes = 56'700'000;
    archive.packed_total = 60'000'000;
    const std::string long_name = std::string(100, 'x') + ".zip";
    const struct {
        InterfaceLanguage language;
        std::filesystem::path source;
        int number, count;
        InstallProgress so_far;
        const char* expected;
    } cases[] = {
        {InterfaceLanguage::English, "/d/Night.zip", 1, 1, archive,
         "Installing ‘Night.zip’…\nFiles unpacked: 1,234 (54.1 MB)\n"
         "The game can be started once the install has finished."},
        {InterfaceLanguage::Russian, "/d/Night.zip", 2, 3, archive,
         "Устанавливается «Night.zip» (2 из 3)…\nРаспаковано файлов: 1\u00a0234 (54,1 МБ)\n"
         "Игру можно будет начать, когда установка закончится."},
        {InterfaceLanguage::English, "/d/Night/", 1, 1, {},
         "Installing ‘Night’…\nCopying the skin’s files.\nThe game can be started once the install has finished."},
        {InterfaceLanguage::English, "/d/" + long_name, 1, 1, {},
         "Installing ‘xxxxxxxxxxxxxxxxxxxxxxxxxxxxx…xxxxxxxxxxxxxxxxxxxxxxxxx.zip’…\nCopying the skin’s files.\n"
         "The game can be started once the install has finished."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InstallProgressText(c.language, c.source, c.number, c.count, c.so_far).toStdString(), c.expected);
}

TEST_F(InstallProgressTest, AQuickInstallShowsNoProgressWindow) {
    install = [this](const std::filesystem::path&, InstallMonitor&) { return Installed("quick", "Quick"); };
    Open();
    form->InstallSkinSources({skins.path() / "quick.zip"});
    ASSERT_TRUE(RunUntil([this] { return !form->SkinInstallRunning(); }));
    // Well past the delay: the window was never made.
    RunUntil([] { return false; }, 2 * SkinInstallUi::kProgressDelay);
    EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Quick"));
    EXPECT_TRUE(form->BtStart().isEnabled());
}

TEST_F(InstallProgressTest, SourcesGivenDuringAnInstallWaitTheirTurn) {
    install = [this](const std::filesystem::path& source, InstallMonitor& monitor) {
        const std::string name = source.stem().string();
        return held.Run(monitor, [&] { return Installed(name, name == "first" ? "Первый" : "Второй"); });
    };
    Open();
    form->InstallSkinSources({skins.path() / "first.zip"});
    ASSERT_TRUE(RunUntil([this] { return ProgressWindow() != nullptr; }));
    form->InstallSkinSources({skins.path() / "second.zip"});  // a drop while the first installs
    RunUntil([this] { return ProgressWindow()->labelText().contains(QStringLiteral("(1 из 2)")); });
    EXPECT_TRUE(ProgressWindow()->labelText().startsWith(QStringLiteral("Устанавливается «first.zip» (1 из 2)…")))
        << ProgressWindow()->labelText().toStdString();
    EXPECT_EQ(started.size(), 1u) << "the second waits";
    held.let_go = true;
    ASSERT_TRUE(RunUntil([this] { return !form->SkinInstallRunning(); }));
    EXPECT_EQ(started, (std::vector<std::filesystem::path>{skins.path() / "first.zip", skins.path() / "second.zip"}));
    EXPECT_EQ(held.most_at_once, 1);
    EXPECT_EQ(Entries().mid(1), (QStringList{QStringLiteral("Первый"), QStringLiteral("Второй")}));
    EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Первый")) << "the first new skin is selected";
}

TEST_F(InstallProgressTest, ClosingTheStartScreenStopsTheInstallAndLeavesNoThread) {
    install = [this](const std::filesystem::path&, InstallMonitor& monitor) {
        return held.Run(monitor, [&] { return Installed("never", "Never"); });
    };
    Open();
    form->InstallSkinSources({skins.path() / "never.zip"});
    ASSERT_TRUE(RunUntil([this] { return held.running == 1; }));
    form->close();
    const auto closed = Clock::now();
    form.reset();
    EXPECT_LT(Clock::now() - closed, std::chrono::seconds(2)) << "the install stopped at the close";
    EXPECT_EQ(held.stopped, 1);
    EXPECT_EQ(held.returned, 1) << "its thread had ended with the start screen";
    EXPECT_FALSE(std::filesystem::exists(installed.path() / "never"));
}

}  // namespace
}  // namespace pellox
