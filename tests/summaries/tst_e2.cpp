#include "summary_support.h"
#include "summaries/E2.h"
#include "summaries/summaries.h"

#include <QHeaderView>

namespace {
// Non-members around November 2026; the figures are worked out by hand.
void seed(TestShop& shop)
{
    join(shop, "N1", "최일", "B", "2020-01-01");
    rent(shop, "N1", "2026-10-20", 1000, 500, "N", "Y");    // before, rental fee unpaid: 1500 earlier
    rent(shop, "N1", "2026-10-25", 2000, 0, "Y", "N");      // before, rental fee paid: not at all
    rent(shop, "N1", "2026-11-01", 1000, 1000, "Y", "Y");   // first day: charged and paid
    rent(shop, "N1", "2026-11-30", 1500, 500, "N", "N");    // last day: charged, unpaid
    rent(shop, "N1", "2026-12-01", 3000, 0, "N", "N");      // after the days
    // Joined the same day as N1, with a lower code.
    join(shop, "N0", "한영", "B", "2020-01-01");
    rent(shop, "N0", "2026-11-10", 500, 0, "Y", "Y");
    // Joined within the days; an unpaid rental counts once, as charged.
    join(shop, "N2", "정이", "B", "2026-11-15");
    rent(shop, "N2", "2026-11-15", 2000, 0, "N", "N");
    // Not listed: only a paid rental before, out of use, a regular member.
    join(shop, "N3", "김삼", "B", "2019-05-05");
    rent(shop, "N3", "2026-10-01", 1000, 0, "Y", "N");
    join(shop, "N5", "박오", "B", "2020-01-01", "N");
    rent(shop, "N5", "2026-11-02", 1000, 0, "N", "N");
    join(shop, "A1", "정회원", "A", "2020-01-01");
    rent(shop, "A1", "2026-11-02", 0, 800, "Y", "N");
}

QStringList money(FlexGrid* ms, int r)
{
    QStringList out;
    for (int c = 8; c <= 13; ++c) out << ms->text(r, c);
    return out;
}
}

class TestE2 : public QObject {
    Q_OBJECT
private slots:
    void days_balances_and_totals();
    void end_before_start_and_empty();
    void search_widths_and_failure();
    void popup_and_registry();
};

void TestE2::days_balances_and_totals()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E2 w;
    w.resize(1400, 800);
    w.show();
    QCOMPARE(w.objectName(), QString("E2"));
    QCOMPARE(w.windowTitle(), QString("비회원별거래집계"));
    QCOMPARE(w.t_date1->date(), QDate(2026, 12, 1));
    QCOMPARE(w.t_date2->date(), day0());
    QCOMPARE(w.t_gbn->currentText(), QString("비 회 원"));
    QCOMPARE(w.t_gbn->count(), 1);
    // December so far: N1's rental of the first, and the unpaid ones before it.
    QCOMPARE(column(w.ms, 3), QStringList({"N1", "N2", "(Data Total)"}));
    QCOMPARE(money(w.ms, 1), QStringList({"3,500", "3,000", "0", "0", "0", "6,500"}));

    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    QCOMPARE(list_sql.args.mid(0, 3), QVariantList({"2026-11-01", "%%", "2026-11-01"}));
    QCOMPARE(w.Text1->text(), list_sql.sql);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건"));
    FlexGrid* ms = w.ms;
    QCOMPARE(ms->cols(), 15);
    QCOMPARE(ms->rows(), 5);
    QCOMPARE(row_texts(ms, 0), QStringList({"", "구분", "가입일", "회원코드", "회 원 명", "전화번호", "휴 대 폰",
                                            "주    소", "이전미수", "대여총액", "연체총액", "대여결제", "연체결제",
                                            "미수총액", "비    고"}));
    // Joining date, then code.
    QCOMPARE(column(ms, 3), QStringList({"N0", "N1", "N2", "(Data Total)"}));
    QCOMPARE(row_texts(ms, 2).mid(1, 4), QStringList({"B", "2020-01-01", "N1", "최일"}));
    QCOMPARE(money(ms, 1), QStringList({"0", "500", "0", "500", "0", "0"}));
    QCOMPARE(money(ms, 2), QStringList({"1,500", "2,500", "1,500", "1,000", "1,000", "3,500"}));
    QCOMPARE(money(ms, 3), QStringList({"0", "2,000", "0", "0", "0", "2,000"}));
    QCOMPARE(money(ms, 4), QStringList({"1,500", "5,000", "1,500", "1,500", "1,000", "5,500"}));
    for (int c : {3, 8, 9, 10, 11, 12, 13}) QCOMPARE(ms->cell_fore_color(4, c), QColor(10, 60, 110));
    for (int c : {1, 2, 3}) QCOMPARE(ms->col_alignment(c), FlexGrid::AlignCenter);
    for (int c = 8; c <= 13; ++c) QCOMPARE(ms->col_alignment(c), FlexGrid::AlignRight);
    QCOMPARE(ms->row(), 1);
    QCOMPARE(w.PB->value(), 3);
}

void TestE2::end_before_start_and_empty()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E2 w;
    w.show();
    // Only the unpaid rental fees before the start; nothing charged or paid.
    search(w, QDate(2026, 11, 30), QDate(2026, 11, 1));
    QCOMPARE(column(w.ms, 3), QStringList({"N1", "N2", "(Data Total)"}));
    QCOMPARE(money(w.ms, 1), QStringList({"1,500", "0", "0", "0", "0", "1,500"}));
    QCOMPARE(money(w.ms, 2), QStringList({"2,000", "0", "0", "0", "0", "2,000"}));
    // A single day.
    search(w, QDate(2026, 11, 10), QDate(2026, 11, 10));
    QCOMPARE(column(w.ms, 3), QStringList({"N0", "N1", "(Data Total)"}));
    QCOMPARE(money(w.ms, 1), QStringList({"0", "500", "0", "500", "0", "0"}));
    // Before any rental: nothing.
    search(w, QDate(2026, 1, 1), QDate(2026, 1, 31));
    QVERIFY(shows_no_data(w));
}

void TestE2::search_widths_and_failure()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    E2 w;
    w.resize(1500, 800);
    w.show();
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30), 0, "1");
    QCOMPARE(column(w.ms, 3), QStringList({"N1", "(Data Total)"}));
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30), 1, "정");
    QCOMPARE(column(w.ms, 3), QStringList({"N2", "(Data Total)"}));
    // "_" is no wildcard: no name holds it.
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30), 1, "_");
    QVERIFY(shows_no_data(w));
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    FlexGrid* ms = w.ms;
    const QList<int> plain = {0, 500, 1060, 1200, 1500, 0, 0, 0, 1400, 1400, 1400, 1400, 1400, 1400};
    for (int c = 0; c < 14; ++c) QCOMPARE(ms->col_width(c), plain[c]);
    QCOMPARE(ms->col_width(14), std::max(tw_rect(ms).width - 12660 - 330, 2500));
    w.Check1->setChecked(true);
    QCOMPARE(ms->col_width(5), 1500);
    QCOMPARE(ms->col_width(7), 2800);
    QCOMPARE(ms->col_width(14), std::max(tw_rect(ms).width - 12660 - 5800 - 330, 2500));

    // A query the database refuses: empty grid, the no-data text, no box.
    MsgResponder r;
    shop.exec("alter table TC1 rename to TC1_old");
    TestShop::expect_sql_error();
    search(w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    QVERIFY(shows_no_data(w));
    QTest::qWait(20);
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
}

void TestE2::popup_and_registry()
{
    TestShop shop;
    open_shop(shop);
    seed(shop);
    screens::register_all_screens();
    QWidget* made = screens::create("E2");
    QVERIFY(qobject_cast<E2*>(made));
    auto* w = static_cast<E2*>(made);
    w->show();
    search(*w, QDate(2026, 11, 1), QDate(2026, 11, 30));
    QCOMPARE(clicks_on_grid(w->ms), QStringList({"POP6"}));
    // The header row opens it too (the grid of every list window).
    QHeaderView* head = w->ms->horizontalHeader();
    QTest::mouseClick(head->viewport(), Qt::RightButton, {}, QPoint(head->sectionViewportPosition(3) + 5, 5));
    QCOMPARE(popups::seen(), QStringList({"POP6", "POP6"}));
    QTest::mouseClick(w->cmd_ext, Qt::LeftButton);
    QTRY_VERIFY(!screens::find("E2"));
}

QTEST_MAIN(TestE2)
#include "tst_e2.moc"
