#include "admin/closing.h"

Query closing_list_query(const QString& search)
{
    return Query("select dat,big from TA3 where dat like ? order by dat desc",
                 {QStringLiteral("%") + search + QStringLiteral("%")});
}

Lookup closing_exists(const QString& date)
{
    return lookup(con(), Query("select dat from TA3 where dat=? limit 1", {date}));
}

bool run_closing(const QString& date, const QString& remark)
{
    Transaction tx(con());
    if (tx.exec(Query("insert into TA3 values(?,?)", {date, remark})) != 1) return false;
    // A rental belongs to the closed period by its rental date.
    if (tx.exec(Query("update TC1 set mgm='Y' where s_dat<=?", {date})) < 0) return false;
    return tx.commit();
}
