#pragma once
// A flag on the start screen that switches the language.

#include <QLabel>
#include <QRect>

namespace pellox {

// Clicked, or Space while it has the keyboard focus, it asks for its language.
// While it has the focus a white frame stands round its picture, on the green
// of the form, with a gap so that the flag's own edge stays whole.
class LanguageFlag : public QLabel {
    Q_OBJECT
public:
    // The room round the picture: a one-pixel gap, then the two-pixel frame.
    static constexpr int kFocusGap = 1;
    static constexpr int kFocusFrameWidth = 2;
    static constexpr int kFocusMargin = kFocusGap + kFocusFrameWidth;

    LanguageFlag(int tag, QWidget* parent);
    int Tag() const { return tag_; }
    // Places the flag so that its picture fills picture_box, with the room
    // for the focus frame round it.
    void PlacePicture(QRect picture_box);

signals:
    void Clicked(int tag);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int tag_;
};

}  // namespace pellox
