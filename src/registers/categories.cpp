#include "registers/categories.h"
#include "data/amounts.h"
#include "ui/FlexGrid.h"

namespace {
Connection& main_con()
{
    if (!db_con) db_con = std::make_unique<Connection>();
    return *db_con;
}

Lookup found(const Query& q)
{
    Cursor c(main_con(), q);
    const bool row = c.next();
    if (!c.ok()) return Lookup::Failed;
    return row ? Lookup::Found : Lookup::None;
}
}

QString b2_search_column(const QString& field)
{
    if (field == QStringLiteral("분 류 명")) return QStringLiteral("nam");
    if (field == QStringLiteral("비    고")) return QStringLiteral("big");
    return QString();
}

Query b2_list_query(const QString& gbn, const QString& field, const QString& ser)
{
    const QString col = b2_search_column(field);
    if (col.isEmpty() || gbn != QStringLiteral("전체보기")) return Query();
    return Query(QStringLiteral("SELECT nam, big FROM TB2 WHERE %1 LIKE ? ORDER BY nam").arg(col),
                 {QStringLiteral("%") + ser + QStringLiteral("%")});
}

int b2_fill_grid(FlexGrid& g, const Query& q)
{
    g.clear_cells();
    g.set_rows(1);
    g.set_cols(1);
    if (q.isEmpty()) return 0;
    Cursor c(main_con(), q);
    if (!c.next()) return 0;
    g.set_redraw(false);
    g.set_cols(3);
    g.set_row_height(0, 440);
    g.set_text(0, 1, QStringLiteral("분 류 명"));
    g.set_text(0, 2, QStringLiteral("비    고"));
    int n = 0;
    do {
        const int r = g.add_row();
        int len = 0;
        const char* p = c.utf8(0, &len);
        g.set_utf8(r, 1, p, len);
        p = c.utf8(1, &len);
        g.set_utf8(r, 2, p, len);
        ++n;
    } while (c.next());
    g.set_row_height(1, 380);
    g.set_redraw(true);
    return n;
}

void b2_set_col_width(FlexGrid& g, int grid_width)
{
    if (g.rows() <= 1) return;
    g.set_col_width(0, 0);
    g.set_col_width(1, 1500);
    g.set_col_width(2, std::max(grid_width - g.col_width(1) - 330, 2500));
}

QString list_count_text(int found)
{
    if (found <= 0) return QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!");
    return QStringLiteral("검색건수: ") + amount_text(found) + QStringLiteral("건");
}

QStringList category_names(bool* ok)
{
    QStringList out;
    Cursor c(main_con(), Query("select nam from TB2 order by nam"));
    while (c.next()) out << c.text(0);
    if (ok) *ok = c.ok();
    return out;
}

Lookup category_exists(const QString& nam)
{
    return found(Query("select nam from TB2 where nam=? limit 1", {nam}));
}

Lookup category_in_use(const QString& nam)
{
    return found(Query("select gbn from TB4 where gbn=? limit 1", {nam}));
}

bool category_insert(const QString& nam, const QString& big)
{
    return main_con().execute(Query("insert into TB2 values(?,?)", {nam, big})) == 1;
}

bool category_update_remark(const QString& nam, const QString& big)
{
    return main_con().execute(Query("update TB2 set big=? where nam=?", {big, nam})) == 1;
}

bool category_delete(const QString& nam)
{
    return main_con().execute(Query("delete from TB2 where nam=?", {nam})) >= 0;
}
