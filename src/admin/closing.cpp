#include "admin/closing.h"
#include "data/text.h"

Query closing_list_query(const QString& search)
{
    const LikeContains like = like_contains(QStringLiteral("dat"), search);
    return Query(QStringLiteral("select dat,big from TA3 where ") + like.sql + QStringLiteral(" order by dat desc"),
                 {like.pattern});
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
