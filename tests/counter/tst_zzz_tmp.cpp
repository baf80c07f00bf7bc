// The earlier combined counter on the first rental columns: on the current
// table its lookups find nothing and its save fails whole.
#include "support/fixture.h"
#include "counter/zzz_tmp.h"
#include "data/clock.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
void arrange(TestShop& shop)
{
    QVERIFY(shop.login_admin());
    shop.add_member("M00001", "홍길동");
    shop.add_category("DVD");
    shop.add_item("P0000001", "DVD", 1000, 500, "Y", "Y");
    shop.add_item("P0000002", "DVD", 1000, 500, "Y", "N");
    shop.exec("insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,u_dae) "
              "values ('2026-03-01','2026-03-04','','M00001','P0000001',1000,'ADMIN')");
}
}

class TestZzzTmp : public QObject {
    Q_OBJECT
private slots:
    void opens_reset_and_nowhere_registered();
    void lookup_finds_nothing_on_current_table();
    void save_refusals();
    void save_fails_whole();
};

void TestZzzTmp::opens_reset_and_nowhere_registered()
{
    TestShop shop;
    arrange(shop);
    set_today(QDate(2026, 3, 10));
    screens::register_all_screens();
    QVERIFY(!screens::has_factory("zzz_tmp"));

    zzz_tmp f;
    QCOMPARE(f.windowTitle(), QString("Form1"));
    QCOMPARE(f.findChild<QDateEdit*>("t_p_dat")->date(), QDate(2026, 3, 10));
    auto* ms_p = f.findChild<FlexGrid*>("ms_p");
    auto* ms_m = f.findChild<FlexGrid*>("ms_m");
    QCOMPARE(ms_p->rows(), max_cnt + 1);
    QCOMPARE(ms_p->cols(), 6);
    QCOMPARE(ms_m->cols(), 5);
    QCOMPARE(ms_p->text(0, 4), QString("바코드"));
    QCOMPARE(ms_p->text(0, 5), f1_nam);
    QCOMPARE(ms_m->text(0, 1), QString("대여일"));
    QVERIFY(!f.findChild<QLineEdit*>("t_m_cod")->isReadOnly());
}

void TestZzzTmp::lookup_finds_nothing_on_current_table()
{
    TestShop shop;
    arrange(shop);
    zzz_tmp f;
    f.show();
    MsgResponder r;
    auto* t_p_cod = f.findChild<QLineEdit*>("t_p_cod");
    t_p_cod->setText("'p0000001");
    TestShop::expect_sql_error();   // the first columns are not on the table
    press_enter(t_p_cod);
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
    QCOMPARE(t_p_cod->text(), QString("P0000001"));   // upper-cased and cleaned
    QCOMPARE(f.findChild<FlexGrid*>("ms_p")->text(1, 4), QString());
    QCOMPARE(f.findChild<QLineEdit*>("t_m_cod")->text(), QString());
    QCOMPARE(f.findChild<QLabel*>("la_p_cnt")->text(), QString());
    QCOMPARE(list_sql.args, QVariantList{"P0000001"});
    QVERIFY(list_sql.sql.contains("LIMIT 1"));
    QTest::qWait(50);
    QVERIFY(r.texts.isEmpty());
}

void TestZzzTmp::save_refusals()
{
    TestShop shop;
    arrange(shop);
    zzz_tmp f;
    f.show();
    MsgResponder r;
    auto* cmd_add = f.findChild<QPushButton*>("cmd_add");
    cmd_add->click();
    QCOMPARE(r.last(), QString("회원코드를 확인하지 못하였습니다!"));
    f.findChild<QLineEdit*>("t_m_cod")->setText("M00001");
    cmd_add->click();
    QCOMPARE(r.last(), QString("대여할 바코드가 존재하지 않습니다!"));

    // Answering No writes nothing.
    auto* ms_p = f.findChild<FlexGrid*>("ms_p");
    ms_p->set_text(1, 1, "2026-03-13");
    ms_p->set_text(1, 2, "1,000");
    ms_p->set_text(1, 3, "P0000002");
    r.answer(QMessageBox::No);
    cmd_add->click();
    QCOMPARE(r.last(), QString("(1)건을 대여처리 하시겠습니까?"));
    QCOMPARE(shop.count("TC1"), 1);
}

void TestZzzTmp::save_fails_whole()
{
    TestShop shop;
    arrange(shop);
    zzz_tmp f;
    f.show();
    MsgResponder r;
    f.findChild<QLineEdit*>("t_m_cod")->setText("M00001");
    auto* ms_p = f.findChild<FlexGrid*>("ms_p");
    for (int row = 1; row <= 2; ++row) {
        ms_p->set_text(row, 1, "2026-03-13");
        ms_p->set_text(row, 2, "1,000");
        ms_p->set_text(row, 3, row == 1 ? "P0000002" : "P0000003");
    }
    TestShop::expect_sql_error();   // the insert names the first columns
    f.findChild<QPushButton*>("cmd_add")->click();
    QCOMPARE(r.texts, (QStringList{"(2)건을 대여처리 하시겠습니까?", "대여처리실패!"}));
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
    QCOMPARE(shop.count("TC1"), 1);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000002'").toString(), QString("N"));
    // The rows stay for another try.
    QCOMPARE(ms_p->text(1, 3), QString("P0000002"));
    QCOMPARE(f.findChild<QLineEdit*>("t_m_cod")->text(), QString("M00001"));
}

QTEST_MAIN(TestZzzTmp)
#include "tst_zzz_tmp.moc"
