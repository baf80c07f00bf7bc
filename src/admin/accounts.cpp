#include "admin/accounts.h"
#include "data/text.h"

bool is_admin_name(const QString& name) { return name.toUpper() == QLatin1String("ADMIN"); }

Query account_list_query(const QString& search)
{
    const LikeContains like = like_contains(QStringLiteral("nam"), search);
    return Query(QStringLiteral("select nam,pas,m_xls,m_prt,m_add,m_edt,m_del,big from TA2 where ") + like.sql
                     + QStringLiteral(" order by chk,nam"),
                 {like.pattern});
}

Lookup account_exists(const QString& name)
{
    return lookup(con(), Query("select nam from TA2 where nam=? limit 1", {name}));
}

namespace {
QVariantList rights_of(const Account& a)
{
    QVariantList r;
    for (bool b : a.rights) r << (b ? 1 : 0);
    return r;
}
}

bool insert_account(const Account& a)
{
    Transaction tx(con());
    QVariantList args{a.nam, a.pas};
    args << rights_of(a) << a.big;
    if (tx.exec(Query("insert into TA2 values(?,?,?,?,?,?,?,?,'B')", args)) != 1) return false;
    return tx.commit();
}

bool update_account(const QString& key, const Account& a)
{
    Transaction tx(con());
    int n;
    if (is_admin_name(key)) {
        n = tx.exec(Query("update TA2 set pas=? where nam=?", {a.pas, key}));
    } else {
        QVariantList args{a.pas};
        args << rights_of(a) << a.big << key;
        n = tx.exec(Query("update TA2 set pas=?,m_xls=?,m_prt=?,m_add=?,m_edt=?,m_del=?,big=? where nam=?", args));
    }
    if (n != 1) return false;
    return tx.commit();
}

bool delete_account(const QString& key)
{
    Transaction tx(con());
    if (tx.exec(Query("delete from TA2 where nam=?", {key})) != 1) return false;
    return tx.commit();
}
