#include "registers/B2.h"
#include "data/state.h"
#include "registers/B2_add_edt.h"
#include "registers/categories.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

B2::B2(QWidget* parent)
    : ListWindow(QStringLiteral("B2"), QStringLiteral("품목분류정보관리"), Frame(), parent)
{
    t_gbn = add_sub_combo("t_gbn", 120, 1500);
    t_chk = add_sub_combo("t_chk", 1680, 1300);
    set_search_left(3040);
    tw_set_width(la_inf, 3500);
    PB = add_progress_bar(3700, 120, 1800, 200);

    t_gbn->addItem(QStringLiteral("전체보기"));
    t_gbn->setCurrentIndex(0);
    t_chk->addItem(QStringLiteral("분 류 명"));
    t_chk->addItem(QStringLiteral("비    고"));
    t_chk->setCurrentIndex(0);

    connect(cmd_add, &QPushButton::clicked, this, &B2::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &B2::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &B2::cmd_del_click);
    connect(ms, &FlexGrid::MouseDown, this, &B2::ms_mouse_down);

    ms_list();
}

B2::~B2() = default;

void B2::set_col_width() { b2_set_col_width(*ms, tw_rect(ms).width); }

void B2::ms_list()
{
    if (!start_list()) return;
    list_sql = b2_list_query(t_gbn->currentText(), t_chk->currentText(), t_ser->text());
    const int n = b2_fill_grid(*ms, list_sql);
    show_list_progress(PB, n);
    la_inf->setText(list_count_text(n));
    if (n == 0) return;
    ms->set_row(1);
    set_col_width();
}

void B2::ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton) screens::popup(QStringLiteral("POP2"), global_pos);
}

void B2::cmd_add_click()
{
    if (!check_right(this, QStringLiteral("add"))) return;
    B2_add_edt* d = screens::kept<B2_add_edt>();
    d->form_load();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void B2::cmd_edt_click()
{
    const int r = action_row(QStringLiteral("edt"));
    if (r == 0) return;
    B2_add_edt* d = screens::kept<B2_add_edt>();
    d->form_load();
    d->t_chk->setText(QStringLiteral("edt"));
    fill_box(d->t_nam, ms->text(r, 1));
    fill_box(d->t_big, ms->text(r, 2));
    d->exec();
}

void B2::cmd_del_click()
{
    const int r = action_row(QStringLiteral("del"));
    if (r == 0) return;
    if (!check_db(this)) return;
    const QString nam = ms->text(r, 1);
    if (!check_clear(this, category_in_use(nam), QStringLiteral("삭제실패!"),
                     QStringLiteral("품목정보에 해당정보가 연결되어 있으므로 삭제할 수 없습니다!")))
        return;
    if (!ask_delete(this, nam)) return;
    if (!category_delete(nam)) {
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(this, QStringLiteral("삭제완료!"));
    ms_list();
}
