#include "counter/CA.h"
#include "counter/C1.h"
#include "counter/C2.h"
#include "counter/history_actions.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
QCheckBox* check(QWidget* parent, const char* name, const QString& caption, int width)
{
    auto* b = named<QCheckBox>(name, caption, parent);
    tw_place(b, 0, 60, width, 300);
    return b;
}
}

CA::CA(QWidget* parent) : ListWindow(QStringLiteral("CA"), QStringLiteral("대여반납내역관리"), Frame{}, parent)
{
    using namespace list_frame;
    t_date1 = date_picker(fm_sub, "t_date1");
    tw_place(t_date1, 120, ctl_top, 1700, ctl_height);
    t_date2 = date_picker(fm_sub, "t_date2");
    tw_place(t_date2, 1880, ctl_top, 1700, ctl_height);
    t_gbn = add_sub_combo("t_gbn", 3640, 1300);
    t_chk = add_sub_combo("t_chk", 5000, 1300);
    set_search_left(6360);

    cmd_add->setText(QStringLiteral("대여"));
    cmd_edt->setText(QStringLiteral("반납"));

    tw_place(la_inf, 60, 60, 4000, 300);
    PB = add_progress_bar(4100, 90, 1200, 240);

    Check1 = check(fm_sum, "Check1", QStringLiteral("품목정보상세보기"), 1900);
    Check2 = check(fm_sum, "Check2", QStringLiteral("선택자료결제처리"), 1900);
    Check5 = check(fm_sum, "Check5", QStringLiteral("선택자료연장처리"), 1900);
    Check3 = check(fm_sum, "Check3", QStringLiteral("연체된내역만"), 1600);
    Check4 = check(fm_sum, "Check4", QStringLiteral("미결제내역만"), 1600);
    Check6 = check(fm_sum, "Check6", QStringLiteral("미반납내역만"), 1600);

    Text1 = named<QLineEdit>("Text1", this);
    Text1->hide();

    connect(cmd_add, &QPushButton::clicked, this, &CA::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &CA::cmd_edt_click);
    connect(t_gbn, &QComboBox::activated, this, &CA::t_gbn_click);
    connect(ms, &FlexGrid::MouseDown, this, &CA::ms_mousedown);

    // Loading.
    const QDate d = today();
    t_date1->setDate(QDate(d.year(), d.month(), 1));
    t_date2->setDate(d);
    t_gbn->addItems(ca_date_kinds());
    t_gbn->setCurrentIndex(0);
    t_chk->addItems(ca_search_fields());
    t_chk->setCurrentIndex(0);
    install_history_actions(this);
    ms_list();
}

CaFilter CA::filter() const
{
    if (Check3->isChecked()) return CaFilter::Overdue;
    if (Check4->isChecked()) return CaFilter::Unpaid;
    if (Check6->isChecked()) return CaFilter::NotReturned;
    return CaFilter::None;
}

CaParams CA::params() const
{
    CaParams p;
    p.date1 = date_text(t_date1->date());
    p.date2 = date_text(t_date2->date());
    p.kind = CaDateKind(std::clamp(t_gbn->currentIndex(), 0, 2));
    p.field = std::clamp(t_chk->currentIndex(), 0, 4);
    p.search = t_ser->text();
    p.filter = filter();
    p.today = today();
    return p;
}

void CA::clear_grid() { ca_clear_grid(ms); }

void CA::ms_list()
{
    clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    if (!check_db(this)) return;
    const CaParams p = params();
    list_sql = ca_list_query(p);
    Text1->setText(list_sql.sql);
    fill_ = ca_fill_grid(ms, *db_con, list_sql, p.kind);
    if (!fill_.found) {
        show_list_progress(PB, 0);
        la_inf->setText(ca_result_text(fill_));
        return;
    }
    show_list_progress(PB, fill_.rows);
    la_inf->setText(ca_result_text(fill_));
    set_col_width();
}

void CA::set_col_width() { ca_set_col_width(ms, Check1->isChecked(), tw_rect(ms).width); }

void CA::cmd_add_click()
{
    if (!check_right(this, QStringLiteral("add"))) return;
    screens::kept<C1>()->run();
}

void CA::cmd_edt_click()
{
    if (!check_right(this, QStringLiteral("add"))) return;
    screens::kept<C2>()->run();
}

void CA::t_gbn_click() { ms_list(); }

void CA::ms_mousedown(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton) screens::popup(QStringLiteral("POP4"), global_pos);
}

void CA::place_summary()
{
    place_left_of_user({{Check1, 0}, {Check2, 0}, {Check5, 0}, {Check3, 0}, {Check4, 0}, {Check6, 0}});
}
