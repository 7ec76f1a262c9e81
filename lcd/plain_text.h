#pragma once
// Texts that carry something from outside the game (a file's or a folder's
// name, a skin's title, a reason the system gave) are shown exactly as
// written. Left to itself, Qt takes a text that looks like markup for rich
// text: a file named "<img src=&#47;dev&#47;zero>.zip" in a message box made
// it read the file the name points to (a FIFO blocked the window for good,
// /dev/zero ate the memory). Every window that shows such a text goes
// through here.
//
//   ShowPlainMessage(this, QMessageBox::Warning, title, reason_with_a_file_name);
//   window.setWindowTitle(PlainWindowTitle(skin_title));

#include <QMessageBox>
#include <QString>

namespace pellox {

// A message box whose text is plain text, deleted when it closes. The caller
// shows it: open() to go on at once, exec() to wait for the player.
QMessageBox* NewPlainMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

// Shows the text in a modal box with an OK button and waits until the player
// closes it.
void ShowPlainMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

// A window title as written: Qt reads "[*]" in a title as the place of the
// window's modified mark and removes it.
QString PlainWindowTitle(const QString& title);

}  // namespace pellox
