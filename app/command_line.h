#pragma once
// The program's options, read around Qt's own (-platform, -style, -reverse,
// -qwindowgeometry, ...), which only the GUI application knows: it takes them
// out of the arguments when it is made. The game's options are therefore
// read twice, by the same parser:
//
// - before any window system is opened, from every argument given. Ours are
//   read exactly; an option the parser does not know may be one of Qt's, and
//   a word after it may be its value, so the skin file named is not known
//   yet. What needs no display is decided then: help, version, the skin
//   commands and a mistake in our own options.
// - once the application is made, from what it left: an option unknown now
//   is a mistake, and the first word left is the skin file.
//
// Single-dash words are read as long options, as Qt reads its own: -reverse
// is one option, not -r -e -v (which would ask for the version).

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace pellox {

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption check_skin;
    QCommandLineOption watch;
    QCommandLineOption export_skin;
    QCommandLineOption install_skin;
    QCommandLineOption preview_skin;
    QCommandLineOption replace;
    QCommandLineOption list_skins;

    CommandLine();

    // Reads the arguments (the program's name first); false on any mistake,
    // an option it does not know included.
    bool Read(const QStringList& arguments) { return parser.parse(arguments); }
    // After a Read: whether it met options it does not know (Qt's, perhaps).
    bool MetUnknownOptions() const { return !parser.unknownOptionNames().isEmpty(); }
    // One of the skin commands, which start no window system.
    bool AsksForSkinCommand() const;
    // The mistake of the last Read as the program tells it, two lines:
    // "pellox: Unknown option 'bogus'." and a pointer to --help.
    QString UsageError() const;
    // An option given without the one it goes with ("--watch goes with
    // --check-skin FILE"), or empty.
    QString MissingCompanion() const;
    // The skin file named, once Qt has taken its options: empty when none.
    QString Skin() const { return parser.positionalArguments().value(0); }
};

}  // namespace pellox
