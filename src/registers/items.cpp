#include "registers/items.h"
#include "data/amounts.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/grid_rows.h"
#include "ui/messages.h"

#include <QLineEdit>
#include <cmath>

namespace {
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
    const LikeContains like = like_contains(col, ser);
    sql += like.sql + QStringLiteral(" and act=? order by sta desc,gbn,cod");
    args << like.pattern << (in_use ? QStringLiteral("Y") : QStringLiteral("N"));
    return Query(sql, args);
}

ItemCounts b4_fill_grid(FlexGrid& g, const Query& q)
{
    ItemCounts n;
    g.clear_grid();
    if (q.isEmpty()) return n;
    Cursor c(shared_con(), q);
    if (!c.next()) return n;

    g.set_redraw(false);
    g.set_header({"", "CHK", "상태", "품목분류", "바 코 드", f_nam(1), f_nam(2), f_nam(3), f_nam(4), f_nam(5), f_nam(6),
                  "대 여 료", "연 체 료", "비    고"});
    g.set_col_alignment({1, 2}, FlexGrid::AlignCenter);
    g.set_col_alignment({11, 12}, FlexGrid::AlignRight);
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
        for (int f = 2; f <= 9; ++f)
            copy_cell(g, r, f + 1, c, f);
        g.set_utf8(r, 11, buf, amount_utf8(c.integer(10), buf));
        g.set_utf8(r, 12, buf, amount_utf8(c.integer(11), buf));
        copy_cell(g, r, 13, c, 12);
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
    for (int c = 1; c <= 12; ++c) g.set_col_width(c, col_w[size_t(entry[c])]);
    g.fit_last_column(grid_width);
}

QString b4_count_text(const ItemCounts& c)
{
    if (c.found <= 0) return list_count_text(0);
    return QStringLiteral("검색건수: %1건  재고(%2)건 대여(%3)건")
        .arg(amount_text(c.found), amount_text(c.in_stock), amount_text(c.rented));
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

void keep_fee_grouped(QLineEdit* e)
{
    QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& t) {
        const QString f = fee_format(t);
        if (f != t) e->setText(f);
        e->setCursorPosition(int(e->text().size()));
    });
}

Lookup item_exists(const QString& cod) { return lookup(shared_con(), Query("select cod from TB4 where cod=? limit 1", {cod})); }

Lookup item_has_history(const QString& cod)
{
    return lookup(shared_con(), Query("select p_cod from TC1 where p_cod=? limit 1", {cod}));
}

bool item_insert(const Item& it)
{
    Transaction t(shared_con());
    t.exec(Query("insert into TB4 values('Y','N',?,?,?,?,?,?,?,?,?,?,?)",
                 {it.gbn, it.cod, it.f[0], it.f[1], it.f[2], it.f[3], it.f[4], it.f[5], it.dae, it.yun, it.big}));
    return t.ok() && t.commit();
}

bool item_update(const Item& it)
{
    Transaction t(shared_con());
    const int n = t.exec(Query("update TB4 set gbn=?,f1_nam=?,f2_nam=?,f3_nam=?,f4_nam=?,f5_nam=?,f6_nam=?,"
                               "dae=?,yun=?,big=? where cod=?",
                               {it.gbn, it.f[0], it.f[1], it.f[2], it.f[3], it.f[4], it.f[5], it.dae, it.yun,
                                it.big, it.cod}));
    if (n != 1) return false;
    return t.commit();
}

bool items_set_act(const QStringList& cods, bool in_use)
{
    Transaction t(shared_con());
    const QString act = in_use ? QStringLiteral("Y") : QStringLiteral("N");
    for (const QString& cod : cods)
        if (t.exec(Query("UPDATE TB4 set act=? WHERE cod=?", {act, cod})) < 0) return false;
    return t.ok() && t.commit();
}

Deletion item_delete(const QString& cod)
{
    Transaction t(shared_con());
    if (t.exec(Query("delete from TB4 where cod=?", {cod})) < 0) return Deletion::Failed;
    // A rental registered since the history check keeps the item and its history.
    const int rentals = t.exec(Query("delete from TC1 where p_cod=?", {cod}));
    if (rentals < 0) return Deletion::Failed;
    if (rentals > 0) return Deletion::History;
    return t.commit() ? Deletion::Done : Deletion::Failed;
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
