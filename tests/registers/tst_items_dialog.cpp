#include "support/fixture.h"
#include "support/driving.h"
#include "registers/B4.h"
#include "registers/B4_add_edt.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {
QLineEdit* box(QWidget* d, const char* name) { return child<QLineEdit>(d, name); }

B4* open_b4()
{
    delete screens::kept<B4_add_edt>();   // a fresh dialog object, as at start-up
    return show_window<B4>(1200, 700);
}

void fill_item(QWidget* d, const QString& cod, const QString& dan, const QString& yun)
{
    box(d, "t_cod")->clear();
    QTest::keyClicks(box(d, "t_cod"), cod);
    box(d, "t_f1_nam")->clear();
    type_text(box(d, "t_f1_nam"), "빨간 공");
    box(d, "t_dan")->clear();
    QTest::keyClicks(box(d, "t_dan"), dan);
    box(d, "t_yun")->clear();
    QTest::keyClicks(box(d, "t_yun"), yun);
}
}

class TestItemsDialog : public QObject {
    Q_OBJECT
private slots:
    void no_category_refused_first();
    void adding_checks_barcode_and_fees();
    void remark_with_apostrophes_is_stored_as_typed();
    void editing_keeps_barcode_category_and_state();
    void editing_a_vanished_item_fails();
    void closing_reloads_after_any_save();
    void texts_longer_than_a_box_survive_a_fee_change();
};

void TestItemsDialog::no_category_refused_first()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    bool ran = false;
    drive("B4_add_edt", [&](QWidget* d) {
        auto* t_gbn = child<QComboBox>(d, "t_gbn");
        QCOMPARE(t_gbn->count(), 1);
        QCOMPARE(t_gbn->currentText(), QString("분류없음"));
        QCOMPARE(child<QLabel>(d, "la_sta")->text(), QString("신규등록"));
        QCOMPARE(child<QLabel>(d, "la1")->text(), QString("품명"));
        QCOMPARE(child<QLabel>(d, "la6")->text(), QString("비고3"));
        click(d, "cmd_chk");   // every box empty: the category comes first
        QCOMPARE(r.texts, QStringList({"하나이상의 품목분류를 등록하세요!"}));
        ran = true;
    });
    click(w.get(), "cmd_add");
    QVERIFY(ran);
    QCOMPARE(shop.count("TB4"), 0);
}

void TestItemsDialog::adding_checks_barcode_and_fees()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("BOOK");
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    bool ran = false;
    drive("B4_add_edt", [&](QWidget* d) {
        auto* t_cod = box(d, "t_cod");
        auto* t_gbn = child<QComboBox>(d, "t_gbn");
        QCOMPARE(t_gbn->count(), 2);
        QCOMPARE(t_cod->maxLength(), 8);
        t_gbn->setCurrentIndex(1);

        auto attempt = [&](const QString& cod, const QString& dan, const QString& yun) {
            r.clear();
            fill_item(d, cod, dan, yun);
            click(d, "cmd_chk");
            return r.texts;
        };
        QCOMPARE(attempt("", "1", "1"), QStringList({"바코드가 비어 있습니다!"}));
        QCOMPARE(attempt("t000001", "1", "1"), QStringList({"바코드자리수가 올바르지 않습니다!"}));
        QCOMPARE(t_cod->text(), QString("T000001"));
        // One character too many cannot be typed.
        fill_item(d, "t0000001x", "1", "1");
        QCOMPARE(t_cod->text(), QString("t0000001"));
        QCOMPARE(attempt("t0000001", "", "1"), QStringList({"대여료가 올바르지 않습니다!"}));
        QCOMPARE(attempt("t0000001", "-5", "1"), QStringList({"대여료가 올바르지 않습니다!"}));
        QCOMPARE(attempt("t0000001", "5", "x"), QStringList({"연체료 올바르지 않습니다!"}));
        QCOMPARE(attempt("t0000001", "5", "-1"), QStringList({"연체료가 올바르지 않습니다!"}));
        QCOMPARE(attempt("t0000001", "5", "1"), QStringList({"동일한 품목코드가 존재합니다!"}));
        QCOMPARE(shop.count("TB4"), 1);
        // A duplicate check that cannot run lets nothing in.
        shop.exec("alter table TB4 rename to TB4_away");
        TestShop::expect_sql_error();
        QCOMPARE(attempt("t0000001", "5", "1"), QStringList({"등록실패!"}));
        shop.exec("alter table TB4_away rename to TB4");
        QCOMPARE(shop.count("TB4"), 1);

        r.clear();
        fill_item(d, "t0000002", "1500", "300");
        box(d, "t_f2_nam")->setText("'규격'");
        QCOMPARE(box(d, "t_dan")->text(), QString("1,500"));
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 등록하시겠습니까?", "등록완료!"}));
        // The next item: every box but the category empty.
        QVERIFY(d->isVisible());
        for (const char* b : {"t_cod", "t_f1_nam", "t_f2_nam", "t_dan", "t_yun", "t_big"})
            QCOMPARE(box(d, b)->text(), QString());
        QCOMPARE(t_gbn->currentText(), QString("TOY"));
        ran = true;
    });
    click(w.get(), "cmd_add");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select * from TB4 where cod='T0000002'"),
             QList<QVariantList>({{"Y", "N", "TOY", "T0000002", "빨간 공", "규격", "", "", "", "", 1500, 300, ""}}));
    QCOMPARE(column(child<FlexGrid>(w.get(), "ms"), 4), QStringList({"T0000001", "T0000002"}));
}

void TestItemsDialog::remark_with_apostrophes_is_stored_as_typed()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY", 1000, 100);
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    const QString remark = "x',dae=0,big='";
    drive("B4_add_edt", [&](QWidget* d) {
        fill_item(d, "T0000002", "2000", "200");
        QTest::keyClicks(box(d, "t_big"), remark);
        click(d, "cmd_chk");
        QCOMPARE(r.last(), QString("등록완료!"));
    });
    click(w.get(), "cmd_add");
    QCOMPARE(shop.rows("select cod, dae, big from TB4 order by cod"),
             QList<QVariantList>({{"T0000001", 1000, ""}, {"T0000002", 2000, remark}}));

    // The same through an edit.
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    ms->set_row(1);
    r.clear();
    drive("B4_add_edt", [&](QWidget* d) {
        box(d, "t_big")->setText("it's " + remark);
        click(d, "cmd_chk");
        QCOMPARE(r.last(), QString("수정완료!"));
    });
    click(w.get(), "cmd_edt");
    QCOMPARE(shop.rows("select cod, dae, big from TB4 order by cod"),
             QList<QVariantList>({{"T0000001", 1000, "it's " + remark}, {"T0000002", 2000, remark}}));
    QCOMPARE(ms->text(1, 13), "it's " + remark);
}

void TestItemsDialog::editing_keeps_barcode_category_and_state()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    // Loaded in bulk: a barcode longer than the setting, ending in a sign the
    // cleaning would drop, and a category the register no longer has.
    shop.add_item("OLD00001-%", "GONE", 1000, 100, "Y", "Y");
    shop.add_item("OLD00001-", "TOY", 1000, 100);
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(ms->text(1, 4), QString("OLD00001-%"));
    ms->set_row(1);
    bool ran = false;
    drive("B4_add_edt", [&](QWidget* d) {
        auto* t_cod = box(d, "t_cod");
        QVERIFY(!t_cod->isEnabled());
        QCOMPARE(t_cod->text(), QString("OLD00001-%"));
        QCOMPARE(child<QLabel>(d, "la_sta")->text(), QString("현재대여중.."));
        auto* t_gbn = child<QComboBox>(d, "t_gbn");
        QCOMPARE(t_gbn->currentText(), QString("GONE"));
        QCOMPARE(box(d, "t_dan")->text(), QString("1,000"));
        box(d, "t_f3_nam")->setText("새 제조사");
        box(d, "t_yun")->setText("2500");
        QCOMPARE(box(d, "t_yun")->text(), QString("2,500"));
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 수정하시겠습니까?", "수정완료!"}));
        QVERIFY(!d->isVisible());
        ran = true;
    });
    click(w.get(), "cmd_edt");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select act, sta, gbn, f3_nam, dae, yun from TB4 where cod='OLD00001-%'"),
             QList<QVariantList>({{"Y", "Y", "GONE", "새 제조사", 1000, 2500}}));
    QCOMPARE(shop.rows("select f3_nam, yun from TB4 where cod='OLD00001-'"),
             QList<QVariantList>({{"제조", 100}}));

    // The next opening offers the register's categories only again.
    ms->set_row(2);
    drive("B4_add_edt", [&](QWidget* d) {
        auto* t_gbn = child<QComboBox>(d, "t_gbn");
        QCOMPARE(t_gbn->count(), 1);
        QCOMPARE(t_gbn->currentText(), QString("TOY"));
        QCOMPARE(child<QLabel>(d, "la_sta")->text(), QString("재고보유중.."));
    });
    click(w.get(), "cmd_edt");
}

void TestItemsDialog::editing_a_vanished_item_fails()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("T0000001", "TOY");
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    child<FlexGrid>(w.get(), "ms")->set_row(1);
    shop.exec("delete from TB4");
    drive("B4_add_edt", [&](QWidget* d) {
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 수정하시겠습니까?", "수정실패!"}));
        QVERIFY(d->isVisible());
    });
    click(w.get(), "cmd_edt");
    QCOMPARE(shop.count("TB4"), 0);
}

void TestItemsDialog::closing_reloads_after_any_save()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");

    shop.add_item("T0000009", "TOY");
    drive("B4_add_edt", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    click(w.get(), "cmd_add");
    QCOMPARE(ms->rows(), 1);   // nothing saved: no reload

    drive("B4_add_edt", [&](QWidget* d) {
        fill_item(d, "T0000001", "1", "1");
        click(d, "cmd_chk");
        click(d, "cmd_can");
    });
    click(w.get(), "cmd_add");
    QCOMPARE(column(ms, 4), QStringList({"T0000001", "T0000009"}));

    shop.add_item("T0000005", "TOY");
    ms->set_row(1);
    drive("B4_add_edt", [](QWidget* d) { QTest::keyClick(box(d, "t_big"), Qt::Key_Escape); });
    click(w.get(), "cmd_edt");
    QCOMPARE(column(ms, 4), QStringList({"T0000001", "T0000005", "T0000009"}));
}

void TestItemsDialog::texts_longer_than_a_box_survive_a_fee_change()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("L0000001", "TOY", 1000, 100);
    const QString f1 = QString(69'990, QChar(0xD488)) + "'끝품명'";
    const QString f2 = "+" + QString(50'000, QChar('s'));
    const QString f6 = QString(40'000, QChar(0xBE44)) + "-";
    const QString big = QString(45'000, QChar(0xACE0)) + "비고끝";
    shop.exec("update TB4 set f1_nam=?, f2_nam=?, f6_nam=?, big=? where cod='L0000001'", {f1, f2, f6, big});
    MsgResponder r;
    std::unique_ptr<B4> w(open_b4());
    child<FlexGrid>(w.get(), "ms")->set_row(1);
    drive("B4_add_edt", [&](QWidget* d) {
        box(d, "t_dan")->setText("1500");
        click(d, "cmd_chk");
    });
    click(w.get(), "cmd_edt");
    QCOMPARE(r.texts, QStringList({"작성한 내용을 수정하시겠습니까?", "수정완료!"}));
    QCOMPARE(shop.rows("select f1_nam=?, f2_nam=?, f6_nam=?, big=?, f3_nam, dae from TB4", {f1, f2, f6, big}),
             QList<QVariantList>({{1, 1, 1, 1, "제조", 1500}}));
}

QTEST_MAIN(TestItemsDialog)
#include "tst_items_dialog.moc"
