#include "shell/EditDialog.h"
#include "shell/screens.h"

EditDialog::EditDialog(const QString& owner, QWidget* parent) : QDialog(parent), owner_(owner) {}

void EditDialog::done(int r)
{
    QDialog::done(r);
    on_close();
    if (saved > 0) screens::reload(owner_);
}
