#include "ui/msgbox.h"
#include "data/state.h"

QMessageBox::StandardButton show_msg(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, msg_title, text, buttons, parent);
    box.setObjectName(QStringLiteral("msg_box"));
    box.setWindowModality(Qt::ApplicationModal);
    return QMessageBox::StandardButton(box.exec());
}

void msg_info(QWidget* parent, const QString& text) { show_msg(parent, text); }

bool msg_ask(QWidget* parent, const QString& text)
{
    return show_msg(parent, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
