#include "admin/A3_add_edt.h"
#include "admin/closing.h"
#include "data/clock.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

A3_add_edt::A3_add_edt(QWidget* parent)
    : EditDialog(QStringLiteral("A3_add_edt"), QStringLiteral("업무내역마감처리설정"), QStringLiteral("A3"), parent)
{

    auto* l1 = named<QLabel>("Label1", QStringLiteral("처리일자"), this);
    tw_place(l1, 240, 270, 1100, 300);
    t_dat = named<QLineEdit>("t_dat", this);
    t_dat->setInputMask(QStringLiteral("9999-99-99;_"));
    tw_place(t_dat, 1400, 240, 1500, 330);

    auto* l2 = named<QLabel>("Label2", QStringLiteral("비    고"), this);
    tw_place(l2, 240, 690, 1100, 300);
    t_big = named<QLineEdit>("t_big", this);
    tw_place(t_big, 1400, 660, 4400, 330);

    t_chk = named<QLineEdit>("t_chk", this);
    t_chk->hide();

    cmd_chk = plain_button(this, "cmd_chk", QStringLiteral("실행"), 3285, 1200);
    cmd_can = plain_button(this, "cmd_can", QStringLiteral("닫기"), 4560, 1200);
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
    if (!check_db(this)) return;
    if (!check_clear(this, closing_exists(date), QStringLiteral("처리실패!"),
                     QStringLiteral("동일한 날짜로 처리된 내역이 존재합니다!")))
        return;
    if (!msg_ask(this, QStringLiteral("[%1]까지 등록된 모든 자료들을 마감처리하시겠습니까?").arg(date)))
        return;
    if (!report_write(run_closing(date, t_big->text()), QStringLiteral("처리실패!"), QStringLiteral("처리완료!"))) return;
    accept();
}

void A3_add_edt::cmd_can_click() { reject(); }
