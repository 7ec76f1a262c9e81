#pragma once
// What the preview draws over the game window for the skin's author: the bar
// that lists what the last save broke, and the views the keys of the help
// line (F1) turn on: every sprite's box with its entry (F2), every sprite lit
// (F3), one sprite after the other with its box and picture size (F5,
// Shift+F5), and the eight sounds played one after the other with their
// lengths (F6). It lies over the window as a child that takes no mouse and
// no focus; it takes only those keys, so the game beneath plays on.

#include <optional>

#include <QStringList>
#include <QWidget>

#include "engine/effects.h"
#include "engine/language.h"
#include "lcd/tm_form.h"
#include "media/game_sounds.h"
#include "skinpreview/overlay_painting.h"

namespace pellox {

class PreviewOverlay : public QWidget {
    Q_OBJECT
public:
    // The bar shows at most this many failures, then how many more.
    static constexpr qsizetype kShownFailures = 6;
    // Opaque: text over a half-seen case is hard to read.
    static constexpr QRgb kBarColour = 0xff961414u;
    static constexpr QRgb kPanelColour = 0xff202020u;

    PreviewOverlay(TMForm& form, GameSoundPlayer& sound, InterfaceLanguage language);

    // Plain text, one failure a line; none hides the bar.
    void ShowFailures(const QStringList& lines);
    const QStringList& Failures() const { return failures_; }

    // Where the bar and the panel of the help line lie (window pixels); empty when hidden.
    QRect BarRect() const;
    QRect PanelRect() const;

    // The views, as their keys switch them.
    void ToggleHelp();
    void ToggleBoxes();
    void ToggleAllLit();
    void StepSprite(int by);  // +1 next, -1 previous
    void PlayNextSound();
    void ClearViews();

    bool HelpShown() const { return help_; }
    bool BoxesShown() const { return boxes_; }
    bool AllLit() const { return all_lit_; }
    std::optional<SpriteId> Picked() const { return picked_; }
    std::optional<Effect> LastSound() const { return sound_; }
    // The lines of the panel at the bottom, as shown.
    QStringList PanelTexts() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList BarLines() const;
    std::vector<PanelLine> PanelLines() const;
    QRect CaseArea() const;
    bool TakeKey(const QKeyEvent& key);
    void Changed() { update(); }

    TMForm& form_;
    GameSoundPlayer& sound_player_;
    InterfaceLanguage language_;
    QStringList failures_;
    bool help_ = true;
    bool boxes_ = false;
    bool all_lit_ = false;
    std::optional<SpriteId> picked_;
    std::optional<Effect> sound_;
};

}  // namespace pellox
