#include "registers/B1.h"
#include "data/clock.h"
#include "data/state.h"
#include "registers/B1_add_edt.h"
#include "registers/members.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString k_tick = QStringLiteral("√");
}

B1::B1(QWidget* parent) : ListWindow(QStringLiteral("B1"), QStringLiteral("전체회원정보관리"), Frame{}, parent)
{
    t_gbn = add_sub_combo("t_gbn", 120, 1300);
    t_gbn->addItems(b1_kind_entries());
    t_chk = add_sub_combo("t_chk", 1480, 1300);
    t_chk->addItems(b1_field_entries());
    set_search_left(2840);

    tw_set_width(la_inf, 3500);
    PB = add_progress_bar(3700, 120, 1800, 200);
    op_0 = named<QRadioButton>("op_0", QStringLiteral("사용중"), fm_sum);
    tw_place(op_0, 5000, 60, 1000, 300);
    op_1 = named<QRadioButton>("op_1", QStringLiteral("미사용"), fm_sum);
    tw_place(op_1, 6000, 60, 1000, 300);
    option_group({op_0, op_1});
    op_0->setChecked(true);
    Check1 = named<QCheckBox>("Check1", QStringLiteral("체크자료반전처리"), fm_sum);
    tw_place(Check1, 7000, 60, 2000, 300);
    Text1 = named<QLineEdit>("Text1", fm_sum);
    Text1->hide();

    connect(cmd_add, &QPushButton::clicked, this, &B1::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &B1::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &B1::cmd_del_click);
    connect(Check1, &QCheckBox::toggled, this, &B1::Check1_click);
    connect(t_gbn, &QComboBox::currentIndexChanged, this, [this] { ms_list(); });
    // One reload per change of the option: only the button that became selected.
    for (QRadioButton* op : {op_0, op_1})
        connect(op, &QRadioButton::toggled, this, [this](bool on) { if (on) ms_list(); });
    connect(ms, &FlexGrid::DblClick, this, &B1::ms_dbl_click);
    connect(ms, &FlexGrid::MouseDown, this, &B1::ms_mouse_down);

    ms_list();
}

void B1::set_col_width() { b1_col_widths(*ms, tw_rect(ms).width); }

void B1::place_summary()
{
    place_left_of_user({{Check1, 0}, {op_1, 60}, {op_0, 0}});
}

void B1::ms_list()
{
    if (!start_list()) return;
    list_sql = b1_list_query(t_gbn->currentText(), t_chk->currentText(), t_ser->text(), op_0->isChecked());
    Text1->setText(list_sql.sql);
    Text1->hide();
    const int n = b1_fill_grid(*ms, list_sql, PB);
    la_inf->setText(list_count_text(n));
    if (n == 0) return;
    set_col_width();
}

void B1::ms_dbl_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    ms->set_text(r, 1, ms->text(r, 1) == k_tick ? QString() : k_tick);
}

void B1::ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton) screens::popup(QStringLiteral("POP1"), global_pos);
}

void B1::Check1_click()
{
    if (!Check1->isChecked()) return;
    const auto untick = [this] { Check1->setChecked(false); };
    if (ms->rows() < 2) {
        untick();
        return;
    }
    QStringList codes;
    for (int r = 1; r < ms->rows(); ++r) {
        if (ms->text(r, 1) != k_tick) continue;
        const QString code = ms->text(r, 4);
        // A check that cannot be made lets nothing through.
        if (!check_clear(this, member_open_or_unpaid(code), QStringLiteral("데이터처리실패!"),
                         QStringLiteral("(%1) 반납처리 및 결제가 완료되지 않은 회원은 사용안함으로 변경할 수 없습니다!")
                             .arg(r))) {
            untick();
            return;
        }
        codes << code;
    }
    if (codes.isEmpty()) {
        msg_info(this, QStringLiteral("체크된 회원이 없습니다!"));
        untick();
        return;
    }
    const bool to_out = op_0->isChecked();
    const QString ask = to_out ? QStringLiteral("(%1)건의 데이터를 사용안함으로 변경하시겠습니까?")
                               : QStringLiteral("(%1)건의 데이터를 사용함으로 변경하시겠습니까?");
    if (!msg_ask(this, ask.arg(codes.size()))) {
        untick();
        return;
    }
    if (!check_db(this)) {
        untick();
        return;
    }
    if (!switch_members(codes, !to_out)) {
        msg_info(this, QStringLiteral("데이터처리실패!"));
        untick();
        return;
    }
    msg_info(this, QStringLiteral("데이터처리완료!"));
    untick();
    ms_list();
}

void B1::cmd_del_click()
{
    const int r = action_row(QStringLiteral("del"));
    if (r == 0) return;
    if (!check_db(this)) return;
    const QString code = ms->text(r, 4);
    const QString history = QStringLiteral("[%1]대여반납내역이 존재하는 회원이므로 삭제할 수 없습니다!").arg(code);
    // A check that cannot be made deletes nothing.
    if (!check_clear(this, member_has_history(code), QStringLiteral("삭제실패!"), history)) return;
    if (!ask_delete(this, code)) return;
    if (report_delete(this, delete_member(code), history)) ms_list();
}

void B1::cmd_add_click()
{
    if (!check_right(this, QStringLiteral("add"))) return;
    B1_add_edt* d = screens::kept<B1_add_edt>();
    d->t_c_dat->setText(today_text());
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void B1::cmd_edt_click()
{
    const int r = action_row(QStringLiteral("edt"));
    if (r == 0) return;
    B1_add_edt* d = screens::kept<B1_add_edt>();
    d->t_chk->setText(QStringLiteral("edt"));
    d->t_c_dat->setText(ms->text(r, 3));
    const QString kind = ms->text(r, 2);
    (kind == QLatin1String("A") ? d->op_0 : d->op_1)->setChecked(true);
    d->t_tmp_gbn->setText(kind);
    fill_box(d->t_cod, ms->text(r, 4));
    fill_box(d->t_nam, ms->text(r, 5));
    fill_box(d->t_tel, ms->text(r, 6));
    fill_box(d->t_phn, ms->text(r, 7));
    fill_box(d->t_adr, ms->text(r, 8));
    fill_box(d->t_big, ms->text(r, 13));
    d->exec();
}
