#include "summary_support.h"
#include "summaries/E3.h"
#include "summaries/summaries.h"

#include <QFile>

namespace {
void rent_item(TestShop& shop, const QString& p_cod, const QString& s_dat)
{
    add_rental(shop, "M1", p_cod, s_dat, s_dat, s_dat, 1000, 0, "Y", "Y");
}

// Period 2026-11-01 .. 2026-11-30; the 60 days before it start 2026-09-02.
void seed(TestShop& shop)
{
    shop.add_member("M1", "홍길동", "B");
    for (const char* c : {"BOOK", "GAME"}) shop.add_category(c);
    shop.add_item("B01", "BOOK");
    shop.add_item("B02", "BOOK");
    shop.add_item("D01", "DVD");
    shop.add_item("D02", "DVD");
    shop.add_item("D03", "dvd");   // the same category written otherwise
    shop.add_item("G01", "GAME");
    rent_item(shop, "B01", "2026-09-02");   // exactly 60 days before: earlier
    rent_item(shop, "B01", "2026-10-31");   // the day before: earlier
    rent_item(shop, "B01", "2026-11-01");   // the first day: in the period
    rent_item(shop, "B02", "2026-09-01");   // 61 days before: not at all
    rent_item(shop, "B02", "2026-11-30");   // the last day: in the period
    rent_item(shop, "B02", "2026-12-01");   // after: not at all
    rent_item(shop, "D01", "2026-11-05");
    rent_item(shop, "D01", "2026-11-06");
    rent_item(shop, "D01", "2026-11-07");
    rent_item(shop, "D02", "2026-10-01");   // earlier only
    rent_item(shop, "D03", "2026-11-20");
    rent_item(shop, "D03", "2026-11-21");
    rent_item(shop, "G01", "2026-12-02");   // nothing in either window: not listed
}

QStringList counts(FlexGrid* ms, int r) { return {ms->text(r, 3), ms->text(r, 9), ms->text(r, 10)}; }
}

class TestE3 : public QObject {
    Q_OBJECT
private slots:
    void frame_and_combos();
    void counts_subtotals_and_totals();
    void one_category_and_empty_period();
    void widths_filters_and_failure();
    void no_connection_at_load();
};

void TestE3::frame_and_combos()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E3 w;
    w.resize(1400, 800);
    w.show();
    QCOMPARE(w.objectName(), QString("E3"));
    QCOMPARE(w.windowTitle(), QString("Form1"));
    QCOMPARE(w.t_date1->date(), QDate(2026, 12, 1));
    QCOMPARE(w.t_date2->date(), day0());
    QStringList cats;
    for (int i = 0; i < w.t_gbn->count(); ++i) cats << w.t_gbn->itemText(i);
    QCOMPARE(cats, QStringList({"전체보기", "BOOK", "DVD", "GAME"}));
    QCOMPARE(w.t_gbn->currentIndex(), 0);
    QStringList fields;
    for (int i = 0; i < w.t_chk->count(); ++i) fields << w.t_chk->itemText(i);
    QCOMPARE(fields, QStringList({"바 코 드", "품명", "규격", "제조사", "비고1", "비고2", "비고3", "비    고"}));
    QCOMPARE(w.Check1->text(), QString("품목정보상세히보기"));
    QVERIFY(!w.Text1);
    QVERIFY(!w.findChild<QLineEdit*>("Text1"));
    // December so far: B02 and G01 in the period, B01, D01, D03 in the 60 days before.
    QCOMPARE(w.la_inf->text(), QString("검색건수: 5건"));
    // A right click opens no popup.
    QVERIFY(clicks_on_grid(w.ms).isEmpty());
    screens::register_all_screens();
    QWidget* made = screens::create("E3");
    QVERIFY(qobject_cast<E3*>(made));
    delete made;
}

void TestE3::counts_subtotals_and_totals()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E3 w;
    w.resize(1400, 800);
    w.show();
    // Heights and a current column other than the load's own.
    w.ms->set_row_height(0, 200);
    w.ms->set_row_height(1, 200);
    w.ms->set_col(5);
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    QCOMPARE(list_sql.args, QVariantList({"2026-09-02", "2026-11-01", "2026-11-01", "2026-11-30"}));
    // Two item rows in BOOK, three in DVD (dvd with it).
    QCOMPARE(w.la_inf->text(), QString("검색건수: 5건"));
    FlexGrid* ms = w.ms;
    QCOMPARE(ms->cols(), 12);
    QCOMPARE(row_texts(ms, 0), QStringList({"", "품목분류", "바 코 드", "품명", "규격", "제조사", "비고1", "비고2",
                                            "비고3", "이전대여", "기간대여", "비    고"}));
    // Category, then the period count, then the barcode.
    QCOMPARE(column(ms, 2), QStringList({"B01", "B02", "", "D02", "D03", "D01", "", ""}));
    QCOMPARE(row_texts(ms, 1).mid(1, 4), QStringList({"BOOK", "B01", "이름", "규격"}));
    QCOMPARE(counts(ms, 1), QStringList({"이름", "2", "1"}));
    QCOMPARE(counts(ms, 2), QStringList({"이름", "0", "1"}));
    QCOMPARE(counts(ms, 3), QStringList({"소계(BOOK)", "2", "2"}));
    QCOMPARE(counts(ms, 4), QStringList({"이름", "1", "0"}));
    QCOMPARE(counts(ms, 5), QStringList({"이름", "0", "2"}));
    QCOMPARE(counts(ms, 6), QStringList({"이름", "0", "3"}));
    QCOMPARE(counts(ms, 7), QStringList({"소계(DVD)", "1", "5"}));
    QCOMPARE(counts(ms, 8), QStringList({"(Data Total)", "3", "7"}));
    for (int c : {3, 9, 10}) {
        QCOMPARE(ms->cell_fore_color(3, c), QColor(30, 130, 100));
        QCOMPARE(ms->cell_fore_color(7, c), QColor(30, 130, 100));
        QCOMPARE(ms->cell_fore_color(8, c), QColor(10, 60, 110));
    }
    QCOMPARE(ms->col_alignment(2), FlexGrid::AlignCenter);
    QCOMPARE(ms->col_alignment(9), FlexGrid::AlignRight);
    QCOMPARE(ms->col_alignment(10), FlexGrid::AlignRight);
    QCOMPARE(ms->col_alignment(1), FlexGrid::AlignLeft);
    QCOMPARE(ms->row(), 1);
    QCOMPARE(ms->col(), 0);
    QCOMPARE(ms->row_height(0), 440);
    QCOMPARE(ms->row_height(8), 380);
    QCOMPARE(w.PB->value(), 5);
}

void TestE3::one_category_and_empty_period()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E3 w;
    w.show();
    // G01 alone in the period; every rental from 2026-10-03 on in the 60 days before it.
    search(w, QDate(2026, 12, 2), QDate(2026, 12, 2));
    QCOMPARE(column(w.ms, 2), QStringList({"B01", "B02", "", "D01", "D03", "", "G01", "", ""}));
    QCOMPARE(counts(w.ms, 3), QStringList({"소계(BOOK)", "4", "0"}));
    QCOMPARE(counts(w.ms, 6), QStringList({"소계(DVD)", "5", "0"}));
    QCOMPARE(counts(w.ms, 8), QStringList({"소계(GAME)", "0", "1"}));
    QCOMPARE(counts(w.ms, 9), QStringList({"(Data Total)", "9", "1"}));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 5건"));
    // Two categories of one and two items.
    search(w, QDate(2026, 11, 5), QDate(2026, 11, 7));
    QCOMPARE(column(w.ms, 2), QStringList({"B01", "", "D02", "D01", "", ""}));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건"));
    // One category: one subtotal, equal to the totals.
    search(w, QDate(2026, 9, 2), QDate(2026, 9, 2));
    QCOMPARE(column(w.ms, 2), QStringList({"B02", "B01", "", ""}));
    QCOMPARE(counts(w.ms, 3), QStringList({"소계(BOOK)", "1", "1"}));
    QCOMPARE(counts(w.ms, 4), QStringList({"(Data Total)", "1", "1"}));
    // Nothing in the period nor in the 60 days before it.
    search(w, QDate(2026, 3, 1), QDate(2026, 3, 31));
    QVERIFY(shows_no_data(w));
}

void TestE3::widths_filters_and_failure()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E3 w;
    w.resize(1500, 800);
    w.show();
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    FlexGrid* ms = w.ms;
    const QList<int> plain = {0, 1200, 1400, 2400, 0, 0, 0, 0, 0, 1200, 1200};
    for (int c = 0; c < 11; ++c) QCOMPARE(ms->col_width(c), plain[c]);
    QCOMPARE(ms->col_width(11), std::max(tw_rect(ms).width - 7400 - 330, 2500));
    // Ticked: item fields 2 and 3 show; 4 to 6 have no standard width.
    w.Check1->setChecked(true);
    QCOMPARE(ms->col_width(4), 1300);
    QCOMPARE(ms->col_width(5), 4000);
    QCOMPARE(ms->col_width(6), 0);
    QCOMPARE(ms->col_width(8), 0);
    QCOMPARE(ms->col_width(11), std::max(tw_rect(ms).width - 12700 - 330, 2500));

    // Category, search field and text leave the list as it is.
    const QStringList all = column(ms, 2);
    w.t_gbn->setCurrentIndex(1);
    emit w.t_gbn->activated(1);
    QCOMPARE(column(ms, 2), all);
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30), 2, "'없는것");
    QCOMPARE(w.t_ser->text(), QString("없는것"));
    QCOMPARE(column(ms, 2), all);

    shop.exec("alter table TB4 rename to TB4_old");
    TestShop::expect_sql_error();
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    QVERIFY(shows_no_data(w));
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
}

void TestE3::no_connection_at_load()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    QVERIFY(QFile::remove(shop.dir() + "/CONPATH.txt"));
    MsgResponder r;
    E3 w;
    w.show();
    // The categories are left out untold; the load says it once.
    QCOMPARE(w.t_gbn->count(), 1);
    QCOMPARE(w.t_gbn->currentText(), QString("전체보기"));
    QCOMPARE(r.texts, QStringList({"(서버)데이터베이스연결실패!"}));
    QVERIFY(grid_empty(w.ms));
}

QTEST_MAIN(TestE3)
#include "tst_e3.moc"
