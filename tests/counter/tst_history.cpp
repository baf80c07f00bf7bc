#include "tst_rental_support.h"
#include "counter/C2.h"
#include "counter/CA.h"
#include "counter/history.h"
#include "shell/screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>

namespace {
QStringList g_popups;
void record_popup(const QString& name, const QPoint&) { g_popups << name; }

// Members M1 홍길동 and M2 김영희; five rentals this month, one last month.
void fill_month(TestShop& shop)
{
    shop.add_member("M1", "홍길동", "A");
    shop.add_member("M2", "김영희", "B");
    for (int i = 0; i <= 6; ++i) shop.add_item(QString("I%1").arg(i), "DVD");
    add_rental(shop, "M1", "I0", "2026-11-30", "2026-12-03", "2026-12-01", 700, 0, "Y", "Y");
    add_rental(shop, "M2", "I2", "2026-12-01", "2026-12-04", "", 2000, 0, "Y", "N");
    add_rental(shop, "M1", "I1", "2026-12-01", "2026-12-04", "2026-12-03", 1000, 0, "Y", "Y");
    add_rental(shop, "M1", "I3", "2026-12-03", "2026-12-06", "2026-12-07", 500, 500, "N", "Y");
    add_rental(shop, "M2", "I4", "2026-12-05", "2026-12-08", "", 0, 0, "N", "N");
    add_rental(shop, "M1", "I5", "2026-12-05", "2026-12-08", "", 300, 0, "", "N");
}

void reload(CA& w) { QTest::mouseClick(w.cmd_fnd, Qt::LeftButton); }
}

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void default_month_grouped_with_totals();
    void date_kinds();
    void search_and_filters();
    void search_takes_wildcards_as_text();
    void nothing_found();
    void column_widths();
    void counter_buttons_and_reload();
    void popup_and_factory();
};

void TestHistory::default_month_grouped_with_totals()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    CA w;
    w.resize(1400, 800);
    w.show();
    QCOMPARE(w.t_date1->date(), QDate(2026, 12, 1));
    QCOMPARE(w.t_date2->date(), day0());
    QCOMPARE(w.t_gbn->currentText(), QString("대여일자"));
    QCOMPARE(w.t_chk->currentText(), QString("회원코드"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 5건   미납건수: 3"));
    FlexGrid* ms = w.ms;
    QCOMPARE(ms->cols(), 22);
    QCOMPARE(ms->rows(), 10);
    QCOMPARE(ms->text(0, 21), QString("비    고"));
    QCOMPARE(ms->text(0, 10), QString("품명"));
    // 12-01: M1 before M2.
    QCOMPARE(ms->text(1, 9), QString("I1"));
    QCOMPARE(ms->text(1, 2), QString("●"));
    QCOMPARE(ms->text(1, 8), QString("홍길동"));
    QCOMPARE(ms->text(1, 14), QString("1,000"));
    QCOMPARE(ms->text(2, 9), QString("I2"));
    QCOMPARE(ms->text(2, 2), QString("◐"));
    QCOMPARE(ms->text(2, 6), QString());
    QCOMPARE(row_texts(ms, 3).mid(0, 5), QStringList({"", "", "", "", "(2026-12-01)"}));
    QCOMPARE(ms->text(3, 14), QString("3,000"));
    QCOMPARE(ms->text(3, 15), QString("0"));
    QCOMPARE(ms->cell_fore_color(3, 14), QColor(30, 130, 100));
    QCOMPARE(ms->text(4, 2), QString("◑"));
    QCOMPARE(ms->text(5, 4), QString("(2026-12-03)"));
    QCOMPARE(ms->text(5, 15), QString("500"));
    QCOMPARE(ms->text(6, 9), QString("I5"));
    QCOMPARE(ms->text(6, 2), QString());   // an empty flag gives no mark
    QCOMPARE(ms->text(7, 2), QString("○"));
    QCOMPARE(ms->text(8, 4), QString("(2026-12-05)"));
    QCOMPARE(ms->text(9, 4), QString("(Data Total)"));
    QCOMPARE(ms->text(9, 14), QString("3,800"));
    QCOMPARE(ms->text(9, 15), QString("500"));
    QCOMPARE(ms->text(9, 0), QString());
    QCOMPARE(ms->cell_fore_color(9, 4), QColor(10, 60, 110));
    QVERIFY(!ms->text(1, 0).isEmpty());
    QCOMPARE(ms->row(), 1);
    QCOMPARE(w.Text1->text(), list_sql.sql);
}

void TestHistory::date_kinds()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    CA w;
    w.show();
    // Return dates: items still out never show.
    w.t_gbn->setCurrentIndex(1);
    emit w.t_gbn->activated(1);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건   미납건수: 0"));
    QCOMPARE(w.ms->text(1, 9), QString("I0"));
    QCOMPARE(w.ms->text(2, 4), QString("(2026-12-01)"));
    QCOMPARE(w.ms->text(4, 4), QString("(2026-12-03)"));
    QCOMPARE(w.ms->text(6, 4), QString("(2026-12-07)"));
    w.Check6->setChecked(true);
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색자료가 존재하지 않습니다!"));
    w.Check6->setChecked(false);

    // Due dates: the labels show due dates, still in column 4.
    w.t_gbn->setCurrentIndex(2);
    emit w.t_gbn->activated(2);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 6건   미납건수: 3"));
    QStringList labels;
    for (int r = 1; r < w.ms->rows(); ++r)
        if (w.ms->text(r, 0).isEmpty()) labels << w.ms->text(r, 4);
    QCOMPARE(labels, QStringList({"(2026-12-03)", "(2026-12-04)", "(2026-12-06)", "(2026-12-08)", "(Data Total)"}));
}

void TestHistory::search_and_filters()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    CA w;
    w.show();
    w.t_chk->setCurrentIndex(1);
    w.t_ser->setText("'홍");
    press_enter(w.t_ser);
    QCOMPARE(w.t_ser->text(), QString("홍"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건   미납건수: 1"));
    // A double click empties the box without a reload.
    QTest::mouseDClick(w.t_ser, Qt::LeftButton);
    QVERIFY(w.t_ser->text().isEmpty());
    QCOMPARE(w.la_inf->text(), QString("검색건수: 3건   미납건수: 1"));

    // Overdue at today (12-08): I2 out past 12-04, I3 returned after its due date.
    reload(w);
    w.Check3->setChecked(true);
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 2건   미납건수: 1"));
    QCOMPARE(w.ms->text(1, 9), QString("I2"));
    QCOMPARE(w.ms->text(3, 9), QString("I3"));
    // Unpaid: a flag 'N' on either fee.
    w.Check3->setChecked(false);
    w.Check4->setChecked(true);
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 4건   미납건수: 3"));
    w.Check4->setChecked(false);
    w.Check6->setChecked(true);
    w.t_chk->setCurrentIndex(2);
    w.t_ser->setText("I4");
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건   미납건수: 1"));
    QCOMPARE(w.ms->text(1, 9), QString("I4"));
}

void TestHistory::search_takes_wildcards_as_text()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("A_1", "밑줄_회원", "B");
    shop.add_member("AB1", "5%할인", "B");
    shop.add_member("AC1", "55할인", "B");
    for (const char* p : {"I1", "I2", "I3"}) shop.add_item(p, "DVD");
    add_rental(shop, "A_1", "I1", "2026-12-01", "2026-12-04");
    add_rental(shop, "AB1", "I2", "2026-12-01", "2026-12-04");
    add_rental(shop, "AC1", "I3", "2026-12-01", "2026-12-04");
    CA w;
    w.show();
    QCOMPARE(w.t_ser->maxLength(), 100);
    w.t_ser->setText("_");
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건   미납건수: 1"));
    QCOMPARE(w.ms->text(1, 7), QString("A_1"));
    w.t_chk->setCurrentIndex(1);
    w.t_ser->setText("5%할");
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건   미납건수: 1"));
    QCOMPARE(w.ms->text(1, 7), QString("AB1"));
}

void TestHistory::nothing_found()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    CA w;
    w.show();
    w.t_date1->setDate(QDate(2026, 12, 9));
    w.t_date2->setDate(QDate(2026, 12, 1));
    reload(w);
    QCOMPARE(w.la_inf->text(), QString("검색자료가 존재하지 않습니다!"));
    QCOMPARE(w.ms->rows(), 1);
    QVERIFY(w.ms->text(0, 0).isEmpty());
    QCOMPARE(w.PB->value(), 0);
    // A search text with a quote never breaks the query.
    w.t_date1->setDate(QDate(2026, 12, 1));
    w.t_date2->setDate(day0());
    w.t_ser->setText("I'1");
    w.t_chk->setCurrentIndex(2);
    reload(w);
    QCOMPARE(w.t_ser->text(), QString("I1"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건   미납건수: 0"));
}

void TestHistory::column_widths()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    CA w;
    w.resize(2000, 700);
    w.show();
    QCOMPARE(w.ms->col_width(0), 0);
    QCOMPARE(w.ms->col_width(4), 1210);
    QCOMPARE(w.ms->col_width(11), 0);
    QCOMPARE(w.ms->col_width(12), 0);
    QCOMPARE(w.ms->col_width(18), 1400);
    int used = 0;
    for (int c = 1; c <= 20; ++c) used += w.ms->col_width(c);
    QCOMPARE(w.ms->col_width(21), std::max(tw_rect(w.ms).width - used - 330, 2500));
    w.Check1->setChecked(true);
    w.set_col_width();
    QCOMPARE(w.ms->col_width(11), 1300);
    QCOMPARE(w.ms->col_width(12), 4000);
    QCOMPARE(w.ms->col_width(13), 0);
    w.resize(500, 400);
    QCOMPARE(w.ms->col_width(21), 2500);
    // The check boxes stand in a row right of each other, ending at la_usr.
    QCOMPARE(tw_rect(w.Check1).left + tw_rect(w.Check1).width, tw_rect(w.fm_sum).width - tw_rect(w.la_usr).width - 120);
    QCOMPARE(tw_rect(w.Check2).left + tw_rect(w.Check2).width, tw_rect(w.Check1).left);
    QCOMPARE(tw_rect(w.Check6).left + tw_rect(w.Check6).width, tw_rect(w.Check4).left);
}

void TestHistory::counter_buttons_and_reload()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    shop.add_user("CLERK", "1", "00100");
    shop.add_user("GUEST", "1", "11011");
    QVERIFY(shop.login("GUEST", "1"));
    MsgResponder r;
    CA w;
    w.show();
    QTest::mouseClick(w.cmd_add, Qt::LeftButton);
    QTest::mouseClick(w.cmd_edt, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"프로그램에서 승인할 수 없는 사용자입니다!", "프로그램에서 승인할 수 없는 사용자입니다!"}));
    r.clear();

    QVERIFY(shop.login("CLERK", "1"));
    // A rental through C1; closing it reloads the list.
    when_dialog_shows("C1", [](QWidget* dlg) {
        auto* d = static_cast<C1*>(dlg);
        enter_member(*d, "M2");
        scan(*d, "I6");
        QTest::mouseClick(d->cmd_add, Qt::LeftButton);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::mouseClick(w.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"(1)건을 대여처리 하시겠습니까?", "대여처리완료!"}));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 6건   미납건수: 4"));
    QCOMPARE(shop.scalar("select u_dae from TC1 where p_cod='I6'").toString(), QString("CLERK"));

    // Once saved, every later closing reloads the list, also without a save.
    add_rental(shop, "M1", "I0", "2026-12-08", "2026-12-11");
    when_dialog_shows("C1", [](QWidget* dlg) { static_cast<C1*>(dlg)->cmd_ext_click(); });
    QTest::mouseClick(w.cmd_add, Qt::LeftButton);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 7건   미납건수: 5"));

    // C2 has saved nothing yet: closing it leaves the list alone.
    add_rental(shop, "M1", "I1", "2026-12-08", "2026-12-11");
    when_dialog_shows("C2", [](QWidget* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); });
    QTest::mouseClick(w.cmd_edt, Qt::LeftButton);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 7건   미납건수: 5"));
    // A return through C2 reloads it.
    when_dialog_shows("C2", [](QWidget* dlg) {
        auto* d = static_cast<C2*>(dlg);
        QVERIFY(d->t_m_cod->text().isEmpty());
        enter_member(*d, "M2");
        scan(*d, "I6");
        QTest::mouseClick(d->cmd_add, Qt::LeftButton);
        d->cmd_ext_click();
    });
    QTest::mouseClick(w.cmd_edt, Qt::LeftButton);
    QCOMPARE(w.la_inf->text(), QString("검색건수: 8건   미납건수: 5"));
    QCOMPARE(shop.scalar("select u_ban from TC1 where p_cod='I6'").toString(), QString("CLERK"));
}

void TestHistory::popup_and_factory()
{
    TestShop shop;
    open_shop(shop);
    fill_month(shop);
    screens::set_popup_handler(record_popup);
    screens::register_all_screens();
    QWidget* made = screens::create("CA");
    QVERIFY(qobject_cast<CA*>(made));
    auto* w = static_cast<CA*>(made);
    w->show();
    const QRect cell = w->ms->visualRect(w->ms->model()->index(0, 4));
    QTest::mouseClick(w->ms->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(g_popups.isEmpty());
    QTest::mouseClick(w->ms->viewport(), Qt::RightButton, {}, cell.center());
    QCOMPARE(g_popups, QStringList({"POP4"}));
    w->close();
    QTRY_VERIFY(!screens::find("CA"));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
