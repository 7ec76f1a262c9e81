#pragma once
// The start screen on the offscreen platform with a game window that records
// its sounds, a temporary search root and a temporary scores file.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "records/language_settings.h"
#include "startscreen/menu/start_texts.h"
#include "startscreen/thb_form.h"
#include "tests/controls/game_window_rig.h"
#include "tests/support/temp_folder.h"

namespace pellox {

// The captions the page shows too, from the table both take them from.
const QString kChoosingSU = QString::fromUtf8(kStartTextsRussian.menu_choosing);
const QString kChoosingGB = QString::fromUtf8(kStartTextsEnglish.menu_choosing);
const QString kLockedSU = QStringLiteral(" Выбрана: ");
const QString kLockedGB = QStringLiteral(" Chosen: ");
const QString kNoneSU = QStringLiteral(" Скины не найдены. Будет запущена: ");
const QString kNoneGB = QStringLiteral(" No skins found; you will play: ");

class StartScreenTest : public ::testing::Test {
protected:
    TempFolder skins;    // the search root
    TempFolder records;  // the stored scores
    std::vector<int> played;
    std::optional<std::string> no_failure;
    std::unique_ptr<THBForm> form;
    // Anything a test adds to the setup, such as an installer.
    std::function<void(StartScreenSetup&)> adjust_setup;
    QStringList failure_boxes;  // what the player was shown when a skin failed
    // The system's language the start screen is told of.
    QString locale = QStringLiteral("ru_RU");

    QString RecordsFile() const { return QString::fromStdString((records.path() / "r.conf").string()); }
    LanguageSettings LanguageFile() const { return LanguageSettings(LanguageFileBeside(RecordsFile())); }

    // A skin that launches: every entry names one small picture or wave.
    std::filesystem::path WriteSkin(const std::string& relative, const std::string& title,
                                    const std::string& title_gb = "") {
        std::string text = "[SETTINGS]\nver=1.6\ntitle=" + title + "\n";
        if (!title_gb.empty()) text += "titleGB=" + title_gb + "\n";
        return skins.Write(relative, text);
    }

    // Shows the start screen and waits for the end of the skin search.
    void Open(QStringList arguments = {}) {
        Show(std::move(arguments));
        QElapsedTimer waited;
        waited.start();
        while ((!form->SkinMenuStarted() || form->SkinSearchRunning()) && waited.elapsed() < 5000)
            QCoreApplication::processEvents();
        ASSERT_TRUE(form->SkinMenuStarted());
        ASSERT_FALSE(form->SkinSearchRunning());
    }

    // The game window, made now if the start button has not made it yet.
    GameWindow& Game() {
        EXPECT_TRUE(form->LongCreate());
        return *form->GameWindowIfCreated();
    }

    // Shows the start screen; watcher sees its events from the first.
    void Show(QStringList arguments = {}, QObject* watcher = nullptr) {
        StartScreenSetup setup;
        setup.arguments = std::move(arguments);
        setup.search_roots = {skins.path()};
        setup.system_locale = locale;
        setup.remembered_language = [this] { return LanguageFile().Read(); };
        setup.remember_language = [this](InterfaceLanguage language) { static_cast<void>(LanguageFile().Write(language)); };
        setup.make_game_window = [this] {
            return std::make_unique<GameWindow>(testing::BuiltinPictures(),
                                                std::make_unique<testing::RecordingSound>(&played, &no_failure),
                                                std::make_unique<SettingsRecordsStore>(RecordsFile()));
        };
        setup.show_launch_failure = [this](QWidget*, const QString&, const QString& text) { failure_boxes << text; };
        if (adjust_setup) adjust_setup(setup);
        form = std::make_unique<THBForm>(std::move(setup));
        if (watcher) form->installEventFilter(watcher);
        form->show();
    }

    // For tests that open modal boxes: a start in an earlier test ended the
    // application's loop while none ran, and Qt then ends every nested loop,
    // a box's, at once until the application's own loop has run again.
    static void RunTheApplicationLoopOnce() {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }

    // Lets the installs run on their thread to their end, the boxes they
    // open at the end included.
    void WaitForInstalls() {
        QElapsedTimer waited;
        waited.start();
        do QCoreApplication::processEvents();
        while (form->SkinInstallRunning() && waited.elapsed() < 20000);
        ASSERT_FALSE(form->SkinInstallRunning());
    }

    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < form->CbSkin().count(); ++i) entries << form->CbSkin().itemText(i);
        return entries;
    }

    // Keyboard focus needs the start screen to be the active window.
    void Activate() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Closes the game window as soon as it shows, for as long as it lives.
    std::unique_ptr<QTimer> CloseTheGameWhenShown() {
        auto closer = std::make_unique<QTimer>();
        QObject::connect(closer.get(), &QTimer::timeout, [this] {
            GameWindow* game = form->GameWindowIfCreated();
            if (game && game->Form().isVisible()) game->Form().close();
        });
        closer->start(10);
        return closer;
    }

    // Presses the start button; closes the game window as soon as it shows.
    int Start() {
        const auto closer = CloseTheGameWhenShown();
        form->BtStart().click();
        return form->ExitStatus();
    }
};

}  // namespace pellox
