#include "admin/A2.h"
#include "admin/A2_add_edt.h"
#include "admin/accounts.h"
#include "admin/keys.h"
#include "data/amounts.h"
#include "data/state.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char* const headers[9] = {"", "접속계정", "비밀번호", "엑 셀", "인 쇄", "등 록", "수 정", "삭 제", "비    고"};
const int widths[8] = {0, 2000, 2000, 800, 800, 800, 800, 800};
}

A2::A2(QWidget* parent)
    : ListWindow(QStringLiteral("A2"), QStringLiteral("로그인사용자관리"), Frame{}, parent)
{
    t_chk = new QComboBox(fm_sub);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    tw_place(t_chk, 120, list_frame::ctl_top, 1400, list_frame::ctl_height);
    t_chk->clear();
    t_chk->addItem(QStringLiteral("접속계정"));
    t_chk->setCurrentIndex(0);
    set_search_left(1580);

    connect(cmd_fnd, &QPushButton::clicked, this, &A2::cmd_fnd_click);
    connect(cmd_add, &QPushButton::clicked, this, &A2::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &A2::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &A2::cmd_del_click);
    wire_search_box(t_ser, [this] { cmd_fnd_click(); });
    ms_list();
}

void A2::clear_grid()
{
    ms->clear_cells();
    ms->set_rows(1);
    ms->set_cols(1);
}

void A2::set_col_width()
{
    if (ms->rows() < 2 || ms->cols() < 9) return;
    for (int c = 0; c < 8; ++c) ms->set_col_width(c, widths[c]);
    fit_last_column();
}

void A2::ms_list()
{
    clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    list_sql = account_list_query(t_ser->text());

    ms->set_redraw(false);
    ms->set_cols(9);
    ms->set_row_height(0, 440);
    for (int c = 0; c < 9; ++c) ms->set_text(0, c, QString::fromUtf8(headers[c]));
    for (int c = 3; c <= 7; ++c) ms->set_col_alignment(c, FlexGrid::AlignCenter);
    Cursor cur(*db_con, list_sql);
    const QString yes = QStringLiteral("●"), no = QStringLiteral("○");
    while (cur.next()) {
        const int r = ms->add_row();
        int len = 0;
        const char* p = cur.utf8(0, &len);
        ms->set_utf8(r, 1, p, len);
        p = cur.utf8(1, &len);
        ms->set_utf8(r, 2, p, len);
        for (int k = 0; k < 5; ++k)
            ms->set_text(r, 3 + k, cur.text(2 + k).trimmed() == QLatin1String("1") ? yes : no);
        p = cur.utf8(7, &len);
        ms->set_utf8(r, 8, p, len);
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

void A2::cmd_fnd_click() { ms_list(); }

void A2::cmd_add_click()
{
    A2_add_edt* d = screens::kept<A2_add_edt>();
    d->reset();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void A2::cmd_edt_click()
{
    if (ms->rows() < 2) return;
    const int r = ms->row();
    if (r < 1) return;
    const QString name = ms->text(r, 1);
    if (is_admin_name(name)) msg_info(this, QStringLiteral("관리자계정은 비밀번호만 수정 가능합니다!"));
    A2_add_edt* d = screens::kept<A2_add_edt>();
    d->reset();
    d->t_chk->setText(QStringLiteral("edt"));
    d->set_key(name);
    d->t_nam->setText(name);
    d->t_pas->setText(ms->text(r, 2));
    for (auto [box, col] : {std::pair{d->ch1, 3}, {d->ch2, 4}, {d->ch3, 5}, {d->ch4, 6}, {d->ch5, 7}})
        box->setChecked(ms->text(r, col).trimmed() == QStringLiteral("●"));
    d->t_big->setText(ms->text(r, 8));
    d->exec();
}

void A2::cmd_del_click()
{
    if (ms->rows() < 2) return;
    const int r = ms->row();
    if (r < 1) return;
    const QString name = ms->text(r, 1);
    if (is_admin_name(name)) {
        msg_info(this, QStringLiteral("관리자계정은 삭제할 수 없습니다!"));
        return;
    }
    if (!open_db()) {
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
        return;
    }
    if (!msg_ask(this, QStringLiteral("[") + name + QStringLiteral("]항목을 삭제하시겠습니까?"))) return;
    if (!delete_account(name)) {
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(this, QStringLiteral("삭제완료!"));
    ms_list();
}

void A2::resizeEvent(QResizeEvent* e)
{
    ListWindow::resizeEvent(e);
    set_col_width();
}

void A2::showEvent(QShowEvent* e)
{
    ListWindow::showEvent(e);
    set_col_width();
}
