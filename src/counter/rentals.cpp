#include "counter/rentals.h"
#include "data/clock.h"
#include "data/text.h"

namespace {
// The first row of q read into a Row by `fill`; found when there was one,
// failed (and not found) when the query failed.
template <class Row, class Fill> Row first_row(Connection& c, const Query& q, Fill fill)
{
    Row row;
    Cursor cur(c, q);
    if (cur.next()) {
        row.found = true;
        fill(cur, row);
    }
    if (!cur.ok()) {
        row.failed = true;
        row.found = false;
    }
    return row;
}
}

MemberRow find_member(Connection& c, const QString& cod)
{
    return first_row<MemberRow>(c, Query("select act,gbn,cod,nam from TB1 where cod=?", {cod}),
                                [](const Cursor& cur, MemberRow& m) {
                                    m.act = cur.text(0);
                                    m.gbn = cur.text(1);
                                    m.cod = cur.text(2);
                                    m.nam = cur.text(3);
                                });
}

Lookup stored_code(Connection& c, CodeOf kind, const QString& cod)
{
    return lookup(c, kind == CodeOf::Member ? Query("select cod from TB1 where cod=?", {cod})
                                            : Query("select cod from TB4 where cod=?", {cod}));
}

bool member_registered(Connection& c, const QString& cod)
{
    return stored_code(c, CodeOf::Member, cod) == Lookup::Found;
}

QString counter_code(Connection& c, CodeOf kind, const QString& text)
{
    const QString upper = text.toUpper();
    const QString cleaned = clean_input(upper);
    const QString whole = trim_spaces(upper);
    // Only a text that cleaning would change needs asking whether it is stored as it stands.
    if (whole == cleaned) return cleaned;
    // The text as it stands, then without its apostrophes: the first of them
    // that is stored is served. A lookup that fails decides nothing, so the
    // box keeps the text as it stands and never a later candidate.
    QString bare = whole;
    bare.remove(u'\'');
    for (const QString& candidate : {whole, bare}) {
        if (candidate == cleaned) break;
        switch (stored_code(c, kind, candidate)) {
        case Lookup::Found: return candidate;
        case Lookup::Failed: return whole;
        case Lookup::None: break;
        }
    }
    return cleaned;
}

MemberStatus member_status(Connection& c, const QString& cod, const QDate& today, qint64 annual_fee)
{
    MemberStatus s;
    {
        Cursor cur(c, Query("select s_dat,e_dat from TB1_1 where cod=? order by e_dat desc limit 1", {cod}));
        if (cur.next()) {
            s.has_period = true;
            s.s_dat = cur.text(0);
            s.e_dat = cur.text(1);
            const QDate e = parse_date(s.e_dat);
            if (e.isValid()) {
                s.days_known = true;
                s.days_left = today.daysTo(e);
            }
        }
        if (!cur.ok()) s.failed = true;
    }
    {
        // Unpaid fees of all his rentals, returned or not.
        Cursor cur(c, Query("select (select coalesce(sum(m_dae),0) from TC1 where m_cod=? and m_dae_chk='N'),"
                            "(select coalesce(sum(m_yun),0) from TC1 where m_cod=? and m_yun_chk='N')",
                            {cod, cod}));
        if (cur.next()) s.unpaid = cur.integer(0) + cur.integer(1);
        if (!cur.ok()) s.failed = true;
    }
    {
        Cursor cur(c, Query("select count(*),coalesce(sum(mon),0) from TB1_1 where cod=?", {cod}));
        if (cur.next()) {
            s.periods = cur.integer(0);
            s.paid = cur.integer(1);
        }
        if (!cur.ok()) s.failed = true;
        s.arrears = annual_fee * s.periods - s.paid;
    }
    {
        Cursor cur(c, Query("select z.idx,z.s_dat,z.p_cod,p.f1_nam from TC1 as z,TB4 as p "
                            "where z.p_cod=p.cod and z.m_cod=? and z.e_dat='' order by z.s_dat desc",
                            {cod}));
        while (cur.next()) s.open.push_back(OpenRental{cur.integer(0), cur.text(1), cur.text(2), cur.text(3)});
        if (!cur.ok()) s.failed = true;
    }
    return s;
}

ItemRow find_item(Connection& c, const QString& cod)
{
    return first_row<ItemRow>(c, Query("select act,sta,gbn,cod,f1_nam,dae,yun from TB4 where cod=?", {cod}),
                              [](const Cursor& cur, ItemRow& it) {
                                  it.act = cur.text(0);
                                  it.sta = cur.text(1);
                                  it.gbn = cur.text(2);
                                  it.cod = cur.text(3);
                                  it.f1_nam = cur.text(4);
                                  it.dae = cur.integer(5);
                                  it.yun = cur.integer(6);
                              });
}

qint64 rental_count(Connection& c, const QString& p_cod)
{
    bool failed = false;
    const QVariant v = c.scalar(Query("select count(idx) from TC1 where p_cod=?", {p_cod}), &failed);
    return failed ? -1 : v.toLongLong();
}

ReturnCandidate find_open_rental(Connection& c, const QString& m_cod, const QString& p_cod)
{
    return first_row<ReturnCandidate>(c,
                                      Query("select z.idx,z.c_dat,z.p_cod,p.f1_nam,p.yun from TC1 as z,TB4 as p "
                                            "where p.act='Y' and z.m_cod=? and z.p_cod=p.cod and z.e_dat='' "
                                            "and z.p_cod=? order by z.idx limit 1",
                                            {m_cod, p_cod}),
                                      [](const Cursor& cur, ReturnCandidate& r) {
                                          r.idx = cur.integer(0);
                                          r.c_dat = cur.text(1);
                                          r.p_cod = cur.text(2);
                                          r.f1_nam = cur.text(3);
                                          r.yun = cur.integer(4);
                                      });
}

qint64 late_fee(const QString& c_dat, const QDate& on, qint64 yun)
{
    const QDate due = parse_date(c_dat);
    if (!due.isValid() || !on.isValid() || due >= on) return 0;
    return due.daysTo(on) * yun;
}

QString due_date(const QDate& today, int days) { return date_text(today.addDays(days)); }

QString paid_flag(qint64 fee, const QString& mark)
{
    if (fee == 0) return QStringLiteral("Y");
    return mark == QLatin1String("N") ? QStringLiteral("N") : QStringLiteral("Y");
}

bool save_rentals(Connection& c, const QString& m_cod, const std::vector<RentalLine>& lines, const QDate& today,
                  const QString& user, int max_open)
{
    if (lines.empty()) return false;
    Transaction t(c);
    if (!t.ok()) return false;
    // Asked under the write lock, so a member deleted at another desk since
    // the counter showed him gets no rental.
    if (!member_registered(c, m_cod)) return false;
    // Counted under the write lock, so two desks renting to one member at
    // the same moment cannot pass the limit between them.
    bool failed = false;
    const QVariant open = c.scalar(Query("select count(*) from TC1 where m_cod=? and e_dat=''", {m_cod}), &failed);
    if (failed || !open.isValid() || open.toLongLong() + qint64(lines.size()) > max_open) return false;
    const QString s_dat = date_text(today);
    for (const RentalLine& l : lines) {
        // Taking the item first: only an item still in stock and in use is
        // marked rented, so a barcode rented meanwhile by another desktop (or
        // listed twice) stops the whole save.
        if (t.exec(Query("update TB4 set sta='Y' where cod=? and sta='N' and act='Y'", {l.p_cod})) != 1) return false;
        if (t.exec(Query("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,"
                         "u_dae,u_ban,big,mgm,ccc) values (?,?,'',?,?,?,0,?,'N',?,'','','N',0)",
                         {s_dat, l.c_dat, m_cod, l.p_cod, l.fee, paid_flag(l.fee, l.mark), user}))
            != 1)
            return false;
    }
    return t.commit();
}

bool save_returns(Connection& c, const std::vector<ReturnLine>& lines, const QDate& today, const QString& user)
{
    if (lines.empty()) return false;
    Transaction t(c);
    if (!t.ok()) return false;
    const QString e_dat = date_text(today);
    for (const ReturnLine& l : lines) {
        // Only a rental still out is returned; one returned meanwhile (or
        // deleted) stops the whole save.
        if (t.exec(Query("update TC1 set e_dat=?,m_yun=?,m_yun_chk=?,u_ban=? where idx=? and e_dat=''",
                         {e_dat, l.fee, paid_flag(l.fee, l.mark), user, l.idx}))
            != 1)
            return false;
        // Back in stock, unless the item is out on another rental.
        if (t.exec(Query("update TB4 set sta='N' where cod=(select p_cod from TC1 where idx=?) and not exists "
                         "(select 1 from TC1 where p_cod=TB4.cod and e_dat='')",
                         {l.idx}))
            < 0)
            return false;
    }
    return t.commit();
}
