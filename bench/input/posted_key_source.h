#pragma once
// Key presses posted to the game window from another thread: the event enters
// Qt's queue at the moment it is posted, as the platform's reader thread would
// queue it, and waits there while the user-interface thread is busy.

#include <QCoreApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QWidget>

#include "bench/input/press_source.h"
#include "controls/control_keys.h"

namespace pellox::bench {

class PostedKeySource final : public PressSource {
public:
    // On the user-interface thread: the keyboard device is made there once.
    explicit PostedKeySource(QWidget& window) : window_(&window), keyboard_(QInputDevice::primaryKeyboard()) {}

    std::string Name() const override { return "posted key"; }

    void Press(int position) override {
        const char16_t letter = LetterOf(position);
        const int qt_key = Qt::Key_A + (letter - u'A');
        const QString text(QChar(letter).toLower());
        // postEvent is safe from any thread; the window outlives the driver.
        QCoreApplication::postEvent(window_, new QKeyEvent(QEvent::KeyPress, qt_key, Qt::NoModifier,
                                                           UsScanCodeOfLetter(letter), 0, 0, text, false, 1, keyboard_));
        QCoreApplication::postEvent(window_, new QKeyEvent(QEvent::KeyRelease, qt_key, Qt::NoModifier,
                                                           UsScanCodeOfLetter(letter), 0, 0, text, false, 1,
                                                           keyboard_));
    }

private:
    QWidget* window_;
    const QInputDevice* keyboard_;
};

}  // namespace pellox::bench
