// Fee payment C3 on rows handed over from a history grid.
#include "support/fixture.h"
#include "counter/C3.h"
#include "counter/rentals.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/ListWindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace {
// Stands in for the history window: a Check2 box and a list that counts its reloads.
class HistoryStub : public ListWindow {
public:
    HistoryStub() : ListWindow("CA", "대여반납내역관리", Frame{})
    {
        box = new QCheckBox(QStringLiteral("선택자료결제처리"), fm_sum);
        box->setObjectName("Check2");
        box->setChecked(true);
    }
    void ms_list() override { ++reloads; }
    QCheckBox* box;
    int reloads = 0;
};

qint64 add_rental(TestShop& shop, const QString& p_cod, const QString& dae_chk, const QString& yun_chk,
                  qint64 yun = 500)
{
    shop.exec("insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,big) "
              "values ('2024-03-01','2024-03-04','','M00001',?,1000,?,?,?,'ADMIN','비고')",
              {p_cod, yun, dae_chk, yun_chk});
    return shop.scalar("select max(idx) from TC1").toLongLong();
}

// Runs the dialog and presses its pay button; whether the dialog was still
// open after the payment.
bool pay_stays_open(C3& dlg)
{
    bool open = false;
    when_dialog_shows("C3", [&](QWidget* d) {
        d->findChild<QPushButton*>("cmd_chk")->click();
        open = d->isVisible();
        d->close();
    });
    dlg.exec();
    return open;
}

// A history grid of 22 columns: the rentals as data rows, then a subtotal row.
// The fees shown are those add_rental stores unless given.
void fill_history(FlexGrid& ms, const QList<qint64>& keys, const QList<bool>& ticks,
                  const QString& dae = QStringLiteral("1,000"), const QString& yun = QStringLiteral("500"))
{
    ms.set_cols(22);
    ms.set_rows(int(keys.size()) + 2);
    ms.clear_cells();
    for (int i = 0; i < keys.size(); ++i) {
        const int r = i + 1;
        for (int c = 0; c < 22; ++c) ms.set_text(r, c, QStringLiteral("c%1r%2").arg(c).arg(r));
        ms.set_text(r, 0, QString::number(keys[i]));
        ms.set_text(r, 1, ticks[i] ? QStringLiteral("√") : QString());
        ms.set_text(r, 14, dae);
        ms.set_text(r, 15, yun);
    }
    const int sub = int(keys.size()) + 1;
    ms.set_text(sub, 1, QStringLiteral("√"));
    ms.set_text(sub, 4, QStringLiteral("(2024-03-01)"));
}
}

class TestPayment : public QObject {
    Q_OBJECT
private slots:
    void hand_over_copies_ticked_rows();
    void save_marks_and_takes_back();
    void no_leaves_flags_and_dialog_open();
    void deleted_row_fails_whole_payment();
    void returned_meanwhile_fails_whole_payment();
};

void TestPayment::hand_over_copies_ticked_rows()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    FlexGrid from;
    fill_history(from, {11, 12, 13}, {true, false, true});
    C3 dlg;
    QCOMPARE(dlg.load_rows(from), 2);
    QCOMPARE(dlg.ms->rows(), 3);
    QCOMPARE(dlg.ms->cols(), 20);
    QCOMPARE(dlg.ms->text(1, 0), QString("11"));
    QCOMPARE(dlg.ms->text(2, 0), QString("13"));
    QCOMPARE(dlg.ms->text(2, 17), QString("c17r3"));
    QCOMPARE(dlg.ms->text(2, 18), QString("c20r3"));   // the users' columns are skipped
    QCOMPARE(dlg.ms->text(2, 19), QString("c21r3"));
    QCOMPARE(dlg.ms->text(0, 10), f1_nam);
    QCOMPARE(dlg.ms->text(0, 19), QString("비    고"));
    QCOMPARE(dlg.ms->col_width(4), col_w[1]);
    QCOMPARE(dlg.ms->col_width(8), 0);
    QCOMPARE(dlg.ms->col_width(19), 2500);
    QCOMPARE(dlg.ms->col_alignment(14), FlexGrid::AlignRight);

    // A second hand-over replaces the rows of the first.
    fill_history(from, {21}, {true});
    QCOMPARE(dlg.load_rows(from), 1);
    QCOMPARE(dlg.ms->rows(), 2);
    QCOMPARE(dlg.ms->text(1, 0), QString("21"));
}

void TestPayment::save_marks_and_takes_back()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    const qint64 a = add_rental(shop, "P1", "N", "N");
    const qint64 b = add_rental(shop, "P2", "Y", "Y");
    HistoryStub ca;
    FlexGrid from;
    fill_history(from, {a, b}, {true, true});
    auto* dlg = screens::kept<C3>();
    dlg->saved = 0;
    dlg->load_rows(from);

    MsgResponder r;
    // Only the late fee counts as paid: the rental fee of b is taken back.
    when_dialog_shows("C3", [](QWidget* d) {
        QVERIFY(d->findChild<QCheckBox*>("Check1")->isChecked());
        QVERIFY(d->findChild<QCheckBox*>("Check2")->isChecked());
        d->findChild<QCheckBox*>("Check1")->setChecked(false);
        d->findChild<QPushButton*>("cmd_chk")->click();
    });
    dlg->exec();
    QCOMPARE(r.texts, (QStringList{"(2)건을 결제처리 하시겠습니까?", "결제처리완료!"}));
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1 order by idx"),
             (QList<QVariantList>{{"N", "Y"}, {"N", "Y"}}));
    QCOMPARE(dlg->saved, 1);
    QVERIFY(!ca.box->isChecked());
    QCOMPARE(ca.reloads, 1);

    // A later opening closed without saving still reloads the list; the boxes start ticked again.
    ca.box->setChecked(true);
    r.clear();
    when_dialog_shows("C3", [](QWidget* d) {
        QVERIFY(d->findChild<QCheckBox*>("Check1")->isChecked());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    dlg->exec();
    QVERIFY(r.texts.isEmpty());
    QVERIFY(!ca.box->isChecked());
    QCOMPARE(ca.reloads, 2);
    delete dlg;
}

void TestPayment::no_leaves_flags_and_dialog_open()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    const qint64 a = add_rental(shop, "P1", "N", "Y");
    HistoryStub ca;
    FlexGrid from;
    fill_history(from, {a}, {true});
    C3 dlg;
    dlg.load_rows(from);
    MsgResponder r;
    r.answer(QMessageBox::No);
    bool open_after_no = false;
    when_dialog_shows("C3", [&](QWidget* d) {
        d->findChild<QPushButton*>("cmd_chk")->click();
        open_after_no = d->isVisible();
        d->findChild<QPushButton*>("cmd_can")->click();
    });
    dlg.exec();
    QVERIFY(open_after_no);
    QCOMPARE(r.texts, QStringList{"(1)건을 결제처리 하시겠습니까?"});
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1"), (QList<QVariantList>{{"N", "Y"}}));
    QCOMPARE(dlg.saved, 0);
    QVERIFY(!ca.box->isChecked());
    QCOMPARE(ca.reloads, 0);
}

void TestPayment::deleted_row_fails_whole_payment()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    const qint64 a = add_rental(shop, "P1", "N", "N");
    const qint64 b = add_rental(shop, "P2", "N", "N");
    HistoryStub ca;
    FlexGrid from;
    fill_history(from, {a, b}, {true, true});
    C3 dlg;
    dlg.load_rows(from);
    shop.exec("delete from TC1 where idx=?", {b});   // deleted at another desk
    MsgResponder r;
    QVERIFY(pay_stays_open(dlg));
    QCOMPARE(r.last(), QString("결제처리실패!"));
    QCOMPARE(shop.rows("select m_dae_chk,m_yun_chk from TC1"), (QList<QVariantList>{{"N", "N"}}));
    QCOMPARE(dlg.saved, 0);
}

void TestPayment::returned_meanwhile_fails_whole_payment()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("DVD");
    shop.add_item("P1", "DVD", 1000, 500, "Y", "Y");
    const qint64 a = add_rental(shop, "P1", "N", "N", 0);
    const qint64 b = add_rental(shop, "P2", "N", "N", 0);
    HistoryStub ca;
    FlexGrid from;
    fill_history(from, {a, b}, {true, true}, "1,000", "0");
    C3 dlg;
    dlg.load_rows(from);
    // After the hand-over another desk takes P1 back late: a late fee the
    // clerk here never saw.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    QVERIFY(save_returns(other, {ReturnLine{a, "N", 1500}}, QDate(2024, 3, 7), "CLERK2"));
    MsgResponder r;
    QVERIFY(pay_stays_open(dlg));
    QCOMPARE(r.texts, (QStringList{"(2)건을 결제처리 하시겠습니까?", "결제처리실패!"}));
    QCOMPARE(shop.rows("select m_yun,m_dae_chk,m_yun_chk from TC1 order by idx"),
             (QList<QVariantList>{{1500, "N", "N"}, {0, "N", "N"}}));
    QCOMPARE(dlg.saved, 0);

    // Handed over again with the fee as it now stands, the payment goes through.
    fill_history(from, {a, b}, {true, true}, "1,000", "0");
    from.set_text(1, 15, "1,500");
    dlg.load_rows(from);
    r.clear();
    QVERIFY(!pay_stays_open(dlg));
    QCOMPARE(r.last(), QString("결제처리완료!"));
    QCOMPARE(shop.count("TC1", "m_dae_chk='Y' and m_yun_chk='Y'"), 2);
}

QTEST_MAIN(TestPayment)
#include "tst_payment.moc"
