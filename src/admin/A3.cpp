#include "admin/A3.h"
#include "admin/A3_add_edt.h"
#include "admin/closing.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/grid_rows.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
ListWindow::Frame closing_frame()
{
    ListWindow::Frame f;
    f.mode = QStringLiteral("add");
    f.edt = false;
    f.del = false;
    return f;
}
}

A3::A3(QWidget* parent)
    : ListWindow(QStringLiteral("A3"), QStringLiteral("업무내역마감처리"), closing_frame(), parent)
{
    t_chk = add_sub_combo("t_chk", 120, 1400);
    t_chk->clear();
    t_chk->addItem(QStringLiteral("처리일자"));
    t_chk->setCurrentIndex(0);
    set_search_left(1580);

    connect(cmd_add, &QPushButton::clicked, this, &A3::cmd_add_click);
    ms_list();
}

void A3::set_col_width()
{
    if (ms->rows() < 2 || ms->cols() < 3) return;
    ms->set_col_width(0, 0);
    ms->set_col_width(1, col_w[1]);
    fit_last_column();
}

void A3::ms_list()
{
    if (!start_list()) return;
    list_sql = closing_list_query(t_ser->text());

    ms->set_redraw(false);
    ms->set_header({"", "처리일자", "비    고"});
    ms->set_col_alignment(1, FlexGrid::AlignCenter);
    load_rows(list_sql, [this](const Cursor& cur, int r) {
        copy_cell(*ms, r, 1, cur, 0);
        copy_cell(*ms, r, 2, cur, 1);
    });
}

void A3::cmd_add_click()
{
    A3_add_edt* d = screens::kept<A3_add_edt>();
    d->Form_Load();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}
