// The launch with a skin: a skin folder made by the test, applied over a real
// game window with the built-in pictures.
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QImage>
#include <QTimer>

#include "skin/find_skin.h"

#include "lcd/core/sprite_tables.h"
#include "skin/skin_entries.h"
#include "tests/support/temp_folder.h"
#include "tests/controls/game_window_rig.h"

namespace pellox {
namespace {

using testing::GameWindowTest;
using testing::RecordingSound;

// The colour a sprite's skin picture is painted: one per sprite, never a key colour.
QRgb SkinColour(SpriteId id) {
    const int i = IndexOf(id);
    return qRgb(20 + i, 200 - i, 60 + 2 * i);
}

// A complete skin written the Windows way: CR LF, a Windows-1251 title,
// backslashes and other letter case in its paths, everything under `dir`.
// Every sprite lies 10 px right and 5 px down of its built-in place; the
// background is larger than the built-in one.
struct WindowsSkin {
    TempFolder folder;
    std::map<std::string, std::string> overrides;  // "SECTION/key" -> value

    static constexpr int kShiftX = 10, kShiftY = 5;
    static Bounds SkinBounds(SpriteId id) {
        if (id == SpriteId::imBckgrnd) return {0, 0, 900, 560};
        const Bounds b = LayoutOf(id).bounds;
        return {b.left + kShiftX, b.top + kShiftY, b.width, b.height};
    }

    std::filesystem::path Write() {
        std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
        sections["SETTINGS"] = {{"ver", "1.6"},
                                {"title", "\xC2\xEE\xEB\xEA"},  // "Волк" in Windows-1251
                                {"titleGB", "The Wolf"},
                                {"dir", "Data"},
                                {"sound", "0"},
                                {"key0", "a"},
                                {"key3", "\xE6"}};  // "ж": no a..z, stays as it is
        for (const SkinEntryGroup& group : SkinEntryGroups()) {
            for (const SkinEntry& e : group) {
                std::string value;
                if (e.sprite) {
                    const Bounds b = SkinBounds(*e.sprite);
                    QImage picture(b.width, b.height, QImage::Format_RGB32);
                    picture.fill(SkinColour(*e.sprite));
                    picture.setPixel(0, b.height - 1, qRgb(255, 255, 255));  // the key colour
                    const std::string name = std::string(NameOf(*e.sprite)) + ".bmp";
                    folder.Folder("data/pics");
                    picture.save(QString::fromStdString((folder.path() / "data/pics" / name).string()), "BMP");
                    value = std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.width) +
                            "," + std::to_string(b.height) + ",PICS\\" + name;
                } else {
                    const std::string name = std::string(EffectName(*e.effect)) + ".wav";
                    folder.Write("data/waves/" + name, "RIFF");
                    value = "Waves\\" + name;
                }
                sections[std::string(e.section)].emplace_back(e.key, value);
            }
        }
        std::string text = "; a skin made by the test\r\n";
        for (auto& [section, entries] : sections) {
            text += "[" + section + "]\r\n";
            for (auto& [key, value] : entries) {
                const auto o = overrides.find(section + "/" + key);
                text += key + " = " + (o == overrides.end() ? value : o->second) + "\r\n";
            }
        }
        return folder.Write("skin.ini", text);
    }
};

class LaunchTest : public GameWindowTest {
protected:
    CurrentDirGuard dir_guard;
    WindowsSkin skin;

    // The player starts the game in the skin's folder; its dir is relative to that.
    std::vector<SkinEntryFailure> Apply() {
        const std::filesystem::path file = skin.Write();
        std::filesystem::current_path(skin.folder.path());
        PrepareLaunch(*window);
        std::vector<SkinEntryFailure> failures = ApplySkin(*window, file);
        FinishLaunch(*window);
        window->FrameTimer().SetEnabled(false);
        return failures;
    }
    RecordingSound& Sounds() { return static_cast<RecordingSound&>(window->Sound()); }
    bool ShowsSkinPicture(SpriteId id) {
        return form().Pictures().Drawable(id).pixel(0, 0) == (SkinColour(id) | 0xFF000000u);
    }
};

TEST_F(LaunchTest, ACompleteSkinReplacesEveryPictureSoundKeyAndTitle) {
    const std::vector<SkinEntryFailure> failures = Apply();
    for (const SkinEntryFailure& f : failures) ADD_FAILURE() << f.section << "/" << f.key << ": " << f.reason;

    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        EXPECT_EQ(form().Sprites().BoundsOf(id), WindowsSkin::SkinBounds(id)) << NameOf(id);
        EXPECT_TRUE(ShowsSkinPicture(id)) << NameOf(id);
    }
    for (Effect e : kAllEffects) {
        ASSERT_TRUE(Sounds().loaded.count(e)) << EffectName(e);
        EXPECT_EQ(std::filesystem::path(Sounds().loaded[e]).filename(), std::string(EffectName(e)) + ".wav");
    }
    // key1 and key2 left out: D for the upper right, O for the lower left.
    const ControlKeys& keys = window->Controls().Keys();
    EXPECT_EQ(keys.KeyUL, u'A');
    EXPECT_EQ(keys.KeyUR, u'D');
    EXPECT_EQ(keys.KeyDL, u'O');
    EXPECT_EQ(keys.KeyDR, u'ж');
    EXPECT_FALSE(engine().SoundOn());
    EXPECT_FALSE(Lit(SpriteId::imBell));
    EXPECT_EQ(window->Texts().TitleSU, u"Волк");
    EXPECT_EQ(window->Texts().TitleGB, kBuiltinTitleGB);  // named on the command line: titleGB unread
    EXPECT_EQ(std::filesystem::current_path(), skin.folder.path());  // dir is where files are found, not entered
    EXPECT_EQ(form().size(), QSize(908, 594));
}

TEST_F(LaunchTest, AFailedEntryEndsItsGroupAndEveryLaterGroupIsTried) {
    skin.overrides["BACK/ground"] = "0,0,900,560,pics\\nothing-here.bmp";
    skin.overrides["WOLF/baskUL"] = "1,2,3";
    skin.overrides["SOUNDS/Catch"] = "-";
    const std::vector<SkinEntryFailure> failures = Apply();

    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0].key, "ground");
    EXPECT_NE(failures[0].reason.find("no such file"), std::string::npos) << failures[0].reason;
    EXPECT_EQ(failures[1].key, "baskUL");
    EXPECT_EQ(failures[2].key, "Catch");
    // The rest of the first group is untried; the next groups loaded.
    for (SpriteId untried : {SpriteId::imBckgrnd, SpriteId::imAM, SpriteId::imPM, SpriteId::imColon})
        EXPECT_EQ(form().Sprites().BoundsOf(untried), LayoutOf(untried).bounds) << NameOf(untried);
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imD1_U));
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imWolf1));   // before the failed basket
    EXPECT_FALSE(ShowsSkinPicture(SpriteId::imBask1));  // after it: untried
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imBell));
    EXPECT_FALSE(Sounds().loaded.count(Effect::Basket));
    EXPECT_TRUE(Sounds().loaded.count(Effect::GO));
}

TEST_F(LaunchTest, AFailedLaunchEndsWithStatusOneAndSaysWhyOnStandardError) {
    skin.overrides["HARE/bell"] = "1,1,10,10,pics\\imBckgrnd.bmp ; the bell";
    skin.overrides["TIME/d34"] = "1,1,1,x,pics\\imD1000_UR.bmp";
    const std::filesystem::path file = skin.Write();
    LaunchChoice choice;
    choice.selected = 1;
    choice.from_command_line = true;
    choice.command_line_skin = file;
    std::filesystem::current_path(skin.folder.path());

    ::testing::internal::CaptureStderr();
    const int status = LaunchChosenGame(*window, choice);
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, 1);
    EXPECT_FALSE(form().isVisible());
    EXPECT_NE(said.find("skin.ini: [TIME] d34: not a number in field 4"), std::string::npos) << said;
    EXPECT_NE(said.find("skin.ini: [HARE] bell: no such file"), std::string::npos) << said;
}

TEST_F(LaunchTest, ASkinChosenFromTheMenuStartsFromItsFileAndBringsItsEnglishTitle) {
    const std::filesystem::path file = skin.Write();
    LaunchChoice choice;
    choice.selected = 2;
    // An older namesake comes first in the menu; the entry chosen launches
    // its own file all the same (the older one's is not even there).
    choice.menu.AddSkin({true, "\xC2\xEE\xEB\xEA", "The old wolf"}, skin.folder.path() / "no-such.ini");
    choice.menu.AddSkin({true, "\xC2\xEE\xEB\xEA", "The Wolf"}, file);
    std::filesystem::current_path(skin.folder.path());
    // The player closes the game window as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &form(), [this] {
        if (form().isVisible()) form().close();
    });
    closer.start(10);
    EXPECT_EQ(LaunchChosenGame(*window, choice), 0);
    EXPECT_EQ(window->Texts().TitleSU, u"Волк");
    EXPECT_EQ(window->Texts().TitleGB, u"The Wolf");
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imWolf0));

    Open();
    std::filesystem::current_path(skin.folder.path());
    std::filesystem::remove(file);  // gone since the menu was filled
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(LaunchChosenGame(*window, choice), 1);  // an empty skin: every entry fails
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("skin.ini"), std::string::npos);
}

TEST_F(LaunchTest, RelativePathsNotFoundFromTheCurrentFolderAreLookedForBesideTheSkinFile) {
    const std::filesystem::path file = skin.Write();
    // Started elsewhere, as from a desktop menu: dir "Data" and the entries
    // resolve beside the skin file.
    TempFolder elsewhere;
    std::filesystem::current_path(elsewhere.path());
    PrepareLaunch(*window);
    const std::vector<SkinEntryFailure> failures = ApplySkin(*window, file);
    for (const SkinEntryFailure& f : failures) ADD_FAILURE() << f.section << "/" << f.key << ": " << f.reason;
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imHare));
    EXPECT_EQ(std::filesystem::current_path(), elsewhere.path());
}

// The start screen's skin search walks the start folder on a thread of its
// own; a skin launched meanwhile must not move the walk into its dir, which
// here holds folders of the same names with other skins in them.
TEST_F(LaunchTest, ASearchWalkingTheStartFolderWhileASkinWithADirLaunchesFindsExactlyTheTreesSkins) {
    const std::filesystem::path file = skin.Write();
    const auto skin_text = [](const std::string& title) { return "[SETTINGS]\r\nver=1.6\r\ntitle=" + title + "\r\n"; };
    TempFolder start;
    start.Write("a/one.ini", skin_text("One"));
    start.Write("b/two.ini", skin_text("Two"));
    skin.folder.Write("data/a/decoy.ini", skin_text("Decoy in the skin's dir"));
    skin.folder.Write("data/b/decoy.ini", skin_text("Another decoy"));
    std::filesystem::current_path(start.path());

    // The walk is held once it has listed the start folder, before it goes
    // into "./a", until the skin has been applied.
    std::mutex mutex;
    std::condition_variable changed;
    bool walking = false;
    bool launched = false;
    int steps = 0;
    std::vector<std::string> found;
    std::thread walk([&] {
        SearchSkins(
            {"."}, NoTitleMarker,
            [&](const SkinProbe& probe, const std::filesystem::path&) { found.push_back(probe.TitleSU); },
            [&] {
                if (++steps != 2) return true;
                std::unique_lock lock(mutex);
                walking = true;
                changed.notify_all();
                changed.wait(lock, [&] { return launched; });
                return true;
            });
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return walking; });
    }
    PrepareLaunch(*window);
    const std::vector<SkinEntryFailure> failures = ApplySkin(*window, file);
    {
        std::lock_guard lock(mutex);
        launched = true;
        changed.notify_all();
    }
    walk.join();

    EXPECT_TRUE(failures.empty()) << failures.front().key << ": " << failures.front().reason;
    EXPECT_TRUE(ShowsSkinPicture(SpriteId::imWolf0));
    EXPECT_EQ(found, (std::vector<std::string>{"One", "Two"}));
}

TEST_F(LaunchTest, AWaveTheReaderRefusesFailsItsEntryWithTheReadersMessage) {
    skin.Write();
    skin.folder.Write("data/waves/UL.wav", "not a wave at all");
    // The game's real sound (silent without a device) with its wave reader.
    window = std::make_unique<GameWindow>(testing::BuiltinPictures(), MakeGameSound(),
                                          std::make_unique<SettingsRecordsStore>(records_file));
    std::filesystem::current_path(skin.folder.path());
    PrepareLaunch(*window);
    const std::vector<SkinEntryFailure> failures = ApplySkin(*window, skin.folder.path() / "skin.ini");
    // The test's other "waves" are four bytes: the real reader refuses them too.
    ASSERT_EQ(failures.size(), kEffectCount);
    EXPECT_EQ(failures[0].key, "MoveUL");
    EXPECT_EQ(failures[0].reason, "Wave is invalid");
}

TEST_F(LaunchTest, ABackgroundWiderOrTallerThanAScreenIsRefusedBeforeTheWindowTakesItsSize) {
    // The window, its frame and its mask take the background's size: a skin
    // of a few bytes once asked for a frame of a gigabyte this way.
    struct Case {
        const char* box;
        bool refused;
    };
    for (const Case c : {Case{"0,0,4097,560", true}, Case{"0,0,900,16384", true}, Case{"0,0,4096,4096", false}}) {
        skin.overrides["BACK/ground"] = std::string(c.box) + ",PICS\\imBckgrnd.bmp";
        const std::filesystem::path file = skin.Write();
        std::filesystem::current_path(skin.folder.path());
        window->Form().Sprites().SetBounds(SpriteId::imBckgrnd, LayoutOf(SpriteId::imBckgrnd).bounds);
        PrepareLaunch(*window);
        const std::vector<SkinEntryFailure> failures = ApplySkin(*window, file);

        const Bounds background = form().Sprites().BoundsOf(SpriteId::imBckgrnd);
        if (c.refused) {
            ASSERT_EQ(failures.size(), 1u) << c.box;
            EXPECT_EQ(failures[0].key, "ground");
            EXPECT_EQ(failures[0].reason, "the background is larger than 4096 pixels");
            EXPECT_EQ(background, LayoutOf(SpriteId::imBckgrnd).bounds) << c.box;
        } else {
            EXPECT_TRUE(failures.empty()) << c.box;
            EXPECT_EQ(background.width, 4096);
        }
    }
}

}  // namespace
}  // namespace pellox
