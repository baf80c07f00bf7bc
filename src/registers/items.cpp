#include "registers/items.h"
#include "data/amounts.h"
#include "data/state.h"
#include "ui/FlexGrid.h"

#include <cmath>

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

// Digit-grouped whole number into buf (at least 32 bytes); its length.
int grouped(qint64 v, char* buf)
{
    char tmp[24];
    int n = 0;
    const bool neg = v < 0;
    quint64 m = neg ? quint64(-(v + 1)) + 1ULL : quint64(v);
    do { tmp[n++] = char('0' + m % 10); m /= 10; } while (m);
    int len = 0;
    if (neg) buf[len++] = '-';
    for (int i = n - 1; i >= 0; --i) {
        buf[len++] = tmp[i];
        if (i > 0 && i % 3 == 0) buf[len++] = ',';
    }
    return len;
}

const QByteArray kInStock = QStringLiteral("○").toUtf8();
const QByteArray kRented = QStringLiteral("●").toUtf8();
}

QString b4_search_column(const QString& field)
{
    if (field == QStringLiteral("바 코 드")) return QStringLiteral("p.cod");
    for (int i = 1; i <= 6; ++i)
        if (field == f_nam(i)) return QStringLiteral("p.f%1_nam").arg(i);
    return QString();
}

Query b4_list_query(const QString& gbn, const QString& field, const QString& ser, bool in_use)
{
    const QString col = b4_search_column(field);
    if (col.isEmpty()) return Query();
    QString sql = QStringLiteral("select act,sta,gbn,cod,f1_nam,f2_nam,f3_nam,f4_nam,f5_nam,f6_nam,dae,yun,big "
                                 "from TB4 as p where ");
    QVariantList args;
    if (gbn != QStringLiteral("전체보기")) {
        sql += QStringLiteral("gbn=? and ");
        args << gbn;
    }
    sql += col + QStringLiteral(" like ? and act=? order by sta desc,gbn,cod");
    args << QStringLiteral("%") + ser + QStringLiteral("%") << (in_use ? QStringLiteral("Y") : QStringLiteral("N"));
    return Query(sql, args);
}

ItemCounts b4_fill_grid(FlexGrid& g, const Query& q)
{
    ItemCounts n;
    g.clear_cells();
    g.set_rows(1);
    g.set_cols(1);
    if (q.isEmpty()) return n;
    Cursor c(main_con(), q);
    if (!c.next()) return n;

    g.set_redraw(false);
    g.set_cols(14);
    g.set_row_height(0, 440);
    g.set_col_alignment(1, FlexGrid::AlignCenter);
    g.set_col_alignment(2, FlexGrid::AlignCenter);
    g.set_col_alignment(11, FlexGrid::AlignRight);
    g.set_col_alignment(12, FlexGrid::AlignRight);
    static const char* fixed[] = {"", "CHK", "상태", "품목분류", "바 코 드"};
    for (int i = 1; i <= 4; ++i) g.set_text(0, i, QString::fromUtf8(fixed[i]));
    for (int i = 1; i <= 6; ++i) g.set_text(0, 4 + i, f_nam(i));
    g.set_text(0, 11, QStringLiteral("대 여 료"));
    g.set_text(0, 12, QStringLiteral("연 체 료"));
    g.set_text(0, 13, QStringLiteral("비    고"));
    g.set_row_height(1, 380);

    char buf[32];
    do {
        const int r = g.add_row();
        int len = 0;
        const char* sta = c.utf8(1, &len);
        if (len == 1 && sta[0] == 'N') {
            g.set_utf8(r, 2, kInStock.constData(), int(kInStock.size()));
            ++n.in_stock;
        } else {
            g.set_utf8(r, 2, kRented.constData(), int(kRented.size()));
            ++n.rented;
        }
        for (int f = 2; f <= 9; ++f) {
            const char* p = c.utf8(f, &len);
            g.set_utf8(r, f + 1, p, len);
        }
        g.set_utf8(r, 11, buf, grouped(c.integer(10), buf));
        g.set_utf8(r, 12, buf, grouped(c.integer(11), buf));
        const char* p = c.utf8(12, &len);
        g.set_utf8(r, 13, p, len);
        ++n.found;
    } while (c.next());
    g.set_redraw(true);
    return n;
}

void b4_set_col_width(FlexGrid& g, int grid_width)
{
    if (g.rows() <= 1) return;
    static const int entry[] = {0, 0, 0, 7, 8, 9, 10, 11, 12, 13, 14, 16, 16};
    g.set_col_width(0, 0);
    int used = 0;
    for (int c = 1; c <= 12; ++c) {
        g.set_col_width(c, col_w[size_t(entry[c])]);
        used += g.col_width(c);
    }
    g.set_col_width(13, std::max(grid_width - used - 330, 2500));
}

QString b4_count_text(const ItemCounts& c)
{
    if (c.found <= 0) return list_count_text(0);
    return list_count_text(c.found) + QStringLiteral("  재고(") + amount_text(c.in_stock) + QStringLiteral(")건 대여(")
           + amount_text(c.rented) + QStringLiteral(")건");
}

namespace {
// A number as typed: digit grouping and blanks allowed, a sign, decimals.
bool typed_number(const QString& text, double* v)
{
    QString t = text;
    t.remove(u',');
    t = t.trimmed();
    if (t.isEmpty()) return false;
    for (QChar ch : t)
        if (!(ch.isDigit() && ch.unicode() < 128) && ch != u'.' && ch != u'-' && ch != u'+') return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::abs(d) > 9.0e15) return false;
    *v = d;
    return true;
}
}

QString fee_format(const QString& text)
{
    double d = 0;
    if (!typed_number(text, &d)) return text;
    return amount_text(qRound64(d));
}

bool fee_value(const QString& text, qint64* value)
{
    double d = 0;
    if (!typed_number(text, &d)) return false;
    *value = qRound64(d);
    return true;
}

Lookup item_exists(const QString& cod) { return found(Query("select cod from TB4 where cod=? limit 1", {cod})); }

Lookup item_has_history(const QString& cod)
{
    return found(Query("select p_cod from TC1 where p_cod=? limit 1", {cod}));
}

bool item_insert(const Item& it)
{
    Transaction t(main_con());
    t.exec(Query("insert into TB4 values('Y','N',?,?,?,?,?,?,?,?,?,?,?)",
                 {it.gbn, it.cod, it.f[0], it.f[1], it.f[2], it.f[3], it.f[4], it.f[5], it.dae, it.yun, it.big}));
    return t.ok() && t.commit();
}

bool item_update(const Item& it)
{
    Transaction t(main_con());
    const int n = t.exec(Query("update TB4 set gbn=?,f1_nam=?,f2_nam=?,f3_nam=?,f4_nam=?,f5_nam=?,f6_nam=?,"
                               "dae=?,yun=?,big=? where cod=?",
                               {it.gbn, it.f[0], it.f[1], it.f[2], it.f[3], it.f[4], it.f[5], it.dae, it.yun,
                                it.big, it.cod}));
    if (n != 1) return false;
    return t.commit();
}

bool items_set_act(const QStringList& cods, bool in_use)
{
    Transaction t(main_con());
    const QString act = in_use ? QStringLiteral("Y") : QStringLiteral("N");
    for (const QString& cod : cods)
        if (t.exec(Query("UPDATE TB4 set act=? WHERE cod=?", {act, cod})) < 0) return false;
    return t.ok() && t.commit();
}

ItemDelete item_delete(const QString& cod)
{
    Transaction t(main_con());
    if (t.exec(Query("delete from TB4 where cod=?", {cod})) < 0) return ItemDelete::Failed;
    // A rental registered since the history check keeps the item and its history.
    const int rentals = t.exec(Query("delete from TC1 where p_cod=?", {cod}));
    if (rentals < 0) return ItemDelete::Failed;
    if (rentals > 0) return ItemDelete::History;
    return t.commit() ? ItemDelete::Done : ItemDelete::Failed;
}

bool items_set_fees(const QStringList& cods, bool set_dae, qint64 dae, bool set_yun, qint64 yun)
{
    if (!db_con || !db_con->is_open()) return false;
    Transaction t(*db_con);
    for (const QString& cod : cods) {
        if (set_dae && t.exec(Query("update TB4 set dae=? where cod=?", {dae, cod})) < 0) return false;
        if (set_yun && t.exec(Query("update TB4 set yun=? where cod=?", {yun, cod})) < 0) return false;
    }
    return t.ok() && t.commit();
}
