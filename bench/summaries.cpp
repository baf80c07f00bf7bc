// The summaries' list windows: E1 over twelve months, E2 over a year, E3
// over a quarter, each up to the shop's last day.
#include "bench.h"
#include "summaries/E1.h"
#include "summaries/E2.h"
#include "summaries/E3.h"

#include <QDateEdit>

namespace {

template <class W> void summary_case(BenchContext& ctx, const QString& name, const QDate& from)
{
    const QDate to = ctx.shop.today;
    window_case(ctx, name, [] { return new W; }, [&](ListWindow* w) {
        w->findChild<QDateEdit*>(QStringLiteral("t_date1"))->setDate(from);
        w->findChild<QDateEdit*>(QStringLiteral("t_date2"))->setDate(to);
    });
}

CaseRegistrar members_year(600, "E1.twelve_months", [](BenchContext& ctx) {
    summary_case<E1>(ctx, QStringLiteral("E1.twelve_months"), ctx.shop.today.addMonths(-11));
});

CaseRegistrar nonmembers_year(610, "E2.year", [](BenchContext& ctx) {
    summary_case<E2>(ctx, QStringLiteral("E2.year"), ctx.shop.today.addYears(-1).addDays(1));
});

CaseRegistrar items_quarter(620, "E3.quarter", [](BenchContext& ctx) {
    summary_case<E3>(ctx, QStringLiteral("E3.quarter"), ctx.shop.today.addMonths(-3).addDays(1));
});

} // namespace
