#include "counter/C2.h"
#include "counter/rentals.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "ui/FlexGrid.h"
#include "ui/messages.h"
#include "ui/msgbox.h"

#include <QLabel>
#include <QLineEdit>

C2::C2(QWidget* parent) : CounterForm(QStringLiteral("C2"), QStringLiteral("품목반납등록하기"), true, parent) {}

void C2::t_p_cod_keydown()
{
    t_p_cod->setText(counter_code(con(), CodeOf::Item, t_p_cod->text()));
    if (scanned_item_usable(QStringLiteral("N"), QStringLiteral("현재 재고상태인 바코드입니다!"))) pdt_chk();
}

void C2::pdt_chk()
{
    Connection& c = con();
    const QString code = t_p_cod->text();
    show_rental_times(c);
    const ReturnCandidate rc = find_open_rental(c, t_m_cod->text(), code);
    if (!rc.found) {
        msg_info(this, QStringLiteral("현재 회원의 대여내역 일치하지 않는 바코드입니다!"));
        t_p_cod->clear();
        la_p_tot->clear();
        return;
    }
    const qint64 fee = late_fee(rc.c_dat, today(), rc.yun);
    const int r = target_row(rc.p_cod);
    if (r <= 0) return;
    ms_p->set_text(r, 0, QString::number(rc.idx));
    ms_p->set_text(r, 1, rc.c_dat);
    ms_p->set_text(r, 2, QStringLiteral("Y"));
    ms_p->set_text(r, 3, amount_text(fee));
    ms_p->set_text(r, 4, rc.p_cod);
    ms_p->set_text(r, 5, rc.f1_nam);
    t_p_cod->clear();
    t_p_cod->setFocus();
    pdt_total();
}

void C2::cmd_add_click()
{
    const MemberRow m = find_member(con(), t_m_cod->text());
    if (!m.found) {
        msg_info(this, QStringLiteral("회원코드를 확인하지 못하였습니다!"));
        t_m_cod->setFocus();
        return;
    }
    std::vector<ReturnLine> lines;
    bool ok_all = true;
    for (int r = 1; r < ms_p->rows(); ++r) {
        if (ms_p->text(r, 2).isEmpty()) continue;
        bool ok = false, idx_ok = false;
        ReturnLine l;
        l.idx = ms_p->text(r, 0).toLongLong(&idx_ok);
        l.mark = ms_p->text(r, 2);
        l.fee = parse_amount(ms_p->text(r, 3), &ok);
        ok_all = ok_all && ok && idx_ok && l.fee >= 0;
        lines.push_back(l);
    }
    commit_lines(int(lines.size()),
                 {QStringLiteral("반납할 바코드가 존재하지 않습니다!"), QStringLiteral("(%1)건을 반납처리 하시겠습니까?"),
                  QStringLiteral("반납처리실패!"), QStringLiteral("반납처리완료!")},
                 ok_all,
                 [&] { return save_returns(*db_con, lines, today(), cur_user); });
}
