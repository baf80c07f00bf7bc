#include "admin/accounts.h"

bool is_admin_name(const QString& name) { return name.toUpper() == QLatin1String("ADMIN"); }

Query account_list_query(const QString& search)
{
    return Query("select nam,pas,m_xls,m_prt,m_add,m_edt,m_del,big from TA2 where nam like ? order by chk,nam",
                 {QStringLiteral("%") + search + QStringLiteral("%")});
}

bool account_exists(const QString& name, bool* failed)
{
    bool f = false;
    const QVariant n = con().scalar(Query("select count(*) from TA2 where nam=?", {name}), &f);
    if (failed) *failed = f || !n.isValid();
    return n.toLongLong() > 0;
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
