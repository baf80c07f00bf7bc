#include "registers/B4_add_edt.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "registers/items.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLineEdit* box(QWidget* parent, const QString& name, int top)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    tw_place(e, 1500, top, 4155, 330);
    return e;
}

QLabel* label(QWidget* parent, const QString& text, int top)
{
    auto* l = new QLabel(text, parent);
    tw_place(l, 240, top, 1200, 330);
    return l;
}
}

B4_add_edt::B4_add_edt(QWidget* parent)
    : EditDialog(QStringLiteral("B4_add_edt"), QStringLiteral("전체품목정보관리"), QStringLiteral("B4"), parent)
{
    setFixedSize(twips_to_px(5895), twips_to_px(6975));

    const int step = 450;
    int top = 240;
    label(this, QStringLiteral("재고상태"), top);
    la_sta = named<QLabel>("la_sta", this);
    tw_place(la_sta, 1500, top, 4155, 330);
    top += step;
    label(this, QStringLiteral("품목분류"), top);
    t_gbn = named<QComboBox>("t_gbn", this);
    tw_place(t_gbn, 1500, top, 4155, 330);
    top += step;
    label(this, QStringLiteral("바 코 드"), top);
    t_cod = box(this, QStringLiteral("t_cod"), top);
    top += step;
    for (int i = 0; i < 6; ++i) {
        la[size_t(i)] = label(this, QString(), top);
        la[size_t(i)]->setObjectName(QStringLiteral("la%1").arg(i + 1));
        t_f_nam[size_t(i)] = box(this, QStringLiteral("t_f%1_nam").arg(i + 1), top);
        top += step;
    }
    label(this, QStringLiteral("대 여 료"), top);
    t_dan = box(this, QStringLiteral("t_dan"), top);
    t_dan->setAlignment(Qt::AlignRight);
    top += step;
    label(this, QStringLiteral("연 체 료"), top);
    t_yun = box(this, QStringLiteral("t_yun"), top);
    t_yun->setAlignment(Qt::AlignRight);
    top += step;
    label(this, QStringLiteral("비    고"), top);
    t_big = box(this, QStringLiteral("t_big"), top);
    top += step + 150;
    t_chk = named<QLineEdit>("t_chk", this);
    t_chk->hide();
    t_tmp_gbn = named<QLineEdit>("t_tmp_gbn", this);
    t_tmp_gbn->hide();
    cmd_chk = plain_button(this, "cmd_chk", QStringLiteral("저장"), 3060, top, 1215, 420);
    cmd_can = plain_button(this, "cmd_can", QStringLiteral("닫기"), 4440, top, 1215, 420);

    // Enter and Tab walk the boxes in this order; the category box comes last.
    QList<QWidget*> order{t_cod};
    for (QLineEdit* e : t_f_nam) order << e;
    order << t_dan << t_yun << t_big << cmd_chk;
    return_moves_focus(order);
    order << cmd_can << t_gbn;
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

    keep_fee_grouped(t_dan);
    keep_fee_grouped(t_yun);
    press_on_enter(cmd_chk);
    connect(cmd_chk, &QPushButton::clicked, this, &B4_add_edt::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &QDialog::reject);
}

void B4_add_edt::form_load()
{
    for (int i = 0; i < 6; ++i) la[size_t(i)]->setText(f_nam(i + 1));
    t_cod->setMaxLength(p_cod_cnt > 0 ? p_cod_cnt : 32767);
    t_cod->setEnabled(true);
    edit_cod_.clear();
    t_cod->clear();
    for (QLineEdit* e : t_f_nam) e->clear();
    t_dan->clear();
    t_yun->clear();
    t_big->clear();
    t_chk->clear();
    t_tmp_gbn->clear();
    la_sta->clear();
    t_gbn->clear();
    if (open_db()) {
        bool ok = false;
        const QStringList names = category_names(&ok);
        if (names.isEmpty()) {
            if (ok) t_gbn->addItem(QStringLiteral("분류없음"));
        } else {
            t_gbn->addItems(names);
        }
    }
    t_gbn->setCurrentIndex(t_gbn->count() > 0 ? 0 : -1);
}

void B4_add_edt::set_edit_barcode(const QString& cod)
{
    edit_cod_ = cod;
    t_cod->setMaxLength(32767);
    fill_box(t_cod, cod);
}

void B4_add_edt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (t_chk->text() == QStringLiteral("edt")) {
        t_cod->setEnabled(false);
        // The item's own category is shown even when the register no longer has it.
        const QString g = t_tmp_gbn->text();
        int i = t_gbn->findText(g, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (i < 0) {
            t_gbn->addItem(g);
            i = t_gbn->count() - 1;
        }
        t_gbn->setCurrentIndex(i);
        t_f_nam[0]->setFocus();
    } else {
        t_cod->setFocus();
    }
}

void B4_add_edt::cmd_chk_click()
{
    const bool add = t_chk->text() == QStringLiteral("add");
    const QList<QLineEdit*> fields(t_f_nam.begin(), t_f_nam.end());
    // What the clerk changed is cleaned; a text left as it was shown is
    // written back whole, as it is stored.
    if (!confirm_and_clean(this, fields, {t_big})) return;
    // An edit keeps the barcode as it came from the list: it is the row's key.
    if (add) t_cod->setText(clean_input(t_cod->text().toUpper()));
    const QString cod = add ? t_cod->text() : edit_cod_;
    auto focus_cod = [this] { if (t_cod->isEnabled()) t_cod->setFocus(); };

    // No category to offer (none registered, or the list could not be read).
    if (t_gbn->currentText() == QStringLiteral("분류없음") || t_gbn->currentText().isEmpty()) {
        msg_info(this, QStringLiteral("하나이상의 품목분류를 등록하세요!"));
        return;
    }
    if (cod.isEmpty()) {
        msg_info(this, QStringLiteral("바코드가 비어 있습니다!"));
        focus_cod();
        return;
    }
    if (cod.size() < p_cod_cnt) {
        msg_info(this, QStringLiteral("바코드자리수가 올바르지 않습니다!"));
        focus_cod();
        return;
    }
    Item it;
    if (!fee_value(t_dan->text(), &it.dae) || it.dae < 0) {
        msg_info(this, QStringLiteral("대여료가 올바르지 않습니다!"));
        t_dan->setFocus();
        return;
    }
    if (!fee_value(t_yun->text(), &it.yun)) {
        msg_info(this, QStringLiteral("연체료 올바르지 않습니다!"));
        t_yun->setFocus();
        return;
    }
    if (it.yun < 0) {
        msg_info(this, QStringLiteral("연체료가 올바르지 않습니다!"));
        t_yun->setFocus();
        return;
    }
    if (!check_db(this)) return;
    if (add) {
        const Lookup dup = item_exists(cod);
        if (!check_clear(this, dup, QStringLiteral("등록실패!"), QStringLiteral("동일한 품목코드가 존재합니다!"))) {
            if (dup == Lookup::Found) focus_cod();
            return;
        }
    }
    if (!ask_save(this, add)) return;
    it.gbn = t_gbn->currentText();
    it.cod = cod;
    for (int i = 0; i < 6; ++i) it.f[size_t(i)] = box_value(t_f_nam[size_t(i)]);
    it.big = box_value(t_big);
    if (add) {
        if (!report_write(item_insert(it), QStringLiteral("등록실패!"), QStringLiteral("등록완료!"))) return;
        t_cod->clear();
        for (QLineEdit* e : t_f_nam) e->clear();
        t_dan->clear();
        t_yun->clear();
        t_big->clear();
        t_cod->setFocus();
        return;
    }
    if (!report_write(item_update(it), QStringLiteral("수정실패!"), QStringLiteral("수정완료!"))) return;
    accept();
}
