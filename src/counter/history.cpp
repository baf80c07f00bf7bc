#include "counter/history.h"
#include "data/amounts.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/FlexGrid.h"

#include <QByteArray>
#include <QColor>

const QStringList& ca_date_kinds()
{
    static const QStringList k{QStringLiteral("대여일자"), QStringLiteral("반납일자"), QStringLiteral("반납예정")};
    return k;
}

const QStringList& ca_search_fields()
{
    static const QStringList k{QStringLiteral("회원코드"), QStringLiteral("회 원 명"), QStringLiteral("바 코 드"),
                               QStringLiteral("대여유저"), QStringLiteral("반납유저")};
    return k;
}

int ca_group_col(CaDateKind kind)
{
    switch (kind) {
    case CaDateKind::Return: return 6;
    case CaDateKind::Due: return 5;
    default: return 4;
    }
}

Query ca_list_query(const CaParams& p)
{
    // Column names come from these fixed tables only; every value is bound.
    static const char* fields[] = {"m.cod", "m.nam", "p.cod", "z.u_dae", "z.u_ban"};
    static const char* dates[] = {"z.s_dat", "z.e_dat", "z.c_dat"};
    const int fi = p.field >= 0 && p.field < 5 ? p.field : 0;
    const int di = int(p.kind) >= 0 && int(p.kind) < 3 ? int(p.kind) : 0;
    const QString dcol = QLatin1String(dates[di]);

    QString sql = QStringLiteral(
        "select z.idx,'' as ch,'' as mrk,z.ccc,z.s_dat,z.c_dat,z.e_dat,z.m_cod,m.nam,z.p_cod,p.f1_nam,p.f2_nam,"
        "p.f3_nam,p.f4_nam,z.m_dae,z.m_yun,z.m_dae_chk,z.m_yun_chk,z.u_dae,z.u_ban,z.mgm,z.big "
        "from TC1 as z,TB1 as m,TB4 as p where ");
    QVariantList args;
    switch (p.filter) {
    case CaFilter::Overdue:
        sql += QStringLiteral("((z.c_dat<? and z.e_dat='') or (z.e_dat>z.c_dat and z.e_dat<>'')) "
                              "and z.m_cod=m.cod and z.p_cod=p.cod and ");
        args << p.today.toString(QStringLiteral("yyyy-MM-dd"));
        break;
    case CaFilter::Unpaid:
        sql += QStringLiteral("z.m_cod=m.cod and z.p_cod=p.cod and (z.m_dae_chk='N' or z.m_yun_chk='N') and ");
        break;
    case CaFilter::NotReturned:
        sql += QStringLiteral("z.m_cod=m.cod and z.p_cod=p.cod and z.e_dat='' and ");
        break;
    case CaFilter::None:
        sql += QStringLiteral("z.m_cod=m.cod and z.p_cod=p.cod and ");
        break;
    }
    const LikeContains like = like_contains(QLatin1String(fields[fi]), p.search);
    sql += dcol + QStringLiteral(">=? and ") + dcol + QStringLiteral("<=? and ") + like.sql
           + QStringLiteral(" ORDER BY ") + dcol + QStringLiteral(",z.m_cod");
    args << p.date1 << p.date2 << like.pattern;
    return Query(sql, args);
}

void ca_clear_grid(FlexGrid* ms)
{
    if (!ms) return;
    ms->clear_grid(0);
}

namespace {
const QColor sub_color(30, 130, 100);
const QColor total_color(10, 60, 110);

void sum_row(FlexGrid* ms, const QString& label, qint64 dae, qint64 yun, const QColor& color)
{
    const int r = ms->add_row();
    ms->set_text(r, 4, label);
    ms->set_text(r, 14, amount_text(dae));
    ms->set_text(r, 15, amount_text(yun));
    ms->set_cell_fore_color(r, 4, color);
    ms->set_cell_fore_color(r, 14, color);
    ms->set_cell_fore_color(r, 15, color);
}

// Payment mark of the two paid flags as UTF-8: "●" both paid, "◐" rental
// fee only, "◑" late fee only, "○" neither; none for any other pair.
const char* mark_utf8(const char* d, int dl, const char* y, int yl, int* len)
{
    *len = 0;
    if (dl != 1 || yl != 1) return "";
    const bool dy = *d == 'Y', dn = *d == 'N', yy = *y == 'Y', yn = *y == 'N';
    const char* m = nullptr;
    if (dy && yy) m = "●";
    else if (dy && yn) m = "◐";
    else if (dn && yy) m = "◑";
    else if (dn && yn) m = "○";
    if (!m) return "";
    *len = int(strlen(m));
    return m;
}
}

CaFill ca_fill_grid(FlexGrid* ms, Connection& c, const Query& q, CaDateKind kind)
{
    CaFill f;
    ca_clear_grid(ms);
    Cursor cur(c, q);
    if (!cur.ok()) { f.failed = true; return f; }
    if (!cur.next()) { f.failed = !cur.ok(); return f; }

    static const char* heads[] = {"일련번호", "CH", "MK", "CNT", "대여일자", "반납예정", "반납일자", "회원코드",
                                  "회 원 명", "바 코 드", nullptr, nullptr, nullptr, nullptr, "대 여 료", "연 체 료",
                                  "결제1", "결제2", "대여처리", "반납처리", "마감", "비    고"};
    ms->set_redraw(false);
    ms->set_cols(22);
    ms->set_rows(1);
    ms->set_row_height(0, 440);
    ms->set_row_height(1, 380);
    for (int col = 0; col < 22; ++col)
        ms->set_text(0, col, heads[col] ? QString::fromUtf8(heads[col]) : f_nam(col - 9));
    for (int col : {1, 2, 3, 4, 5, 6, 7, 9}) ms->set_col_alignment(col, FlexGrid::AlignCenter);
    for (int col : {8, 10, 11, 12, 13}) ms->set_col_alignment(col, FlexGrid::AlignLeft);
    for (int col : {14, 15}) ms->set_col_alignment(col, FlexGrid::AlignRight);

    const int gcol = ca_group_col(kind);
    int len = 0;
    const char* p = cur.utf8(gcol, &len);
    QByteArray group(p, len);
    qint64 g_dae = 0, g_yun = 0;
    do {
        ++f.rows;
        p = cur.utf8(gcol, &len);
        if (len != group.size() || memcmp(p, group.constData(), size_t(len)) != 0) {
            sum_row(ms, QStringLiteral("(") + QString::fromUtf8(group) + QStringLiteral(")"), g_dae, g_yun,
                    sub_color);
            g_dae = g_yun = 0;
            group = QByteArray(p, len);
        }
        const int r = ms->add_row();
        for (int col = 0; col < 22; ++col) {
            if (col == 14 || col == 15) continue;
            p = cur.utf8(col, &len);
            if (len) ms->set_utf8(r, col, p, len);
        }
        const qint64 dae = cur.integer(14), yun = cur.integer(15);
        char buf[32];
        ms->set_utf8(r, 14, buf, amount_utf8(dae, buf));
        ms->set_utf8(r, 15, buf, amount_utf8(yun, buf));
        g_dae += dae;
        g_yun += yun;
        f.total_dae += dae;
        f.total_yun += yun;
        cur.utf8(6, &len);
        if (len == 0) ++f.not_returned;
        int dl = 0, yl = 0;
        const char* d = cur.utf8(16, &dl);
        const char* y = cur.utf8(17, &yl);
        const char* m = mark_utf8(d, dl, y, yl, &len);
        if (len) ms->set_utf8(r, 2, m, len);
    } while (cur.next());
    ms->set_redraw(true);
    sum_row(ms, QStringLiteral("(") + QString::fromUtf8(group) + QStringLiteral(")"), g_dae, g_yun, sub_color);
    sum_row(ms, QStringLiteral("(Data Total)"), f.total_dae, f.total_yun, total_color);
    ms->set_row(1);
    ms->set_col(0);
    f.found = true;
    f.failed = !cur.ok();
    return f;
}

void ca_set_col_width(FlexGrid* ms, bool detail, int grid_width_twips)
{
    if (!ms || ms->rows() < 2 || ms->cols() < 22) return;
    const int w1 = col_w[1] + 150;
    const int widths[21] = {0,        col_w[0], col_w[0], col_w[0], w1, w1, w1,
                            col_w[2], col_w[3], col_w[8], col_w[9],
                            detail ? col_w[10] : 0, detail ? col_w[11] : 0, detail ? col_w[12] : 0,
                            col_w[16], col_w[16], 0, 0, 1400, 1400, 0};
    int used = 0;
    for (int col = 0; col < 21; ++col) {
        ms->set_col_width(col, widths[col]);
        if (col >= 1) used += widths[col];
    }
    ms->set_col_width(21, std::max(grid_width_twips - used - 330, 2500));
}

QString ca_result_text(const CaFill& f)
{
    if (!f.found) return QStringLiteral("검색자료가 존재하지 않습니다!");
    return QStringLiteral("검색건수: %1건   미납건수: %2").arg(amount_text(f.rows), amount_text(f.not_returned));
}
