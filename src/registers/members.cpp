#include "registers/members.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/ListWindow.h"
#include "ui/grid_rows.h"

#include <QProgressBar>
#include <algorithm>

// ------------------------------------------------------------- member list
namespace {
struct Entry { const char* text; const char* value; };
const Entry kinds[] = {{"전체보기", ""}, {"정 회 원", "A"}, {"비 회 원", "B"}};
const Entry fields[] = {{"회원코드", "m.cod"}, {"회 원 명", "m.nam"}, {"전화번호", "m.tel"},
                        {"휴 대 폰", "m.phn"}, {"주    소", "m.adr"}, {"비    고", "m.big"}};

template <size_t N> QStringList entry_texts(const Entry (&e)[N])
{
    QStringList out;
    for (const Entry& x : e) out << QString::fromUtf8(x.text);
    return out;
}

template <size_t N> const char* entry_value(const Entry (&e)[N], const QString& text, const char* fallback)
{
    for (const Entry& x : e)
        if (text == QString::fromUtf8(x.text)) return x.value;
    return fallback;
}

// "0".."999" without the cost of the general grouping.
void set_count(FlexGrid& ms, int r, int c, qint64 n)
{
    if (n >= 0 && n < 1000) {
        char buf[4];
        int len = 0;
        if (n >= 100) buf[len++] = char('0' + n / 100);
        if (n >= 10) buf[len++] = char('0' + n / 10 % 10);
        buf[len++] = char('0' + n % 10);
        ms.set_utf8(r, c, buf, len);
    } else {
        ms.set_text(r, c, amount_text(n));
    }
}
}

QStringList b1_kind_entries() { return entry_texts(kinds); }
QString b1_kind_of(const QString& entry) { return QString::fromUtf8(entry_value(kinds, entry, "")); }
QStringList b1_field_entries() { return entry_texts(fields); }
QString b1_field_column(const QString& entry) { return QString::fromUtf8(entry_value(fields, entry, "m.cod")); }

Query b1_list_query(const QString& kind_entry, const QString& field_entry, const QString& search, bool in_use)
{
    // MEM gives every member at least one row (yun -1 when he has no period),
    // so grouping it by member gives the latest period, the highest paid
    // amount and the no-period marker at once; the open rentals are counted
    // per member from TC1.
    QString sql = QStringLiteral(
        "SELECT m.gbn,m.dat,m.cod,m.nam,m.tel,m.phn,m.adr,max(m.sdat),max(m.edat),max(m.yun),"
        "(SELECT count(*) FROM TC1 AS z WHERE z.m_cod=m.cod AND z.e_dat=''),m.big "
        "FROM MEM AS m WHERE m.act=? ");
    QVariantList args{in_use ? QStringLiteral("Y") : QStringLiteral("N")};
    const QString kind = b1_kind_of(kind_entry);
    if (!kind.isEmpty()) {
        sql += QStringLiteral("AND m.gbn=? ");
        args << kind;
    }
    const LikeContains like = like_contains(b1_field_column(field_entry), search);
    sql += QStringLiteral("AND ") + like.sql + QStringLiteral(" GROUP BY m.cod");
    args << like.pattern;
    return Query(sql, args);
}

void b1_col_widths(FlexGrid& ms, int width_twips)
{
    if (ms.rows() < 2 || ms.cols() < 14) return;
    const int w[13] = {0,         col_w[0], col_w[0], col_w[1], col_w[2], col_w[3],        col_w[4],
                       col_w[5],  col_w[6], col_w[1], col_w[1], col_w[0], col_w[15] - 200};
    int used = 0;
    for (int c = 0; c < 13; ++c) {
        ms.set_col_width(c, w[c]);
        used += w[c];
    }
    ms.set_col_width(13, std::max(width_twips - used - 330, 2500));
}

int b1_fill_grid(FlexGrid& ms, const Query& q, QProgressBar* pb)
{
    ms.clear_grid();
    Cursor c(con(), q);
    if (!c.next()) {
        if (pb) pb->setValue(0);
        return 0;
    }

    ms.set_header({"", "CHK", "구분", "가입일", "회원코드", "회 원 명", "전화번호", "휴 대 폰", "주    소", "시작일",
                   "만료일", "결제", "미반납", "비    고"});
    ms.set_col_alignment({1, 2, 3, 4, 9, 10, 11}, FlexGrid::AlignCenter);
    ms.set_col_alignment(12, FlexGrid::AlignRight);
    // The list holds at most every member: room for them up front spares the
    // grid's storage its growing copies.
    bool failed = false;
    const int members = con().scalar(Query("SELECT count(*) FROM TB1"), &failed).toInt();
    if (!failed && members > 0) ms.reserve_rows(members + 1, 120);

    static const QByteArray no_period = QByteArrayLiteral("####-##-##");
    static const QByteArray paid = QStringLiteral("●").toUtf8();
    static const QByteArray unpaid = QStringLiteral("○").toUtf8();
    ms.set_redraw(false);
    int n = 0;
    do {
        const int r = ms.add_row();
        ++n;
        for (int f = 0; f <= 6; ++f)
            copy_cell(ms, r, f + 2, c, f);
        const qint64 y = c.integer(9);
        if (y == -1) {
            ms.set_utf8(r, 9, no_period.constData(), int(no_period.size()));
            ms.set_utf8(r, 10, no_period.constData(), int(no_period.size()));
            ms.set_utf8(r, 11, unpaid.constData(), int(unpaid.size()));
        } else {
            copy_cell(ms, r, 9, c, 7);
            copy_cell(ms, r, 10, c, 8);
            const QByteArray& mark = y == 0 ? unpaid : paid;
            ms.set_utf8(r, 11, mark.constData(), int(mark.size()));
        }
        set_count(ms, r, 12, c.integer(10));
        copy_cell(ms, r, 13, c, 11);
    } while (c.next());
    ms.set_row_height(1, 380);
    ms.set_redraw(true);
    ms.set_row(1);
    // The bar is set once: each change of it repaints the window there and then.
    ListWindow::show_list_progress(pb, n);
    if (!c.ok()) {
        // A list that broke off part-way is no list.
        ms.clear_grid();
        if (pb) pb->setValue(0);
        return 0;
    }
    return n;
}

Lookup member_open_or_unpaid(const QString& cod)
{
    return lookup(con(), Query("SELECT idx FROM TC1 WHERE m_cod=? and (e_dat='' or m_dae_chk='N' or m_yun_chk='N') LIMIT 1",
                               {cod}));
}

Lookup member_has_history(const QString& cod)
{
    return lookup(con(), Query("SELECT idx FROM TC1 WHERE m_cod=? LIMIT 1", {cod}));
}

Lookup member_code_taken(const QString& cod)
{
    return lookup(con(), Query("SELECT cod FROM TB1 WHERE cod=?", {cod}));
}

bool switch_members(const QStringList& codes, bool in_use)
{
    Transaction t(con());
    const QString flag = in_use ? QStringLiteral("Y") : QStringLiteral("N");
    for (const QString& cod : codes)
        if (t.exec(Query("UPDATE TB1 SET act=? WHERE cod=?", {flag, cod})) != 1) return false;
    return t.commit();
}

Deletion delete_member(const QString& cod)
{
    Transaction t(con());
    if (t.exec(Query("DELETE FROM TB1 WHERE cod=?", {cod})) != 1) return Deletion::Failed;
    // A rental registered since the history check keeps the member, his
    // periods and the rental.
    const int rentals = t.exec(Query("DELETE FROM TC1 WHERE m_cod=?", {cod}));
    if (rentals < 0) return Deletion::Failed;
    if (rentals > 0) return Deletion::History;
    if (t.exec(Query("DELETE FROM TB1_1 WHERE cod=?", {cod})) < 0) return Deletion::Failed;
    return t.commit() ? Deletion::Done : Deletion::Failed;
}

// ----------------------------------------------------------- member dialog
QDate period_end(const QDate& start) { return start.addDays(365); }

bool insert_member(const MemberInput& m, bool paid, const QDate& today, qint64 fee)
{
    Transaction t(con());
    if (t.exec(Query("INSERT INTO TB1 VALUES('Y',?,?,?,?,?,?,?,?)",
                     {m.gbn, m.dat, m.cod, m.nam, m.tel, m.phn, m.adr, m.big})) != 1)
        return false;
    if (m.gbn == QLatin1String("A")
        && t.exec(Query("INSERT INTO TB1_1(cod,s_dat,e_dat,mon,chm) VALUES(?,?,?,?,'')",
                        {m.cod, date_text(today), date_text(period_end(today)), paid ? fee : qint64(0)})) != 1)
        return false;
    return t.commit();
}

bool update_member(const MemberInput& m)
{
    Transaction t(con());
    if (t.exec(Query("UPDATE TB1 SET gbn=?,dat=?,nam=?,tel=?,phn=?,adr=?,big=? WHERE cod=?",
                     {m.gbn, m.dat, m.nam, m.tel, m.phn, m.adr, m.big, m.cod})) != 1)
        return false;
    return t.commit();
}

bool load_periods(const QString& cod, QList<Period>* out)
{
    out->clear();
    Cursor c(con(), Query("SELECT idx,s_dat,e_dat,mon,chm FROM TB1_1 WHERE cod=? ORDER BY idx", {cod}));
    while (c.next()) {
        Period p;
        p.idx = c.integer(0);
        p.s_dat = c.text(1);
        p.e_dat = c.text(2);
        p.mon = c.integer(3);
        p.chm = c.text(4);
        out->append(p);
    }
    if (!c.ok()) out->clear();
    return c.ok();
}

QString period_add_refusal(const QList<Period>& periods, const QDate& start, const QDate& end)
{
    const QString s = date_text(start), e = date_text(end);
    for (const Period& p : periods) {
        // Stored dates are "yyyy-mm-dd": as text they order as dates.
        if (e < p.e_dat) return QStringLiteral("등록된 데이터보다 만료일이 더 작습니다!");
        if (s == p.s_dat && e == p.e_dat) return QStringLiteral("등록된 데이터가 이미 존재합니다!");
        if (p.mon == 0) return QStringLiteral("결제되지 않은 이전데이터가 존재합니다!");
    }
    return QString();
}

QString period_delete_refusal(const QList<Period>& periods, qint64 idx, const QString& kind)
{
    if (periods.size() == 1 && kind == QLatin1String("A"))
        return QStringLiteral("정회원의 정보가 하나이므로 삭제할 수 없습니다!");
    for (const Period& p : periods)
        if (p.idx > idx) return QStringLiteral("삭제할 데이터보다 이후의 데이터가 존재합니다!");
    return QString();
}

bool insert_period(const QString& cod, const QDate& start, qint64 amount, const QString& chm)
{
    Transaction t(con());
    // Asked under the write lock: a member deleted at another desk since
    // the dialog opened gets no period.
    if (!t.ok() || member_code_taken(cod) != Lookup::Found) return false;
    if (t.exec(Query("INSERT INTO TB1_1(cod,s_dat,e_dat,mon,chm) VALUES(?,?,?,?,?)",
                     {cod, date_text(start), date_text(period_end(start)), amount, chm})) != 1)
        return false;
    return t.commit();
}

bool update_period(qint64 idx, const QDate& start, qint64 amount, const QString& chm)
{
    Transaction t(con());
    if (t.exec(Query("UPDATE TB1_1 SET s_dat=?,e_dat=?,mon=?,chm=? WHERE idx=?",
                     {date_text(start), date_text(period_end(start)), amount, chm, idx})) != 1)
        return false;
    return t.commit();
}

bool delete_period(qint64 idx)
{
    Transaction t(con());
    if (t.exec(Query("DELETE FROM TB1_1 WHERE idx=?", {idx})) != 1) return false;
    return t.commit();
}
