// The member register's list (B1) from MEM with open-rental counts, and a
// name search, through the register's own query builder and grid filler.
#include "bench.h"
#include "registers/members.h"
#include "ui/FlexGrid.h"

namespace {

QString entry_for(const QStringList& entries, const QString& want, int fallback)
{
    for (const QString& e : entries)
        if (e == want) return e;
    return entries.value(fallback);
}

void members_case(BenchContext& ctx, const QString& name, const QString& field, const QString& ser)
{
    const QString kind = entry_for(b1_kind_entries(), QStringLiteral("전체보기"), 0);
    const Query q = b1_list_query(kind, field, ser, true);
    list_case(ctx, name, q, [&](FlexGrid& g) {
        open_db();
        const int n = b1_fill_grid(g, b1_list_query(kind, field, ser, true));
        b1_col_widths(g, 24000);
        return qint64(n);
    });
}

CaseRegistrar all_members(300, "B1.all_members", [](BenchContext& ctx) {
    members_case(ctx, QStringLiteral("B1.all_members"), b1_field_entries().value(0), QString());
});

CaseRegistrar search_members(310, "B1.search_name", [](BenchContext& ctx) {
    const QString field = entry_for(b1_field_entries(), QStringLiteral("회 원 명"), 0);
    members_case(ctx, QStringLiteral("B1.search_name"), field, QStringLiteral("김민"));
});

} // namespace
