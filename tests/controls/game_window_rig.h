#pragma once
// A real game window with the built-in pictures, a records file in a temporary
// folder and a sound player that only records, launched as the built-in game.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "assets/sprites/builtin_sprites.h"
#include "records/settings_records_store.h"
#include "startscreen/launch.h"

namespace pellox::testing {

// Records what is played; with a failure set, the catch sound throws it, as an
// output that refuses a voice does.
struct RecordingSound : GameSoundPlayer {
    std::vector<int>* played;
    std::optional<std::string>* failure;
    RecordingSound(std::vector<int>* log, std::optional<std::string>* fail) : played(log), failure(fail) {}
    void PlayEffect(Effect effect, bool) override {
        if (effect == Effect::Basket && *failure) throw std::runtime_error(**failure);
        played->push_back(static_cast<int>(EffectIndex(effect)));
    }
    Result<void> LoadEffectFile(Effect effect, const std::string& path) override {
        loaded[effect] = path;
        return {};
    }
    void OpenOutput() override { output_open = true; }
    void CloseOutput() override { output_open = false; }
    std::map<Effect, std::string> loaded;
    bool output_open = false;
};

inline PictureSet BuiltinPictures() {
    PictureSet pictures;
    const Result<void> loaded = LoadBuiltinPictures(pictures);
    EXPECT_TRUE(loaded.ok()) << loaded.reason();
    return pictures;
}

// Counts a window's paints and what they covered.
struct PaintLog : QObject {
    int paints = 0;
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints, painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class GameWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<int> played;
    std::optional<std::string> sound_failure;
    QString records_file = dir.filePath(QStringLiteral("records.conf"));
    std::unique_ptr<GameWindow> window;

    void SetUp() override { Open(); }

    // A fresh window over the same records file, prepared as the launch does,
    // with the frame timer stopped so that the test drives the ticks.
    void Open() {
        window.reset();
        window = std::make_unique<GameWindow>(BuiltinPictures(), std::make_unique<RecordingSound>(&played, &sound_failure),
                                              std::make_unique<SettingsRecordsStore>(records_file));
        PrepareBuiltinGame(*window);
        window->FrameTimer().SetEnabled(false);
        form().show();
    }

    TMForm& form() { return window->Form(); }
    GameEngine& engine() { return window->Engine(); }
    bool Lit(SpriteId id) { return form().Sprites().IsVisible(id); }

    QPoint Centre(SpriteId id) {
        const Bounds& b = form().Sprites().BoundsOf(id);
        return {b.left + b.width / 2, b.top + b.height / 2};
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(form().mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&form(), &event);
    }
    void Press(SpriteId id, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, Centre(id), button, button);
    }
    void Release(SpriteId id, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, Centre(id), button, Qt::NoButton);
    }
    void Click(SpriteId id, Qt::MouseButton button = Qt::LeftButton) {
        Press(id, button);
        Release(id, button);
    }
    void Type(char c) { QTest::keyClick(&form(), c); }
    // A key press as X11 or Wayland delivers it: the text it typed on the
    // active layout and the physical key's scan code.
    void TypeOn(const QString& text, quint32 scan_code) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, scan_code, 0, 0, text);
        QCoreApplication::sendEvent(&form(), &event);
    }
    int Top(SpriteId id) { return form().Sprites().BoundsOf(id).top; }
};

}  // namespace pellox::testing
