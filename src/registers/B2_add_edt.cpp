#include "registers/B2_add_edt.h"
#include "data/text.h"
#include "registers/categories.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

B2_add_edt::B2_add_edt(QWidget* parent)
    : EditDialog(QStringLiteral("B2_add_edt"), QStringLiteral("품목분류정보관리"), QStringLiteral("B2"), parent)
{
    setFixedSize(twips_to_px(5400), twips_to_px(1900));

    auto* la_nam = new QLabel(QStringLiteral("분 류 명"), this);
    tw_place(la_nam, 240, 240, 1100, 330);
    t_nam = named<QLineEdit>("t_nam", this);
    tw_place(t_nam, 1400, 240, 3700, 330);
    auto* la_big = new QLabel(QStringLiteral("비    고"), this);
    tw_place(la_big, 240, 690, 1100, 330);
    t_big = named<QLineEdit>("t_big", this);
    tw_place(t_big, 1400, 690, 3700, 330);
    t_chk = named<QLineEdit>("t_chk", this);
    t_chk->hide();
    cmd_chk = plain_button(this, "cmd_chk", QStringLiteral("저장"), 2560, 1200, 1215, 420);
    cmd_can = plain_button(this, "cmd_can", QStringLiteral("닫기"), 3885, 1200, 1215, 420);
    setTabOrder(t_nam, t_big);
    setTabOrder(t_big, cmd_chk);
    setTabOrder(cmd_chk, cmd_can);

    return_moves_focus({t_nam, t_big, cmd_chk});
    press_on_enter(cmd_chk);
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

void B2_add_edt::cmd_chk_click()
{
    const bool add = t_chk->text() == QStringLiteral("add");
    if (!confirm_and_clean(this, {t_big})) return;
    // The name of an edited category is its key as it came from the list.
    if (add) t_nam->setText(clean_input(t_nam->text().toUpper()));
    const QString nam = box_value(t_nam);
    if (nam.isEmpty()) {
        msg_info(this, QStringLiteral("분류명이 비어 있습니다!"));
        if (t_nam->isEnabled()) t_nam->setFocus();
        return;
    }
    if (!check_db(this)) return;
    if (add) {
        if (!check_clear(this, category_exists(nam), QStringLiteral("등록실패!"),
                         QStringLiteral("동일한 분류명이 존재합니다!")))
            return;
    }
    if (!ask_save(this, add)) return;
    if (add) {
        if (!report_write(category_insert(nam, box_value(t_big)), QStringLiteral("등록실패!"),
                          QStringLiteral("등록완료!")))
            return;
        t_nam->clear();
        t_big->clear();
        t_nam->setFocus();
        return;
    }
    if (!report_write(category_update_remark(nam, box_value(t_big)), QStringLiteral("수정실패!"),
                      QStringLiteral("수정완료!")))
        return;
    accept();
}
