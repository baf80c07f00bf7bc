#include "admin/A2_add_edt.h"
#include "admin/accounts.h"
#include "data/db.h"
#include "data/text.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width)
{
    auto* l = named<QLabel>(name, text, parent);
    tw_place(l, left, top, width, 300);
    return l;
}
}

A2_add_edt::A2_add_edt(QWidget* parent)
    : EditDialog(QStringLiteral("A2_add_edt"), QStringLiteral("사용자계정및권한설정"), QStringLiteral("A2"), parent)
{

    label(this, "Label1", QStringLiteral("접속계정"), 240, 270, 1100);
    t_nam = named<QLineEdit>("t_nam", this);
    t_nam->setMaxLength(20);
    tw_place(t_nam, 1400, 240, 3000, 330);

    label(this, "Label2", QStringLiteral("비밀번호"), 240, 690, 1100);
    t_pas = named<QLineEdit>("t_pas", this);
    t_pas->setMaxLength(20);
    tw_place(t_pas, 1400, 660, 3000, 330);

    label(this, "Label3", QStringLiteral("사용권한"), 240, 1110, 1100);
    const char* names[5] = {"ch1", "ch2", "ch3", "ch4", "ch5"};
    const char* texts[5] = {"엑셀", "인쇄", "등록", "수정", "삭제"};
    QCheckBox** boxes[5] = {&ch1, &ch2, &ch3, &ch4, &ch5};
    for (int i = 0; i < 5; ++i) {
        auto* c = named<QCheckBox>(names[i], QString::fromUtf8(texts[i]), this);
        tw_place(c, 1400 + i * 900, 1080, 860, 330);
        *boxes[i] = c;
    }

    label(this, "Label4", QStringLiteral("비    고"), 240, 1530, 1100);
    t_big = named<QLineEdit>("t_big", this);
    tw_place(t_big, 1400, 1500, 4400, 330);

    t_chk = named<QLineEdit>("t_chk", this);
    t_chk->hide();

    cmd_chk = plain_button(this, "cmd_chk", QStringLiteral("저장"), 3285, 2040);
    cmd_can = plain_button(this, "cmd_can", QStringLiteral("닫기"), 4560, 2040);
    connect(cmd_chk, &QPushButton::clicked, this, &A2_add_edt::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &A2_add_edt::cmd_can_click);

    auto* chain = new EnterChain(this);
    chain->link_all({t_nam, t_pas, t_big, cmd_chk});

    setFixedSize(twips_to_px(6000), twips_to_px(2700));
}

QCheckBox* A2_add_edt::ch(int i) const
{
    QCheckBox* const all[5] = {ch1, ch2, ch3, ch4, ch5};
    return all[i];
}

void A2_add_edt::reset()
{
    key_.clear();
    t_nam->clear();
    t_pas->clear();
    t_big->clear();
    for (int i = 0; i < 5; ++i) ch(i)->setChecked(false);
    t_nam->setEnabled(true);
}

void A2_add_edt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // An account keeps its name; a different name is a new account.
    const bool edit = t_chk->text() == QLatin1String("edt");
    t_nam->setEnabled(!edit);
    (edit ? t_pas : t_nam)->setFocus();
}

void A2_add_edt::cmd_chk_click()
{
    const bool add = t_chk->text() != QLatin1String("edt");
    if (!confirm_and_clean(this, {t_pas, t_big})) return;
    // An edit writes to the account as listed, whatever cleaning would make of its name.
    if (add || key_.isEmpty()) t_nam->setText(clean_input(t_nam->text().toUpper()));
    const QString nam = add || key_.isEmpty() ? t_nam->text() : key_;

    if (nam.isEmpty()) {
        msg_info(this, QStringLiteral("접속계정이 비어 있습니다!"));
        if (t_nam->isEnabled()) t_nam->setFocus();
        return;
    }
    if (box_value(t_pas).isEmpty()) {
        msg_info(this, QStringLiteral("비밀번호가 비어 있습니다!"));
        t_pas->setFocus();
        return;
    }
    if (add && is_admin_name(nam)) {
        msg_info(this, QStringLiteral("ADMIN계정은 등록할 수 없습니다!"));
        t_nam->setFocus();
        return;
    }
    if (!check_db(this)) return;
    if (add) {
        const Lookup exists = account_exists(nam);
        if (!check_clear(this, exists, QStringLiteral("등록실패!"), QStringLiteral("동일한 접속계정이 존재합니다!"))) {
            if (exists == Lookup::Found && t_nam->isEnabled()) t_nam->setFocus();
            return;
        }
    }
    Account a;
    a.nam = nam;
    a.pas = box_value(t_pas);
    for (int i = 0; i < 5; ++i) a.rights[i] = ch(i)->isChecked();
    a.big = box_value(t_big);

    if (!msg_ask(this, add ? QStringLiteral("작성된 내용을 등록하시겠습니까?")
                           : QStringLiteral("작성된 내용을 수정하시겠습니까?")))
        return;
    if (add) {
        if (!report_write(insert_account(a), QStringLiteral("등록실패!"), QStringLiteral("등록완료!"))) return;
        reset();
        t_nam->setFocus();
        return;
    }
    if (!report_write(update_account(nam, a), QStringLiteral("수정실패!"), QStringLiteral("수정완료!"))) return;
    accept();
}

void A2_add_edt::cmd_can_click() { reject(); }
