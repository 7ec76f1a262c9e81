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
#include <QStringList>

#include "app/display_check.h"
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

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption check_skin{QStringLiteral("check-skin"),
                                  QStringLiteral("Check a skin file as the game would load it and report on every "
                                                 "entry; exit status 0 when it would launch. Needs no display."),
                                  QStringLiteral("FILE")};
    QCommandLineOption watch{QStringLiteral("watch"),
                             QStringLiteral("With --check-skin: check the skin again and print the report anew "
                                            "whenever the file or a picture or wave it names is saved, until "
                                            "Ctrl+C.")};
    QCommandLineOption export_skin{QStringLiteral("export-skin"),
                                   QStringLiteral("Write the built-in game as a skin folder to start a skin from "
                                                  "(the folder must be new or empty). Needs no display."),
                                   QStringLiteral("DIR")};
    QCommandLineOption install_skin{
        QStringLiteral("install-skin"),
        QStringLiteral("Install the skins in an archive (.zip, .7z, .rar, .tar.gz, ...), a folder or a skin file "
                       "into your skins folder, where the skin menu finds them, and check each one. Needs no "
                       "display."),
        QStringLiteral("PATH")};
    QCommandLineOption preview_skin{
        QStringLiteral("preview-skin"),
        QStringLiteral("Play a skin file while you make it: the game window applies it again whenever the file or "
                       "a picture or wave it names is saved, and lists on the window what a save broke. F1 shows "
                       "the keys for the author's views."),
        QStringLiteral("FILE")};
    QCommandLineOption replace{QStringLiteral("replace"),
                               QStringLiteral("With --install-skin: a skin whose title an installed skin has, with "
                                              "other files, replaces that skin (without it, it is installed beside "
                                              "it with \" (2)\" added to its titles).")};
    QCommandLineOption list_skins{QStringLiteral("list-skins"),
                                  QStringLiteral("List the skin menu as the start screen would fill it from the "
                                                 "current folder, each skin's titles and file, and the folders "
                                                 "searched. Needs no display.")};

    CommandLine() {
        parser.setApplicationDescription(
            QStringLiteral("A pocket LCD game: a wolf catches the eggs that roll down four chutes."));
        parser.addOption(check_skin);
        parser.addOption(watch);
        parser.addOption(export_skin);
        parser.addOption(install_skin);
        parser.addOption(list_skins);
        parser.addOption(replace);
        parser.addOption(preview_skin);
        parser.addPositionalArgument(QStringLiteral("skin"),
                                     QStringLiteral("A skin file (.ini) to play instead of the built-in game."),
                                     QStringLiteral("[skin]"));
    }

    // The skin commands, when one was asked for.
    std::optional<int> RunCommand() const {
        if (parser.isSet(check_skin) && parser.isSet(watch))
            return pellox::WatchSkinCheckCommand(parser.value(check_skin).toStdString(), std::cout);
        if (parser.isSet(check_skin))
            return pellox::CheckSkinCommand(parser.value(check_skin).toStdString(), std::cout);
        if (parser.isSet(export_skin))
            return pellox::ExportSkinCommand(parser.value(export_skin).toStdString(), std::cout, std::cerr);
        if (parser.isSet(install_skin))
            return pellox::InstallSkinCommand(
                parser.value(install_skin).toStdString(),
                pellox::InstalledSkinsFolder(pellox::SkinSearchEnvironment::FromProcess()), std::cout, std::cerr, {},
                parser.isSet(replace) ? pellox::SameTitleChoice::Replace : pellox::SameTitleChoice::KeepBoth);
        if (parser.isSet(list_skins)) {
            const auto env = pellox::SkinSearchEnvironment::FromProcess();
            return pellox::ListSkinsCommand(pellox::SkinSearchRoots(env), pellox::InstalledSkinsFolder(env), std::cout);
        }
        return std::nullopt;
    }
};

// Qt's own options for a GUI application, which the game's application reads
// and removes itself; with their values where they take one.
bool IsQtGuiOption(const QString& argument, bool* takes_value) {
    static const QStringList with_value = {
        QStringLiteral("platform"),   QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),     QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowtitle"),
        QStringLiteral("qwindowicon"), QStringLiteral("display"),           QStringLiteral("geometry"),
        QStringLiteral("style"),      QStringLiteral("stylesheet"),         QStringLiteral("session"),
        QStringLiteral("title"),      QStringLiteral("name")};
    static const QStringList without_value = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                              QStringLiteral("nograb"), QStringLiteral("dograb"),
                                              QStringLiteral("sync")};
    if (!argument.startsWith(QLatin1Char('-'))) return false;
    QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (equals >= 0) {
        *takes_value = false;  // the value is in the same argument
        name.truncate(equals);
        return with_value.contains(name);
    }
    *takes_value = with_value.contains(name);
    return *takes_value || without_value.contains(name);
}

// The arguments as the game's parser sees them once the GUI application has
// taken its own options away.
QStringList WithoutQtGuiOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takes_value = false;
        if (i > 0 && arguments[i] != QStringLiteral("--") && IsQtGuiOption(arguments[i], &takes_value)) {
            if (takes_value) ++i;
            continue;
        }
        if (arguments[i] == QStringLiteral("--")) {
            kept += arguments.mid(i);
            break;
        }
        kept += arguments[i];
    }
    return kept;
}

// A skin named that the start screen cannot use is told here, once; the
// start screen then goes on as it does for any such skin.
void TellUnusableSkinArgument(const QString& argument) {
    const QFileInfo skin(argument);
    const std::string shown = argument.toStdString();
    if (!skin.isFile() || !skin.isReadable()) {
        std::cerr << "pellox: " << shown << ": no readable file there; the menu is filled by the skin search\n";
        return;
    }
    const pellox::LoadedSkinFile loaded = pellox::LoadSkinFile(shown);
    if (loaded && pellox::ProbeSkin(*loaded).usable) return;  // a skin: the start screen offers it
    std::vector<std::string> reasons =
        loaded ? pellox::SkinUnusableReasons(*loaded) : std::vector<std::string>{loaded.reason()};
    if (reasons.empty()) reasons.push_back("the game turns it down");
    std::cerr << "pellox: " << shown << ": not a skin file (";
    for (std::size_t i = 0; i < reasons.size(); ++i) std::cerr << (i ? "; " : "") << reasons[i];
    std::cerr << "); the menu is filled by the skin search\n";
}

// Everything about the command line that needs no display, on a core
// application made before any window system is opened: mistakes, help,
// version and the skin commands. Nothing when the game is to be played.
std::optional<int> RunWithoutDisplay(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NameTheApplication();
    CommandLine command_line;
    if (!command_line.parser.parse(WithoutQtGuiOptions(QCoreApplication::arguments()))) {
        // A usage error, whatever its kind: an unknown option, a missing value.
        std::cerr << "pellox: " << command_line.parser.errorText().toStdString() << "\n"
                  << "Try 'pellox --help'.\n";
        return 2;
    }
    if (command_line.parser.isSet(command_line.help)) command_line.parser.showHelp(0);
    if (command_line.parser.isSet(command_line.version)) {
        std::cout << "Pellox " PELLOX_VERSION "\n"
                  << "Licence: MIT; this is free software: you are free to change and share it.\n";
        return 0;
    }
    if (command_line.parser.isSet(command_line.replace) && !command_line.parser.isSet(command_line.install_skin)) {
        std::cerr << "pellox: --replace goes with --install-skin PATH\n";
        return 2;
    }
    if (command_line.parser.isSet(command_line.watch) && !command_line.parser.isSet(command_line.check_skin)) {
        std::cerr << "pellox: --watch goes with --check-skin FILE\n";
        return 2;
    }
    if (const std::optional<int> status = command_line.RunCommand()) return status;
    if (command_line.parser.isSet(command_line.preview_skin)) {
        const QString skin = command_line.parser.value(command_line.preview_skin);
        if (!QFileInfo(skin).isFile()) {
            std::cerr << "pellox: " << skin.toStdString() << ": no skin file there to preview\n";
            return 1;
        }
    }
    const QStringList skins = command_line.parser.positionalArguments();
    if (!skins.isEmpty()) TellUnusableSkinArgument(skins.first());
    if (pellox::NoDisplayToOpen(QCoreApplication::arguments())) {
        std::cerr << pellox::kNoDisplayMessage << "\n";
        return 1;
    }
    return std::nullopt;
}

// The game window as every launch makes it, its scores in records_file.
std::unique_ptr<pellox::GameWindow> MakeGameWindow(const QString& records_file) {
    // The built-in pictures are the game's own: without them there is no game.
    pellox::PictureSet pictures;
    QString error;
    if (!pellox::LoadBuiltinPictures(pictures, &error)) {
        pellox::Tell(pellox::lcGame, error.toStdString());
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
    // Qt allows one application object at a time: the core one is gone before
    // the game's is made.
    if (const std::optional<int> status = RunWithoutDisplay(argc, argv)) return *status;

    // At the largest scale, up to the desktop's, at which the windows fit the screen.
    const std::unique_ptr<QApplication> app = pellox::MakeApplicationThatFits(argc, argv);
    NameTheApplication();
    CommandLine command_line;
    command_line.parser.process(*app);
    if (const std::optional<int> status = command_line.RunCommand()) return *status;

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
                                                                 pellox::SameTitleChoice same_title) {
        return pellox::InstallSkins(source, folder, {}, same_title);
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
