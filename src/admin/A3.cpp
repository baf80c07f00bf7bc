#include "admin/A3.h"
#include "admin/A3_add_edt.h"
#include "admin/closing.h"
#include "admin/keys.h"
#include "data/amounts.h"
#include "data/state.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
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
    t_chk = new QComboBox(fm_sub);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    tw_place(t_chk, 120, list_frame::ctl_top, 1400, list_frame::ctl_height);
    t_chk->clear();
    t_chk->addItem(QStringLiteral("처리일자"));
    t_chk->setCurrentIndex(0);
    set_search_left(1580);

    connect(cmd_fnd, &QPushButton::clicked, this, &A3::cmd_fnd_click);
    connect(cmd_add, &QPushButton::clicked, this, &A3::cmd_add_click);
    wire_search_box(t_ser, [this] { cmd_fnd_click(); });
    ms_list();
}

void A3::clear_grid()
{
    ms->clear_cells();
    ms->set_rows(1);
    ms->set_cols(1);
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
    clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    list_sql = closing_list_query(t_ser->text());

    ms->set_redraw(false);
    ms->set_cols(3);
    ms->set_row_height(0, 440);
    ms->set_text(0, 1, QStringLiteral("처리일자"));
    ms->set_text(0, 2, QStringLiteral("비    고"));
    ms->set_col_alignment(1, FlexGrid::AlignCenter);
    Cursor cur(*db_con, list_sql);
    while (cur.next()) {
        const int r = ms->add_row();
        int len = 0;
        const char* p = cur.utf8(0, &len);
        ms->set_utf8(r, 1, p, len);
        p = cur.utf8(1, &len);
        ms->set_utf8(r, 2, p, len);
    }
    const int n = ms->rows() - 1;
    if (!cur.ok() || n == 0) {
        clear_grid();
        ms->set_redraw(true);
        la_inf->setText(QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!"));
        return;
    }
    ms->set_row_height(1, 380);
    ms->set_row(1);
    ms->set_redraw(true);
    la_inf->setText(QStringLiteral("검색건수: ") + amount_text(n) + QStringLiteral("건"));
    set_col_width();
}

void A3::cmd_fnd_click() { ms_list(); }

void A3::cmd_add_click()
{
    A3_add_edt* d = screens::kept<A3_add_edt>();
    d->Form_Load();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void A3::resizeEvent(QResizeEvent* e)
{
    ListWindow::resizeEvent(e);
    set_col_width();
}

void A3::showEvent(QShowEvent* e)
{
    ListWindow::showEvent(e);
    set_col_width();
}
