#include "lcd/plain_text.h"

namespace pellox {

QMessageBox* NewPlainMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    auto* box = new QMessageBox(icon, title, QString(), QMessageBox::Ok, parent);
    // The format first: the text is never looked at as markup, not even once.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void ShowPlainMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    NewPlainMessageBox(parent, icon, title, text)->exec();
}

QString PlainWindowTitle(const QString& title) {
    // Qt shows "[*][*]" as "[*]".
    QString shown = title;
    return shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

}  // namespace pellox
