// The live preview: saves of a skin applied to a running game window, broken
// saves told on the window and survived, editors' ways of saving followed.
#include <sys/stat.h>

#include "tests/skinpreview/preview_rig.h"

namespace pellox {
namespace {

using testing::SkinPreviewTest;

constexpr QRgb kRed = qRgb(200, 30, 30);
constexpr QRgb kBlue = qRgb(30, 30, 200);
constexpr QRgb kGreen = qRgb(30, 200, 30);

QSize HareSize() { return {58, 75}; }

TEST_F(SkinPreviewTest, ABrokenSaveIsToldAndTheGamePlaysOnUntilAGoodSaveClearsIt) {
    ASSERT_TRUE(preview->FailureLines().isEmpty()) << preview->FailureLines().join('\n').toStdString();
    // A game in progress: Game A armed and started.
    window->Controls().PressCaseButton(SpriteId::imButtA);
    window->Controls().ReleaseCaseButton(SpriteId::imButtA);
    const GameMode state = window->Engine().CurrentState();
    ASSERT_NE(state, GameMode::Demo);
    const std::filesystem::path hare = skin_folder / "pictures/imHare.bmp";
    const QRgb before = PictureColour(SpriteId::imHare);

    SaveInPlace(hare, "not a picture at all");
    ASSERT_TRUE(WaitForApply());
    ASSERT_EQ(preview->FailureLines().size(), 1);
    EXPECT_TRUE(preview->FailureLines().first().startsWith("[HARE] hare: not a picture"))
        << preview->FailureLines().first().toStdString();
    EXPECT_EQ(PictureColour(SpriteId::imHare), before) << "the last good picture stays";
    EXPECT_EQ(window->Engine().CurrentState(), state);
    EXPECT_TRUE(form().isVisible());
    // The bar is on the window, over the case.
    const QRect bar = preview->Overlay().BarRect();
    ASSERT_FALSE(bar.isEmpty());
    const QImage shown = form().grab().toImage();
    EXPECT_EQ(shown.pixel(bar.left() + 2, bar.top() + 2), PreviewOverlay::kBarColour);

    SaveInPlace(hare, BmpBytes(Picture(HareSize(), kRed)));
    ASSERT_TRUE(WaitForApply());
    EXPECT_TRUE(preview->FailureLines().isEmpty());
    EXPECT_TRUE(preview->Overlay().BarRect().isEmpty());
    EXPECT_EQ(PictureColour(SpriteId::imHare), kRed);
    EXPECT_EQ(window->Engine().CurrentState(), state);
}

TEST_F(SkinPreviewTest, NoBrokenSaveEndsOrHangsTheGame) {
    ::mkfifo((skin_folder / "fifo.bmp").c_str(), 0644);
    std::filesystem::create_directory(skin_folder / "folder.bmp");
    const std::string ground = "ground=0,0,875,532,pictures/imBckgrnd.bmp";
    struct Case {
        std::string line;
        std::string reason;  // a piece of what the bar says
    } cases[] = {
        {"ground=0,0,99999,532,pictures/imBckgrnd.bmp", "larger than"},
        {"ground=0,0,875 532,pictures/imBckgrnd.bmp", "ground: "},
        {"ground=0,0,875,532,fifo.bmp", "FIFO"},
        {"ground=0,0,875,532,folder.bmp", "folder"},
        {"ground=0,0,875,532,/dev/zero", "device"},
    };
    for (const Case& c : cases) {
        SaveIni(IniWith(ground, c.line));
        ASSERT_TRUE(WaitForApply()) << c.line;
        while (preview->FailureLines().isEmpty() && WaitForApply(500)) {}
        ASSERT_EQ(preview->FailureLines().size(), 1) << c.line;
        EXPECT_TRUE(preview->FailureLines().first().startsWith("[BACK] ground: ")) << c.line;
        EXPECT_TRUE(preview->FailureLines().first().contains(QString::fromStdString(c.reason)))
            << c.line << ": " << preview->FailureLines().first().toStdString();
        EXPECT_TRUE(form().isVisible());
        EXPECT_EQ(form().size(), QSize(883, 566)) << c.line;
    }
    SaveIni(ini_text);
    ASSERT_TRUE(WaitForApply());
    while (!preview->FailureLines().isEmpty() && WaitForApply(500)) {}
    EXPECT_TRUE(preview->FailureLines().isEmpty());
}

TEST_F(SkinPreviewTest, AnUnreadableSkinFileKeepsEverythingAndIsTold) {
    SaveIni("");  // an editor's save caught half done: nothing left of the file
    std::filesystem::remove(ini);
    ASSERT_TRUE(WaitForApply());
    ASSERT_FALSE(preview->FailureLines().isEmpty());
    EXPECT_TRUE(preview->FailureLines().first().startsWith("pellox.ini: "));
    SaveIni(ini_text);
    ASSERT_TRUE(WaitForApply());
    EXPECT_TRUE(preview->FailureLines().isEmpty()) << preview->FailureLines().join('\n').toStdString();
}

TEST_F(SkinPreviewTest, ASkinTheMenuWouldNotListIsPreviewedAndToldSo) {
    SaveIni(IniWith("ver=1.6", "ver=1.5"));
    ASSERT_TRUE(WaitForApply());
    ASSERT_EQ(preview->FailureLines().size(), 1);
    EXPECT_TRUE(preview->FailureLines().first().startsWith("[SETTINGS]: ")) << preview->FailureLines().first().toStdString();
    EXPECT_TRUE(preview->FailureLines().first().contains("1.5"));
}

TEST_F(SkinPreviewTest, TheWatchSurvivesSavesByRename) {
    const std::filesystem::path hare = skin_folder / "pictures/imHare.bmp";
    for (QRgb colour : {kRed, kBlue, kGreen}) {
        SaveByRename(hare, BmpBytes(Picture(HareSize(), colour)));
        ASSERT_TRUE(WaitForApply());
        // A burst may end in two applies (the rename's two events); the last
        // one shows the new picture.
        while (PictureColour(SpriteId::imHare) != colour && WaitForApply(500)) {}
        EXPECT_EQ(PictureColour(SpriteId::imHare), colour);
    }
    // The skin file saved by rename too: the new box is used.
    SaveIni(IniWith("hare=294,145,58,75,", "hare=300,150,58,75,"));
    ASSERT_TRUE(WaitForApply());
    EXPECT_EQ(form().Sprites().BoundsOf(SpriteId::imHare), (Bounds{300, 150, 58, 75}));
    SaveByRename(hare, BmpBytes(Picture(HareSize(), kRed)));
    ASSERT_TRUE(WaitForApply());
    while (PictureColour(SpriteId::imHare) != kRed && WaitForApply(500)) {}
    EXPECT_EQ(PictureColour(SpriteId::imHare), kRed);
}

TEST_F(SkinPreviewTest, AFileNamedBeforeItExistsIsPickedUpWhenItAppears) {
    // In a folder that does not exist yet either.
    SaveIni(IniWith("hare=294,145,58,75,pictures/imHare.bmp", "hare=294,145,58,75,new\\Hare.bmp"));
    ASSERT_TRUE(WaitForApply());
    ASSERT_EQ(preview->FailureLines().size(), 1);
    EXPECT_TRUE(preview->FailureLines().first().contains("no such file")) << preview->FailureLines().first().toStdString();

    std::filesystem::create_directory(skin_folder / "new");
    ASSERT_TRUE(WaitForApply());
    SaveInPlace(skin_folder / "new/Hare.bmp", BmpBytes(Picture(HareSize(), kBlue)));
    ASSERT_TRUE(WaitForApply());
    while (!preview->FailureLines().isEmpty() && WaitForApply(500)) {}
    EXPECT_TRUE(preview->FailureLines().isEmpty()) << preview->FailureLines().join('\n').toStdString();
    EXPECT_EQ(PictureColour(SpriteId::imHare), kBlue);
}

TEST_F(SkinPreviewTest, ANewBackgroundSizeResizesTheWindowWhereItStands) {
    const QPoint place = form().pos();
    SaveByRename(skin_folder / "pictures/big.bmp", BmpBytes(Picture({900, 560}, kGreen)));
    SaveIni(IniWith("ground=0,0,875,532,pictures/imBckgrnd.bmp", "ground=0,0,900,560,pictures/big.bmp"));
    ASSERT_TRUE(WaitForApply());
    while (form().size() != QSize(908, 594) && WaitForApply(500)) {}
    EXPECT_EQ(form().size(), QSize(908, 594));
    EXPECT_EQ(form().pos(), place);
    EXPECT_TRUE(preview->FailureLines().isEmpty()) << preview->FailureLines().join('\n').toStdString();
}

TEST_F(SkinPreviewTest, OnlyWhatASaveChangedIsLoadedAgain) {
    // The sound's recording of loads tells which waves were read again.
    auto& sound = static_cast<testing::RecordingSound&>(window->Sound());
    sound.loaded.clear();
    SaveInPlace(skin_folder / "pictures/imHare.bmp", BmpBytes(Picture(HareSize(), kRed)));
    ASSERT_TRUE(WaitForApply());
    EXPECT_TRUE(sound.loaded.empty());
    SaveByRename(skin_folder / "sounds/UL.wav", QByteArray::fromStdString(std::string("RIFF")));
    ASSERT_TRUE(WaitForApply());
    while (sound.loaded.empty() && WaitForApply(500)) {}
    EXPECT_EQ(sound.loaded.size(), 1u);
    EXPECT_EQ(sound.loaded.count(Effect::UL), 1u);
}

}  // namespace
}  // namespace pellox
