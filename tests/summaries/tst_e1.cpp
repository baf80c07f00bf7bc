#include "summary_support.h"
#include "summaries/E1.h"
#include "summaries/summaries.h"

#include <QFile>

namespace {
// Regular members joined around the months 2026-03 .. 2026-05; the figures
// below are worked out by hand (annual fee 30000).
void seed(TestShop& shop)
{
    // Joined on the first day of the months; paid his period in full.
    join(shop, "A1", "김하나", "A", "2026-03-01");
    shop.add_period("A1", "2026-03-01", "2027-03-01", 30000);
    rent(shop, "A1", "2026-02-20", 0, 1500, "N", "Y");   // before, unpaid: 1500 earlier, whatever its late flag
    rent(shop, "A1", "2026-02-25", 0, 700, "Y", "N");    // before, rental fee paid: not counted at all
    rent(shop, "A1", "2026-03-01", 0, 1000, "Y", "Y");   // first day: charged and paid 1000
    rent(shop, "A1", "2026-05-31", 0, 500, "Y", "N");    // last day: charged 500
    rent(shop, "A1", "2026-06-01", 0, 2000, "N", "N");   // after the months
    // Joined on the last day; the latest period unpaid, an older one paid at the old fee.
    join(shop, "A2", "이두리", "A", "2026-05-31");
    shop.add_period("A2", "2025-05-31", "2026-05-31", 20000);
    shop.add_period("A2", "2026-05-31", "2027-05-31", 0);
    // Without any period: nothing paid.
    join(shop, "A3", "박세나", "A", "2026-04-10");
    rent(shop, "A3", "2026-04-12", 0, 300, "Y", "N");
    // Not listed: joined the day before or after the months, out of use, a non-member.
    join(shop, "A4", "최넷", "A", "2026-02-28");
    shop.add_period("A4", "2026-02-28", "2027-02-28", 30000);
    rent(shop, "A4", "2026-03-10", 0, 900, "N", "N");
    join(shop, "A5", "정다섯", "A", "2026-06-01");
    join(shop, "A6", "한여섯", "A", "2026-04-01", "N");
    join(shop, "B1", "오비", "B", "2026-04-01");
    rent(shop, "B1", "2026-04-02", 1000, 0, "N", "N");
}

QStringList money(FlexGrid* ms, int r)
{
    QStringList out;
    for (int c = 10; c <= 14; ++c) out << ms->text(r, c);
    return out;
}
}

class TestE1 : public QObject {
    Q_OBJECT
private slots:
    void frame_and_first_load();
    void months_balances_and_totals();
    void search_by_name_and_code();
    void column_widths_follow_detail_box();
    void failing_query_leaves_grid_empty();
    void popup_and_registry();
};

void TestE1::frame_and_first_load()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    join(shop, "A7", "오늘", "A", "2026-12-08");
    E1 w;
    w.resize(1400, 800);
    w.show();
    QCOMPARE(w.objectName(), QString("E1"));
    QCOMPARE(w.windowTitle(), QString("정회원별거래집계"));
    QCOMPARE(w.t_date1->date(), day0());
    QCOMPARE(w.t_date2->date(), day0());
    QCOMPARE(w.t_gbn->count(), 1);
    QCOMPARE(w.t_gbn->currentText(), QString("정 회 원"));
    QCOMPARE(w.t_chk->currentText(), QString("회원코드"));
    QCOMPARE(w.t_chk->count(), 2);
    QCOMPARE(w.t_chk->itemText(1), QString("회 원 명"));
    QCOMPARE(w.Label2->text(), QString("~"));
    QCOMPARE(w.Check1->text(), QString("회원정보상세히보기"));
    QVERIFY(!w.Check1->isChecked());
    QVERIFY(!w.cmd_add && !w.cmd_edt && !w.cmd_del);
    QVERIFY(w.cmd_ext->isVisible());
    QVERIFY(w.Text1 && !w.Text1->isVisible());
    QCOMPARE(w.Text1->text(), list_sql.sql);
    QVERIFY(w.PB->parentWidget() == w.Frame2);
    // December: the member who joined today, without a period.
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건"));
    FlexGrid* ms = w.ms;
    QCOMPARE(ms->cols(), 16);
    QCOMPARE(ms->rows(), 3);
    QCOMPARE(row_texts(ms, 0), QStringList({"", "구분", "가입일", "회원코드", "회 원 명", "전화번호", "휴 대 폰",
                                            "주    소", "시작일", "만료일", "연회비", "이전미수", "연체총액",
                                            "연체결제", "미수총액", "비    고"}));
    QCOMPARE(ms->text(1, 3), QString("A7"));
    QCOMPARE(ms->text(1, 8), QString("####-##-##"));
    QCOMPARE(money(ms, 1), QStringList({"0", "0", "0", "0", "30,000"}));
    // One member: the totals repeat his values.
    QCOMPARE(ms->text(2, 3), QString("(Data Total)"));
    QCOMPARE(money(ms, 2), money(ms, 1));
    QCOMPARE(ms->row(), 1);
    // The load sets the heights and the current column itself, whatever the grid held.
    ms->set_row_height(0, 200);
    ms->set_row_height(1, 200);
    ms->set_col(5);
    search(w, day0(), day0());
    QCOMPARE(ms->row_height(0), 440);
    QCOMPARE(ms->row_height(1), 380);
    QCOMPARE(ms->row(), 1);
    QCOMPARE(ms->col(), 0);
    QCOMPARE(w.PB->maximum(), 1);
    QCOMPARE(w.PB->value(), 1);
    for (int c : {1, 2, 3, 8, 9}) QCOMPARE(ms->col_alignment(c), FlexGrid::AlignCenter);
    for (int c = 10; c <= 14; ++c) QCOMPARE(ms->col_alignment(c), FlexGrid::AlignRight);
    QCOMPARE(ms->col_alignment(4), FlexGrid::AlignLeft);
}

void TestE1::months_balances_and_totals()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E1 w;
    w.resize(1400, 800);
    w.show();
    // Mid-month days widen to whole months; the pickers keep the days.
    search(w, QDate(2026, 3, 15), QDate(2026, 5, 2));
    QCOMPARE(w.t_date1->date(), QDate(2026, 3, 15));
    QCOMPARE(w.t_date2->date(), QDate(2026, 5, 2));
    QCOMPARE(list_sql.args.mid(0, 3), QVariantList({"%%", "2026-03-01", "2026-05-31"}));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건"));
    FlexGrid* ms = w.ms;
    QCOMPARE(ms->rows(), 5);
    // Joining date order.
    QCOMPARE(column(ms, 3), QStringList({"A1", "A3", "A2", "(Data Total)"}));
    QCOMPARE(row_texts(ms, 1).mid(1, 9), QStringList({"A", "2026-03-01", "A1", "김하나", "02-123-4567",
                                                      "010-1234-5678", "서울", "2026-03-01", "2027-03-01"}));
    QCOMPARE(money(ms, 1), QStringList({"30,000", "1,500", "1,500", "1,000", "2,000"}));
    // No period: "nothing paid", the whole fee owed, no -1 anywhere.
    QCOMPARE(ms->text(2, 8), QString("####-##-##"));
    QCOMPARE(ms->text(2, 9), QString("####-##-##"));
    QCOMPARE(money(ms, 2), QStringList({"0", "0", "300", "0", "30,300"}));
    // Latest period and the highest amount paid: 30000 - 20000 still owed.
    QCOMPARE(ms->text(3, 8), QString("2026-05-31"));
    QCOMPARE(ms->text(3, 9), QString("2027-05-31"));
    QCOMPARE(money(ms, 3), QStringList({"20,000", "0", "0", "0", "10,000"}));
    QCOMPARE(money(ms, 4), QStringList({"50,000", "1,500", "1,800", "1,000", "42,300"}));
    for (int c : {3, 10, 11, 12, 13, 14}) QCOMPARE(ms->cell_fore_color(4, c), QColor(10, 60, 110));
    QVERIFY(ms->text(4, 1).isEmpty() && ms->text(4, 15).isEmpty());

    // A raised fee adds the difference, a lowered one takes it off.
    haebi = 35000;
    search(w, QDate(2026, 3, 15), QDate(2026, 5, 2));
    QCOMPARE(ms->text(1, 14), QString("7,000"));
    QCOMPARE(ms->text(2, 14), QString("35,300"));
    haebi = 10000;
    search(w, QDate(2026, 3, 15), QDate(2026, 5, 2));
    QCOMPARE(ms->text(1, 14), QString("-18,000"));
    QCOMPARE(ms->text(4, 14), QString("-17,700"));
    haebi = 30000;

    // One month: only A3 joined in April.
    search(w, QDate(2026, 4, 30), QDate(2026, 4, 1));
    QCOMPARE(column(ms, 3), QStringList({"A3", "(Data Total)"}));
    // An end month before the start month finds nobody.
    search(w, QDate(2026, 5, 1), QDate(2026, 4, 30));
    QVERIFY(shows_no_data(w));
}

void TestE1::search_by_name_and_code()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E1 w;
    w.show();
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 1, "두");
    QCOMPARE(column(w.ms, 3), QStringList({"A2", "(Data Total)"}));
    // The search text is cleaned and shown back cleaned.
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 0, "'A1%");
    QCOMPARE(w.t_ser->text(), QString("A1"));
    QCOMPARE(column(w.ms, 3), QStringList({"A1", "(Data Total)"}));
    // A double click empties the box without a reload; the next search lists all.
    QTest::mouseDClick(w.t_ser, Qt::LeftButton);
    QVERIFY(w.t_ser->text().isEmpty());
    QCOMPARE(w.ms->rows(), 3);
    press_enter(w.t_ser);
    QCOMPARE(w.ms->rows(), 5);
    // A click on the kind combo reloads.
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 0, "A3");
    w.t_date1->setDate(QDate(2026, 1, 1));
    emit w.t_gbn->activated(0);
    QCOMPARE(column(w.ms, 3), QStringList({"A3", "(Data Total)"}));
    QCOMPARE(list_sql.args.at(1), QVariant("2026-01-01"));
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 1, "없는이름");
    QVERIFY(grid_empty(w.ms));
    // "%" and "_" find themselves, not any text.
    join(shop, "A%7", "이_리", "A", "2026-04-20");
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 1, "이_리");
    QCOMPARE(column(w.ms, 3), QStringList({"A%7", "(Data Total)"}));
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1), 0, "A%7");
    QCOMPARE(column(w.ms, 3), QStringList({"A%7", "(Data Total)"}));
}

void TestE1::column_widths_follow_detail_box()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E1 w;
    w.resize(1500, 800);
    w.show();
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    FlexGrid* ms = w.ms;
    const QList<int> plain = {0, 500, 1060, 1200, 1500, 0, 0, 0, 1060, 1060, 1400, 1400, 1400, 1400, 1400};
    for (int c = 0; c < 15; ++c) QCOMPARE(ms->col_width(c), plain[c]);
    const int width = tw_rect(ms).width;
    QCOMPARE(ms->col_width(15), std::max(width - 13380 - 330, 2500));
    const QStringList before = row_texts(ms, 1);
    w.Check1->setChecked(true);
    QCOMPARE(ms->col_width(5), 1500);
    QCOMPARE(ms->col_width(6), 1500);
    QCOMPARE(ms->col_width(7), 2800);
    QCOMPARE(ms->col_width(15), std::max(width - 13380 - 5800 - 330, 2500));
    QCOMPARE(row_texts(ms, 1), before);
    w.Check1->setChecked(false);
    QCOMPARE(ms->col_width(7), 0);
    // A narrow window leaves the remark its 2500 twips.
    w.resize(400, 500);
    QCOMPARE(ms->col_width(15), 2500);
    // An empty grid stays empty through a tick and a resize.
    search(w, QDate(2025, 1, 1), QDate(2025, 1, 1));
    QVERIFY(grid_empty(ms));
    w.Check1->setChecked(true);
    w.resize(1200, 700);
    QVERIFY(grid_empty(ms));
}

void TestE1::failing_query_leaves_grid_empty()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E1 w;
    w.show();
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    QCOMPARE(w.ms->rows(), 5);
    const QString mem = shop.scalar("select sql from sqlite_master where name='MEM'").toString();
    shop.exec("drop view MEM");
    TestShop::expect_sql_error();
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    QVERIFY(shows_no_data(w));
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
    // The screen lives on.
    w.Check1->setChecked(true);
    QVERIFY(w.isVisible());

    // No connection: told so; the grid empty, the count line as it was.
    shop.exec(mem);
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    QVERIFY(!grid_empty(w.ms));
    const QString count = w.la_inf->text();
    MsgResponder r;
    QVERIFY(QFile::remove(shop.dir() + "/CONPATH.txt"));
    search(w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    QCOMPARE(r.texts, QStringList({"(서버)데이터베이스연결실패!"}));
    QVERIFY(grid_empty(w.ms));
    QCOMPARE(w.la_inf->text(), count);
}

void TestE1::popup_and_registry()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    screens::register_all_screens();
    QWidget* made = screens::create("E1");
    QVERIFY(qobject_cast<E1*>(made));
    auto* w = static_cast<E1*>(made);
    w->resize(1200, 700);
    w->show();
    search(*w, QDate(2026, 3, 1), QDate(2026, 5, 1));
    QCOMPARE(clicks_on_grid(w->ms), QStringList({"POP5"}));
    QTest::mouseClick(w->cmd_ext, Qt::LeftButton);
    QTRY_VERIFY(!screens::find("E1"));
}

QTEST_MAIN(TestE1)
#include "tst_e1.moc"
