// The program's options beside Qt's own: read before any window system is
// opened, Qt's options neither ask for something of ours nor look like a
// mistake yet; read again from what the GUI application leaves, they are
// gone and ours are all that is left.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QCoreApplication>

namespace pellox {
namespace {

QStringList Arguments(const std::vector<const char*>& given) {
    QStringList arguments{QStringLiteral("pellox")};
    for (const char* argument : given) arguments << QString::fromUtf8(argument);
    return arguments;
}

TEST(CommandLine, BeforeQtOurOptionsAreReadExactlyAndTheRestWaits) {
    struct Case {
        std::vector<const char*> arguments;
        bool help, version, skin_command;
        bool waits_for_qt;  // options it does not know, maybe Qt's
        const char* mistake;  // our own, told at once
    };
    const Case cases[] = {
        {{"-reverse"}, false, false, false, true, ""},  // not -r -e -v -e ...
        {{"-stylesheet", "dark.qss"}, false, false, false, true, ""},  // not -h
        {{"-platform", "offscreen", "-qwindowgeometry", "300x200", "night.ini"}, false, false, false, true, ""},
        {{"-style", "fusion", "--check-skin", "night.ini"}, false, false, true, true, ""},
        {{"-v"}, false, true, false, false, ""},
        {{"-h"}, true, false, false, false, ""},
        {{"-style", "fusion", "--help"}, true, false, false, true, ""},
        {{"--list-skins"}, false, false, true, false, ""},
        {{"--check-skin"}, false, false, true, false, "pellox: Missing value after '--check-skin'.\nTry 'pellox --help'.\n"},
        {{"--watch=yes", "--check-skin", "a.ini"}, false, false, true, false,
         "pellox: Unexpected value after '--watch'.\nTry 'pellox --help'.\n"},
    };
    for (const Case& c : cases) {
        CommandLine command_line;
        const QStringList arguments = Arguments(c.arguments);
        const std::string what = arguments.join(QLatin1Char(' ')).toStdString();
        const bool read = command_line.Read(arguments);
        EXPECT_EQ(command_line.parser.isSet(command_line.help), c.help) << what;
        EXPECT_EQ(command_line.parser.isSet(command_line.version), c.version) << what;
        EXPECT_EQ(command_line.AsksForSkinCommand(), c.skin_command) << what;
        EXPECT_EQ(command_line.MetUnknownOptions(), c.waits_for_qt) << what;
        EXPECT_EQ(read, !c.waits_for_qt && *c.mistake == '\0') << what;
        if (*c.mistake) {
            EXPECT_EQ(command_line.UsageError().toStdString(), c.mistake) << what;
        }
    }
}

// The GUI application made from the arguments, as the program makes it, on
// the offscreen platform; then what it left, read as the program reads it.
TEST(CommandLine, WhatTheApplicationLeavesIsOursAlone) {
    struct Case {
        std::vector<const char*> arguments;
        const char* skin;
        const char* preview;
        const char* mistake;
    };
    const Case cases[] = {
        {{"-style", "fusion", "night.ini"}, "night.ini", "", ""},
        {{"night.ini", "-style=fusion"}, "night.ini", "", ""},
        {{"-qwindowgeometry", "300x200+10+10", "night.ini"}, "night.ini", "", ""},
        {{"--reverse", "night.ini"}, "night.ini", "", ""},
        {{"-qwindowtitle", "Eggs", "--preview-skin", "night.ini"}, "", "night.ini", ""},
        {{"-style", "fusion"}, "", "", ""},
        // What Qt does not take is a mistake now, and only that is named.
        {{"-style", "fusion", "--bogus", "night.ini"}, "night.ini", "",
         "pellox: Unknown option 'bogus'.\nTry 'pellox --help'.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = {"pellox", "-platform", "offscreen"};
        for (const char* argument : c.arguments) storage.emplace_back(argument);
        std::vector<char*> argv;
        for (std::string& argument : storage) argv.push_back(argument.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(storage.size());
        const std::string what = QStringList(Arguments(c.arguments)).join(QLatin1Char(' ')).toStdString();

        QApplication app(argc, argv.data());
        CommandLine command_line;
        const bool read = command_line.Read(QCoreApplication::arguments());
        EXPECT_EQ(read, *c.mistake == '\0') << what;
        if (*c.mistake) {
            EXPECT_EQ(command_line.UsageError().toStdString(), c.mistake) << what;
        }
        EXPECT_EQ(command_line.Skin().toStdString(), c.skin) << what;
        EXPECT_EQ(command_line.parser.value(command_line.preview_skin).toStdString(), c.preview) << what;
        EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen")) << what;
    }
}

}  // namespace
}  // namespace pellox
