#include "summaries/E3.h"
#include "data/clock.h"
#include "data/state.h"
#include "registers/categories.h"
#include "summaries/summaries.h"
#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>

E3::E3(QWidget* parent)
    : SummaryWindow(QStringLiteral("E3"), QStringLiteral("Form1"), QStringLiteral("품목정보상세히보기"), false, QString(),
                   parent)
{
    const QDate d = today();
    t_date1->setDate(QDate(d.year(), d.month(), 1));
    t_date2->setDate(d);
    t_gbn->addItem(QStringLiteral("전체보기"));
    // Without a connection the combo holds "전체보기" alone, untold.
    if (open_db()) t_gbn->addItems(category_names());
    t_gbn->setCurrentIndex(0);
    t_chk->addItem(QStringLiteral("바 코 드"));
    for (int i = 1; i <= 6; ++i) t_chk->addItem(f_nam(i));
    t_chk->addItem(QStringLiteral("비    고"));
    t_chk->setCurrentIndex(0);
    ms_list();
}

Query E3::list_query() const { return e3_list_query(t_date1->date(), t_date2->date()); }

int E3::fill_grid(const Query& q) { return e3_fill_grid(*ms, shared_con(), q); }

void E3::set_col_width() { e3_col_widths(*ms, Check1->isChecked(), tw_rect(ms).width); }

bool E3::event(QEvent* e)
{
    // Each time the screen becomes the active window its widths are set again.
    if (e->type() == QEvent::WindowActivate) set_col_width();
    return SummaryWindow::event(e);
}
