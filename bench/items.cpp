// The item register's list (B4): every item in use, and a search by an
// item field, through the register's own query builder and grid filler.
#include "bench.h"
#include "data/state.h"
#include "registers/items.h"
#include "ui/FlexGrid.h"

namespace {

void items_case(BenchContext& ctx, const QString& name, const QString& field, const QString& ser)
{
    const Query q = b4_list_query(QStringLiteral("전체보기"), field, ser, true);
    list_case(ctx, name, q, [&](FlexGrid& g) {
        // B4::ms_list: the connection, the list, the widths, the count line.
        open_db();
        const ItemCounts n = b4_fill_grid(g, b4_list_query(QStringLiteral("전체보기"), field, ser, true));
        b4_set_col_width(g, 24000);
        (void)b4_count_text(n);
        return qint64(n.found);
    });
}

CaseRegistrar all_items(200, "B4.all_items", [](BenchContext& ctx) {
    items_case(ctx, QStringLiteral("B4.all_items"), QStringLiteral("바 코 드"), QString());
});

CaseRegistrar search_items(210, "B4.search_f1", [](BenchContext& ctx) {
    // The first item field (the title) holding a word about one title in twenty has.
    items_case(ctx, QStringLiteral("B4.search_f1"), f_nam(1), QStringLiteral("바람"));
});

} // namespace
