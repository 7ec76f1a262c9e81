#include "app/command_line.h"

namespace pellox {

CommandLine::CommandLine()
    : check_skin(QStringLiteral("check-skin"),
                 QStringLiteral("Check a skin file as the game would load it and report on every entry; exit status 0 "
                                "when it would launch. Needs no display."),
                 QStringLiteral("FILE")),
      watch(QStringLiteral("watch"),
            QStringLiteral("With --check-skin: check the skin again and print the report anew whenever the file or "
                           "a picture or wave it names is saved, until Ctrl+C.")),
      export_skin(QStringLiteral("export-skin"),
                  QStringLiteral("Write the built-in game as a skin folder to start a skin from (the folder must be "
                                 "new or empty). Needs no display."),
                  QStringLiteral("DIR")),
      install_skin(QStringLiteral("install-skin"),
                   QStringLiteral("Install the skins in an archive (.zip, .7z, .rar, .tar.gz, ...), a folder or a skin "
                                  "file into your skins folder, where the skin menu finds them, and check each one. "
                                  "Needs no display."),
                   QStringLiteral("PATH")),
      preview_skin(QStringLiteral("preview-skin"),
                   QStringLiteral("Play a skin file while you make it: the game window applies it again whenever the "
                                  "file or a picture or wave it names is saved, and lists on the window what a save "
                                  "broke. F1 shows the keys for the author's views."),
                   QStringLiteral("FILE")),
      replace(QStringLiteral("replace"),
              QStringLiteral("With --install-skin: a skin whose title an installed skin has, with other files, "
                             "replaces that skin (without it, it is installed beside it with \" (2)\" added to its "
                             "titles).")),
      list_skins(QStringLiteral("list-skins"),
                 QStringLiteral("List the skin menu as the start screen would fill it from the current folder, each "
                                "skin's titles and file, and the folders searched. Needs no display.")) {
    parser.setApplicationDescription(
        QStringLiteral("A pocket LCD game: a wolf catches the eggs that roll down four chutes."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
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

bool CommandLine::AsksForSkinCommand() const {
    return parser.isSet(check_skin) || parser.isSet(export_skin) || parser.isSet(install_skin) ||
           parser.isSet(list_skins);
}

QString CommandLine::UsageError() const {
    return QStringLiteral("pellox: ") + parser.errorText() + QStringLiteral("\nTry 'pellox --help'.\n");
}

QString CommandLine::MissingCompanion() const {
    if (parser.isSet(replace) && !parser.isSet(install_skin))
        return QStringLiteral("pellox: --replace goes with --install-skin PATH\n");
    if (parser.isSet(watch) && !parser.isSet(check_skin))
        return QStringLiteral("pellox: --watch goes with --check-skin FILE\n");
    return {};
}

}  // namespace pellox
