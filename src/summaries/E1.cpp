#include "summaries/E1.h"
#include "data/clock.h"
#include "data/state.h"
#include "summaries/summaries.h"
#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

E1::E1(QWidget* parent)
    : SummaryWindow(QStringLiteral("E1"), QStringLiteral("정회원별거래집계"), QStringLiteral("회원정보상세히보기"), true,
                    QStringLiteral("POP5"), parent)
{
    t_date1->setDate(today());
    t_date2->setDate(today());
    set_member_combos(QStringLiteral("정 회 원"));
    ms_list();
}

Query E1::list_query() const
{
    return e1_list_query({t_date1->date(), t_date2->date(), t_chk->currentIndex(), t_ser->text()});
}

int E1::fill_grid(const Query& q) { return e1_fill_grid(*ms, shared_con(), q, haebi); }

void E1::set_col_width() { e1_col_widths(*ms, Check1->isChecked(), tw_rect(ms).width); }
