// The writes behind the history window's extension, deletion and payment.
#include "support/fixture.h"
#include "counter/history_actions.h"
#include "data/db.h"

#include <QTest>

namespace {
qint64 add_rental(TestShop& shop, const QString& m_cod, const QString& p_cod, const QString& s_dat,
                  const QString& c_dat, const QString& e_dat = QString(), const QString& dae_chk = "N",
                  const QString& yun_chk = "N")
{
    shop.exec("insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae) "
              "values (?,?,?,?,?,1000,0,?,?,'ADMIN')",
              {s_dat, c_dat, e_dat, m_cod, p_cod, dae_chk, yun_chk});
    return shop.scalar("select max(idx) from TC1").toLongLong();
}

void arrange(TestShop& shop)
{
    shop.add_member("M00001", "홍길동");
    shop.add_category("DVD");
    shop.add_item("P0000001", "DVD", 1000, 500, "Y", "Y");
    shop.add_item("P0000002", "DVD", 1000, 500, "Y", "Y");
    shop.add_item("P0000003", "DVD", 1000, 500, "Y", "N");
}
}

class TestActions : public QObject {
    Q_OBJECT
private slots:
    void extension_from_stored_due_date();
    void extension_refuses_returned_or_deleted();
    void deletion_of_out_and_returned();
    void payment_sets_and_takes_back();
};

void TestActions::extension_from_stored_due_date()
{
    TestShop shop;
    arrange(shop);
    const qint64 a = add_rental(shop, "M00001", "P0000001", "2024-02-20", "2024-03-01");
    const qint64 b = add_rental(shop, "M00001", "P0000002", "2024-02-21", "2024-02-28");
    const qint64 other = add_rental(shop, "M00001", "P0000003", "2024-02-21", "2024-02-28", "2024-02-25");
    QVERIFY(history::extend_rentals(*db_con, {a, b}, 7));
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {a}).toString(), QString("2024-03-08"));
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {b}).toString(), QString("2024-03-06"));  // leap year
    QCOMPARE(shop.scalar("select ccc from TC1 where idx=?", {a}).toInt(), 1);
    // A second extension counts again, from the date written by the first.
    QVERIFY(history::extend_rentals(*db_con, {a}, 7));
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {a}).toString(), QString("2024-03-15"));
    QCOMPARE(shop.scalar("select ccc from TC1 where idx=?", {a}).toInt(), 2);
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {other}).toString(), QString("2024-02-28"));
}

void TestActions::extension_refuses_returned_or_deleted()
{
    TestShop shop;
    arrange(shop);
    const qint64 a = add_rental(shop, "M00001", "P0000001", "2024-02-20", "2024-03-01");
    const qint64 b = add_rental(shop, "M00001", "P0000002", "2024-02-21", "2024-03-02");
    // Returned at another desk after the list was loaded: none of the rows moves.
    shop.exec("update TC1 set e_dat='2024-03-01' where idx=?", {b});
    QVERIFY(!history::extend_rentals(*db_con, {a, b}, 7));
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {a}).toString(), QString("2024-03-01"));
    QCOMPARE(shop.scalar("select sum(ccc) from TC1").toInt(), 0);
    // Deleted meanwhile: the same.
    QVERIFY(!history::extend_rentals(*db_con, {a, b + 100}, 7));
    QCOMPARE(shop.scalar("select c_dat from TC1 where idx=?", {a}).toString(), QString("2024-03-01"));
    // A stored due date that is no date is not extended.
    shop.exec("update TC1 set c_dat='' where idx=?", {a});
    QVERIFY(!history::extend_rentals(*db_con, {a}, 7));
    QCOMPARE(shop.scalar("select ccc from TC1 where idx=?", {a}).toInt(), 0);
}

void TestActions::deletion_of_out_and_returned()
{
    TestShop shop;
    arrange(shop);
    const qint64 out = add_rental(shop, "M00001", "P0000001", "2024-02-20", "2024-03-01");
    QVERIFY(history::delete_rental(*db_con, out));
    QCOMPARE(shop.count("TC1", "idx=?", {out}), 0);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000001'").toString(), QString("N"));

    // Returned, and the item is out again on a newer rental: it stays out.
    const qint64 old = add_rental(shop, "M00001", "P0000002", "2024-02-01", "2024-02-04", "2024-02-03");
    const qint64 again = add_rental(shop, "M00001", "P0000002", "2024-02-10", "2024-02-13");
    QVERIFY(history::delete_rental(*db_con, old));
    QCOMPARE(shop.count("TC1", "idx=?", {old}), 0);
    QCOMPARE(shop.count("TC1", "idx=?", {again}), 1);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000002'").toString(), QString("Y"));

    // Gone already: a failure, nothing else touched.
    QVERIFY(!history::delete_rental(*db_con, old));
    QVERIFY(!history::delete_rental(*db_con, 0));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000002'").toString(), QString("Y"));
}

void TestActions::payment_sets_and_takes_back()
{
    TestShop shop;
    arrange(shop);
    const qint64 a = add_rental(shop, "M00001", "P0000001", "2024-02-20", "2024-03-01");
    const qint64 b = add_rental(shop, "M00001", "P0000002", "2024-02-21", "2024-03-02", "", "Y", "N");
    const history::PaidRental pa{a, 1000, 0}, pb{b, 1000, 0};
    QVERIFY(history::pay_rentals(*db_con, {pa, pb}, false, true));
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1 order by idx"),
             (QList<QVariantList>{{"N", "Y"}, {"N", "Y"}}));
    QVERIFY(history::pay_rentals(*db_con, {pa, pb}, true, true));
    QCOMPARE(shop.count("TC1", "m_dae_chk='Y' and m_yun_chk='Y'"), 2);
    QVERIFY(history::pay_rentals(*db_con, {pb}, false, false));
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1 order by idx"),
             (QList<QVariantList>{{"Y", "Y"}, {"N", "N"}}));

    // Fees other than those shown (a late fee written since, a rental fee
    // changed): nothing of the payment is written.
    QVERIFY(!history::pay_rentals(*db_con, {pa, history::PaidRental{b, 1000, 500}}, true, true));
    QVERIFY(!history::pay_rentals(*db_con, {history::PaidRental{a, 900, 0}, pb}, true, true));
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1 order by idx"),
             (QList<QVariantList>{{"Y", "Y"}, {"N", "N"}}));
}

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
