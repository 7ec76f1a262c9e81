// The built-in game's window in a few states against stored pictures, compared
// exactly: the first frame, the demo's clock, Game A armed, a catch and a miss
// mark. Each state is reached by the engine itself (fake ports, a fixed clock
// and seed) and composed at the window's launch size from the built-in
// pictures. A change in the art, the compositor or what the engine lights
// shows here, named by the sprite boxes it falls in. tests/README.md says how
// to write the pictures again after a change that is meant.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/compositor.h"
#include "lcd/picture_set.h"
#include "tests/engine/engine_fakes.h"

namespace pellox::testing {
namespace {

const QString kGoldenDir = QStringLiteral(PELLOX_GOLDEN_DIR);

class GoldenFrames;

struct State {
    const char* name;
    // Brings the fixture's engine from the window as it is made to the state.
    std::function<void(GoldenFrames&)> reach;
};

// gtest names a state by its picture, not by its bytes.
void PrintTo(const State& state, std::ostream* out) { *out << state.name; }

class GoldenFrames : public EngineTest, public ::testing::WithParamInterface<State> {
public:
    void SetUp() override {
        const Result<void> loaded = LoadBuiltinPictures(pictures_);
        ASSERT_TRUE(loaded.ok()) << loaded.reason();
        clock.utc_ms = 12345678;  // the seed: the same eggs every run
        clock.local = TimeOfDay{10, 15, 0, 0};
        records.stored[Variant::A] = 42;
    }

    QImage Frame() const {
        const Bounds& background = sprites.BoundsOf(SpriteId::imBckgrnd);
        return Compositor(sprites, pictures_)
            .Compose(QSize(background.width + 8, background.height + 34))
            .convertToFormat(QImage::Format_RGB32);
    }

    // Starts Game B and runs ticks until its first egg waits at a chute's
    // mouth, the wolf turned away from it. Returns that chute.
    int EggAtTheMouth() {
        Launch();
        StartGame(Variant::B);
        Tick();
        const int chute = engine.CurChute();
        if (engine.WolfPos() == chute) PressKey(static_cast<std::uint8_t>((chute + 1) & 3));
        Tick(10);
        return chute;
    }

    using EngineTest::engine;
    using EngineTest::Launch;
    using EngineTest::Lit;
    using EngineTest::PressKey;
    using EngineTest::Shown;
    using EngineTest::Tick;
    using EngineTest::tables;

private:
    PictureSet pictures_;
};

// Where the differing pixels lie: the sprites whose boxes hold them, topmost
// first, with a count each.
std::string WhereTheyDiffer(const SpriteModel& model, const QImage& actual, const QImage& golden, int* differing) {
    std::map<std::string, int> by_sprite;
    *differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) == golden.pixel(x, y)) continue;
            ++*differing;
            std::string where = "outside every sprite";
            for (int i = kSpriteCount - 1; i >= 0; --i) {
                const Bounds& b = model.BoundsOf(SpriteAt(i));
                if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) {
                    where = std::string(NameOf(SpriteAt(i)));
                    break;
                }
            }
            ++by_sprite[where];
        }
    std::ostringstream text;
    for (const auto& [name, count] : by_sprite) text << "\n  " << name << ": " << count << " pixel(s)";
    return text.str();
}

// Writes this build's picture beside the stored one (or into the temporary
// folder when the source tree is read-only) and says where.
std::string KeepActual(const QImage& actual, const QString& name) {
    QString path = QDir(kGoldenDir).filePath(name + QStringLiteral(".actual.png"));
    if (!actual.save(path)) {
        path = QDir::temp().filePath(QStringLiteral("pellox-") + name + QStringLiteral(".actual.png"));
        if (!actual.save(path)) return "could not be written";
    }
    return "is in " + path.toStdString();
}

TEST_P(GoldenFrames, MatchesItsPictureExactly) {
    const State& state = GetParam();
    state.reach(*this);
    if (HasFatalFailure()) return;

    const QString name = QString::fromLatin1(state.name);
    const QImage actual = Frame();
    const QImage golden =
        QImage(QDir(kGoldenDir).filePath(name + QStringLiteral(".png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "no stored picture " << state.name << ".png; this build's "
                                  << KeepActual(actual, name);
    ASSERT_EQ(actual.size(), golden.size());
    int differing = 0;
    const std::string where = WhereTheyDiffer(sprites, actual, golden, &differing);
    EXPECT_EQ(differing, 0) << "pixels differ:" << where << "\nthis build's picture " << KeepActual(actual, name);
}

const State kStates[] = {
    {"first_frame", [](GoldenFrames&) {}},
    {"clock",
     [](GoldenFrames& f) {
         f.Launch();
         f.Tick();
         ASSERT_EQ(f.engine.CurrentState(), GameMode::Demo);
     }},
    {"game_a_armed",
     [](GoldenFrames& f) {
         f.Launch();
         f.engine.PressGameButton(Variant::A);
         ASSERT_EQ(f.Shown(), "  42");
     }},
    {"catch",
     [](GoldenFrames& f) {
         const int chute = f.EggAtTheMouth();
         f.PressKey(static_cast<std::uint8_t>(chute));
         ASSERT_EQ(f.engine.Score(), 1);
     }},
    {"miss_mark",
     [](GoldenFrames& f) {
         f.EggAtTheMouth();
         f.Tick();  // the egg falls
         for (int ticks = 0; f.engine.CurrentState() == GameMode::MissAnim && ticks < 100; ++ticks) f.Tick();
         ASSERT_EQ(f.engine.CurrentState(), GameMode::Playing);
         f.engine.TimerTimer();  // the side tick shows the mark
         ASSERT_TRUE(f.Lit(f.tables.MissMarkSprites[0]));
     }},
};

INSTANTIATE_TEST_SUITE_P(BuiltinGame, GoldenFrames, ::testing::ValuesIn(kStates),
                         [](const ::testing::TestParamInfo<State>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellox::testing
