#include "admin/A2_add_edt.h"
#include "admin/accounts.h"
#include "admin/keys.h"
#include "data/db.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    tw_place(l, left, top, width, 300);
    return l;
}

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

A2_add_edt::A2_add_edt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("A2_add_edt"));
    setWindowTitle(QStringLiteral("사용자계정및권한설정"));
    setModal(true);

    label(this, "Label1", QStringLiteral("접속계정"), 240, 270, 1100);
    t_nam = new QLineEdit(this);
    t_nam->setObjectName(QStringLiteral("t_nam"));
    t_nam->setMaxLength(20);
    tw_place(t_nam, 1400, 240, 3000, 330);

    label(this, "Label2", QStringLiteral("비밀번호"), 240, 690, 1100);
    t_pas = new QLineEdit(this);
    t_pas->setObjectName(QStringLiteral("t_pas"));
    t_pas->setMaxLength(20);
    tw_place(t_pas, 1400, 660, 3000, 330);

    label(this, "Label3", QStringLiteral("사용권한"), 240, 1110, 1100);
    const char* names[5] = {"ch1", "ch2", "ch3", "ch4", "ch5"};
    const char* texts[5] = {"엑셀", "인쇄", "등록", "수정", "삭제"};
    QCheckBox** boxes[5] = {&ch1, &ch2, &ch3, &ch4, &ch5};
    for (int i = 0; i < 5; ++i) {
        auto* c = new QCheckBox(QString::fromUtf8(texts[i]), this);
        c->setObjectName(QLatin1String(names[i]));
        tw_place(c, 1400 + i * 900, 1080, 860, 330);
        *boxes[i] = c;
    }

    label(this, "Label4", QStringLiteral("비    고"), 240, 1530, 1100);
    t_big = new QLineEdit(this);
    t_big->setObjectName(QStringLiteral("t_big"));
    tw_place(t_big, 1400, 1500, 4400, 330);

    t_chk = new QLineEdit(this);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    t_chk->hide();

    cmd_chk = button(this, "cmd_chk", QStringLiteral("저장"), 3285, 2040);
    cmd_can = button(this, "cmd_can", QStringLiteral("닫기"), 4560, 2040);
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
    // An edit writes to the account as listed, whatever cleaning would make of its name.
    if (add || key_.isEmpty()) t_nam->setText(clean_input(t_nam->text().toUpper()));
    const QString nam = add || key_.isEmpty() ? t_nam->text() : key_;
    t_pas->setText(clean_input(t_pas->text()));
    t_big->setText(clean_input(t_big->text()));

    if (nam.isEmpty()) {
        msg_info(this, QStringLiteral("접속계정이 비어 있습니다!"));
        if (t_nam->isEnabled()) t_nam->setFocus();
        return;
    }
    if (t_pas->text().isEmpty()) {
        msg_info(this, QStringLiteral("비밀번호가 비어 있습니다!"));
        t_pas->setFocus();
        return;
    }
    if (add && is_admin_name(nam)) {
        msg_info(this, QStringLiteral("ADMIN계정은 등록할 수 없습니다!"));
        t_nam->setFocus();
        return;
    }
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    if (add) {
        bool failed = false;
        const bool exists = account_exists(nam, &failed);
        if (failed) {
            msg_info(this, QStringLiteral("등록실패!"));
            return;
        }
        if (exists) {
            msg_info(this, QStringLiteral("동일한 접속계정이 존재합니다!"));
            if (t_nam->isEnabled()) t_nam->setFocus();
            return;
        }
    }
    Account a;
    a.nam = nam;
    a.pas = t_pas->text();
    for (int i = 0; i < 5; ++i) a.rights[i] = ch(i)->isChecked();
    a.big = t_big->text();

    if (!msg_ask(this, add ? QStringLiteral("작성된 내용을 등록하시겠습니까?")
                           : QStringLiteral("작성된 내용을 수정하시겠습니까?")))
        return;
    if (add) {
        if (!insert_account(a)) {
            msg_info(this, QStringLiteral("등록실패!"));
            return;
        }
        msg_info(this, QStringLiteral("등록완료!"));
        saved = 1;
        reset();
        t_nam->setFocus();
        return;
    }
    if (!update_account(nam, a)) {
        msg_info(this, QStringLiteral("수정실패!"));
        return;
    }
    msg_info(this, QStringLiteral("수정완료!"));
    saved = 1;
    accept();
}

void A2_add_edt::cmd_can_click() { reject(); }

void A2_add_edt::done(int r)
{
    QDialog::done(r);
    if (saved > 0) screens::reload(QStringLiteral("A2"));
}
