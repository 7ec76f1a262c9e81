#pragma once
// The game window: a borderless, handheld-shaped window that shows the LCD.
// It keeps one composed frame, repaints only what a sprite change touches, and
// cuts every purple pixel out of the window (see-through and click-through).

#include <functional>
#include <optional>

#include <QImage>
#include <QWidget>

#include "base/result.h"
#include "lcd/compositor.h"
#include "lcd/device_frame.h"
#include "lcd/picture_set.h"
#include "lcd/sprite_input.h"
#include "lcd/core/sprite_model.h"
#include "lcd/window_mask.h"
#include "lcd/window_transparency.h"

namespace pellox {

inline constexpr QSize kBuiltinClientSize{804, 533};
inline constexpr QPoint kBuiltinWindowPos{194, 146};

class TMForm : public QWidget {
    Q_OBJECT
public:
    explicit TMForm(PictureSet pictures, SeeThroughBy see_through = SeeThroughOnThisPlatform(),
                    QWidget* parent = nullptr);
    ~TMForm() override;

    SpriteModel& Sprites() { return model_; }
    const SpriteModel& Sprites() const { return model_; }
    PictureSet& Pictures() { return pictures_; }

    // Replaces a sprite's picture from a bitmap file (skins, before the window
    // shows), or says why not and keeps the old one.
    Result<void> LoadPicture(SpriteId id, const QString& path);

    // The launch sizes the window to the background plus 8 by 34 pixels.
    void ResizeToBackground();

    void SetInputHandler(SpriteInputHandler* handler) { input_ = handler; }

    // The composed picture as the screen shows it (purple where see-through).
    const QImage& Frame() const { return frame_; }
    const QRegion& MaskRegion() const { return mask_.Region(); }
    SeeThroughBy SeeThrough() const { return see_through_; }

    // The box around the case's buttons (game A and B, time, sound, exit) as
    // they lie now: what must stay on screen where the whole window cannot.
    QRect ButtonsBox() const;

    // The sprite that takes a press at (x, y), none where the window is see-through.
    std::optional<SpriteId> SpriteAtPoint(QPoint p) const;

    // Makes the pictures and the painted frame for a device pixel ratio. The
    // window takes its screen's ratio when it is made, shown or moved to
    // another screen; sizes, the mask and hit tests stay in game pixels.
    void UseDeviceRatio(qreal ratio);
    // What is painted at a ratio above 1 (inactive at 1: Frame() is painted).
    const DeviceFrame& PaintedFrame() const { return device_frame_; }

    // Runs the handling of a key or a gamepad button and paints what it
    // changed before returning. The player waits for the turned wolf: painted
    // and handed to the window system now, not after a frame tick that may
    // come first and hold the queued repaint until its step sound has ended.
    void PaintAtOnce(const std::function<void()>& input);

signals:
    // The window has closed, by the exit button or by the window manager.
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnSpriteChanged(const Bounds& dirty);
    void RebuildFrame();
    QPoint InSprite(SpriteId id, QPoint windowPos) const;

    SpriteModel model_;
    PictureSet pictures_;
    Compositor compositor_{model_, pictures_};
    QImage frame_;
    DeviceFrame device_frame_{compositor_, pictures_};
    bool follows_screen_ = false;
    WindowMask mask_;
    SeeThroughBy see_through_;
    SpriteInputHandler* input_ = nullptr;
    std::optional<SpriteId> captured_;  // the sprite that got the first press
    bool in_player_input_ = false;
    QRegion input_dirty_;  // what the input being handled has changed
};

}  // namespace pellox
