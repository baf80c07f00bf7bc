#include "ui/msgbox.h"
#include "data/state.h"

#include <QApplication>
#include <QGridLayout>
#include <QSpacerItem>

int msg_min_width(const QString& title)
{
    // The title bar's font is the window manager's, mostly larger and bold:
    // half as wide again as ours, plus its icon and buttons.
    const QFontMetrics fm(QApplication::font());
    return fm.horizontalAdvance(title) * 3 / 2 + 150;
}

QMessageBox::StandardButton show_msg(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, msg_title, text, buttons, parent);
    box.setObjectName(QStringLiteral("msg_box"));
    box.setWindowModality(Qt::ApplicationModal);
    // A short message still shows the whole title.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(msg_min_width(msg_title), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return QMessageBox::StandardButton(box.exec());
}

void msg_info(QWidget* parent, const QString& text) { show_msg(parent, text); }

bool msg_ask(QWidget* parent, const QString& text)
{
    return show_msg(parent, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
