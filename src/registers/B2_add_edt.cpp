#include "registers/B2_add_edt.h"
#include "registers/categories.h"
#include "data/db.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QPushButton* dialog_button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}
}

B2_add_edt::B2_add_edt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("B2_add_edt"));
    setWindowTitle(QStringLiteral("품목분류정보관리"));
    setModal(true);
    setFixedSize(twips_to_px(5400), twips_to_px(1900));

    auto* la_nam = new QLabel(QStringLiteral("분 류 명"), this);
    tw_place(la_nam, 240, 240, 1100, 330);
    t_nam = new QLineEdit(this);
    t_nam->setObjectName(QStringLiteral("t_nam"));
    tw_place(t_nam, 1400, 240, 3700, 330);
    auto* la_big = new QLabel(QStringLiteral("비    고"), this);
    tw_place(la_big, 240, 690, 1100, 330);
    t_big = new QLineEdit(this);
    t_big->setObjectName(QStringLiteral("t_big"));
    tw_place(t_big, 1400, 690, 3700, 330);
    t_chk = new QLineEdit(this);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    t_chk->hide();
    cmd_chk = dialog_button(this, "cmd_chk", QStringLiteral("저장"));
    tw_place(cmd_chk, 2560, 1200, 1215, 420);
    cmd_can = dialog_button(this, "cmd_can", QStringLiteral("닫기"));
    tw_place(cmd_can, 3885, 1200, 1215, 420);
    setTabOrder(t_nam, t_big);
    setTabOrder(t_big, cmd_chk);
    setTabOrder(cmd_chk, cmd_can);

    connect(t_nam, &QLineEdit::returnPressed, t_big, [this] { t_big->setFocus(); });
    connect(t_big, &QLineEdit::returnPressed, cmd_chk, [this] { cmd_chk->setFocus(); });
    cmd_chk->installEventFilter(this);
    connect(cmd_chk, &QPushButton::clicked, this, &B2_add_edt::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &QDialog::reject);
}

void B2_add_edt::form_load()
{
    t_nam->clear();
    t_big->clear();
    t_chk->clear();
    t_nam->setEnabled(true);
}

void B2_add_edt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (t_chk->text() == QStringLiteral("edt")) {
        t_nam->setEnabled(false);
        t_big->setFocus();
    } else {
        t_nam->setFocus();
    }
}

bool B2_add_edt::eventFilter(QObject* o, QEvent* e)
{
    // Enter on the focused save button presses it.
    if (o == cmd_chk && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            cmd_chk->click();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void B2_add_edt::cmd_chk_click()
{
    const bool add = t_chk->text() == QStringLiteral("add");
    // The name of an edited category is its key as it came from the list.
    if (add) t_nam->setText(clean_input(t_nam->text().toUpper()));
    t_big->setText(clean_input(t_big->text()));
    const QString nam = t_nam->text();
    if (nam.isEmpty()) {
        msg_info(this, QStringLiteral("분류명이 비어 있습니다!"));
        if (t_nam->isEnabled()) t_nam->setFocus();
        return;
    }
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    if (add) {
        const Lookup dup = category_exists(nam);
        if (dup == Lookup::Failed) {
            msg_info(this, QStringLiteral("등록실패!"));
            return;
        }
        if (dup == Lookup::Found) {
            msg_info(this, QStringLiteral("동일한 분류명이 존재합니다!"));
            return;
        }
    }
    if (!msg_ask(this, add ? QStringLiteral("작성한 내용을 등록하시겠습니까?")
                           : QStringLiteral("작성한 내용을 수정하시겠습니까?")))
        return;
    if (add) {
        if (!category_insert(nam, t_big->text())) {
            msg_info(this, QStringLiteral("등록실패!"));
            return;
        }
        msg_info(this, QStringLiteral("등록완료!"));
        saved = 1;
        t_nam->clear();
        t_big->clear();
        t_nam->setFocus();
        return;
    }
    if (!category_update_remark(nam, t_big->text())) {
        msg_info(this, QStringLiteral("수정실패!"));
        return;
    }
    msg_info(this, QStringLiteral("수정완료!"));
    saved = 1;
    accept();
}

void B2_add_edt::done(int r)
{
    QDialog::done(r);
    if (saved > 0) screens::reload(QStringLiteral("B2"));
}
