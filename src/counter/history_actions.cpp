#include "counter/history_actions.h"
#include "data/clock.h"
#include "data/db.h"
#include "ui/FlexGrid.h"

namespace history {

QList<int> ticked_rows(const FlexGrid& ms)
{
    QList<int> out;
    for (int r = 1; r < ms.rows(); ++r)
        if (ms.text(r, 1) == QStringLiteral("√") && !ms.text(r, 0).isEmpty()) out << r;
    return out;
}

qint64 row_key(const FlexGrid& ms, int row)
{
    if (row < 1 || row >= ms.rows()) return 0;
    bool ok = false;
    const qint64 k = ms.text(row, 0).trimmed().toLongLong(&ok);
    return ok && k > 0 ? k : 0;
}

bool extend_rentals(Connection& c, const QList<qint64>& keys, int days)
{
    Transaction t(c);
    if (!t.ok()) return false;
    for (qint64 key : keys) {
        // The due date as stored now, of a rental still out.
        bool failed = false;
        const QVariant due = c.scalar(Query("select c_dat from TC1 where idx=? and e_dat=''", {key}), &failed);
        if (failed || !due.isValid()) return false;
        const QDate d = parse_date(due.toString());
        if (!d.isValid()) return false;
        if (t.exec(Query("UPDATE TC1 set c_dat=?,ccc=ccc+1 WHERE idx=? and e_dat=''",
                         {date_text(d.addDays(days)), key})) != 1)
            return false;
    }
    return t.commit();
}

bool delete_rental(Connection& c, qint64 key)
{
    Transaction t(c);
    if (!t.ok()) return false;
    bool out = false;
    QString barcode;
    {
        Cursor row(c, Query("select e_dat,p_cod from TC1 where idx=?", {key}));
        if (!row.next()) return false;   // gone, or the query failed
        out = row.text(0).isEmpty();
        barcode = row.text(1);
    }
    if (out && t.exec(Query("UPDATE TB4 set sta='N' where cod=?", {barcode})) < 0) return false;
    if (t.exec(Query("delete from TC1 where idx=?", {key})) != 1) return false;
    return t.commit();
}

bool pay_rentals(Connection& c, const QList<PaidRental>& rows, bool dae_paid, bool yun_paid)
{
    const QString dae = dae_paid ? QStringLiteral("Y") : QStringLiteral("N");
    const QString yun = yun_paid ? QStringLiteral("Y") : QStringLiteral("N");
    Transaction t(c);
    if (!t.ok()) return false;
    for (const PaidRental& r : rows)
        if (t.exec(Query("UPDATE TC1 SET m_dae_chk=?,m_yun_chk=? where idx=? and m_dae=? and m_yun=?",
                         {dae, yun, r.key, r.dae, r.yun}))
            != 1)
            return false;
    return t.commit();
}

} // namespace history
