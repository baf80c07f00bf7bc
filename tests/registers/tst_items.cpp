#include "support/fixture.h"
#include "support/driving.h"
#include "registers/B4.h"
#include "registers/B4_pro.h"
#include "registers/items.h"
#include "data/db.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {
// Double-clicks a data row, as a clerk ticks it.
void dbl_click_row(FlexGrid* g, int r)
{
    g->set_row(r);
    const QRect rc = g->visualRect(g->model()->index(r - 1, 4));
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, rc.center());
}

void add_rental(TestShop& shop, const QString& p_cod, const QString& e_dat)
{
    shop.exec("insert into TC1 (s_dat, c_dat, e_dat, m_cod, p_cod) values ('2026-01-02', '2026-01-05', ?, 'M00001', ?)",
              {e_dat, p_cod});
}
}

class TestItems : public QObject {
    Q_OBJECT
private slots:
    void list_order_marks_and_counts();
    void filters_and_search_field();
    void search_takes_wildcards_as_text();
    void ticks_toggle_and_go_with_reload();
    void in_use_switch_refused_while_rented();
    void in_use_switch_both_ways();
    void delete_refused_while_rented_or_with_history();
    void failed_history_check_deletes_nothing();
    void bulk_fees_on_ticked_rows_only();
    void bulk_fees_all_or_nothing();
};

void TestItems::list_order_marks_and_counts()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("BOOK");
    shop.add_category("TOY");
    shop.add_item("T0000002", "TOY", 1500, 100);
    shop.add_item("B0000009", "BOOK", 2000, 1234567, "Y", "Y");
    shop.add_item("B0000001", "BOOK", 0, 0);
    shop.add_item("X0000001", "TOY", 1, 1, "Y", "?");   // an unknown state counts as rented
    shop.add_item("Z0000001", "TOY", 1, 1, "N", "N");   // not in use
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(ms->cols(), 14);
    const QStringList heads{"", "CHK", "상태", "품목분류", "바 코 드", "품명", "규격", "제조사", "비고1", "비고2", "비고3",
                            "대 여 료", "연 체 료", "비    고"};
    for (int c = 0; c < 14; ++c) QCOMPARE(ms->text(0, c), heads[c]);
    // Rented first (sta descending), then by category and barcode.
    QCOMPARE(column(ms, 4), QStringList({"B0000009", "B0000001", "T0000002", "X0000001"}));
    QCOMPARE(column(ms, 2), QStringList({"●", "○", "○", "●"}));
    QCOMPARE(column(ms, 1), QStringList({"", "", "", ""}));
    QCOMPARE(column(ms, 11), QStringList({"2,000", "0", "1,500", "1"}));
    QCOMPARE(column(ms, 12), QStringList({"1,234,567", "0", "100", "1"}));
    QCOMPARE(ms->text(1, 5), QString("이름"));
    QCOMPARE(ms->col_alignment(11), FlexGrid::AlignRight);
    QCOMPARE(ms->col_alignment(2), FlexGrid::AlignCenter);
    QCOMPARE(ms->col_width(8), 0);
    QVERIFY(ms->col_width(13) >= 2500);
    QCOMPARE(child<QLabel>(w.get(), "la_inf")->text(), QString("검색건수: 4건  재고(2)건 대여(2)건"));
    QVERIFY(r.texts.isEmpty());
}

void TestItems::filters_and_search_field()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    // Two captions alike: the search takes the first of them.
    shop.exec("update TB0 set f2_nam='품명'");
    QVERIFY(shop.login_admin());
    shop.add_category("BOOK");
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    shop.add_item("B0000001", "BOOK");
    shop.add_item("B0000002", "BOOK", 1, 1, "N");
    shop.exec("update TB4 set f1_nam='빨간 공', f2_nam='공 없음' where cod='T0000001'");
    shop.exec("update TB4 set f2_nam='공' where cod='B0000001'");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    auto* t_gbn = child<QComboBox>(w.get(), "t_gbn");
    QCOMPARE(t_gbn->count(), 3);
    QCOMPARE(t_gbn->itemText(0), QString("전체보기"));

    // Choosing a category reloads at once.
    t_gbn->setCurrentIndex(1);
    emit t_gbn->activated(1);
    QCOMPARE(column(ms, 4), QStringList({"B0000001"}));

    click(w.get(), "op_1");
    QCOMPARE(column(ms, 4), QStringList({"B0000002"}));
    // The option selected, clicked again, stays selected.
    click(w.get(), "op_1");
    QVERIFY(child<QRadioButton>(w.get(), "op_1")->isChecked());
    QCOMPARE(column(ms, 4), QStringList({"B0000002"}));
    click(w.get(), "op_0");

    t_gbn->setCurrentIndex(0);
    auto* t_chk = child<QComboBox>(w.get(), "t_chk");
    QCOMPARE(t_chk->count(), 7);
    t_chk->setCurrentIndex(1);
    auto* t_ser = child<QLineEdit>(w.get(), "t_ser");
    type_text(t_ser, "공-");
    press_enter(t_ser);
    QCOMPARE(t_ser->text(), QString("공"));
    QCOMPARE(column(ms, 4), QStringList({"T0000001"}));

    // Double click empties the search box without searching.
    QTest::mouseDClick(t_ser, Qt::LeftButton);
    QCOMPARE(t_ser->text(), QString());
    QCOMPARE(column(ms, 4), QStringList({"T0000001"}));
    QVERIFY(r.texts.isEmpty());
}

void TestItems::search_takes_wildcards_as_text()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T_1", "TOY");
    shop.add_item("TX1", "TOY");
    shop.add_item("P1", "TOY");
    shop.add_item("P2", "TOY");
    shop.exec("update TB4 set f1_nam='5%할인' where cod='P1'");
    shop.exec("update TB4 set f1_nam='55할인' where cod='P2'");
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    // The list's progress bar, which the export and the print move too, is
    // full after each load and never a busy bar.
    auto* PB = child<QProgressBar>(w.get(), "PB");
    QCOMPARE(PB->maximum(), 4);
    QCOMPARE(PB->value(), 4);
    auto* t_ser = child<QLineEdit>(w.get(), "t_ser");
    t_ser->setText("_");
    click(w.get(), "cmd_fnd");
    QCOMPARE(column(ms, 4), QStringList({"T_1"}));
    QCOMPARE(PB->value(), 1);
    t_ser->setText("nothing like it");
    click(w.get(), "cmd_fnd");
    QCOMPARE(PB->value(), 0);
    QVERIFY(PB->maximum() > PB->minimum());
    t_ser->clear();
    child<QComboBox>(w.get(), "t_chk")->setCurrentIndex(1);
    t_ser->setText("5%할");
    click(w.get(), "cmd_fnd");
    QCOMPARE(column(ms, 4), QStringList({"P1"}));
}

void TestItems::ticks_toggle_and_go_with_reload()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    shop.add_item("T0000002", "TOY");
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    dbl_click_row(ms, 2);
    QCOMPARE(column(ms, 1), QStringList({"", "√"}));
    dbl_click_row(ms, 1);
    dbl_click_row(ms, 2);
    QCOMPARE(column(ms, 1), QStringList({"√", ""}));
    click(w.get(), "cmd_fnd");
    QCOMPARE(column(ms, 1), QStringList({"", ""}));
}

void TestItems::in_use_switch_refused_while_rented()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    shop.add_item("T0000002", "TOY", 1, 1, "Y", "Y");
    shop.add_item("T0000003", "TOY");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    auto* check1 = child<QCheckBox>(w.get(), "Check1");

    click(w.get(), "Check1");
    QCOMPARE(r.texts, QStringList({"체크된 품목이 없습니다!"}));
    QVERIFY(!check1->isChecked());

    // Row 1 is the rented item (listed first); the mix is refused as a whole.
    dbl_click_row(ms, 1);
    dbl_click_row(ms, 3);
    r.clear();
    click(w.get(), "Check1");
    QCOMPARE(r.texts, QStringList({"(1) 대여중인 품목은 사용안함으로 변경할 수 없습니다!"}));
    QVERIFY(!check1->isChecked());
    QCOMPARE(shop.count("TB4", "act='Y'"), 3);
    QCOMPARE(column(ms, 1), QStringList({"√", "", "√"}));
}

void TestItems::in_use_switch_both_ways()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    shop.add_item("T0000002", "TOY");
    shop.add_item("T0000003", "TOY");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    dbl_click_row(ms, 1);
    dbl_click_row(ms, 3);

    r.answer(QMessageBox::No);
    click(w.get(), "Check1");
    QCOMPARE(r.texts, QStringList({"(2)건의 데이터를 사용안함으로 변경하시겠습니까?"}));
    QCOMPARE(shop.count("TB4", "act='N'"), 0);
    QVERIFY(!child<QCheckBox>(w.get(), "Check1")->isChecked());

    r.clear();
    click(w.get(), "Check1");
    QCOMPARE(r.texts, QStringList({"(2)건의 데이터를 사용안함으로 변경하시겠습니까?", "데이터처리완료!"}));
    QCOMPARE(shop.rows("select cod from TB4 where act='N' order by cod"),
             QList<QVariantList>({{"T0000001"}, {"T0000003"}}));
    QCOMPARE(column(ms, 4), QStringList({"T0000002"}));
    QVERIFY(!child<QCheckBox>(w.get(), "Check1")->isChecked());

    click(w.get(), "op_1");
    QCOMPARE(column(ms, 4), QStringList({"T0000001", "T0000003"}));
    dbl_click_row(ms, 2);
    r.clear();
    click(w.get(), "Check1");
    QCOMPARE(r.texts, QStringList({"(1)건의 데이터를 사용함으로 변경하시겠습니까?", "데이터처리완료!"}));
    QCOMPARE(shop.count("TB4", "act='N'"), 1);
    QCOMPARE(column(ms, 4), QStringList({"T0000001"}));
}

void TestItems::delete_refused_while_rented_or_with_history()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY", 1, 1, "Y", "Y");
    shop.add_item("T0000002", "TOY");
    shop.add_item("T0000003", "TOY");
    add_rental(shop, "T0000001", "");
    add_rental(shop, "T0000002", "2026-01-04");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(column(ms, 4), QStringList({"T0000001", "T0000002", "T0000003"}));

    ms->set_row(1);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"대여중인 품목은 삭제할 수 없습니다!"}));

    // Returned long ago: the history still keeps the item.
    r.clear();
    ms->set_row(2);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"[T0000002]대여반납내역이 존재하는 품목이므로 삭제할 수 없습니다!"}));
    QCOMPARE(shop.count("TB4"), 3);
    QCOMPARE(shop.count("TC1"), 2);

    r.clear();
    ms->set_row(3);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"[T0000003]항목을 삭제하시겠습니까?", "삭제완료!"}));
    QCOMPARE(shop.count("TB4", "cod='T0000003'"), 0);
    QCOMPARE(column(ms, 4), QStringList({"T0000001", "T0000002"}));

    // No right to delete: refused before anything else.
    shop.add_user("LEE", "1", "11110");
    QVERIFY(shop.login("lee", "1"));
    r.clear();
    ms->set_row(2);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"프로그램에서 승인할 수 없는 사용자입니다!"}));
}

void TestItems::failed_history_check_deletes_nothing()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    add_rental(shop, "T0000001", "2026-01-04");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    child<FlexGrid>(w.get(), "ms")->set_row(1);
    shop.exec("alter table TC1 rename to TC1_away");
    TestShop::expect_sql_error();
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"삭제실패!"}));
    shop.exec("alter table TC1_away rename to TC1");
    QCOMPARE(shop.count("TB4"), 1);
    QCOMPARE(shop.count("TC1"), 1);

    // A rental registered after the check (another desk) keeps both.
    open_db();
    QCOMPARE(item_delete("T0000001"), Deletion::History);
    QCOMPARE(shop.count("TB4"), 1);
    QCOMPARE(shop.count("TC1"), 1);
}

void TestItems::bulk_fees_on_ticked_rows_only()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    delete screens::kept<B4_pro>();
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY", 1000, 100);
    shop.add_item("T0000002", "TOY", 1000, 100, "Y", "Y");
    shop.add_item("T0000003", "TOY", 1000, 100);
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    click(w.get(), "Check2");
    QCOMPARE(r.texts, QStringList({"체크된 품목이 없습니다!"}));
    QVERIFY(!child<QCheckBox>(w.get(), "Check2")->isChecked());

    dbl_click_row(ms, 1);   // the rented one is adjusted as well
    dbl_click_row(ms, 3);
    r.clear();
    bool ran = false;
    drive("B4_pro", [&](QWidget* d) {
        QVERIFY(child<QCheckBox>(w.get(), "Check2")->isChecked());
        FlexGrid* g = child<FlexGrid>(d, "ms");
        QCOMPARE(g->rows(), 3);
        QCOMPARE(g->text(0, 3), QString("바 코 드"));
        QCOMPARE(column(g, 3), QStringList({"T0000002", "T0000003"}));
        QCOMPARE(column(g, 1), QStringList({"●", "○"}));
        QCOMPARE(column(g, 7), QStringList({"1,000", "1,000"}));
        QVERIFY(child<QCheckBox>(d, "c_dae")->isChecked());
        QVERIFY(child<QCheckBox>(d, "c_yun")->isChecked());

        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"대여료가 올바르지 않습니다!"}));

        r.clear();
        auto* t_dae = child<QLineEdit>(d, "t_dae");
        QTest::keyClicks(t_dae, "2500.7");
        QCOMPARE(t_dae->text(), QString("25,007"));
        t_dae->clear();
        QTest::keyClicks(t_dae, "1500");
        QCOMPARE(t_dae->text(), QString("1,500"));
        QTest::keyClicks(child<QLineEdit>(d, "t_yun"), "-");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"연체료가 올바르지 않습니다!"}));

        // Only the rental fee: an empty late fee is then accepted.
        r.clear();
        click(d, "c_yun");
        child<QLineEdit>(d, "t_yun")->clear();
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"대여료 및 연체료를 일괄 조정하시겠습니까?", "대여료/연체료 일괄조종완료!"}));
        QVERIFY(!d->isVisible());
        ran = true;
    });
    click(w.get(), "Check2");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select cod, dae, yun from TB4 order by cod"),
             QList<QVariantList>({{"T0000001", 1000, 100}, {"T0000002", 1500, 100}, {"T0000003", 1500, 100}}));
    QVERIFY(!child<QCheckBox>(w.get(), "Check2")->isChecked());
    // Reloaded: new fees shown, ticks gone.
    QCOMPARE(column(ms, 11), QStringList({"1,500", "1,000", "1,500"}));
    QCOMPARE(column(ms, 1), QStringList({"", "", ""}));

    // A later cancelled opening still reloads (an adjustment was saved), so
    // the ticks go.
    dbl_click_row(ms, 2);
    drive("B4_pro", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    click(w.get(), "Check2");
    QCOMPARE(column(ms, 1), QStringList({"", "", ""}));
    QVERIFY(!child<QCheckBox>(w.get(), "Check2")->isChecked());
}

void TestItems::bulk_fees_all_or_nothing()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    delete screens::kept<B4_pro>();
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY", 1000, 100);
    shop.add_item("T0000002", "TOY", 1000, 100);
    // The second item's late fee cannot be written.
    shop.exec("create trigger no_yun before update of yun on TB4 when new.cod='T0000002' "
              "begin select raise(abort, 'locked'); end");
    MsgResponder r;
    std::unique_ptr<B4> w(show_window<B4>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    dbl_click_row(ms, 1);
    dbl_click_row(ms, 2);
    bool ran = false;
    drive("B4_pro", [&](QWidget* d) {
        QTest::keyClicks(child<QLineEdit>(d, "t_dae"), "0");
        QTest::keyClicks(child<QLineEdit>(d, "t_yun"), "700");
        TestShop::expect_sql_error();
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"대여료 및 연체료를 일괄 조정하시겠습니까?", "대여료/연체료 일괄조정실패!"}));
        QVERIFY(d->isVisible());
        QCOMPARE(child<QLineEdit>(d, "t_yun")->text(), QString("700"));
        ran = true;
    });
    click(w.get(), "Check2");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select dae, yun from TB4 order by cod"), QList<QVariantList>({{1000, 100}, {1000, 100}}));
    // Cancelled without a saved adjustment: the ticks stay.
    QCOMPARE(column(ms, 1), QStringList({"√", "√"}));
    QVERIFY(!child<QCheckBox>(w.get(), "Check2")->isChecked());
}

QTEST_MAIN(TestItems)
#include "tst_items.moc"
