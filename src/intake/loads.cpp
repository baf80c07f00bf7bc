#include "intake/loads.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/text.h"
#include "registers/members.h"
#include "ui/FlexGrid.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

QString load_date(const QString& text, bool* looks_like)
{
    static const QRegularExpression shape(QStringLiteral("^(\\d{4})([-./])(\\d{1,2})\\2(\\d{1,2})$"));
    const QRegularExpressionMatch m = shape.match(text.trimmed());
    if (looks_like) *looks_like = m.hasMatch();
    if (!m.hasMatch()) return QString();
    const QDate d(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    return d.isValid() ? date_text(d) : QString();
}

bool load_fee(const QString& text, qint64* value)
{
    static const QRegularExpression number(QStringLiteral("^([+-]?)(\\d+)(?:\\.(\\d+))?$"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch()) return false;
    QString whole = m.captured(2);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
    if (whole.size() > 15) return false;   // far beyond any fee
    qint64 v = whole.toLongLong();
    const QString frac = m.captured(3);
    if (!frac.isEmpty()) {
        const QChar first = frac.at(0);
        const bool rest_zero = QStringView(frac).mid(1).count(QLatin1Char('0')) == frac.size() - 1;
        if (first > QLatin1Char('5') || (first == QLatin1Char('5') && (!rest_zero || v % 2 == 1))) ++v;
    }
    *value = m.captured(1) == QLatin1String("-") ? -v : v;
    return true;
}

namespace {
QString upper_clean(const QString& t) { return clean_input(t.toUpper()); }
}

bool check_member_cells(LoadCells& c, int code_len)
{
    bool faulty = false;
    const QString kind = c[0] = upper_clean(c[0]);
    if (kind != QLatin1String("A") && kind != QLatin1String("B")) faulty = true;

    c[1] = upper_clean(c[1]);
    const QString joined = load_date(c[1]);
    if (joined.isEmpty()) faulty = true;
    else c[1] = joined;

    c[2] = upper_clean(c[2]);
    c[3] = upper_clean(c[3]);
    c[4] = clean_input(c[4]);
    if (kind == QLatin1String("A") && c[4] != QLatin1String("Y") && c[4] != QLatin1String("N")) faulty = true;

    c[5] = upper_clean(c[5]);
    if (c[5].size() != code_len) faulty = true;
    for (int i = 6; i < k_sheet_cols; ++i) c[size_t(i)] = clean_input(c[size_t(i)]);

    // The first period of a regular member: a period cell without a date
    // takes the joining date and a year; a date that does not exist is a
    // typing error the administrator must see.
    if (kind == QLatin1String("A")) {
        bool start_shape = false, end_shape = false;
        const QString start = load_date(c[2], &start_shape);
        const QString end = load_date(c[3], &end_shape);
        if ((start_shape && start.isEmpty()) || (end_shape && end.isEmpty())) faulty = true;
        if (start.isEmpty() || end.isEmpty()) {
            const QDate j = parse_date(joined);
            c[2] = c[1];
            c[3] = j.isValid() ? date_text(period_end(j)) : QString();
        } else {
            c[2] = start;
            c[3] = end;
        }
    } else if (kind == QLatin1String("B")) {
        c[2].clear();
        c[3].clear();
    }
    return faulty;
}

namespace {
// A fee cell cleaned as every cell is, but with its minus sign kept, so that
// a negative fee is seen and refused instead of stored as positive.
bool check_fee(QString& cell)
{
    const QString raw = cell.trimmed();
    QString t = clean_input(cell);
    if (raw.startsWith(QLatin1Char('-'))) t.prepend(QLatin1Char('-'));
    qint64 v = 0;
    if (!load_fee(t, &v)) {
        cell = t;
        return true;
    }
    cell = amount_text(v);
    return v < 0;
}
}

bool check_item_cells(LoadCells& c, int code_len)
{
    bool faulty = false;
    c[0] = upper_clean(c[0]);
    c[1] = upper_clean(c[1]);
    if (c[1].size() != code_len) faulty = true;
    c[2] = upper_clean(c[2]);
    for (int i = 3; i <= 7; ++i) c[size_t(i)] = clean_input(c[size_t(i)]);
    if (check_fee(c[8])) faulty = true;
    if (check_fee(c[9])) faulty = true;
    c[10] = clean_input(c[10]);
    return faulty;
}

bool blank_load_row(const GridStore& g, int r)
{
    for (int c = 1; c < g.cols(); ++c) {
        int len = 0;
        g.utf8(r, c, &len);
        if (len) return false;
    }
    return true;
}

int first_duplicate(const GridStore& g, int col)
{
    QHash<QByteArray, int> seen;
    seen.reserve(g.rows());
    for (int r = 1; r < g.rows(); ++r) {
        int len = 0;
        const char* p = g.utf8(r, col, &len);
        if (len) ++seen[QByteArray::fromRawData(p, len)];
    }
    for (int r = 1; r < g.rows(); ++r) {
        int len = 0;
        const char* p = g.utf8(r, col, &len);
        if (len && seen.value(QByteArray::fromRawData(p, len)) > 1) return r;
    }
    return 0;
}

bool save_members(const GridStore& g, qint64 fee, const LoadProgress& progress)
{
    Connection& c = shared_con();
    Transaction t(c);
    if (!t.ok()) return false;
    for (int r = 1; r < g.rows(); ++r) {
        if (!blank_load_row(g, r)) {
            const QString kind = g.text(r, 2), cod = g.text(r, 7);
            const Lookup found = lookup(c, Query("select cod from TB1 where cod=? limit 1", {cod}));
            if (found == Lookup::Failed) return false;
            if (found == Lookup::None) {
                if (t.exec(Query("insert into TB1 values('Y',?,?,?,?,?,?,?,?)",
                                 {kind, g.text(r, 3), cod, g.text(r, 8), g.text(r, 9), g.text(r, 10),
                                  g.text(r, 11), g.text(r, 12)}))
                    != 1)
                    return false;
                if (kind == QLatin1String("A")) {
                    const qint64 amount = g.text(r, 6) == QLatin1String("Y") ? fee : 0;
                    if (t.exec(Query("insert into TB1_1(cod,s_dat,e_dat,mon,chm) values(?,?,?,?,'')",
                                     {cod, g.text(r, 4), g.text(r, 5), amount}))
                        != 1)
                        return false;
                }
            }
        }
        if (progress) progress(r);
    }
    return t.commit();
}

bool save_items(const GridStore& g, const LoadProgress& progress)
{
    Connection& c = shared_con();
    Transaction t(c);
    if (!t.ok()) return false;
    QSet<QString> categories;   // found or made in this run
    for (int r = 1; r < g.rows(); ++r) {
        if (!blank_load_row(g, r)) {
            const QString gbn = g.text(r, 2), cod = g.text(r, 3);
            if (!gbn.isEmpty() && !categories.contains(gbn)) {
                const Lookup cat = lookup(c, Query("select nam from TB2 where nam=? limit 1", {gbn}));
                if (cat == Lookup::Failed) return false;
                if (cat == Lookup::None && t.exec(Query("insert into TB2 values(?,'')", {gbn})) != 1) return false;
                categories.insert(gbn);
            }
            bool dae_ok = false, yun_ok = false;
            const qint64 dae = parse_amount(g.text(r, 10), &dae_ok);
            const qint64 yun = parse_amount(g.text(r, 11), &yun_ok);
            if (!dae_ok || !yun_ok) return false;
            const Lookup item = lookup(c, Query("select cod from TB4 where cod=? limit 1", {cod}));
            if (item == Lookup::Failed) return false;
            QVariantList v{gbn, g.text(r, 4), g.text(r, 5), g.text(r, 6), g.text(r, 7), g.text(r, 8),
                           g.text(r, 9), dae, yun, g.text(r, 12)};
            if (item == Lookup::None) {
                v.insert(1, cod);
                if (t.exec(Query("insert into TB4 values('Y','N',?,?,?,?,?,?,?,?,?,?,?)", v)) != 1) return false;
            } else {
                v << cod;
                if (t.exec(Query("update TB4 set gbn=?,f1_nam=?,f2_nam=?,f3_nam=?,f4_nam=?,f5_nam=?,f6_nam=?,"
                                 "dae=?,yun=?,big=? where cod=?",
                                 v))
                    != 1)
                    return false;
            }
        }
        if (progress) progress(r);
    }
    return t.commit();
}
