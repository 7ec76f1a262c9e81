// The built-in game's first frame against a stored picture: the window's size
// at launch, composed from the built-in pictures with the sprites the window
// is made with. A change in the art or in the compositor shows here, not only
// a change against itself. After a change that is meant, write the picture
// again with
//   build/tools/render_playfield/render_playfield tests/assets/golden/first_frame.png --lit start --window
// and look at it before committing it.
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/compositor.h"
#include "lcd/picture_set.h"

namespace pellox {
namespace {

// Antialiased edges may move by a shade between builds of the SVG renderer;
// a moved, recoloured or missing sprite changes far more than this.
constexpr int kChannelTolerance = 8;
constexpr double kDifferingShare = 0.0001;

int ChannelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

TEST(FirstFrame, MatchesTheStoredPicture) {
    PictureSet pictures;
    QString error;
    ASSERT_TRUE(LoadBuiltinPictures(pictures, &error)) << error.toStdString();
    const SpriteModel model;
    const Bounds& background = model.BoundsOf(SpriteId::imBckgrnd);
    const QImage frame = Compositor(model, pictures)
                             .Compose(QSize(background.width + 8, background.height + 34))
                             .convertToFormat(QImage::Format_RGB32);
    const QImage golden = QImage(QStringLiteral(PELLOX_GOLDEN_DIR "/first_frame.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull());
    ASSERT_EQ(frame.size(), golden.size());

    int differing = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            differing += ChannelDifference(frame.pixel(x, y), golden.pixel(x, y)) > kChannelTolerance;
    const int allowed = static_cast<int>(frame.width() * frame.height() * kDifferingShare);
    if (differing > allowed) {
        const QString actual = QDir::temp().filePath(QStringLiteral("pellox-first-frame-actual.png"));
        frame.save(actual);
        ADD_FAILURE() << differing << " pixels differ (" << allowed << " allowed); this build's frame is in "
                      << actual.toStdString();
    }
}

}  // namespace
}  // namespace pellox
