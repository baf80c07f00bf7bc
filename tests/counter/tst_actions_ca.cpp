// The history window's actions as a clerk uses them: filters, ticks,
// extension, payment hand-over and deletion.
#include "support/fixture.h"
#include "counter/C3.h"
#include "counter/CA.h"
#include "data/clock.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace {
struct Shop {
    TestShop shop;
    qint64 out_late = 0, out_ok = 0, back_late = 0, back_paid = 0;

    Shop()
    {
        set_today(QDate(2026, 3, 20));
        QVERIFY(shop.login_admin());
        shop.add_member("M00001", "홍길동");
        shop.add_member("M00002", "김철수");
        shop.add_category("DVD");
        for (const char* p : {"P0000001", "P0000002", "P0000003", "P0000004"}) shop.add_item(p, "DVD");
        shop.exec("update TB4 set sta='Y' where cod in ('P0000001','P0000002')");
        out_late = add("2026-03-05", "2026-03-08", "", "M00001", "P0000001", "N", "N");
        out_ok = add("2026-03-18", "2026-03-21", "", "M00002", "P0000002", "N", "N");
        back_late = add("2026-03-05", "2026-03-08", "2026-03-10", "M00002", "P0000003", "Y", "N");
        back_paid = add("2026-03-10", "2026-03-13", "2026-03-12", "M00001", "P0000004", "Y", "Y");
    }
    qint64 add(const char* s, const char* c, const char* e, const char* m, const char* p, const char* dc,
               const char* yc)
    {
        shop.exec("insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae) "
                  "values (?,?,?,?,?,1000,0,?,?,'ADMIN')",
                  {s, c, e, m, p, dc, yc});
        return shop.scalar("select max(idx) from TC1").toLongLong();
    }
};

QList<qint64> keys(const FlexGrid* ms)
{
    QList<qint64> out;
    for (int r = 1; r < ms->rows(); ++r)
        if (!ms->text(r, 0).isEmpty()) out << ms->text(r, 0).toLongLong();
    std::sort(out.begin(), out.end());
    return out;
}

int row_of(const FlexGrid* ms, qint64 key)
{
    for (int r = 1; r < ms->rows(); ++r)
        if (ms->text(r, 0) == QString::number(key)) return r;
    return -1;
}

// A double click on a grid row, as the clerk gives it.
void dbl(FlexGrid* ms, int row)
{
    const QRect rect = ms->visualRect(ms->model()->index(row - 1, 4));
    QTest::mouseDClick(ms->viewport(), Qt::LeftButton, {}, rect.center());
}

void select(FlexGrid* ms, int row)
{
    const QRect rect = ms->visualRect(ms->model()->index(row - 1, 4));
    QTest::mouseClick(ms->viewport(), Qt::LeftButton, {}, rect.center());
}
}

class TestActionsCa : public QObject {
    Q_OBJECT
private slots:
    void filters_are_exclusive();
    void ticks_only_on_data_rows();
    void extension_of_ticked_rows();
    void extension_refusals();
    void payment_hand_over();
    void deletion();
};

void TestActionsCa::filters_are_exclusive()
{
    Shop s;
    CA ca;
    ca.show();
    QCOMPARE(keys(ca.ms), (QList<qint64>{s.out_late, s.out_ok, s.back_late, s.back_paid}));
    ca.Check4->click();
    QCOMPARE(keys(ca.ms), (QList<qint64>{s.out_late, s.out_ok, s.back_late}));
    ca.Check3->click();
    QVERIFY(!ca.Check4->isChecked());
    QCOMPARE(keys(ca.ms), (QList<qint64>{s.out_late, s.back_late}));
    ca.Check6->click();
    QVERIFY(!ca.Check3->isChecked());
    QCOMPARE(keys(ca.ms), (QList<qint64>{s.out_late, s.out_ok}));
    ca.Check6->click();
    QCOMPARE(keys(ca.ms), (QList<qint64>{s.out_late, s.out_ok, s.back_late, s.back_paid}));
    // Detail columns follow Check1.
    QCOMPARE(ca.ms->col_width(11), 0);
    ca.Check1->click();
    QCOMPARE(ca.ms->col_width(11), col_w[10]);
}

void TestActionsCa::ticks_only_on_data_rows()
{
    Shop s;
    CA ca;
    ca.show();
    const int r = row_of(ca.ms, s.out_ok);
    dbl(ca.ms, r);
    QCOMPARE(ca.ms->text(r, 1), QString("√"));
    dbl(ca.ms, r);
    QCOMPARE(ca.ms->text(r, 1), QString());
    const int total = ca.ms->rows() - 1;
    dbl(ca.ms, total);
    dbl(ca.ms, total - 1);
    QCOMPARE(ca.ms->text(total, 1), QString());
    QCOMPARE(ca.ms->text(total - 1, 1), QString());
    // A reload drops the ticks.
    dbl(ca.ms, r);
    ca.cmd_fnd->click();
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_ok), 1), QString());
}

void TestActionsCa::extension_of_ticked_rows()
{
    Shop s;
    CA ca;
    ca.show();
    dbl(ca.ms, row_of(ca.ms, s.out_late));
    dbl(ca.ms, row_of(ca.ms, s.out_ok));
    MsgResponder r;
    ca.Check5->click();
    QCOMPARE(r.texts, (QStringList{"(2)건의 데이터의 대여기간을 연장 처리하시겠습니까?", "데이터처리완료!"}));
    QVERIFY(!ca.Check5->isChecked());
    // From the old due date, not from today: the late one stays late.
    QCOMPARE(s.shop.scalar("select c_dat from TC1 where idx=?", {s.out_late}).toString(),
             date_text(QDate(2026, 3, 8).addDays(max_dat)));
    QCOMPARE(s.shop.scalar("select c_dat from TC1 where idx=?", {s.out_ok}).toString(),
             date_text(QDate(2026, 3, 21).addDays(max_dat)));
    QCOMPARE(s.shop.scalar("select sum(ccc) from TC1").toInt(), 2);
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 3), QString("1"));
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 1), QString());   // reloaded

    // No: nothing written, the box falls back.
    dbl(ca.ms, row_of(ca.ms, s.out_ok));
    r.clear();
    r.answer(QMessageBox::No);
    ca.Check5->click();
    QCOMPARE(r.texts.size(), 1);
    QVERIFY(!ca.Check5->isChecked());
    QCOMPARE(s.shop.scalar("select sum(ccc) from TC1").toInt(), 2);
}

void TestActionsCa::extension_refusals()
{
    Shop s;
    CA ca;
    ca.show();
    MsgResponder r;
    ca.Check5->click();
    QCOMPARE(r.texts, QStringList{"연장처리할 항목이 선택되지 않았습니다!"});
    QVERIFY(!ca.Check5->isChecked());

    // One returned row among the ticked refuses them all.
    dbl(ca.ms, row_of(ca.ms, s.out_late));
    dbl(ca.ms, row_of(ca.ms, s.back_late));
    r.clear();
    ca.Check5->click();
    QCOMPARE(r.texts, QStringList{"반납된 자료는 연장처리할 수 없습니다!"});
    QVERIFY(!ca.Check5->isChecked());
    QCOMPARE(s.shop.scalar("select sum(ccc) from TC1").toInt(), 0);

    // Returned at another desk after the load: nothing is written, the ticks stay.
    dbl(ca.ms, row_of(ca.ms, s.back_late));
    s.shop.exec("update TC1 set e_dat='2026-03-20' where idx=?", {s.out_late});
    r.clear();
    ca.Check5->click();
    QCOMPARE(r.texts.last(), QString("데이터처리실패!"));
    QCOMPARE(s.shop.scalar("select sum(ccc) from TC1").toInt(), 0);
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 1), QString("√"));

    // Unticking from code does nothing more.
    r.clear();
    ca.Check5->setChecked(false);
    QTest::qWait(30);
    QVERIFY(r.texts.isEmpty());
}

void TestActionsCa::payment_hand_over()
{
    Shop s;
    CA ca;
    ca.show();
    MsgResponder r;
    ca.Check2->click();
    QCOMPARE(r.texts, QStringList{"결제처리할 항목이 선택되지 않았습니다!"});
    QVERIFY(!ca.Check2->isChecked());

    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 2), QString("○"));
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.back_late), 2), QString("◐"));
    dbl(ca.ms, row_of(ca.ms, s.out_late));
    dbl(ca.ms, row_of(ca.ms, s.back_late));
    r.clear();
    int handed = 0;
    bool box_while_open = false;
    when_dialog_shows("C3", [&](QWidget* d) {
        auto* c3 = static_cast<C3*>(d);
        handed = c3->ms->rows() - 1;
        box_while_open = ca.Check2->isChecked();
        c3->cmd_chk->click();
    });
    ca.Check2->click();
    QCOMPARE(handed, 2);
    QVERIFY(box_while_open);
    QCOMPARE(r.texts, (QStringList{"(2)건을 결제처리 하시겠습니까?", "결제처리완료!"}));
    QVERIFY(!ca.Check2->isChecked());
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 2), QString("●"));
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.back_late), 2), QString("●"));
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_ok), 2), QString("○"));

    // Taking the late fee back of one rental.
    dbl(ca.ms, row_of(ca.ms, s.back_late));
    r.clear();
    when_dialog_shows("C3", [&](QWidget* d) {
        auto* c3 = static_cast<C3*>(d);
        c3->Check2->setChecked(false);
        c3->cmd_chk->click();
    });
    ca.Check2->click();
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.back_late), 2), QString("◐"));
    QCOMPARE(ca.ms->text(row_of(ca.ms, s.out_late), 2), QString("●"));
    QCOMPARE(s.shop.count("TC1", "m_dae_chk='Y' and m_yun_chk='N'"), 1);
    delete screens::kept<C3>();
}

void TestActionsCa::deletion()
{
    Shop s;
    CA ca;
    ca.show();
    MsgResponder r;
    // Subtotal or total row under the cursor: nothing asked, nothing deleted.
    select(ca.ms, ca.ms->rows() - 1);
    ca.cmd_del->click();
    int sub = 1;
    while (!ca.ms->text(sub, 0).isEmpty()) ++sub;
    QCOMPARE(ca.ms->text(sub, 4), QString("(2026-03-05)"));
    select(ca.ms, sub);
    ca.cmd_del->click();
    QTest::qWait(30);
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(s.shop.count("TC1"), 4);

    // Still out: the item goes back in stock.
    select(ca.ms, row_of(ca.ms, s.out_late));
    QCOMPARE(ca.ms->row(), row_of(ca.ms, s.out_late));
    ca.cmd_del->click();
    QCOMPARE(r.texts, (QStringList{"대여일 [2026-03-05]\n\n바코드 [P0000001]\n\n선택하신 거래내역을 삭제하시겠습니까?",
                                   "삭제완료!"}));
    QCOMPARE(s.shop.count("TC1", "idx=?", {s.out_late}), 0);
    QCOMPARE(s.shop.scalar("select sta from TB4 where cod='P0000001'").toString(), QString("N"));
    QCOMPARE(row_of(ca.ms, s.out_late), -1);

    // Returned, its item rented again since: the item stays out.
    s.shop.exec("update TB4 set sta='Y' where cod='P0000003'");
    s.add("2026-03-19", "2026-03-22", "", "M00001", "P0000003", "N", "N");
    select(ca.ms, row_of(ca.ms, s.back_late));
    r.clear();
    ca.cmd_del->click();
    QCOMPARE(r.last(), QString("삭제완료!"));
    QCOMPARE(s.shop.count("TC1", "idx=?", {s.back_late}), 0);
    QCOMPARE(s.shop.scalar("select sta from TB4 where cod='P0000003'").toString(), QString("Y"));

    // Answering No keeps the rental; without the right nothing is asked.
    select(ca.ms, row_of(ca.ms, s.out_ok));
    r.clear();
    r.answer(QMessageBox::No);
    ca.cmd_del->click();
    QCOMPARE(s.shop.count("TC1", "idx=?", {s.out_ok}), 1);
    s.shop.add_user("CLERK", "1", "11110");
    QVERIFY(s.shop.login("CLERK", "1"));
    r.clear();
    ca.cmd_del->click();
    QCOMPARE(r.texts, QStringList{"프로그램에서 승인할 수 없는 사용자입니다!"});
    QCOMPARE(s.shop.count("TC1", "idx=?", {s.out_ok}), 1);
}

QTEST_MAIN(TestActionsCa)
#include "tst_actions_ca.moc"
