#include "shell/EditDialog.h"
#include "shell/screens.h"
#include "ui/msgbox.h"

EditDialog::EditDialog(const QString& name, const QString& caption, const QString& owner, QWidget* parent)
    : QDialog(parent), owner_(owner)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

bool EditDialog::report_write(bool written, const QString& failed_text, const QString& done_text)
{
    if (!written) {
        msg_info(this, failed_text);
        return false;
    }
    msg_info(this, done_text);
    saved = 1;
    return true;
}

void EditDialog::done(int r)
{
    QDialog::done(r);
    on_close();
    if (saved > 0) screens::reload(owner_);
}
