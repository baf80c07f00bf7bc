#include "registers/B1_add_edt.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/state.h"
#include "data/text.h"
#include "registers/members.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

namespace {
QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* b = named<QLineEdit>(name, parent);
    tw_place(b, left, top, width, 330);
    return b;
}

void caption(QWidget* parent, const char* text, int left, int top, int width = 900)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    tw_place(l, left, top, width, 330);
}
}

B1_add_edt::B1_add_edt(QWidget* parent)
    : EditDialog(QStringLiteral("B1_add_edt"), QStringLiteral("전체회원정보관리"), QStringLiteral("B1"), parent)
{
    resize(twips_to_px(10500), twips_to_px(4700));

    // Member part
    caption(this, "회원구분", 120, 120);
    op_0 = named<QRadioButton>("op_0", QStringLiteral("(A)정회원"), this);
    tw_place(op_0, 1100, 120, 1500, 330);
    op_1 = named<QRadioButton>("op_1", QStringLiteral("(B)비회원"), this);
    tw_place(op_1, 2700, 120, 1500, 330);
    option_group({op_0, op_1});
    caption(this, "가 입 일", 120, 540);
    t_c_dat = box(this, "t_c_dat", 1100, 540, 1500);
    t_c_dat->setInputMask(QStringLiteral("9999-99-99;_"));
    caption(this, "회원코드", 120, 960);
    t_cod = box(this, "t_cod", 1100, 960, 2000);
    caption(this, "회 원 명", 120, 1380);
    t_nam = box(this, "t_nam", 1100, 1380, 2000);
    caption(this, "전화번호", 120, 1800);
    t_tel = box(this, "t_tel", 1100, 1800, 2000);
    caption(this, "휴 대 폰", 120, 2220);
    t_phn = box(this, "t_phn", 1100, 2220, 2000);
    caption(this, "주    소", 120, 2640);
    t_adr = box(this, "t_adr", 1100, 2640, 3500);
    caption(this, "비    고", 120, 3060);
    t_big = box(this, "t_big", 1100, 3060, 3500);
    Check1 = named<QCheckBox>("Check1", QStringLiteral("정회원가입과동시에연회비결제처리"), this);
    tw_place(Check1, 120, 3500, 4500, 330);
    cmd_chk = plain_button(this, "cmd_chk", "저    장", 1100, 3990, 1500);
    cmd_can = plain_button(this, "cmd_can", "닫    기", 2700, 3990, 1500);

    t_chk = named<QLineEdit>("t_chk", this);
    t_tmp_gbn = named<QLineEdit>("t_tmp_gbn", this);
    t_idx = named<QLineEdit>("t_idx", this);
    for (QLineEdit* h : {t_chk, t_tmp_gbn, t_idx}) h->hide();

    // Period part
    fm1 = named<QFrame>("fm1", this);
    fm1->setFrameShape(QFrame::StyledPanel);
    tw_place(fm1, 4800, 120, 5550, 1380);
    caption(fm1, "적 용 일", 120, 120);
    t_s_dat = box(fm1, "t_s_dat", 1000, 120, 1300);
    t_s_dat->setInputMask(QStringLiteral("9999-99-99;_"));
    Label2 = named<QLabel>("Label2", QStringLiteral("~"), fm1);
    Label2->setAlignment(Qt::AlignCenter);
    tw_place(Label2, 2330, 120, 240, 330);
    t_e_dat = box(fm1, "t_e_dat", 2600, 120, 1300);
    t_e_dat->setReadOnly(true);
    t_e_dat->setFocusPolicy(Qt::NoFocus);
    caption(fm1, "바로결제", 120, 540);
    Option1 = named<QRadioButton>("Option1", QStringLiteral("예"), fm1);
    tw_place(Option1, 1000, 540, 900, 330);
    Option2 = named<QRadioButton>("Option2", QStringLiteral("아니요"), fm1);
    tw_place(Option2, 1950, 540, 1200, 330);
    option_group({Option1, Option2});
    caption(fm1, "비    고", 120, 960);
    t_chm = box(fm1, "t_chm", 1000, 960, 4400);

    fm2 = named<QFrame>("fm2", this);
    fm2->setFrameShape(QFrame::StyledPanel);
    tw_place(fm2, 4800, 1560, 5550, 600);
    Command1 = plain_button(fm2, "Command1", "등록", 120, 90);
    Command2 = plain_button(fm2, "Command2", "수정", 1455, 90);
    Command3 = plain_button(fm2, "Command3", "삭제", 2790, 90);
    Command4 = plain_button(fm2, "Command4", "정리", 4125, 90);

    fm3 = named<QFrame>("fm3", this);
    fm3->setFrameShape(QFrame::StyledPanel);
    tw_place(fm3, 4800, 2220, 5550, 2280);
    ms = named<FlexGrid>("ms", fm3);
    tw_place(ms, 120, 120, 5310, 2040);

    for (QPushButton* b : findChildren<QPushButton*>()) press_on_enter(b);

    // Enter moves through the boxes.
    return_moves_focus({t_c_dat, t_cod, t_nam, t_tel, t_phn, t_adr, t_big, cmd_chk});
    return_moves_focus({t_s_dat, t_chm});
    connect(t_chm, &QLineEdit::returnPressed, this,
            [this] { (Command1->isEnabled() ? Command1 : Command2)->setFocus(); });

    connect(t_s_dat, &QLineEdit::textChanged, this, [this](const QString& s) {
        const QDate d = parse_date(s);
        if (d.isValid()) t_e_dat->setText(date_text(period_end(d)));
    });
    // A new code admits the set length; an existing one is shown whole,
    // whatever its length.
    connect(t_chk, &QLineEdit::textChanged, this, [this](const QString& m) {
        t_cod->setMaxLength(m == QLatin1String("edt") || m_cod_cnt <= 0 ? 32767 : m_cod_cnt);
    });

    connect(cmd_chk, &QPushButton::clicked, this, &B1_add_edt::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &B1_add_edt::Command1_click);
    connect(Command2, &QPushButton::clicked, this, &B1_add_edt::Command2_click);
    connect(Command3, &QPushButton::clicked, this, &B1_add_edt::Command3_click);
    connect(Command4, &QPushButton::clicked, this, &B1_add_edt::Command4_click);
    connect(ms, &FlexGrid::DblClick, this, &B1_add_edt::ms_dbl_click);

    // The period frames are disabled for a new member, not greyed.
    keep_look_when_disabled(fm1);
    keep_look_when_disabled(fm2);
    keep_look_when_disabled(fm3);

    reset_controls();
}

QString B1_add_edt::mode() const { return t_chk->text(); }

// The member's code: as typed for a new member, else the listed key whole.
QString B1_add_edt::member_code() const { return box_value(t_cod); }

// The state of a freshly loaded dialog; every closing returns to it.
void B1_add_edt::reset_controls()
{
    op_0->setChecked(true);
    Check1->setChecked(false);
    for (QLineEdit* b : {t_c_dat, t_cod, t_nam, t_tel, t_phn, t_adr, t_big, t_chk, t_tmp_gbn, t_idx, t_s_dat,
                         t_e_dat, t_chm})
        b->clear();
    t_cod->setMaxLength(m_cod_cnt > 0 ? m_cod_cnt : 32767);
    t_cod->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(fm1), static_cast<QWidget*>(fm2), static_cast<QWidget*>(fm3)})
        w->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(t_s_dat), static_cast<QWidget*>(t_e_dat), static_cast<QWidget*>(Label2)})
        w->setVisible(true);
    Option1->setChecked(true);
    Command1->setEnabled(true);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    clear_periods();
}

void B1_add_edt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (mode() == QLatin1String("edt")) {
        Command4_click();
        t_cod->setEnabled(false);
        t_nam->setFocus();
    } else {
        for (QWidget* w : {static_cast<QWidget*>(fm1), static_cast<QWidget*>(fm2), static_cast<QWidget*>(fm3)})
            w->setEnabled(false);
        for (QWidget* w :
             {static_cast<QWidget*>(t_s_dat), static_cast<QWidget*>(t_e_dat), static_cast<QWidget*>(Label2)})
            w->setVisible(false);
        clear_periods();
        t_cod->setFocus();
    }
}

void B1_add_edt::on_close()
{
    reset_controls();
}

void B1_add_edt::cmd_chk_click()
{
    const QString m = mode();
    const bool add = m == QLatin1String("add");
    if (!confirm_and_clean(this, {t_nam, t_tel, t_phn, t_adr, t_big})) return;
    // A new code is upper-cased and cleaned; an existing one is the key of
    // the row and is used exactly as it came.
    if (add) t_cod->setText(clean_input(t_cod->text().toUpper()));

    const QDate joined = parse_date(t_c_dat->text());
    if (!joined.isValid()) {
        msg_info(this, QStringLiteral("가입일이 올바르지 않습니다!"));
        t_c_dat->setFocus();
        return;
    }
    const QString code = member_code();
    if (code.isEmpty()) {
        msg_info(this, QStringLiteral("회원코드가 비어 있습니다!"));
        if (t_cod->isEnabled()) t_cod->setFocus();
        return;
    }
    if (!check_db(this)) return;
    if (add) {
        const Lookup taken = member_code_taken(code);
        if (!check_clear(this, taken, QStringLiteral("등록실패!"), QStringLiteral("동일한 회원코드가 존재합니다!"))) {
            if (taken == Lookup::Found) t_cod->setFocus();
            return;
        }
        if (!ask_save(this, true)) return;
    } else if (m == QLatin1String("edt")) {
        if (!ask_save(this, false)) return;
    } else {
        return;
    }

    MemberInput in;
    in.gbn = op_0->isChecked() ? QStringLiteral("A") : QStringLiteral("B");
    in.dat = date_text(joined);
    in.cod = code;
    in.nam = box_value(t_nam);
    in.tel = box_value(t_tel);
    in.phn = box_value(t_phn);
    in.adr = box_value(t_adr);
    in.big = box_value(t_big);

    if (add) {
        if (!report_write(insert_member(in, Check1->isChecked(), today(), haebi), QStringLiteral("등록실패!"),
                          QStringLiteral("등록완료!")))
            return;
        for (QLineEdit* b : {t_cod, t_nam, t_tel, t_phn, t_adr, t_big}) b->clear();
        t_cod->setFocus();
    } else {
        if (!report_write(update_member(in), QStringLiteral("수정실패!"), QStringLiteral("수정완료!"))) return;
        accept();
    }
}

void B1_add_edt::clear_periods()
{
    ms->clear_grid();
}

void B1_add_edt::load_periods()
{
    QList<Period> periods;
    ::load_periods(member_code(), &periods);
    if (periods.isEmpty()) {
        clear_periods();
        return;
    }
    clear_periods();
    ms->set_header({"", "시작일", "만료일", "연회비", "비    고"});
    ms->set_col_alignment({1, 2}, FlexGrid::AlignCenter);
    ms->set_col_alignment(3, FlexGrid::AlignRight);
    ms->set_redraw(false);
    for (const Period& p : periods) {
        const int r = ms->add_row();
        ms->set_text(r, 0, QString::number(p.idx));
        ms->set_text(r, 1, p.s_dat);
        ms->set_text(r, 2, p.e_dat);
        ms->set_text(r, 3, amount_text(p.mon));
        ms->set_text(r, 4, p.chm);
    }
    ms->set_row_height(1, 380);
    ms->set_redraw(true);
    ms->set_col_width(0, 0);
    ms->set_col_width(1, col_w[1]);
    ms->set_col_width(2, col_w[1]);
    ms->set_col_width(3, col_w[16]);
    ms->set_col_width(4, std::max(tw_rect(ms).width - 2 * col_w[1] - col_w[16] - 330, 0));
}

void B1_add_edt::Command1_click()
{
    if (mode() == QLatin1String("add")) {
        msg_info(this, QStringLiteral("등록모드에서는 연회비 결제처리 작업을 할 수 없습니다!"));
        return;
    }
    // Only a regular member has annual periods.
    if (t_tmp_gbn->text() != QLatin1String("A")) {
        msg_info(this, QStringLiteral("비회원은 연회비 결제처리 작업을 할 수 없습니다!"));
        return;
    }
    const QDate start = parse_date(t_s_dat->text());
    if (!start.isValid()) {
        msg_info(this, QStringLiteral("시작일이 올바르지 않습니다!"));
        return;
    }
    if (!check_db(this)) return;
    QList<Period> periods;
    if (!::load_periods(member_code(), &periods)) {
        msg_info(this, QStringLiteral("연회원정보등록실패!"));
        return;
    }
    const QString refusal = period_add_refusal(periods, start, period_end(start));
    if (!refusal.isEmpty()) {
        msg_info(this, refusal);
        return;
    }
    const bool written = insert_period(member_code(), start, Option1->isChecked() ? qint64(haebi) : 0, t_chm->text());
    if (!report_write(written, QStringLiteral("연회원정보등록실패!"), QStringLiteral("연회원정보등록완료!"))) return;
    Command4_click();
}

void B1_add_edt::Command2_click()
{
    if (mode() == QLatin1String("add")) {
        msg_info(this, QStringLiteral("등록모드에서는 연회비 결제처리 작업을 할 수 없습니다!"));
        return;
    }
    const QDate start = parse_date(t_s_dat->text());
    if (!start.isValid()) {
        msg_info(this, QStringLiteral("시작일이 올바르지 않습니다!"));
        return;
    }
    if (!confirm_and_clean(this, {t_chm})) return;
    bool ok = false;
    const qint64 idx = t_idx->text().toLongLong(&ok);
    if (!check_db(this)) return;
    const bool written = ok && update_period(idx, start, Option1->isChecked() ? qint64(haebi) : 0, box_value(t_chm));
    if (!report_write(written, QStringLiteral("연회원정보수정실패!"), QStringLiteral("연회원정보수정완료!"))) return;
    Command4_click();
}

void B1_add_edt::Command3_click()
{
    if (ms->rows() < 2) return;
    if (!check_db(this)) return;
    QList<Period> periods;
    bool ok = false;
    const qint64 idx = t_idx->text().toLongLong(&ok);
    if (!::load_periods(member_code(), &periods) || !ok) {
        msg_info(this, QStringLiteral("연회원정보삭제실패!"));
        return;
    }
    if (periods.isEmpty()) return;
    const QString refusal = period_delete_refusal(periods, idx, t_tmp_gbn->text());
    if (!refusal.isEmpty()) {
        msg_info(this, refusal);
        return;
    }
    if (!msg_ask(this, QStringLiteral("현재내역을 삭제하시겠습니까?"))) return;
    if (!report_write(delete_period(idx), QStringLiteral("연회원정보삭제실패!"), QStringLiteral("연회원정보삭제완료!"))) return;
    Command4_click();
}

void B1_add_edt::Command4_click()
{
    Command1->setEnabled(true);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    t_idx->clear();
    t_s_dat->setText(today_text());
    t_e_dat->setText(date_text(period_end(today())));
    t_chm->clear();
    Option1->setChecked(true);
    load_periods();
}

void B1_add_edt::ms_dbl_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    t_idx->setText(ms->text(r, 0));
    t_s_dat->setText(ms->text(r, 1));
    t_e_dat->setText(ms->text(r, 2));
    bool ok = false;
    const qint64 mon = parse_amount(ms->text(r, 3), &ok);
    (ok && mon == 0 ? Option2 : Option1)->setChecked(true);
    fill_box(t_chm, ms->text(r, 4));
    Command1->setEnabled(false);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    t_s_dat->setFocus();
}
