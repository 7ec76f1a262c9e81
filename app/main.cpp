// Pellox: the program's entry.
//
//   pellox                      the start screen, its menu filled by the skin search
//   pellox SKIN.ini             the start screen, its menu locked to that skin
//   pellox --check-skin FILE    what the game makes of a skin file, without playing it
//          (with --watch, again at every save)
//   pellox --export-skin DIR    the built-in game written out as a skin to start from
//   pellox --install-skin PATH  a skin archive, folder or file installed where the menu finds it
//   pellox --list-skins         the skin menu and the folders searched, without a window
//   pellox --preview-skin FILE  the game window with a skin, applied again at every save

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include "app/command_line.h"
#include "app/display_check.h"
#include "base/xdg_folder.h"
#include "assets/sprites/builtin_sprites.h"
#include "assets/startscreen/pictures/startscreen_pictures.h"
#include "records/language_settings.h"
#include "records/settings_records_store.h"
#include "gamepad/gamepad_window.h"
#include "gamewindow/game_window.h"
#include "media/diagnostics.h"
#include "media/game_sounds.h"
#include "startscreen/launch.h"
#include "skinpreview/skin_preview.h"
#include "startscreen/screen_fit.h"
#include "skincommands/skin_check.h"
#include "skincommands/skin_check_watch.h"
#include "skincommands/skin_export.h"
#include "skincommands/skin_install.h"
#include "skincommands/skin_list.h"
#include "skin/skin_probe.h"
#include "skin/skin_search_roots.h"
#include "skininstall/install_skins.h"
#include "startscreen/thb_form.h"

namespace {

void NameTheApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Pellox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLOX_VERSION));
}

// The skin command asked for, run; nothing when none was.
std::optional<int> RunSkinCommand(const pellox::CommandLine& command_line) {
    const QCommandLineParser& parser = command_line.parser;
    if (parser.isSet(command_line.check_skin) && parser.isSet(command_line.watch))
        return pellox::WatchSkinCheckCommand(parser.value(command_line.check_skin).toStdString(), std::cout);
    if (parser.isSet(command_line.check_skin))
        return pellox::CheckSkinCommand(parser.value(command_line.check_skin).toStdString(), std::cout);
    if (parser.isSet(command_line.export_skin))
        return pellox::ExportSkinCommand(parser.value(command_line.export_skin).toStdString(), std::cout, std::cerr);
    if (parser.isSet(command_line.install_skin))
        return pellox::InstallSkinCommand(
            parser.value(command_line.install_skin).toStdString(),
            pellox::InstalledSkinsFolder(pellox::SkinSearchEnvironment::FromProcess()), std::cout, std::cerr, {},
            parser.isSet(command_line.replace) ? pellox::SameTitleChoice::Replace : pellox::SameTitleChoice::KeepBoth);
    if (parser.isSet(command_line.list_skins)) {
        const auto env = pellox::SkinSearchEnvironment::FromProcess();
        return pellox::ListSkinsCommand(pellox::SkinSearchRoots(env), pellox::InstalledSkinsFolder(env), std::cout);
    }
    return std::nullopt;
}

// A mistake on the command line: told as the command's own output, status 2.
int TellUsageError(const QString& text) {
    std::cerr << text.toStdString();
    return 2;
}

// A skin named that the start screen cannot use is told here, once; the
// start screen then goes on as it does for any such skin.
void TellUnusableSkinArgument(const QString& argument) {
    const QFileInfo skin(argument);
    const std::string shown = argument.toStdString();
    if (!skin.isFile() || !skin.isReadable()) {
        qCWarning(pellox::lcSkin, "%s: no readable file there; the menu is filled by the skin search", shown.c_str());
        return;
    }
    const pellox::LoadedSkinFile loaded = pellox::LoadSkinFile(shown);
    if (loaded && pellox::ProbeSkin(*loaded).usable) return;  // a skin: the start screen offers it
    std::vector<std::string> reasons =
        loaded ? pellox::SkinUnusableReasons(*loaded) : std::vector<std::string>{loaded.reason()};
    if (reasons.empty()) reasons.push_back("the game turns it down");
    std::string why;
    for (const std::string& reason : reasons) why += (why.empty() ? "" : "; ") + reason;
    qCWarning(pellox::lcSkin, "%s: not a skin file (%s); the menu is filled by the skin search", shown.c_str(),
              why.c_str());
}

// Everything about the command line that needs no display, on a core
// application made before any window system is opened: help, version, the
// skin commands, mistakes, and the line that there is no display. Nothing
// when the game is to be played; Qt's own options are then still in the
// arguments, for the game's application to take.
std::optional<int> RunWithoutDisplay(int argc, char** argv) {
    // A start from the desktop's menu has nothing to parse: no application
    // object is made and thrown away before the window's.
    if (argc <= 1) {
        if (!pellox::NoDisplayToOpen({})) return std::nullopt;
        std::cerr << pellox::kNoDisplayMessage << "\n";
        return 1;
    }
    QCoreApplication app(argc, argv);
    NameTheApplication();
    pellox::CommandLine command_line;
    const bool read = command_line.Read(QCoreApplication::arguments());
    // A mistake in our own options is told at once; an unknown option may
    // be Qt's, and waits for the application that knows them.
    if (!read && !command_line.MetUnknownOptions()) return TellUsageError(command_line.UsageError());
    if (command_line.parser.isSet(command_line.help)) command_line.parser.showHelp(0);
    if (command_line.parser.isSet(command_line.version)) {
        std::cout << "Pellox " PELLOX_VERSION "\n"
                  << "Licence: MIT; this is free software: you are free to change and share it.\n";
        return 0;
    }
    if (const QString missing = command_line.MissingCompanion(); !missing.isEmpty()) return TellUsageError(missing);
    // Without a window system no option is Qt's: whatever is unknown is a
    // mistake, beside a skin command (which starts none) or without a display.
    const bool no_display = pellox::NoDisplayToOpen(QCoreApplication::arguments());
    if (!read && (command_line.AsksForSkinCommand() || no_display))
        return TellUsageError(command_line.UsageError());
    if (const std::optional<int> status = RunSkinCommand(command_line)) return status;
    if (command_line.parser.isSet(command_line.preview_skin)) {
        const QString skin = command_line.parser.value(command_line.preview_skin);
        if (!QFileInfo(skin).isFile()) {
            std::cerr << "pellox: " << skin.toStdString() << ": no skin file there to preview\n";
            return 1;
        }
    }
    if (no_display) {
        // Every argument is ours here, so the skin named is known.
        if (!command_line.Skin().isEmpty()) TellUnusableSkinArgument(command_line.Skin());
        std::cerr << pellox::kNoDisplayMessage << "\n";
        return 1;
    }
    return std::nullopt;
}

// Where the start screen's first frame is kept for the next start:
// $XDG_CACHE_HOME/pellox, else ~/.cache/pellox; nowhere without either.
std::filesystem::path StartPicturesFolder() {
    const std::filesystem::path cache =
        pellox::XdgHomeFolder(pellox::EnvironmentValue("XDG_CACHE_HOME"), pellox::EnvironmentValue("HOME"), ".cache");
    return cache.empty() ? cache : cache / "pellox";
}

// The game window as every launch makes it, its scores in records_file.
std::unique_ptr<pellox::GameWindow> MakeGameWindow(const QString& records_file) {
    // The built-in pictures are the game's own: without them there is no game.
    pellox::PictureSet pictures;
    if (const auto loaded = pellox::LoadBuiltinPictures(pictures); !loaded) {
        qCWarning(pellox::lcGame, "%s", loaded.reason().c_str());
        return nullptr;
    }
    // Gamepads play beside the keys; the player's own mappings for them
    // live beside the scores. Its sound output opens when the window is
    // shown: the start screen that made it hidden runs no mixer.
    return pellox::MakeGameWindowWithGamepads(std::move(pictures), pellox::MakeWindowGameSound(),
                                              std::make_unique<pellox::SettingsRecordsStore>(records_file),
                                              pellox::GamepadMappingFileBeside(records_file));
}

// The game window with a skin applied again at every save, until it closes.
int RunSkinPreview(QApplication& app, const QString& skin, pellox::InterfaceLanguage language,
                   const QString& records_file) {
    const std::unique_ptr<pellox::GameWindow> window = MakeGameWindow(records_file);
    if (!window) return 1;
    std::error_code ec;
    pellox::SkinPreview preview(*window, skin.toStdString(), std::filesystem::current_path(ec), language);
    QObject::connect(&window->Form(), &pellox::TMForm::Closed, &app, &QApplication::quit);
    preview.Start();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    pellox::UsePelloxMessagePattern();
    // Qt allows one application object at a time: the core one is gone before
    // the game's is made.
    if (const std::optional<int> status = RunWithoutDisplay(argc, argv)) return *status;

    // At the largest scale, up to the desktop's, at which the windows fit the
    // screen. The application takes Qt's own options out of argv.
    const std::unique_ptr<QApplication> app = pellox::MakeApplicationThatFits(argc, argv);
    NameTheApplication();
    pellox::CommandLine command_line;
    if (!command_line.Read(QCoreApplication::arguments())) return TellUsageError(command_line.UsageError());
    // --help-all: the help with Qt's own options, which only the GUI
    // application can list. The arguments read, so nothing else can stop here.
    command_line.parser.process(QCoreApplication::arguments());
    if (!command_line.Skin().isEmpty()) TellUnusableSkinArgument(command_line.Skin());

    // The desktop entry the windows belong to: the Wayland app id, so that
    // docks show the game's icon and group its windows under its launcher.
    // Under X11 the window class is the application's name, which the entry
    // names as its StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(PELLOX_APP_ID));
    // One icon for the start screen and the game window: the start screen
    // gives it to the application once it has been painted.

    pellox::StartScreenSetup setup;
    setup.arguments = command_line.parser.positionalArguments();
    const auto skin_environment = pellox::SkinSearchEnvironment::FromProcess();
    setup.search_roots = pellox::SkinSearchRoots(skin_environment);
    // Skins dropped on the start screen go where the search looks after the
    // start folder, so they are listed at every later start too.
    setup.installed_skins_folder = pellox::InstalledSkinsFolder(skin_environment);
    // The preview is a game of its own: another copy of the program, so that
    // the start screen stays as it is.
    setup.preview_skin = [](const std::filesystem::path& skin_file) {
        QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--preview-skin"), QString::fromStdString(skin_file.string())});
    };
    setup.install_skin = [folder = setup.installed_skins_folder](const std::filesystem::path& source,
                                                                 pellox::SameTitleChoice same_title,
                                                                 pellox::InstallMonitor& monitor) {
        return pellox::InstallSkins(source, folder, {}, same_title, &monitor);
    };
    // A skin installed by a drop is checked as --check-skin checks it, so the
    // player learns at once, not at Start, that it would not start.
    setup.check_installed_skin = pellox::SkinLaunchProblems;
    // The start screen speaks the system's language until the player clicks a
    // flag; that choice is kept beside the scores. A choice that cannot be
    // kept only leaves the next start to the system's language.
    const QString records_file = pellox::RecordsFileName();
    const pellox::LanguageSettings language_settings(pellox::LanguageFileBeside(records_file));
    setup.system_locale = QLocale::system().uiLanguages().value(0);
    if (command_line.parser.isSet(command_line.preview_skin))
        return RunSkinPreview(*app, command_line.parser.value(command_line.preview_skin),
                              pellox::StartLanguage(language_settings.Read(), setup.system_locale.toStdString()),
                              records_file);
    setup.remembered_language = [language_settings] { return language_settings.Read(); };
    setup.remember_language = [language_settings](pellox::InterfaceLanguage language) {
        // A choice that cannot be kept is no error to the player: the next
        // start follows the system's language.
        static_cast<void>(language_settings.Write(language));
    };
    setup.make_game_window = [records_file] { return MakeGameWindow(records_file); };
    // A plain start opens as the last one did: its first frame is kept in the
    // cache folder and shown while the widgets are built. A skin named on the
    // command line changes the menu, so such a start neither shows nor keeps one.
    if (setup.arguments.isEmpty()) setup.start_pictures_folder = StartPicturesFolder();
    pellox::THBForm start_screen(std::move(setup));
    start_screen.show();
    // The last launch's status: 1 when the player closes the start screen
    // after a skin failed to start.
    const int status = std::max(app->exec(), start_screen.ExitStatus());
    // A skin search held up inside the system (a folder that does not
    // answer) was left behind so that closing never hangs; it must not run
    // while the program's static objects are destroyed, so the program ends
    // without destroying them.
    if (!start_screen.StopSkinSearch()) {
        std::fflush(nullptr);
        std::quick_exit(status);
    }
    return status;
}
