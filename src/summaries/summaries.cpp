#include "summaries/summaries.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/grid_rows.h"

#include <QByteArray>
#include <QColor>
#include <cstring>
#include <exception>
#include <initializer_list>

const QStringList& summary_member_fields()
{
    static const QStringList k{QStringLiteral("회원코드"), QStringLiteral("회 원 명")};
    return k;
}

namespace {
// Column searched for each entry of summary_member_fields(); the only column
// names that enter the member summaries' text.
QString member_column(int field) { return field == 1 ? QStringLiteral("m.nam") : QStringLiteral("m.cod"); }

// The grouping of every part of the member summaries: one row per member.
const QString member_group = QStringLiteral("GROUP BY m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,m.big ");

const QColor sub_color(30, 130, 100);
const QColor total_color(10, 60, 110);
}

// ------------------------------------------------------------------ queries

QString e1_month_from(const QDate& d) { return date_text(d).left(7) + QStringLiteral("-01"); }
QString e1_month_to(const QDate& d) { return date_text(d).left(7) + QStringLiteral("-31"); }

Query e1_list_query(const SummaryParams& p)
{
    const QString d1 = e1_month_from(p.date1), d2 = e1_month_to(p.date2);
    // The search text as it stands ("%" and "_" find themselves).
    const LikeContains found = like_contains(member_column(p.field), p.search);
    const QString& like = found.pattern;
    // Every part carries the same member filter: kind, in use, search, joined in the months.
    const QString member = found.sql + QStringLiteral(" and m.dat>=? and m.dat<=? ");
    const QString sql =
        QStringLiteral("SELECT gbn,dat,cod,nam,tel,phn,adr,max(n_sdat),max(n_edat),max(n_yun),sum(pre_meesoo),"
                       "sum(now_yun_tot),sum(now_yun_kyu),sum(pre_meesoo)+(sum(now_yun_tot))-(sum(now_yun_kyu)) as "
                       "tot_all,big FROM(")
        // the member with his latest period and the highest amount paid
        + QStringLiteral("SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,max(m.sdat) as n_sdat,max(m.edat) as "
                         "n_edat,max(m.yun) as n_yun,0 as n_dae,0 as pre_meesoo,0 as now_yun_tot,0 as "
                         "now_yun_kyu,0 as tot_all,m.big FROM MEM as m WHERE m.gbn='A' and m.act='Y' and ")
        + member + member_group
        // fees left unpaid before the months: rental fee unpaid, with its late fee
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,'1000-01-01' as "
                         "n_sdat,'1000-01-01' as n_edat,-1 as n_yun,0 as n_dae,sum(m_dae+m_yun) as pre_meesoo,0 as "
                         "now_yun_tot,0 as now_yun_kyu,0 as tot_all,m.big FROM TB1 as m,TC1 as z WHERE m.gbn='A' "
                         "and m.act='Y' and m.cod=z.m_cod and z.m_dae_chk='N' and z.s_dat<? and ")
        + member + member_group
        // late fees charged within the months
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,'1000-01-01' as "
                         "n_sdat,'1000-01-01' as n_edat,-1 as n_yun,0 as n_dae,0 as pre_meesoo,sum(m_yun) as "
                         "now_yun_tot,0 as now_yun_kyu,0 as tot_all,m.big FROM TB1 as m,TC1 as z WHERE m.gbn='A' "
                         "and m.act='Y' and m.cod=z.m_cod and z.s_dat>=? and z.s_dat<=? and ")
        + member + member_group
        // late fees paid within the months
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,'1000-01-01' as "
                         "n_sdat,'1000-01-01' as n_edat,-1 as n_yun,0 as n_dae,0 as pre_meesoo,0 as now_yun_tot,"
                         "sum(m_yun) as now_yun_kyu,0 as tot_all,m.big FROM TB1 as m,TC1 as z WHERE m.gbn='A' and "
                         "m.act='Y' and m.cod=z.m_cod and z.s_dat>=? and z.s_dat<=? and z.m_yun_chk='Y' and ")
        + member
        + member_group
        + QStringLiteral(") AS TM GROUP BY gbn,dat,cod,nam,tel,phn,adr,big ORDER BY dat,cod");
    return Query(sql, {like, d1, d2,                 //
                       d1, like, d1, d2,             //
                       d1, d2, like, d1, d2,         //
                       d1, d2, like, d1, d2});
}

Query e2_list_query(const SummaryParams& p)
{
    const QString d1 = date_text(p.date1), d2 = date_text(p.date2);
    const LikeContains found = like_contains(member_column(p.field), p.search);
    const QString& like = found.pattern;
    const QString search = found.sql + QStringLiteral(" ");
    const QString sql =
        QStringLiteral("SELECT TMP.gbn,TMP.dat,TMP.cod,TMP.nam,TMP.tel,TMP.phn,TMP.adr,sum(pre_meesoo),"
                       "sum(now_dae_tot),sum(now_yun_tot),sum(now_dae_kyu),sum(now_yun_kyu),sum(pre_meesoo)+"
                       "(sum(now_dae_tot)+sum(now_yun_tot))-(sum(now_dae_kyu)+sum(now_yun_kyu)) as tot_all,TMP.big "
                       "FROM(")
        // fees left unpaid before the days: rental fee unpaid, with its late fee
        + QStringLiteral("SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,sum(m_dae+m_yun) as pre_meesoo,0 as "
                         "now_dae_tot,0 as now_yun_tot,0 as now_dae_kyu,0 as now_yun_kyu,0 as tot_all,m.big FROM "
                         "TB1 as m,TC1 as z WHERE m.gbn='B' and m.act='Y' and m.cod=z.m_cod and z.m_dae_chk='N' and "
                         "z.s_dat<? and ")
        + search + member_group
        // rental and late fees charged within the days
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,0 as pre_meesoo,sum(m_dae) "
                         "as now_dae_tot,sum(m_yun) as now_yun_tot,0 as now_dae_kyu,0 as now_yun_kyu,0 as tot_all,"
                         "m.big FROM TB1 as m,TC1 as z WHERE m.gbn='B' and m.act='Y' and m.cod=z.m_cod and "
                         "z.s_dat>=? and z.s_dat<=? and ")
        + search + member_group
        // rental fees paid
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,0 as pre_meesoo,0 as "
                         "now_dae_tot,0 as now_yun_tot,sum(m_dae) as now_dae_kyu,0 as now_yun_kyu,0 as tot_all,"
                         "m.big FROM TB1 as m,TC1 as z WHERE m.gbn='B' and m.act='Y' and m.cod=z.m_cod and "
                         "z.s_dat>=? and z.s_dat<=? and z.m_dae_chk='Y' and ")
        + search + member_group
        // late fees paid
        + QStringLiteral("UNION ALL SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,0 as pre_meesoo,0 as "
                         "now_dae_tot,0 as now_yun_tot,0 as now_dae_kyu,sum(m_yun) as now_yun_kyu,0 as tot_all,"
                         "m.big FROM TB1 as m,TC1 as z WHERE m.gbn='B' and m.act='Y' and m.cod=z.m_cod and "
                         "z.s_dat>=? and z.s_dat<=? and z.m_yun_chk='Y' and ")
        + search + member_group
        + QStringLiteral(") as TMP GROUP BY TMP.gbn,TMP.dat,TMP.cod,TMP.nam,TMP.tel,TMP.phn,TMP.adr,TMP.big "
                         "ORDER BY TMP.gbn,TMP.dat,TMP.cod");
    return Query(sql, {d1, like, d1, d2, like, d1, d2, like, d1, d2, like});
}

Query e3_list_query(const QDate& d1, const QDate& d2)
{
    const QString from = date_text(d1), to = date_text(d2), before = date_text(d1.addDays(-60));
    const QString fields = QStringLiteral("p.gbn,p.cod,p.f1_nam,p.f2_nam,p.f3_nam,p.f4_nam,p.f5_nam,p.f6_nam,");
    const QString group = QStringLiteral("GROUP BY p.gbn,p.cod,p.f1_nam,p.f2_nam,p.f3_nam,p.f4_nam,p.f5_nam,p.f6_nam,p.big");
    const QString sql =
        QStringLiteral("SELECT TMP.gbn,TMP.cod,TMP.f1_nam,TMP.f2_nam,TMP.f3_nam,TMP.f4_nam,TMP.f5_nam,TMP.f6_nam,"
                       "sum(cc1),sum(cc2),TMP.big FROM(SELECT ")
        + fields
        + QStringLiteral("count(z.idx) as cc1,0 as cc2,p.big FROM TB4 as p,TC1 as z WHERE p.cod=z.p_cod and "
                         "z.s_dat>=? and z.s_dat<? ")
        + group + QStringLiteral(" UNION ALL SELECT ") + fields
        + QStringLiteral("0 as cc1,count(z.idx) as cc2,p.big FROM TB4 as p,TC1 as z WHERE p.cod=z.p_cod and "
                         "z.s_dat>=? and z.s_dat<=? ")
        + group
        + QStringLiteral(") as TMP GROUP BY TMP.gbn,TMP.cod,TMP.f1_nam,TMP.f2_nam,TMP.f3_nam,TMP.f4_nam,TMP.f5_nam,"
                         "TMP.f6_nam,TMP.big ORDER BY TMP.gbn,sum(cc2),TMP.cod");
    return Query(sql, {before, from, from, to});
}

// ------------------------------------------------------------------ grids

namespace {
void put_amount(FlexGrid& ms, int r, int c, qint64 v)
{
    char buf[32];
    ms.set_utf8(r, c, buf, amount_utf8(v, buf));
}

// A subtotal or totals row: its label in `label_col`, the amounts from
// `first` on, all of them in `color`.
void sum_row(FlexGrid& ms, int label_col, const QString& label, int first, std::initializer_list<qint64> amounts,
             const QColor& color)
{
    const int r = ms.add_row();
    ms.set_text(r, label_col, label);
    ms.set_cell_fore_color(r, label_col, color);
    int c = first;
    for (qint64 v : amounts) {
        put_amount(ms, r, c, v);
        ms.set_cell_fore_color(r, c++, color);
    }
}

// Runs q into ms: `head` sets up the columns once the first record is there,
// `row` fills one record (adding the rows it needs), `end` adds the closing
// rows. Any failure on the way leaves the grid empty. The records read.
template <class Head, class Row, class End>
int run_fill(FlexGrid& ms, Connection& c, const Query& q, Head head, Row row, End end)
{
    ms.clear_grid();
    try {
        Cursor cur(c, q);
        if (!cur.next()) return 0;
        head(cur);
        ms.set_redraw(false);
        int n = 0;
        do {
            ++n;
            row(cur);
        } while (cur.next());
        ms.set_redraw(true);
        if (!cur.ok()) {
            // A list that broke off part-way is no list.
            ms.clear_grid();
            return 0;
        }
        end();
        ms.set_row(1);
        ms.set_col(0);
        return n;
    } catch (const std::exception& e) {
        report_sql_error(q.sql, QString::fromUtf8(e.what()));
        ms.set_redraw(true);
        ms.clear_grid();
        return 0;
    }
}

const QStringList member_heads{"", "구분", "가입일", "회원코드", "회 원 명", "전화번호", "휴 대 폰", "주    소"};

void set_widths(FlexGrid& ms, std::initializer_list<int> widths, int width_twips)
{
    if (ms.rows() < 2 || ms.cols() != int(widths.size()) + 1) return;
    int c = 0;
    for (int w : widths) ms.set_col_width(c++, w);
    ms.fit_last_column(width_twips);
}
}

int e1_fill_grid(FlexGrid& ms, Connection& c, const Query& q, qint64 haebi)
{
    static const QByteArray no_period = QByteArrayLiteral("####-##-##");
    qint64 t_yun = 0, t_pre = 0, t_tot = 0, t_kyu = 0, t_bal = 0;
    const auto head = [&](const Cursor&) {
        ms.set_header(member_heads + QStringList{"시작일", "만료일", "연회비", "이전미수", "연체총액", "연체결제",
                                                 "미수총액", "비    고"});
        ms.set_row_height(1, 380);
        ms.set_col_alignment({1, 2, 3, 8, 9}, FlexGrid::AlignCenter);
        ms.set_col_alignment({10, 11, 12, 13, 14}, FlexGrid::AlignRight);
    };
    const auto row = [&](const Cursor& cur) {
        const int r = ms.add_row();
        for (int f = 0; f <= 6; ++f) copy_cell(ms, r, f + 1, cur, f);
        // A member without any period (-1 from MEM) has paid nothing.
        const qint64 max_yun = cur.integer(9);
        const bool has_period = max_yun != -1;
        const qint64 paid = has_period ? max_yun : 0;
        if (has_period) {
            copy_cell(ms, r, 8, cur, 7);
            copy_cell(ms, r, 9, cur, 8);
        } else {
            ms.set_utf8(r, 8, no_period.constData(), int(no_period.size()));
            ms.set_utf8(r, 9, no_period.constData(), int(no_period.size()));
        }
        const qint64 pre = cur.integer(10), tot = cur.integer(11), kyu = cur.integer(12);
        const qint64 balance = cur.integer(13) + (haebi - paid);
        put_amount(ms, r, 10, paid);
        put_amount(ms, r, 11, pre);
        put_amount(ms, r, 12, tot);
        put_amount(ms, r, 13, kyu);
        put_amount(ms, r, 14, balance);
        copy_cell(ms, r, 15, cur, 14);
        t_yun += paid;
        t_pre += pre;
        t_tot += tot;
        t_kyu += kyu;
        t_bal += balance;
    };
    const auto end = [&] {
        sum_row(ms, 3, QStringLiteral("(Data Total)"), 10, {t_yun, t_pre, t_tot, t_kyu, t_bal}, total_color);
    };
    return run_fill(ms, c, q, head, row, end);
}

int e2_fill_grid(FlexGrid& ms, Connection& c, const Query& q)
{
    qint64 t[6] = {0, 0, 0, 0, 0, 0};
    const auto head = [&](const Cursor&) {
        ms.set_header(member_heads + QStringList{"이전미수", "대여총액", "연체총액", "대여결제", "연체결제", "미수총액",
                                                 "비    고"});
        ms.set_row_height(1, 380);
        ms.set_col_alignment({1, 2, 3}, FlexGrid::AlignCenter);
        ms.set_col_alignment({8, 9, 10, 11, 12, 13}, FlexGrid::AlignRight);
    };
    const auto row = [&](const Cursor& cur) {
        const int r = ms.add_row();
        for (int f = 0; f <= 6; ++f) copy_cell(ms, r, f + 1, cur, f);
        for (int i = 0; i < 6; ++i) {
            const qint64 v = cur.integer(7 + i);
            put_amount(ms, r, 8 + i, v);
            t[i] += v;
        }
        copy_cell(ms, r, 14, cur, 13);
    };
    const auto end = [&] {
        sum_row(ms, 3, QStringLiteral("(Data Total)"), 8, {t[0], t[1], t[2], t[3], t[4], t[5]}, total_color);
    };
    return run_fill(ms, c, q, head, row, end);
}

int e3_fill_grid(FlexGrid& ms, Connection& c, const Query& q)
{
    QByteArray category;   // of the previous item row
    qint64 sub1 = 0, sub2 = 0, tot1 = 0, tot2 = 0;
    const auto subtotal = [&] {
        sum_row(ms, 3, QStringLiteral("소계(%1)").arg(QString::fromUtf8(category)), 9, {sub1, sub2},
                sub_color);
        sub1 = sub2 = 0;
    };
    const auto head = [&](const Cursor& cur) {
        QStringList heads{"", "품목분류", "바 코 드"};
        for (int i = 1; i <= 6; ++i) heads << f_nam(i);
        heads << QStringLiteral("이전대여") << QStringLiteral("기간대여") << QStringLiteral("비    고");
        ms.set_header(heads);
        ms.set_row_height(1, 380);
        ms.set_col_alignment(2, FlexGrid::AlignCenter);
        ms.set_col_alignment({9, 10}, FlexGrid::AlignRight);
        int len = 0;
        const char* p = cur.utf8(0, &len);
        category = QByteArray(p, len);
    };
    const auto row = [&](const Cursor& cur) {
        int len = 0;
        const char* p = cur.utf8(0, &len);
        // Categories compare without case, as the list is ordered.
        const bool same = (len == category.size() && std::memcmp(p, category.constData(), size_t(len)) == 0)
                          || QString::fromUtf8(p, len).compare(QString::fromUtf8(category), Qt::CaseInsensitive) == 0;
        if (!same) {
            subtotal();
            category = QByteArray(p, len);
        }
        const int r = ms.add_row();
        for (int f = 0; f <= 7; ++f) copy_cell(ms, r, f + 1, cur, f);
        const qint64 cc1 = cur.integer(8), cc2 = cur.integer(9);
        put_amount(ms, r, 9, cc1);
        put_amount(ms, r, 10, cc2);
        copy_cell(ms, r, 11, cur, 10);
        sub1 += cc1;
        sub2 += cc2;
        tot1 += cc1;
        tot2 += cc2;
    };
    const auto end = [&] {
        subtotal();
        sum_row(ms, 3, QStringLiteral("(Data Total)"), 9, {tot1, tot2}, total_color);
    };
    return run_fill(ms, c, q, head, row, end);
}

namespace {
// Dates, and the "####-##-##" of a member without periods, in the standard
// date width: the program's font and the grid's padding fit them there.
int date_width() { return col_w[1]; }
int period_width() { return col_w[1]; }
}

void e1_col_widths(FlexGrid& ms, bool detail, int width_twips)
{
    const int d = detail ? 1 : 0;
    set_widths(ms,
               {0, col_w[0], date_width(), col_w[2], col_w[3], d * col_w[4], d * col_w[5], d * col_w[6],
                period_width(), period_width(), col_w[16], col_w[16], col_w[16], col_w[16], col_w[16]},
               width_twips);
}

void e2_col_widths(FlexGrid& ms, bool detail, int width_twips)
{
    const int d = detail ? 1 : 0;
    set_widths(ms,
               {0, col_w[0], date_width(), col_w[2], col_w[3], d * col_w[4], d * col_w[5], d * col_w[6], col_w[16],
                col_w[16], col_w[16], col_w[16], col_w[16], col_w[16]},
               width_twips);
}

void e3_col_widths(FlexGrid& ms, bool detail, int width_twips)
{
    const int d = detail ? 1 : 0;
    set_widths(ms,
               {0, col_w[7], col_w[8], col_w[9], d * col_w[10], d * col_w[11], d * col_w[12], d * col_w[13],
                d * col_w[14], col_w[15], col_w[15]},
               width_twips);
}
