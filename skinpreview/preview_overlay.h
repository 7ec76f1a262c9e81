#pragma once
// What the preview draws over the game window for the skin's author: the bar
// that lists what the last save broke. It lies over the window as a child
// that takes no mouse and no keys, so the game beneath plays on untouched.

#include <QStringList>
#include <QWidget>

#include "engine/language.h"
#include "lcd/tm_form.h"

namespace pellox {

class PreviewOverlay : public QWidget {
    Q_OBJECT
public:
    // The bar shows at most this many failures, then how many more.
    static constexpr qsizetype kShownFailures = 6;
    // Opaque: text over a half-seen case is hard to read.
    static constexpr QRgb kBarColour = 0xff961414u;

    PreviewOverlay(TMForm& form, InterfaceLanguage language);

    // Plain text, one failure a line; none hides the bar.
    void ShowFailures(const QStringList& lines);
    const QStringList& Failures() const { return failures_; }

    // Where the bar lies (window pixels); empty when hidden.
    QRect BarRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList BarLines() const;

    TMForm& form_;
    InterfaceLanguage language_;
    QStringList failures_;
};

}  // namespace pellox
