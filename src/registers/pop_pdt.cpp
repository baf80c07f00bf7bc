#include "registers/pop_pdt.h"
#include "data/amounts.h"
#include "data/db.h"
#include "data/state.h"
#include "ui/FlexGrid.h"
#include "ui/grid_rows.h"
#include "ui/msgbox.h"

#include <QLineEdit>

pop_pdt::pop_pdt(QWidget* parent) : PickerDialog(QStringLiteral("pop_pdt"), QStringLiteral("전체품목리스트"), parent) {}

void pop_pdt::ms_list()
{
    clear_grid();
    Cursor c(con(), list_sql);
    if (!c.next()) return;   // nothing found, or the query failed: an empty grid
    if (c.columns() < 13) return;

    ms->set_header({"", "상태", "품목분류", "바 코 드", f_nam(1), f_nam(2), f_nam(3), f_nam(4), f_nam(5), f_nam(6),
                    "대 여 료", "연 체 료", "비    고"});
    ms->set_col_alignment({1, 3}, FlexGrid::AlignCenter);
    ms->set_col_alignment({10, 11}, FlexGrid::AlignRight);

    static const QByteArray in_stock = QStringLiteral("○").toUtf8();
    static const QByteArray rented = QStringLiteral("●").toUtf8();
    ms->set_redraw(false);
    do {
        const int r = ms->add_row();
        int len = 0;
        const char* p = c.utf8(1, &len);
        const QByteArray& mark = (len == 1 && p[0] == 'N') ? in_stock : rented;
        ms->set_utf8(r, 1, mark.constData(), int(mark.size()));
        for (int f = 2; f <= 9; ++f) {
            copy_cell(*ms, r, f, c, f);
        }
        ms->set_text(r, 10, amount_text(c.integer(10)));
        ms->set_text(r, 11, amount_text(c.integer(11)));
        copy_cell(*ms, r, 12, c, 12);
    } while (c.next());
    ms->set_row_height(1, 380);
    ms->set_redraw(true);
    ms->set_row(1);
    set_col_width();
}

void pop_pdt::set_col_width()
{
    if (ms->rows() < 2) return;
    ms->set_col_width(0, 0);
    ms->set_col_width(1, col_w[0]);
    ms->set_col_width(2, col_w[7]);
    ms->set_col_width(3, col_w[8]);
    for (int c = 4; c <= 9; ++c) ms->set_col_width(c, col_w[size_t(c + 5)]);
    ms->set_col_width(10, col_w[16]);
    ms->set_col_width(11, col_w[16]);
    fit_last_column();
}

void pop_pdt::choose()
{
    const int r = ms->data_row();
    if (r == 0) return;
    const QString mark = ms->text(r, 1);
    const QString code = ms->text(r, 3);
    const QString caller = caller_name();
    if (caller == QLatin1String("C1")) {
        if (mark == QStringLiteral("●")) {
            msg_info(this, QStringLiteral("현재 대여중인 바코드입니다!"));
            return;
        }
    } else if (caller == QLatin1String("C2")) {
        if (mark == QStringLiteral("○")) {
            msg_info(this, QStringLiteral("현재 재고상태인 바코드입니다!"));
            return;
        }
    } else {
        return;
    }
    hand_back("t_p_cod", "pdt_chk", code);
}
