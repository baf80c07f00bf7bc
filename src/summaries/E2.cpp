#include "summaries/E2.h"
#include "data/clock.h"
#include "summaries/summaries.h"
#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

E2::E2(QWidget* parent)
    : SummaryWindow(QStringLiteral("E2"), QStringLiteral("비회원별거래집계"), QStringLiteral("회원정보상세히보기"), true,
                    QStringLiteral("POP6"), parent)
{
    const QDate d = today();
    t_date1->setDate(QDate(d.year(), d.month(), 1));
    t_date2->setDate(d);
    set_member_combos(QStringLiteral("비 회 원"));
    ms_list();
}

Query E2::list_query() const
{
    return e2_list_query({t_date1->date(), t_date2->date(), t_chk->currentIndex(), t_ser->text()});
}

int E2::fill_grid(const Query& q) { return e2_fill_grid(*ms, shared_con(), q); }

void E2::set_col_width() { e2_col_widths(*ms, Check1->isChecked(), tw_rect(ms).width); }
