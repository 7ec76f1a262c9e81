// Names from outside shown as written: a file, a folder, a skin's title or a
// reason that looks like markup is shown literally wherever the player sees
// it, and never makes Qt open a file it points to. Each name here points to
// a FIFO that tells whether anything opened it (a box that took the name for
// rich text once blocked the window thread in open() for good).
#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWindow>
#include <chrono>
#include <thread>

#include "tests/startscreen/start_screen_rig.h"
#include "tests/support/fifo_watch.h"

namespace pellox {
namespace {

// A file name cannot hold '/': the name spells it as an HTML entity, which a
// rich-text reader turns back into the FIFO's path.
std::string NameFor(const std::filesystem::path& fifo, const std::string& tail) {
    std::string spelled;
    for (char c : fifo.string()) spelled += c == '/' ? std::string("&#47;") : std::string(1, c);
    return "<img src=" + spelled + ">" + tail;
}

// What a reader of the label sees: the text itself, or what is left of it
// once Qt has read it as rich text.
QString ShownText(QLabel& label) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&label);
    return face ? face->text(QAccessible::Name) : label.text();
}

class HostileNameTest : public StartScreenTest {
protected:
    TempFolder outside;
    FifoWatch fifo{outside.path() / "fifo"};
    const std::string file_name = NameFor(fifo.Path(), ".zip");
    const std::string text = "<img src=\"" + fifo.Path().string() + "\"><b>bold</b>";
    QStringList boxes;  // the text each message box showed

    HostileNameTest() {
        RunTheApplicationLoopOnce();
    }

    // Runs work; each message box it opens is read as shown and closed.
    void AnsweringBoxes(const std::function<void()>& work) {
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ReadBox(*box);
            box->close();
        });
        reader.start(10);
        work();
    }

    void ReadBox(QMessageBox& box) {
        // Laid out and painted as the player would see it.
        box.grab();
        QString shown;
        for (QLabel* label : box.findChildren<QLabel*>())
            if (!label->text().isEmpty()) shown += ShownText(*label);
        boxes << shown;
    }

    void ExpectShownLiterally(const std::string& what, const QString& shown) {
        EXPECT_TRUE(shown.contains(QString::fromStdString(what))) << what << "\nshown: " << shown.toStdString();
    }

    void TearDown() override {
        QCoreApplication::processEvents();
        EXPECT_EQ(fifo.ReadersSeen(), 0) << "a name was read as markup and its file opened";
    }
};

TEST_F(HostileNameTest, TheInstallFailureBoxShowsTheArchivesNameAndTheReasonsAsWritten) {
    adjust_setup = [this](StartScreenSetup& setup) {
        setup.install_skin = [this](const std::filesystem::path&, SameTitleChoice, InstallMonitor&) {
            SkinInstallResult result;
            result.rejected.push_back({file_name + "/skin.ini", text});
            return result;
        };
    };
    Open();
    AnsweringBoxes([&] {
        form->InstallSkinSources({outside.path() / file_name});
        WaitForInstalls();
    });
    ASSERT_EQ(boxes.size(), 1);
    ExpectShownLiterally(file_name, boxes[0]);
    ExpectShownLiterally(text, boxes[0]);

    boxes.clear();
    adjust_setup = [this](StartScreenSetup& setup) {
        setup.install_skin = [this](const std::filesystem::path&, SameTitleChoice, InstallMonitor&) {
            SkinInstallResult result;
            result.error = text;
            return result;
        };
    };
    Open();
    AnsweringBoxes([&] {
        form->InstallSkinSources({outside.path() / file_name});
        WaitForInstalls();
    });
    ASSERT_EQ(boxes.size(), 1);
    ExpectShownLiterally(text, boxes[0]);
}

TEST_F(HostileNameTest, TheProgressWindowShowsTheArchivesNameAsWritten) {
    adjust_setup = [](StartScreenSetup& setup) {
        // An install that lasts until it is cancelled.
        setup.install_skin = [](const std::filesystem::path&, SameTitleChoice, InstallMonitor& monitor) {
            const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!monitor.StopRequested() && std::chrono::steady_clock::now() < give_up)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            SkinInstallResult result;
            result.cancelled = true;
            result.error = kInstallCancelled;
            return result;
        };
    };
    Open();
    form->InstallSkinSources({outside.path() / file_name});
    QElapsedTimer waited;
    waited.start();
    while (!form->SkinInstalls().ProgressWindow() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    QProgressDialog* window = form->SkinInstalls().ProgressWindow();
    ASSERT_NE(window, nullptr);
    window->grab();  // laid out and painted as the player sees it
    QLabel* label = window->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    ExpectShownLiterally(file_name, ShownText(*label));
    form->SkinInstalls().Cancel();
    WaitForInstalls();
}

TEST_F(HostileNameTest, TheMenuAndTheLaunchFailureBoxShowTheSkinsTitleAndPathAsWritten) {
    // A skin with no entries: its launch fails and names its file.
    const std::filesystem::path folder = NameFor(fifo.Path(), "");
    WriteSkin((folder / "skin.ini").string(), text);
    adjust_setup = [](StartScreenSetup& setup) { setup.show_launch_failure = nullptr; };  // the game's own box
    Open();
    ASSERT_EQ(form->CbSkin().count(), 2);
    EXPECT_EQ(form->CbSkin().itemText(1).toStdString(), text);
    form->CbSkin().setCurrentIndex(1);
    ::testing::internal::CaptureStderr();
    AnsweringBoxes([&] { EXPECT_EQ(Start(), 1); });
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(boxes.size(), 1);
    ExpectShownLiterally(folder.string(), boxes[0]);
}

TEST_F(HostileNameTest, TheSkinsFolderBoxShowsItsPathAsWritten) {
    // A file where a folder on the way should be: the folder cannot be made,
    // and the box tells where it would be.
    const std::filesystem::path blocker = outside.Write("a-file", "");
    const std::filesystem::path folder = blocker / NameFor(fifo.Path(), "");
    adjust_setup = [&](StartScreenSetup& setup) {
        setup.installed_skins_folder = folder;
        setup.install_skin = [](const std::filesystem::path&, SameTitleChoice, InstallMonitor&) {
            return SkinInstallResult{};
        };
    };
    Open();
    AnsweringBoxes([&] { form->OpenSkinsFolderAction().trigger(); });
    ASSERT_EQ(boxes.size(), 1);
    ExpectShownLiterally(folder.string(), boxes[0]);
}

TEST_F(HostileNameTest, TheGameWindowShowsTheSkinsTitleAndAnErrorAsWritten) {
    Open();
    GameWindow& game = Game();
    PrepareBuiltinGame(game);
    game.FrameTimer().SetEnabled(false);
    const std::u16string title = u"[*] <b>Ночь</b> [*][*]";
    game.Texts().TitleSU = title;
    game.Texts().TitleGB = title;
    game.Form().show();
    game.Controls().PressCaseButton(SpriteId::imButtA);
    game.Controls().ReleaseCaseButton(SpriteId::imButtA);
    ASSERT_NE(game.Form().windowHandle(), nullptr);
    EXPECT_EQ(game.Form().windowHandle()->title().toStdString(), QString::fromStdU16String(title).toStdString());

    // An error a handler reports (a scores file's path, a sound's reason).
    const std::string error = text;
    game.SideTimer().SetOnTimer([error](TTimer&) { throw std::runtime_error(error); });
    QElapsedTimer waited;
    waited.start();
    QList<QMessageBox*> shown;
    while (shown.isEmpty() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents();
        shown = game.Form().findChildren<QMessageBox*>();
    }
    game.SideTimer().SetEnabled(false);
    ASSERT_FALSE(shown.isEmpty());
    ReadBox(*shown.front());
    ExpectShownLiterally(error, boxes.back());
    game.Form().close();
}

}  // namespace
}  // namespace pellox
