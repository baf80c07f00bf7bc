#include "registers/categories.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/grid_rows.h"

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
    const LikeContains like = like_contains(col, ser);
    return Query(QStringLiteral("SELECT nam, big FROM TB2 WHERE ") + like.sql + QStringLiteral(" ORDER BY nam"),
                 {like.pattern});
}

int b2_fill_grid(FlexGrid& g, const Query& q)
{
    g.clear_grid();
    if (q.isEmpty()) return 0;
    Cursor c(shared_con(), q);
    if (!c.next()) return 0;
    g.set_redraw(false);
    g.set_header({"", "분 류 명", "비    고"});
    int n = 0;
    do {
        const int r = g.add_row();
        copy_cell(g, r, 1, c, 0);
        copy_cell(g, r, 2, c, 1);
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
    g.fit_last_column(grid_width);
}

QStringList category_names(bool* ok)
{
    QStringList out;
    Cursor c(shared_con(), Query("select nam from TB2 order by nam"));
    while (c.next()) out << c.text(0);
    if (ok) *ok = c.ok();
    return out;
}

Lookup category_exists(const QString& nam)
{
    return lookup(shared_con(), Query("select nam from TB2 where nam=? limit 1", {nam}));
}

Lookup category_in_use(const QString& nam)
{
    return lookup(shared_con(), Query("select gbn from TB4 where gbn=? limit 1", {nam}));
}

bool category_insert(const QString& nam, const QString& big)
{
    return shared_con().execute(Query("insert into TB2 values(?,?)", {nam, big})) == 1;
}

bool category_update_remark(const QString& nam, const QString& big)
{
    return shared_con().execute(Query("update TB2 set big=? where nam=?", {big, nam})) == 1;
}

bool category_delete(const QString& nam)
{
    return shared_con().execute(Query("delete from TB2 where nam=?", {nam})) >= 0;
}
