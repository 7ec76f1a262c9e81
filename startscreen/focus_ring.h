#pragma once
// The keyboard focus on the start screen. Every control stands on the form's
// green, where the style's own focus marks (a faint outline, or none at all
// on a text box) are lost: a black frame round the focused control shows it.

#include <QFocusFrame>
#include <QWidget>

namespace pellox {

// Makes the black frame, which stands round whichever control marked by
// FrameFocusOf has the keyboard focus and hides while none has it. Owned by
// window, like every component; gives it for tests.
QFocusFrame* FollowFocusWithRing(QWidget& window);

// The ring stands round this control while it has the focus; a control made
// later (the memo of a language shown later) is marked when it is made.
void FrameFocusOf(QWidget& control);

}  // namespace pellox
