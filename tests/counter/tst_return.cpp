#include "tst_rental_support.h"
#include "counter/C2.h"
#include "counter/rentals.h"
#include "data/db.h"
#include "shell/screens.h"

#include <QGroupBox>
#include <QLabel>

class TestReturn : public QObject {
    Q_OBJECT
private slots:
    void late_fees_and_paid_flags();
    void refused_barcodes();
    void member_code_is_cleaned();
    void returned_meanwhile_rolls_back();
    void old_return_never_restocks_a_rented_item();
    void more_open_rentals_than_the_limit();
    void picker_hand_back();
};

void TestReturn::late_fees_and_paid_flags()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "A");
    shop.add_period("M1", dstr(-400), dstr(-35), 30000);   // period over: returns still work
    shop.add_item("L3", "DVD", 1000, 500);
    shop.add_item("L1", "DVD", 1000, 500);
    shop.add_item("OK", "DVD", 1000, 500);
    shop.add_item("L0", "DVD", 1000, 700);
    add_rental(shop, "M1", "L3", dstr(-6), dstr(-3));
    add_rental(shop, "M1", "L1", dstr(-4), dstr(-1));
    add_rental(shop, "M1", "OK", dstr(-3), dstr(0));
    add_rental(shop, "M1", "L0", dstr(-8), dstr(-5));
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    QCOMPARE(d.la_m_inf->text(), QString("만료(-35)일전"));
    QCOMPARE(d.t_old_cnt->text(), QString("4"));
    scan(d, "L3");
    scan(d, "L1");
    scan(d, "OK");
    scan(d, "L0");
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(row_texts(d.ms_p, 1).mid(1), QStringList({dstr(-3), "Y", "1,500", "L3", "이름"}));
    QCOMPARE(d.ms_p->text(2, 3), QString("500"));
    QCOMPARE(d.ms_p->text(3, 3), QString("0"));
    QCOMPARE(d.ms_p->text(4, 3), QString("3,500"));
    QCOMPARE(d.t_p_sum->text(), QString("5,500"));
    QCOMPARE(d.la_p_tot->text(), QString("1건"));

    // L1 left unpaid; L0 waived (0, unpaid mark) -> paid.
    dbl_click_row(d.ms_p, 2);
    d.op_kyu2->setChecked(true);
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    dbl_click_row(d.ms_p, 4);
    d.op_kyu2->setChecked(true);
    d.t_upt_dae->setText("0");
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    // An unpaid mark on an on-time return still writes paid.
    dbl_click_row(d.ms_p, 3);
    d.op_kyu2->setChecked(true);
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);

    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"(4)건을 반납처리 하시겠습니까?", "반납처리완료!"}));
    QCOMPARE(d.saved, 1);
    const auto rows = shop.rows("select p_cod,e_dat,m_yun,m_yun_chk,u_ban,s_dat,m_dae_chk from TC1 order by idx");
    QCOMPARE(rows[0], QVariantList({"L3", dstr(0), 1500, "Y", "ADMIN", dstr(-6), "Y"}));
    QCOMPARE(rows[1], QVariantList({"L1", dstr(0), 500, "N", "ADMIN", dstr(-4), "Y"}));
    QCOMPARE(rows[2], QVariantList({"OK", dstr(0), 0, "Y", "ADMIN", dstr(-3), "Y"}));
    QCOMPARE(rows[3], QVariantList({"L0", dstr(0), 0, "Y", "ADMIN", dstr(-8), "Y"}));
    QCOMPARE(shop.count("TB4", "sta='Y'"), 0);

    // The unpaid late fee counts from now on: 500 + 30,000 arrears - 30,000 paid.
    enter_member(d, "M1");
    QCOMPARE(d.t_meesoo->text(), QString("500"));
    QCOMPARE(d.t_old_cnt->text(), QString("0"));
}

void TestReturn::refused_barcodes()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "B");
    shop.add_member("M2", "남", "B");
    shop.add_item("IN", "DVD");
    shop.add_item("THEIRS", "DVD");
    shop.add_item("OFF", "DVD", 1000, 500, "N", "Y");
    add_rental(shop, "M2", "THEIRS", dstr(-1), dstr(2));
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    QCOMPARE(d.la_m_inf->text(), QString());
    scan(d, "IN");
    scan(d, "THEIRS");
    scan(d, "OFF");
    QCOMPARE(r.texts, QStringList({"현재 재고상태인 바코드입니다!", "현재 회원의 대여내역 일치하지 않는 바코드입니다!",
                                   "비활성화된 바코드입니다!"}));
    QVERIFY(d.la_p_tot->text().isEmpty());
    QCOMPARE(d.filled_rows(), 0);
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납할 바코드가 존재하지 않습니다!"));
}

void TestReturn::member_code_is_cleaned()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("AB12", "회원", "B");
    shop.add_period("AB12", dstr(-10), dstr(300), 0);
    shop.add_item("X", "DVD");
    add_rental(shop, "AB12", "X", dstr(-1), dstr(2));
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, " ab12'");
    QCOMPARE(d.t_m_cod->text(), QString("AB12"));
    QCOMPARE(d.t_m_nam->text(), QString("회원"));
    // A non-member's period shows its dates and zero days.
    QCOMPARE(d.la_m_inf->text(), QString("만료(0)일전"));
    QCOMPARE(d.la_m_dat2->text(), dstr(300));
    scan(d, "x");
    QCOMPARE(d.filled_rows(), 1);
    scan(d, "X");
    QCOMPARE(d.filled_rows(), 1);
    QVERIFY(r.texts.isEmpty());
}

void TestReturn::returned_meanwhile_rolls_back()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "B");
    shop.add_item("A", "DVD");
    shop.add_item("B", "DVD");
    add_rental(shop, "M1", "A", dstr(-5), dstr(-2));
    add_rental(shop, "M1", "B", dstr(-5), dstr(-2));
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    scan(d, "A");
    scan(d, "B");
    // Another desktop takes B back first.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    const qint64 idx_b = shop.scalar("select idx from TC1 where p_cod='B'").toLongLong();
    QVERIFY(save_returns(other, {ReturnLine{idx_b, "Y", 0}}, day0(), "CLERK2"));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납처리실패!"));
    QCOMPARE(d.saved, 0);
    QCOMPARE(d.filled_rows(), 2);
    const auto rows = shop.rows("select p_cod,e_dat,m_yun,u_ban from TC1 order by idx");
    QCOMPARE(rows[0], QVariantList({"A", "", 0, ""}));
    QCOMPARE(rows[1], QVariantList({"B", dstr(0), 0, "CLERK2"}));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='A'").toString(), QString("Y"));
}

void TestReturn::old_return_never_restocks_a_rented_item()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "B");
    shop.add_member("M2", "남", "B");
    shop.add_item("A", "DVD");
    add_rental(shop, "M1", "A", dstr(-5), dstr(-2));
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    scan(d, "A");
    // Meanwhile A is returned elsewhere and rented to M2.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    const qint64 idx = shop.scalar("select idx from TC1").toLongLong();
    QVERIFY(save_returns(other, {ReturnLine{idx, "Y", 1500}}, day0(), "CLERK2"));
    QVERIFY(save_rentals(other, "M2", {RentalLine{dstr(3), "Y", 0, "A"}}, day0(), "CLERK2", max_cnt));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납처리실패!"));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='A'").toString(), QString("Y"));
    QCOMPARE(shop.count("TC1", "e_dat=''"), 1);

    // Two rentals of one item open (data from elsewhere): returning one
    // leaves the item out.
    shop.exec("update TC1 set e_dat='' ");
    const qint64 first = shop.scalar("select min(idx) from TC1").toLongLong();
    QVERIFY(save_returns(*db_con, {ReturnLine{first, "Y", 0}}, day0(), "ADMIN"));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='A'").toString(), QString("Y"));
}

void TestReturn::more_open_rentals_than_the_limit()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "B");
    for (int i = 1; i <= 7; ++i) {
        shop.add_item(QString("I%1").arg(i), "DVD");
        add_rental(shop, "M1", QString("I%1").arg(i), dstr(-1), dstr(2));
    }
    MsgResponder r;
    C2 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    QCOMPARE(d.ms_m->rows(), 8);
    QCOMPARE(d.ms_p->rows(), 8);
    for (int i = 1; i <= 7; ++i) scan(d, QString("I%1").arg(i));
    QCOMPARE(d.filled_rows(), 7);
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납처리완료!"));
    QCOMPARE(shop.count("TC1", "e_dat=''"), 0);
    QCOMPARE(shop.count("TB4", "sta='N'"), 7);
}

void TestReturn::picker_hand_back()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "B");
    shop.add_item("P1", "DVD", 1000, 300);
    add_rental(shop, "M1", "P1", dstr(-5), dstr(-2));
    C2* d = screens::kept<C2>();
    d->form_load();
    d->show();
    // The item picker hands an item that is out back into the list.
    enter_member(*d, "M1");
    when_dialog_shows("pop_pdt", [](QWidget* p) {
        auto* ms = p->findChild<FlexGrid*>("ms");
        for (int row = 1; row < ms->rows(); ++row)
            if (ms->text(row, 3) == "P1") ms->set_row(row);
        QTest::keyClick(ms, Qt::Key_Return);
    });
    scan(*d, "이름");
    QCOMPARE(d->ms_p->text(1, 4), QString("P1"));
    QCOMPARE(d->ms_p->text(1, 3), QString("600"));
    d->hide();
    delete d;
}

QTEST_MAIN(TestReturn)
#include "tst_return.moc"
