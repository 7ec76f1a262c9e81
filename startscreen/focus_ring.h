#pragma once
// The keyboard focus on the start screen. Every control stands on the form's
// green, where the style's own focus marks (a faint outline, or none at all
// on a text box) are lost: a black frame round the focused control shows it.

#include <QFocusFrame>
#include <QList>
#include <QWidget>

namespace pellox {

// Makes the black frame, which stands round whichever of controls has the
// keyboard focus and hides while none has it. Owned by the first control's
// window, like every component; gives it for tests.
QFocusFrame* FollowFocusWithRing(const QList<QWidget*>& controls);

}  // namespace pellox
