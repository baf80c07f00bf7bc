#pragma once
#include <QMessageBox>
#include <QString>

class QWidget;

// Every message of the system: a real modal QMessageBox titled msg_title.
// Returns the button pressed.
QMessageBox::StandardButton show_msg(QWidget* parent, const QString& text,
                                     QMessageBox::Icon icon = QMessageBox::Information,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// The least width of a message box, so that its title shows whole.
int msg_min_width(const QString& title);
// A notice: information icon, one OK button.
void msg_info(QWidget* parent, const QString& text);
// A question: question icon, Yes and No; true only for Yes.
bool msg_ask(QWidget* parent, const QString& text);
