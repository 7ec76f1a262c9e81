// The author's views over the game window, checked pixel by pixel against the
// sprites' boxes.
#include <set>

#include "skin/skin_entries.h"
#include "skinpreview/overlay_painting.h"
#include "skinpreview/preview_texts.h"
#include "tests/skinpreview/preview_rig.h"

namespace pellox {
namespace {

using testing::SkinPreviewTest;

// The pixels on a box's outermost rows and columns.
std::vector<QPoint> Perimeter(const Bounds& b) {
    std::vector<QPoint> points;
    for (int x = b.left; x < b.left + b.width; ++x) points.push_back({x, b.top}), points.push_back({x, b.top + b.height - 1});
    for (int y = b.top; y < b.top + b.height; ++y) points.push_back({b.left, y}), points.push_back({b.left + b.width - 1, y});
    return points;
}

bool OnPerimeter(const Bounds& b, QPoint p) {
    return b.contains(p.x(), p.y()) &&
           (p.x() == b.left || p.y() == b.top || p.x() == b.left + b.width - 1 || p.y() == b.top + b.height - 1);
}

class OverlayTest : public SkinPreviewTest {
protected:
    PreviewOverlay& overlay() { return preview->Overlay(); }
    // What the window shows, its see-through parts included.
    QImage Shown() {
        form().clearMask();
        return form().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(OverlayTest, BoxesOutlineEverySpriteOnItsBoxInItsSectionsColour) {
    overlay().ToggleBoxes();
    const QRect panel = overlay().PanelRect();
    const QImage shown = Shown();
    const SpriteModel& model = form().Sprites();
    int checked = 0;
    for (int i = 0; i < kSpriteCount; ++i) {
        for (QPoint p : Perimeter(model.BoundsOf(SpriteAt(i)))) {
            if (!shown.rect().contains(p) || panel.contains(p)) continue;
            // Outlines are drawn in sprite order: the last box whose edge
            // passes here gives the colour.
            int last = i;
            for (int later = i + 1; later < kSpriteCount; ++later)
                if (OnPerimeter(model.BoundsOf(SpriteAt(later)), p)) last = later;
            const QColor want = SectionColour(SkinEntryOf(SpriteAt(last)).section);
            ASSERT_EQ(QColor(shown.pixel(p)), want) << NameOf(SpriteAt(i)) << " at " << p.x() << "," << p.y();
            ++checked;
        }
    }
    EXPECT_GT(checked, 4000);
    // Outlines only: the middle of the wolf's box shows the wolf or the case.
    const Bounds wolf = model.BoundsOf(SpriteId::imWolf0);
    const QPoint middle(wolf.left + wolf.width / 2, wolf.top + wolf.height / 2);
    std::set<QRgb> outline_colours;
    for (std::string_view section : kPictureSections) outline_colours.insert(SectionColour(section).rgb());
    EXPECT_FALSE(outline_colours.count(shown.pixel(middle)));
    // The panel names the sections in the help line's place.
    EXPECT_TRUE(overlay().PanelTexts().contains(QString()));
}

TEST_F(OverlayTest, AllLitShowsEverySpriteAndLeavesTheGameAsItWas) {
    const SpriteModel& model = form().Sprites();
    std::vector<bool> lit;
    for (int i = 0; i < kSpriteCount; ++i) lit.push_back(model.IsVisible(SpriteAt(i)));
    overlay().ToggleHelp();
    overlay().ToggleAllLit();
    const QImage shown = Shown();
    for (int i = 1; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const Bounds box = model.BoundsOf(id);
        const QImage& picture = form().Pictures().Drawable(id);
        // A drawn pixel of the picture that no later sprite's box covers.
        std::optional<QPoint> seen;
        for (int y = 0; y < std::min(box.height, picture.height()) && !seen; ++y)
            for (int x = 0; x < std::min(box.width, picture.width()) && !seen; ++x) {
                const QPoint at(box.left + x, box.top + y);
                if (qAlpha(picture.pixel(x, y)) != 255) continue;
                bool covered = false;
                for (int later = i + 1; later < kSpriteCount && !covered; ++later)
                    covered = model.BoundsOf(SpriteAt(later)).contains(at.x(), at.y());
                if (!covered) seen = QPoint(x, y);
            }
        if (!seen) continue;  // wholly under later sprites
        const QPoint at(box.left + seen->x(), box.top + seen->y());
        EXPECT_EQ(shown.pixel(at), picture.pixel(*seen) | 0xff000000u) << NameOf(id);
    }
    for (int i = 0; i < kSpriteCount; ++i) EXPECT_EQ(model.IsVisible(SpriteAt(i)), lit[static_cast<std::size_t>(i)]);
    overlay().ToggleAllLit();
    EXPECT_NE(Shown().pixel(ToQRect(model.BoundsOf(SpriteId::imEggUL3)).center()),
              shown.pixel(ToQRect(model.BoundsOf(SpriteId::imEggUL3)).center()))
        << "an egg not in play goes dark again";
}

TEST_F(OverlayTest, SteppingPicksOutOneSpriteAfterTheOtherOnItsBox) {
    overlay().ToggleHelp();
    const SpriteModel& model = form().Sprites();
    for (int i = 0; i < kSpriteCount; ++i) {
        overlay().StepSprite(+1);
        const SpriteId id = SpriteAt(i);
        ASSERT_EQ(overlay().Picked(), id);
        const SkinEntry& entry = SkinEntryOf(id);
        ASSERT_TRUE(overlay().PanelTexts().value(0).startsWith(
            QStringLiteral("[%1] %2 ").arg(QString::fromLatin1(entry.section.data(), entry.section.size()),
                                           QString::fromStdString(entry.key))));
        const QImage shown = Shown();
        const QRect panel = overlay().PanelRect();
        const Bounds box = model.BoundsOf(id);
        for (QPoint p : Perimeter(box))
            if (shown.rect().contains(p) && !panel.contains(p)) ASSERT_EQ(shown.pixel(p), kPickedColour) << NameOf(id);
        // The dark ring just outside it; the box's inside is the sprite itself.
        for (QPoint p : Perimeter({box.left - 1, box.top - 1, box.width + 2, box.height + 2}))
            if (shown.rect().contains(p) && !panel.contains(p)) ASSERT_EQ(shown.pixel(p), 0xff000000u) << NameOf(id);
    }
    overlay().StepSprite(+1);
    EXPECT_EQ(overlay().Picked(), SpriteAt(0));
    overlay().StepSprite(-1);
    EXPECT_EQ(overlay().Picked(), SpriteAt(kSpriteCount - 1));
}

TEST(PreviewTexts, APicturesSizeIsComparedWithItsBox) {
    const Bounds box{265, 216, 16, 15};
    struct Case {
        QSize picture;
        QString ends;
    } cases[] = {{{16, 15}, QStringLiteral("picture 16×15")},
                 {{10, 15}, QStringLiteral("picture 10×15 — smaller than its box")},
                 {{20, 10}, QStringLiteral("picture 20×10 — larger than its box, cut")}};
    for (const Case& c : cases) {
        const QString line = SpriteLine(InterfaceLanguage::English, SpriteId::imEggUL1, box, c.picture);
        EXPECT_EQ(line, QStringLiteral("[CHUTES] eggUL1 (imEggUL1): box 265,216 16×15, ") + c.ends);
    }
    EXPECT_EQ(SpriteLine(InterfaceLanguage::Russian, SpriteId::imEggUL1, box, {20, 10}),
              QStringLiteral("[CHUTES] eggUL1 (imEggUL1): рамка 265,216 16×15, картинка 20×10 — больше рамки, обрезана"));
    EXPECT_EQ(SoundLine(InterfaceLanguage::Russian, Effect::Basket, 0.25), QStringLiteral("[SOUNDS] Catch: 0,250 с"));
    EXPECT_EQ(SoundLine(InterfaceLanguage::English, Effect::GO, std::nullopt), QStringLiteral("[SOUNDS] Over: length unknown"));
}

TEST_F(OverlayTest, TheKeysOfTheHelpLineSwitchTheViewsAndNeverReachTheGame) {
    const auto keys_before = window->Controls().Keys();
    const std::uint8_t wolf = window->Engine().State().WolfPos;
    EXPECT_TRUE(overlay().HelpShown());
    EXPECT_TRUE(overlay().PanelTexts().last().startsWith("F1 "));
    QTest::keyClick(&form(), Qt::Key_F1);
    EXPECT_FALSE(overlay().HelpShown());
    QTest::keyClick(&form(), Qt::Key_F2);
    EXPECT_TRUE(overlay().BoxesShown());
    QTest::keyClick(&form(), Qt::Key_F3);
    EXPECT_TRUE(overlay().AllLit());
    QTest::keyClick(&form(), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(overlay().Picked(), SpriteAt(kSpriteCount - 1));
    // The eight sounds in the file's order, each played as it is shown.
    played.clear();
    for (std::size_t i = 0; i < kEffectCount; ++i) {
        QTest::keyClick(&form(), Qt::Key_F6);
        EXPECT_EQ(overlay().LastSound(), kAllEffects[i]);
        EXPECT_TRUE(overlay().PanelTexts().contains(
            QStringLiteral("[SOUNDS] %1: length unknown").arg(QString::fromStdString(SkinEntryOf(kAllEffects[i]).key))));
    }
    EXPECT_EQ(played, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    QTest::keyClick(&form(), Qt::Key_Escape);
    EXPECT_FALSE(overlay().BoxesShown() || overlay().AllLit() || overlay().Picked() || overlay().LastSound());
    EXPECT_EQ(window->Engine().State().WolfPos, wolf);
    EXPECT_EQ(window->Controls().Keys().KeyUL, keys_before.KeyUL);
}

}  // namespace
}  // namespace pellox
