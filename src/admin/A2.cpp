#include "admin/A2.h"
#include "admin/A2_add_edt.h"
#include "admin/accounts.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/grid_rows.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
const int widths[8] = {0, 2000, 2000, 800, 800, 800, 800, 800};
}

A2::A2(QWidget* parent)
    : ListWindow(QStringLiteral("A2"), QStringLiteral("로그인사용자관리"), Frame{}, parent)
{
    t_chk = add_sub_combo("t_chk", 120, 1400);
    t_chk->clear();
    t_chk->addItem(QStringLiteral("접속계정"));
    t_chk->setCurrentIndex(0);
    set_search_left(1580);

    connect(cmd_add, &QPushButton::clicked, this, &A2::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &A2::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &A2::cmd_del_click);
    ms_list();
}

void A2::set_col_width()
{
    if (ms->rows() < 2 || ms->cols() < 9) return;
    for (int c = 0; c < 8; ++c) ms->set_col_width(c, widths[c]);
    fit_last_column();
}

void A2::ms_list()
{
    if (!start_list()) return;
    list_sql = account_list_query(t_ser->text());

    ms->set_redraw(false);
    ms->set_header({"", "접속계정", "비밀번호", "엑 셀", "인 쇄", "등 록", "수 정", "삭 제", "비    고"});
    ms->set_col_alignment({3, 4, 5, 6, 7}, FlexGrid::AlignCenter);
    const QString yes = QStringLiteral("●"), no = QStringLiteral("○");
    load_rows(list_sql, [&](const Cursor& cur, int r) {
        copy_cell(*ms, r, 1, cur, 0);
        copy_cell(*ms, r, 2, cur, 1);
        for (int k = 0; k < 5; ++k)
            ms->set_text(r, 3 + k, cur.text(2 + k).trimmed() == QLatin1String("1") ? yes : no);
        copy_cell(*ms, r, 8, cur, 7);
    });
}

void A2::cmd_add_click()
{
    A2_add_edt* d = screens::kept<A2_add_edt>();
    d->reset();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void A2::cmd_edt_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    const QString name = ms->text(r, 1);
    if (is_admin_name(name)) msg_info(this, QStringLiteral("관리자계정은 비밀번호만 수정 가능합니다!"));
    A2_add_edt* d = screens::kept<A2_add_edt>();
    d->reset();
    d->t_chk->setText(QStringLiteral("edt"));
    d->set_key(name);
    fill_box(d->t_nam, name);
    fill_box(d->t_pas, ms->text(r, 2));
    for (auto [box, col] : {std::pair{d->ch1, 3}, {d->ch2, 4}, {d->ch3, 5}, {d->ch4, 6}, {d->ch5, 7}})
        box->setChecked(ms->text(r, col).trimmed() == QStringLiteral("●"));
    fill_box(d->t_big, ms->text(r, 8));
    d->exec();
}

void A2::cmd_del_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    const QString name = ms->text(r, 1);
    if (is_admin_name(name)) {
        msg_info(this, QStringLiteral("관리자계정은 삭제할 수 없습니다!"));
        return;
    }
    if (!check_db(this)) return;
    if (!ask_delete(this, name)) return;
    if (!delete_account(name)) {
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(this, QStringLiteral("삭제완료!"));
    ms_list();
}
