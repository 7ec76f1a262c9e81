// The two commands for skin authors: the built-in game exported as a skin,
// checked and launched; broken skins checked against what the launch makes of
// them; and the program running the commands without a display.
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "assets/sounds/builtin_sounds.h"
#include "media/core/sound_platform.h"
#include "skincommands/skin_check.h"
#include "skincommands/skin_export.h"
#include "skin/skin_file.h"
#include "skin/skin_menu.h"
#include "skin/skin_probe.h"
#include "skin/sprite_entry.h"
#include "tests/support/temp_folder.h"
#include "tests/controls/game_window_rig.h"

namespace pellox {
namespace {

using testing::GameWindowTest;
using testing::BuiltinPictures;
using testing::RecordingSound;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string ResourceBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

std::string SpriteResource(SpriteId id) {
    InitBuiltinSprites();
    return ResourceBytes(BuiltinSpritePath(QString::fromLatin1(NameOf(id).data(), NameOf(id).size())));
}

std::string SoundResource(Effect effect) { return ResourceBytes(QString::fromStdString(BuiltinSoundPath(effect))); }

// "[SECTION] key" and the rest of its line, in the order the check reports them.
std::vector<std::pair<std::string, std::string>> EntryLines(const std::string& report) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("  [")) continue;
        const std::size_t colon = line.find(": ", line.find("] "));
        lines.emplace_back(line.substr(2, colon - 2), line.substr(colon + 2));
    }
    return lines;
}

std::string Named(const SkinEntry& e) {
    std::string name(1, '[');  // not "[" + std::string: g++ 12 warns falsely (-Wrestrict)
    return name.append(e.section).append("] ").append(e.key);
}

// Replaces or, given nothing, removes the line "key=..." of a skin file.
void Rewrite(const std::filesystem::path& ini, const std::map<std::string, std::optional<std::string>>& edits) {
    std::istringstream in(ReadFile(ini));
    std::string text;
    for (std::string line; std::getline(in, line);) {
        const auto edit = edits.find(line.substr(0, line.find('=')));
        if (edit == edits.end() || line.find('=') == std::string::npos)
            text += line + "\n";
        else if (edit->second)
            text += edit->first + "=" + *edit->second + "\n";
    }
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
}

// A wave that reads well but has 24 bits a sample, which the game cannot play.
std::string Wave24Bit() {
    std::string wave("RIFF\x2A\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xAC\x00\x00\x98\x09\x04\x00"
                     "\x06\x00\x18\x00" "data\x06\x00\x00\x00\x01\x02\x03\x04\x05\x06",
                     50);
    return wave;
}

// Plays nothing: the game's own sound over no device, so that a launch judges
// the skin's waves as the game does.
class NoSoundDevice final : public SoundSystem {
public:
    std::unique_ptr<SoundOutput> OpenDefaultOutput(OpenResult& result) override {
        result = OpenResult::NoDevice;
        return nullptr;
    }
    double NowSeconds() override { return 0; }
    void SleepUntil(double) override {}
};

struct CheckResult {
    int status;
    std::string report;
};

class SkinCommandsTest : public GameWindowTest {
protected:
    TempFolder folder;
    CurrentDirGuard dir_guard;  // after the folder: the folder is left before it goes
    // Made by the export with its parents; a space in its name on purpose.
    std::filesystem::path skin_dir = folder.path() / "skins" / "my skin";
    std::filesystem::path skin_file = skin_dir / "pellox.ini";
    // The player's folder: not the skin's, so the launch finds the files beside the skin.
    std::filesystem::path elsewhere = folder.Folder("elsewhere");

    void Export() {
        std::ostringstream out, err;
        ASSERT_EQ(ExportSkinCommand(skin_dir, out, err), 0) << err.str();
        std::filesystem::current_path(elsewhere);
    }
    CheckResult Check() {
        std::ostringstream out;
        const int status = CheckSkinCommand(skin_file, out);
        std::filesystem::current_path(elsewhere);
        return {status, out.str()};
    }
    // A second game window launched with the skin from the player's folder.
    std::unique_ptr<GameWindow> LaunchSkin(std::unique_ptr<GameSoundPlayer> sound,
                                           std::vector<SkinEntryFailure>* failures = nullptr) {
        auto launched = std::make_unique<GameWindow>(BuiltinPictures(), std::move(sound),
                                                     std::make_unique<SettingsRecordsStore>(records_file));
        std::filesystem::current_path(elsewhere);
        PrepareLaunch(*launched);
        std::vector<SkinEntryFailure> failed = ApplySkin(*launched, skin_file);
        FinishLaunch(*launched);
        launched->FrameTimer().SetEnabled(false);
        std::filesystem::current_path(elsewhere);
        if (failures) *failures = std::move(failed);
        return launched;
    }
};

TEST_F(SkinCommandsTest, TheExportIsTheWholeBuiltinGameAndChecksClean) {
    std::ostringstream out, err;
    ASSERT_EQ(ExportSkinCommand(skin_dir, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_NE(out.str().find(skin_file.string()), std::string::npos) << out.str();

    const std::string text = ReadFile(skin_file);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.starts_with("; ")) << "a comment header first";
    std::size_t last = 0;
    for (const char* section : {"SETTINGS", "BACK", "TIME", "GAME", "ERRORS", "WOLF", "CHUTES", "HARE", "SOUNDS"}) {
        const std::size_t at = text.find("\n[" + std::string(section) + "]\n");
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GT(at, last) << section << " out of order";
        last = at;
    }

    const SkinFile skin = SkinFile::FromText(text);
    const std::map<std::string, std::string> settings = {
        {"ver", "1.6"}, {"title", "Kestrow (ваша копия)"}, {"titleGB", "Kestrow (your copy)"},
        {"dir", "."},   {"sound", "1"},
        // key1 and key2 default to D and O in a skin: written out, or the export would swap them.
        {"key0", "W"},  {"key1", "O"},  {"key2", "D"},  {"key3", "K"}};
    for (const auto& [key, value] : settings) EXPECT_EQ(skin.Find("SETTINGS", key), value) << key;
    // The menu shows the copy's titles as written, in either language (UTF-8,
    // not read as Windows-1251).
    SkinMenu menu;
    menu.AddSkin(ProbeSkin(skin_file), skin_file);
    EXPECT_EQ(DecodeSkinText(menu.MenuTitlesSU.back()), u"Kestrow (ваша копия)");
    EXPECT_EQ(DecodeSkinText(menu.MenuTitlesGB.back()), u"Kestrow (your copy)");
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& e : group) {
            const std::optional<std::string_view> value = skin.Find(e.section, e.key);
            ASSERT_TRUE(value) << Named(e);
            if (e.sprite) {
                const ParsedSpriteEntry parsed = ParseSpriteEntry(*value);
                ASSERT_TRUE(parsed) << Named(e) << ": " << parsed.reason();
                const SpriteEntry& s = *parsed;
                EXPECT_EQ((Bounds{s.left, s.top, s.width, s.height}), LayoutOf(*e.sprite).bounds) << Named(e);
                EXPECT_TRUE(ReadFile(skin_dir / s.path) == SpriteResource(*e.sprite)) << Named(e) << " " << s.path;
            } else {
                EXPECT_TRUE(ReadFile(skin_dir / std::string(*value)) == SoundResource(*e.effect)) << Named(e);
            }
        }
    }

    std::filesystem::current_path(elsewhere);
    const CheckResult check = Check();
    EXPECT_EQ(check.status, 0) << check.report;
    const auto lines = EntryLines(check.report);
    std::vector<std::string> expected_order;
    for (const SkinEntryGroup& group : SkinEntryGroups())
        for (const SkinEntry& e : group) expected_order.push_back(Named(e));
    ASSERT_EQ(lines.size(), expected_order.size()) << check.report;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].first, expected_order[i]);
        EXPECT_TRUE(lines[i].second.starts_with("loaded ")) << lines[i].first << ": " << lines[i].second;
    }
    EXPECT_NE(check.report.find("Usable: yes\n"), std::string::npos) << check.report;
    EXPECT_NE(check.report.find("Keys: upper left W, upper right O, lower left D, lower right K\n"), std::string::npos)
        << check.report;
    EXPECT_NE(check.report.find("\nSummary: the skin would launch: all 90 entries load\n"), std::string::npos)
        << check.report;
}

TEST_F(SkinCommandsTest, TheExportWritesOnlyIntoANewOrEmptyFolder) {
    struct Case {
        const char* what;
        std::filesystem::path dir;
        std::filesystem::path already;  // a file of the author's, when there is one
        int status;
        const char* said;
    };
    const std::vector<Case> cases = {
        {"a folder holding a file", folder.path() / "full", folder.Write("full/notes.txt", "mine"), 1, "is not empty"},
        {"a file", folder.Write("plain.ini", "mine"), folder.path() / "plain.ini", 1, "is not a folder"},
        {"an empty folder", folder.Folder("empty"), {}, 0, ""},
        // An empty name is no folder, not the current one.
        {"no folder at all", "", {}, 1, "no folder named"},
    };
    std::filesystem::current_path(elsewhere);
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(ExportSkinCommand(c.dir, out, err), c.status) << c.what;
        if (c.status == 0) {
            EXPECT_TRUE(std::filesystem::is_regular_file(c.dir / "pellox.ini")) << c.what;
            continue;
        }
        EXPECT_EQ(out.str(), "") << c.what;
        EXPECT_NE(err.str().find(c.dir.string()), std::string::npos) << c.what << ": " << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << c.what << ": " << err.str();
        if (!c.already.empty()) {
            EXPECT_EQ(ReadFile(c.already), "mine") << c.what;
        }
        EXPECT_FALSE(std::filesystem::exists(c.dir / "pellox.ini")) << c.what;
        EXPECT_FALSE(std::filesystem::exists(c.dir / "pictures")) << c.what;
    }
}

TEST_F(SkinCommandsTest, ALaunchOfTheExportIsTheBuiltinGamePixelForPixel) {
    Export();
    std::vector<int> skin_played;
    std::optional<std::string> no_failure;
    auto recording = std::make_unique<RecordingSound>(&skin_played, &no_failure);
    RecordingSound& sounds = *recording;
    std::vector<SkinEntryFailure> failures;
    const std::unique_ptr<GameWindow> skinned = LaunchSkin(std::move(recording), &failures);
    for (const SkinEntryFailure& f : failures) ADD_FAILURE() << f.section << "/" << f.key << ": " << f.reason;

    TMForm& builtin = form();
    EXPECT_EQ(skinned->Form().size(), builtin.size());
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        EXPECT_EQ(skinned->Form().Sprites().BoundsOf(id), builtin.Sprites().BoundsOf(id)) << NameOf(id);
        EXPECT_TRUE(skinned->Form().Pictures().Drawable(id) == builtin.Pictures().Drawable(id)) << NameOf(id);
    }
    // Every sprite lit in both: the whole playfield, overlaps and all. (As
    // launched, the demo puts its first egg in a chute of its own choosing.)
    for (int i = 0; i < kSpriteCount; ++i) {
        builtin.Sprites().Show(SpriteAt(i));
        skinned->Form().Sprites().Show(SpriteAt(i));
    }
    EXPECT_EQ(skinned->Form().Frame().size(), builtin.Frame().size());
    EXPECT_TRUE(skinned->Form().Frame() == builtin.Frame());

    for (Effect e : kAllEffects) {
        ASSERT_TRUE(sounds.loaded.count(e)) << EffectName(e);
        EXPECT_TRUE(ReadFile(sounds.loaded[e]) == SoundResource(e)) << EffectName(e) << ": " << sounds.loaded[e];
    }
    EXPECT_EQ(std::filesystem::current_path(), elsewhere);
    EXPECT_TRUE(engine().SoundOn());
    EXPECT_TRUE(skinned->Engine().SoundOn());
}

TEST_F(SkinCommandsTest, EveryBrokenEntryIsReportedOnItsLineAsTheLaunchFindsIt) {
    Export();
    std::filesystem::remove(skin_dir / "pictures/imAM.bmp");
    folder.Write(skin_dir / "pictures/imWolf1.bmp", "not a bitmap at all");
    folder.Write(skin_dir / "sounds/Basket.wav", "RIFF and nothing more");
    folder.Write(skin_dir / "sounds/GO.wav", Wave24Bit());
    Rewrite(skin_file, {{"baskDL", "326,299,16385,56,pictures/imBask2.bmp"}});

    const CheckResult check = Check();
    EXPECT_EQ(check.status, 1);
    std::map<std::string, std::string> lines;
    for (auto& [entry, rest] : EntryLines(check.report)) lines[entry] = rest;

    struct Broken {
        const char* entry;
        const char* reason;
        bool tried_at_launch;
    };
    const std::vector<Broken> broken = {
        {"[TIME] am", "no such file", true},
        {"[WOLF] wolfR", "not a picture", true},
        {"[WOLF] baskDL", "the box is larger than 16384 pixels", false},  // after wolfR in its group
        {"[SOUNDS] Catch", "not a readable wave file", true},
        {"[SOUNDS] Over", "cannot be played: 24 bits a sample", true},
    };
    std::set<std::string> first_failures;
    for (const Broken& b : broken) {
        const std::string& line = lines[b.entry];
        EXPECT_TRUE(line.starts_with("FAILED: ")) << b.entry << ": " << line;
        EXPECT_NE(line.find(b.reason), std::string::npos) << b.entry << ": " << line;
        EXPECT_EQ(line.find("not tried at launch") == std::string::npos, b.tried_at_launch) << b.entry << ": " << line;
        if (b.tried_at_launch) first_failures.insert(b.entry);
    }
    // The missing picture is looked for beside the skin too, and the check says so.
    EXPECT_NE(lines["[TIME] am"].find("beside the skin: no such file: no \"imAM.bmp\""), std::string::npos)
        << lines["[TIME] am"];
    // Good entries after a failure in their group are checked all the same.
    for (const char* passed_over : {"[TIME] pm", "[TIME] div", "[WOLF] baskUL", "[WOLF] baskDR"})
        EXPECT_TRUE(lines[passed_over].starts_with("loaded, but not tried at launch: an earlier entry of its group failed"))
            << passed_over << ": " << lines[passed_over];
    EXPECT_TRUE(lines["[WOLF] wolfL"].starts_with("loaded ")) << lines["[WOLF] wolfL"];
    EXPECT_NE(check.report.find("\nSummary: 5 of 90 entries fail"), std::string::npos) << check.report;

    // The launch, with the game's own sound, fails exactly where the check
    // says it would.
    std::vector<SkinEntryFailure> failures;
    LaunchSkin(std::make_unique<GameSounds>(std::make_unique<NoSoundDevice>()), &failures);
    std::set<std::string> launch_failures;
    for (const SkinEntryFailure& f : failures) launch_failures.insert("[" + f.section + "] " + f.key);
    EXPECT_EQ(launch_failures, first_failures);
}

TEST_F(SkinCommandsTest, TheSettingsAreReportedAsTheLaunchReadsThem) {
    Export();
    Rewrite(skin_file, {{"title", "\xC2\xEE\xEB\xEA"},  // "Волк" in Windows-1251
                        {"titleGB", std::nullopt},
                        {"key0", "a"},
                        {"key1", ""},  // empty: the default, which is not the built-in game's
                        {"key2", std::nullopt},
                        {"key3", "\xE6"},  // "ж" in Windows-1251: no a..z, stays as it is
                        {"sound", "0"},
                        {"dir", "Data"}});
    folder.Folder(skin_dir / "data");
    const CheckResult check = Check();
    EXPECT_EQ(check.status, 0) << check.report;
    for (const char* said : {"\nTitle: Волк\n", "\nEnglish title: none",
                             "\nKeys: upper left A, upper right D (default), lower left O (default), lower right ж\n",
                             "\nSound: off at start", "\nDir: Data (files are looked for from "})
        EXPECT_NE(check.report.find(said), std::string::npos) << said << "\n" << check.report;
    EXPECT_NE(check.report.find("looked for from " + (skin_dir / "data").string() + ")"), std::string::npos)
        << check.report;

    std::vector<int> skin_played;
    std::optional<std::string> no_failure;
    const auto launched = LaunchSkin(std::make_unique<RecordingSound>(&skin_played, &no_failure));
    const ControlKeys& keys = launched->Controls().Keys();
    EXPECT_EQ(std::u16string({keys.KeyUL, keys.KeyUR, keys.KeyDL, keys.KeyDR}), u"ADOж");
    EXPECT_EQ(launched->Texts().TitleSU, u"Волк");
    EXPECT_FALSE(launched->Engine().SoundOn());
}

TEST_F(SkinCommandsTest, AFileTheGameWouldNotTakeSaysWhy) {
    Export();
    const std::string exported = ReadFile(skin_file);
    struct Case {
        const char* what;
        std::map<std::string, std::optional<std::string>> edits;
        std::vector<const char*> reasons;  // all on the line that says why
    };
    const std::vector<Case> cases = {
        {"no ver", {{"ver", std::nullopt}}, {"[SETTINGS] has no ver: write ver=1.6"}},
        {"an old ver", {{"ver", "1.10"}}, {"ver=1.10 is older than 1.6"}},
        {"no title", {{"title", std::nullopt}}, {"[SETTINGS] has no title"}},
        {"the title that means none", {{"title", std::string(NoTitleMarker)}}, {"the text that stands for no title"}},
        {"an old ver and no title", {{"ver", "1.5"}, {"title", std::nullopt}},
         {"ver=1.5 is older than 1.6", "[SETTINGS] has no title"}},
    };
    for (const Case& c : cases) {
        std::ofstream(skin_file, std::ios::binary | std::ios::trunc) << exported;
        Rewrite(skin_file, c.edits);
        const CheckResult check = Check();
        EXPECT_EQ(check.status, 1) << c.what;
        const std::size_t at = check.report.find("\nUsable: no: ");
        ASSERT_NE(at, std::string::npos) << c.what << "\n" << check.report;
        const std::string line = check.report.substr(at + 1, check.report.find('\n', at + 1) - at - 1);
        for (const char* reason : c.reasons) EXPECT_NE(line.find(reason), std::string::npos) << c.what << ": " << line;
        // Its entries are checked all the same: they all load.
        EXPECT_NE(check.report.find("\nSummary: not a usable skin; the menu leaves it out, and named on the "
                                    "command line it is reported and the menu is filled by the search; of its "
                                    "entries, all 90 load\n"),
                  std::string::npos)
            << c.what << "\n" << check.report;
    }

    std::ostringstream out;
    EXPECT_EQ(CheckSkinCommand(skin_dir, out), 1);
    EXPECT_NE(out.str().find("Usable: no: it cannot be read: "), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Entries:"), std::string::npos) << out.str();
    // One verdict: neither a launch's end nor the built-in game is promised.
    EXPECT_NE(out.str().find("\nSummary: not a skin; the menu leaves it out"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("status"), std::string::npos) << out.str();
}

// The program itself, as a skin's author runs it: no display, no platform set.
TEST(PelloxProgramTest, TheSkinCommandsNeedNoDisplay) {
    TempFolder folder;
    const QString skin_dir = QString::fromStdString((folder.path() / "skin").string());
    folder.Write("notes.ini", "[General]\nthis=is no skin\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(QString::fromLatin1(name));
    // Nor Wayland's default socket.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder.Folder("runtime").string()));

    struct Run {
        QStringList arguments;
        int status;
        bool on_stdout;
        std::string said;
    };
    // In this order: the check reads the export, the second export finds it.
    const std::vector<Run> runs = {
        {{QStringLiteral("--version")}, 0, true, "Pellox " PELLOX_VERSION "\nLicence: MIT"},
        {{QStringLiteral("-v")}, 0, true, "Pellox " PELLOX_VERSION "\n"},
        // Options are read before any window system is opened, so a mistake
        // is told, not a crash for want of a display.
        {{QStringLiteral("--bogus")}, 2, false, "pellox: Unknown option 'bogus'.\nTry 'pellox --help'.\n"},
        // Qt's options go to the application that knows them; only the
        // unknown one is named.
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"), QStringLiteral("fusion"),
          QStringLiteral("--bogus")},
         2, false, "pellox: Unknown option 'bogus'.\nTry 'pellox --help'.\n"},
        {{QStringLiteral("-reverse"), QStringLiteral("--version")}, 0, true, "Pellox " PELLOX_VERSION "\n"},
        // Qt takes -platform NAME only as two words: the other form names no
        // platform to open, and is no option of the game's either.
        {{QStringLiteral("-platform=offscreen")}, 2, false, "pellox: Unknown option 'platform'.\n"},
        // A skin command starts no window system: a Qt option beside it is a mistake.
        {{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--list-skins")}, 2, false,
         "pellox: Unknown option 'style'.\n"},
        {{QStringLiteral("--export-skin"), skin_dir}, 0, true, "Wrote the built-in game as a skin to "},
        {{QStringLiteral("--check-skin"), skin_dir + QStringLiteral("/pellox.ini")}, 0, true,
         "Summary: the skin would launch: all 90 entries load\n"},
        {{QStringLiteral("--export-skin"), skin_dir}, 1, false, "is not empty"},
        // Any usage error points to the help and ends with status 2.
        {{QStringLiteral("--check-skin")}, 2, false, "pellox: Missing value after '--check-skin'.\nTry 'pellox --help'.\n"},
        // The game itself needs a display: without one it says so in one line, not with Qt's abort.
        {{}, 1, false, "pellox: no display: set DISPLAY or WAYLAND_DISPLAY, or use --check-skin/--install-skin/--list-skins, which need none\n"},
        {{QStringLiteral("skin/pellox.ini")}, 1, false, "pellox: no display: "},
        // A readable file that is no skin is told as one that cannot be read is.
        {{QStringLiteral("notes.ini")}, 1, false,
         "pellox: notes.ini: not a skin file ([SETTINGS] has no ver: write ver=1.6; [SETTINGS] has no title); the "
         "menu is filled by the skin search\npellox: no display: "},
        {{QStringLiteral("--list-skins")}, 0, true, "The skin menu, as the start screen fills it:\n"},
    };
    for (const Run& run : runs) {
        const std::string what = run.arguments.join(QLatin1Char(' ')).toStdString();
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(folder.path().string()));  // what --list-skins walks
        program.start(QStringLiteral(PELLOX_PROGRAM), run.arguments);
        ASSERT_TRUE(program.waitForFinished(60000)) << what;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << what;
        EXPECT_EQ(program.exitCode(), run.status) << what;
        const std::string out = program.readAllStandardOutput().toStdString();
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_NE((run.on_stdout ? out : err).find(run.said), std::string::npos)
            << what << "\nstdout: " << out << "\nstderr: " << err;
    }
}

// What the program tells beside its output goes through Qt's logging: one
// line under its name, a topic that a rule silences, a pattern the user sets.
TEST(PelloxProgramTest, ItsDiagnosticsFollowQtsLoggingRules) {
    TempFolder folder;
    folder.Write("notes.ini", "[General]\nthis=is no skin\n");
    const std::string no_display = "pellox: no display: ";
    const std::string told = "notes.ini: not a skin file ([SETTINGS] has no ver: write ver=1.6; [SETTINGS] has no "
                             "title); the menu is filled by the skin search\n";
    struct Run {
        const char* variable;
        const char* value;
        std::string said;  // before the line that there is no display, itself no diagnostic
    };
    const Run runs[] = {
        {nullptr, nullptr, "pellox: " + told},
        {"QT_LOGGING_RULES", "pellox.skin.warning=false", ""},
        {"QT_LOGGING_RULES", "pellox.sound.warning=false", "pellox: " + told},
        {"QT_MESSAGE_PATTERN", "%{category}: %{message}", "pellox.skin: " + told},
    };
    for (const Run& run : runs) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_LOGGING_RULES", "QT_MESSAGE_PATTERN"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder.Folder("runtime").string()));
        if (run.variable) environment.insert(QString::fromLatin1(run.variable), QString::fromLatin1(run.value));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(folder.path().string()));
        program.start(QStringLiteral(PELLOX_PROGRAM), {QStringLiteral("notes.ini")});
        ASSERT_TRUE(program.waitForFinished(60000)) << run.value;
        EXPECT_EQ(program.exitCode(), 1) << run.value;
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_EQ(err.substr(0, err.find(no_display)), run.said) << (run.value ? run.value : "");
        EXPECT_NE(err.find(no_display), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace pellox
