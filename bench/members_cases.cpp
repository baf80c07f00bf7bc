// The member list: opening it on every member in use, and a name search.
#include "bench.h"
#include "data/state.h"
#include "registers/B1.h"
#include "ui/FlexGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

void report(const char* name, const Query& q, double prog, qint64 shown, int runs)
{
    qint64 rows = 0;
    const double bare = best_of(runs, [&] { bare_query(con(), q, &rows); });
    Line l;
    l.name = QString::fromLatin1(name);
    l.rows = rows;
    l.bare = bare;
    l.prog = prog;
    l.ratio_goal = 1.3;
    if (shown != rows) l.note = QStringLiteral("grid holds %1 rows").arg(shown);
    print_line(l);
}

// A fresh B1 each time, as the menu opens it: its load runs in the constructor.
CaseRegistrar b1_open(40, "members.b1_list_all", [](BenchContext& ctx) {
    user_rights = QStringLiteral("11111");
    delete new B1;   // warm the page cache
    qint64 shown = 0;
    Query q;
    const double prog = best_of(ctx.runs, [&] {
        auto* b1 = new B1;
        b1->resize(1600, 900);
        b1->show();
        settle();
        shown = b1->ms->rows() - 1;
        q = list_sql;
        delete b1;
    });
    report("members.b1_list_all", q, prog, shown, ctx.runs);
});

CaseRegistrar b1_search(41, "members.b1_name_search", [](BenchContext& ctx) {
    auto* b1 = new B1;
    b1->resize(1600, 900);
    b1->show();
    settle();
    b1->t_chk->setCurrentText(QStringLiteral("회 원 명"));
    qint64 shown = 0;
    const double prog = best_of(ctx.runs, [&] {
        b1->t_ser->setText(QStringLiteral("김"));
        b1->cmd_fnd->click();
        settle();
        shown = b1->ms->rows() - 1;
    });
    report("members.b1_name_search", list_sql, prog, shown, ctx.runs);
    delete b1;
});

} // namespace
