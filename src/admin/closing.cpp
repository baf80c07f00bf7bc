#include "admin/closing.h"

Query closing_list_query(const QString& search)
{
    return Query("select dat,big from TA3 where dat like ? order by dat desc",
                 {QStringLiteral("%") + search + QStringLiteral("%")});
}

bool closing_exists(const QString& date, bool* failed)
{
    bool f = false;
    const QVariant n = con().scalar(Query("select count(*) from TA3 where dat=?", {date}), &f);
    if (failed) *failed = f || !n.isValid();
    return n.toLongLong() > 0;
}

bool run_closing(const QString& date, const QString& remark)
{
    Transaction tx(con());
    if (tx.exec(Query("insert into TA3 values(?,?)", {date, remark})) != 1) return false;
    // A rental belongs to the closed period by its rental date.
    if (tx.exec(Query("update TC1 set mgm='Y' where s_dat<=?", {date})) < 0) return false;
    return tx.commit();
}
