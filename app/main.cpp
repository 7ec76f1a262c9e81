// Pellox: the program's entry.
//
//   pellox                 the built-in game
//   pellox SKIN.ini        that skin, as if chosen on the start screen from the command line

#include <QApplication>
#include <QCommandLineParser>

#include "assets/sprites/builtin_sprites.h"
#include "engine/records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "startscreen/skin/launch.h"
#include "startscreen/skin/skin_probe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellox"));
    QApplication::setApplicationVersion(QStringLiteral(PELLOX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A pocket LCD game: a wolf catches the eggs that roll down four chutes."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("skin"), QStringLiteral("A skin file (.ini) to play instead of the built-in game."),
                                 QStringLiteral("[skin]"));
    parser.process(app);

    pellox::LaunchChoice choice;
    const QStringList arguments = parser.positionalArguments();
    // A first argument that is no usable skin file is passed over silently:
    // the built-in game starts.
    if (!arguments.isEmpty()) {
        const std::filesystem::path skin = arguments.front().toStdString();
        if (pellox::ProbeSkin(skin).usable) {
            choice.selected = 1;
            choice.from_command_line = true;
            choice.command_line_skin = skin;
        }
    }

    pellox::PictureSet pictures;
    QString error;
    if (!pellox::LoadBuiltinPictures(pictures, &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    pellox::GameWindow window(std::move(pictures), pellox::MakeGameSound(),
                              std::make_unique<pellox::SettingsRecordsStore>());
    return pellox::btStartClick(window, choice);
}
