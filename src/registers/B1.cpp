#include "registers/B1.h"
#include "registers/B1_add_edt.h"
#include "registers/members.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/state.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString k_db_fail = QStringLiteral("(서버)데이터베이스연결실패!");
const QString k_no_right = QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!");
const QString k_tick = QStringLiteral("√");

// Enter in the search box searches; a double click empties it.
class SearchKeys : public QObject {
public:
    explicit SearchKeys(B1* owner) : QObject(owner), b1_(owner) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                b1_->cmd_fnd_click();
                return true;
            }
        } else if (e->type() == QEvent::MouseButtonDblClick) {
            b1_->t_ser->clear();
            return true;
        }
        return false;
    }

private:
    B1* b1_;
};
}

B1::B1(QWidget* parent) : ListWindow(QStringLiteral("B1"), QStringLiteral("전체회원정보관리"), Frame{}, parent)
{
    using namespace list_frame;
    t_gbn = new QComboBox(fm_sub);
    t_gbn->setObjectName(QStringLiteral("t_gbn"));
    t_gbn->addItems(b1_kind_entries());
    tw_place(t_gbn, 120, ctl_top, 1300, ctl_height);
    t_chk = new QComboBox(fm_sub);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    t_chk->addItems(b1_field_entries());
    tw_place(t_chk, 1480, ctl_top, 1300, ctl_height);
    set_search_left(2840);

    tw_set_width(la_inf, 3500);
    PB = new QProgressBar(fm_sum);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setTextVisible(false);
    PB->setValue(0);
    tw_place(PB, 3700, 120, 1800, 200);
    op_0 = new QRadioButton(QStringLiteral("사용중"), fm_sum);
    op_0->setObjectName(QStringLiteral("op_0"));
    tw_place(op_0, 5000, 60, 1000, 300);
    op_1 = new QRadioButton(QStringLiteral("미사용"), fm_sum);
    op_1->setObjectName(QStringLiteral("op_1"));
    tw_place(op_1, 6000, 60, 1000, 300);
    op_0->setChecked(true);
    Check1 = new QCheckBox(QStringLiteral("체크자료반전처리"), fm_sum);
    Check1->setObjectName(QStringLiteral("Check1"));
    tw_place(Check1, 7000, 60, 2000, 300);
    Text1 = new QLineEdit(fm_sum);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();

    t_ser->installEventFilter(new SearchKeys(this));
    connect(cmd_fnd, &QPushButton::clicked, this, &B1::cmd_fnd_click);
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

void B1::clear_grid()
{
    ms->clear_cells();
    ms->set_rows(1);
    ms->set_cols(1);
}

void B1::set_col_width() { b1_col_widths(*ms, tw_rect(ms).width); }

void B1::place_summary()
{
    const int fw = tw_rect(fm_sum).width, uw = tw_rect(la_usr).width;
    const int cw = tw_rect(Check1).width, w1 = tw_rect(op_1).width, w0 = tw_rect(op_0).width;
    tw_set_left(Check1, fw - uw - cw - 120);
    tw_set_left(op_1, fw - uw - cw - w1 - 60 - 120);
    tw_set_left(op_0, fw - uw - cw - w1 - 60 - 120 - w0);
}

void B1::resizeEvent(QResizeEvent* e)
{
    ListWindow::resizeEvent(e);
    place_summary();
    set_col_width();
}

void B1::showEvent(QShowEvent* e)
{
    ListWindow::showEvent(e);
    place_summary();
    set_col_width();
}

void B1::ms_list()
{
    clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    if (!open_db()) {
        msg_info(this, k_db_fail);
        return;
    }
    list_sql = b1_list_query(t_gbn->currentText(), t_chk->currentText(), t_ser->text(), op_0->isChecked());
    Text1->setText(list_sql.sql);
    Text1->hide();
    const int n = b1_fill_grid(*ms, list_sql, PB);
    if (n == 0) {
        la_inf->setText(QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!"));
        return;
    }
    la_inf->setText(QStringLiteral("검색건수: ") + amount_text(n) + QStringLiteral("건"));
    set_col_width();
}

void B1::cmd_fnd_click() { ms_list(); }

void B1::ms_dbl_click()
{
    const int r = ms->row();
    if (ms->rows() < 2 || r < 1) return;
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
        const int open = member_open_or_unpaid(code);
        if (open < 0) {   // a check that cannot be made lets nothing through
            msg_info(this, QStringLiteral("데이터처리실패!"));
            untick();
            return;
        }
        if (open > 0) {
            msg_info(this, QStringLiteral("(%1) 반납처리 및 결제가 완료되지 않은 회원은 사용안함으로 변경할 수 없습니다!")
                               .arg(r));
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
    if (!open_db()) {
        msg_info(this, k_db_fail);
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
    if (!has_right(user_rights, QStringLiteral("del"))) {
        msg_info(this, k_no_right);
        return;
    }
    const int r = ms->row();
    if (ms->rows() < 2 || r < 1) return;
    if (!open_db()) {
        msg_info(this, k_db_fail);
        return;
    }
    const QString code = ms->text(r, 4);
    const int history = member_has_history(code);
    if (history < 0) {   // a check that cannot be made deletes nothing
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    if (history > 0) {
        msg_info(this, QStringLiteral("[%1]대여반납내역이 존재하는 회원이므로 삭제할 수 없습니다!").arg(code));
        return;
    }
    if (!msg_ask(this, QStringLiteral("[%1]항목을 삭제하시겠습니까?").arg(code))) return;
    if (!delete_member(code)) {
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(this, QStringLiteral("삭제완료!"));
    ms_list();
}

void B1::cmd_add_click()
{
    if (!has_right(user_rights, QStringLiteral("add"))) {
        msg_info(this, k_no_right);
        return;
    }
    B1_add_edt* d = screens::kept<B1_add_edt>();
    d->t_c_dat->setText(today_text());
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void B1::cmd_edt_click()
{
    if (!has_right(user_rights, QStringLiteral("edt"))) {
        msg_info(this, k_no_right);
        return;
    }
    const int r = ms->row();
    if (ms->rows() < 2 || r < 1) return;
    B1_add_edt* d = screens::kept<B1_add_edt>();
    d->t_chk->setText(QStringLiteral("edt"));
    d->t_c_dat->setText(ms->text(r, 3));
    const QString kind = ms->text(r, 2);
    (kind == QLatin1String("A") ? d->op_0 : d->op_1)->setChecked(true);
    d->t_tmp_gbn->setText(kind);
    d->t_cod->setText(ms->text(r, 4));
    d->t_nam->setText(ms->text(r, 5));
    d->t_tel->setText(ms->text(r, 6));
    d->t_phn->setText(ms->text(r, 7));
    d->t_adr->setText(ms->text(r, 8));
    d->t_big->setText(ms->text(r, 13));
    d->exec();
}
