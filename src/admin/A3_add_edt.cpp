#include "admin/A3_add_edt.h"
#include "admin/closing.h"
#include "admin/keys.h"
#include "data/clock.h"
#include "data/db.h"
#include "shell/screens.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    tw_place(b, left, top, 1215, 420);
    return b;
}
}

A3_add_edt::A3_add_edt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("A3_add_edt"));
    setWindowTitle(QStringLiteral("업무내역마감처리설정"));
    setModal(true);

    auto* l1 = new QLabel(QStringLiteral("처리일자"), this);
    l1->setObjectName(QStringLiteral("Label1"));
    tw_place(l1, 240, 270, 1100, 300);
    t_dat = new QLineEdit(this);
    t_dat->setObjectName(QStringLiteral("t_dat"));
    t_dat->setInputMask(QStringLiteral("9999-99-99;_"));
    tw_place(t_dat, 1400, 240, 1500, 330);

    auto* l2 = new QLabel(QStringLiteral("비    고"), this);
    l2->setObjectName(QStringLiteral("Label2"));
    tw_place(l2, 240, 690, 1100, 300);
    t_big = new QLineEdit(this);
    t_big->setObjectName(QStringLiteral("t_big"));
    tw_place(t_big, 1400, 660, 4400, 330);

    t_chk = new QLineEdit(this);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    t_chk->hide();

    cmd_chk = button(this, "cmd_chk", QStringLiteral("실행"), 3285, 1200);
    cmd_can = button(this, "cmd_can", QStringLiteral("닫기"), 4560, 1200);
    connect(cmd_chk, &QPushButton::clicked, this, &A3_add_edt::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &A3_add_edt::cmd_can_click);

    auto* chain = new EnterChain(this);
    chain->link_all({t_dat, t_big, cmd_chk});

    setFixedSize(twips_to_px(6000), twips_to_px(1860));
    Form_Load();
}

void A3_add_edt::Form_Load()
{
    t_dat->setText(today_text());
    t_big->clear();
}

void A3_add_edt::cmd_chk_click()
{
    // The mask leaves blanks where digits are missing: such a text is no date.
    const QString date = t_dat->displayText();
    if (!parse_date(date).isValid()) {
        msg_info(this, QStringLiteral("처리일자가 올바르지 않습니다!"));
        t_dat->setFocus();
        return;
    }
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    bool failed = false;
    const bool exists = closing_exists(date, &failed);
    if (failed) {
        msg_info(this, QStringLiteral("처리실패!"));
        return;
    }
    if (exists) {
        msg_info(this, QStringLiteral("동일한 날짜로 처리된 내역이 존재합니다!"));
        return;
    }
    if (!msg_ask(this, QStringLiteral("[") + date + QStringLiteral("]까지 등록된 모든 자료들을 마감처리하시겠습니까?")))
        return;
    if (!run_closing(date, t_big->text())) {
        msg_info(this, QStringLiteral("처리실패!"));
        return;
    }
    msg_info(this, QStringLiteral("처리완료!"));
    saved = 1;
    accept();
}

void A3_add_edt::cmd_can_click() { reject(); }

void A3_add_edt::done(int r)
{
    QDialog::done(r);
    if (saved > 0) screens::reload(QStringLiteral("A3"));
}
