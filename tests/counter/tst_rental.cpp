#include "tst_rental_support.h"
#include "counter/C2.h"
#include "counter/rentals.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"

#include <QGroupBox>
#include <QLabel>
#include <array>
#include <sqlcipher/sqlite3.h>
#include <atomic>
#include <functional>
#include <thread>

namespace {
// Two desktops, each on its own connection to the shop's database, saving at
// the same moment: `save(connection, desk)` for desk 0 and 1; which of them
// saved.
std::array<bool, 2> two_desks_at_once(const QString& path, const std::function<bool(Connection&, int)>& save)
{
    std::atomic<int> ready{0};
    std::array<bool, 2> won{false, false};
    auto desk = [&](int i) {
        Connection c;
        if (!c.open(path, db_password())) return;
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
        won[size_t(i)] = save(c, i);
    };
    std::thread a(desk, 0), b(desk, 1);
    a.join();
    b.join();
    return won;
}

// This desk's wait for a database held by another desk gives up, and the
// other desk lets go at that very moment: the lookup that waited fails, the
// next one finds the database free.
int give_up_as_the_other_lets_go(void* other, int)
{
    static_cast<Connection*>(other)->execute(Query("ROLLBACK"));
    return 0;
}
}

class TestRental : public QObject {
    Q_OBJECT
private slots:
    void regular_member_due_date_fee_and_save();
    void non_member_fees_and_paid_flags();
    void period_end_decides();
    void limit_of_items();
    void refused_barcodes();
    void same_barcode_twice_also_across_a_gap();
    void balance_arithmetic();
    void panel_refuses_bad_values();
    void pickers_fill_the_counter();
    void codes_longer_than_the_settings_are_found_whole();
    void stored_codes_with_signs_are_their_own_records();
    void counter_never_serves_another_code();
    void member_deleted_while_asked_gets_no_rental();
    void taken_meanwhile_rolls_back_the_whole_list();
    void two_desktops_one_barcode();
    void limit_reached_meanwhile_rolls_back();
    void two_desktops_one_member_at_the_limit();
};

void TestRental::regular_member_due_date_fee_and_save()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M001", "홍길동", "A");
    shop.add_period("M001", dstr(-100), dstr(265), 30000);
    shop.add_item("DVD0001", "DVD", 1500, 500);
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    QVERIFY(!d.fm_p->isEnabled());

    enter_member(d, " m001'");
    QCOMPARE(d.t_m_cod->text(), QString("M001"));
    QCOMPARE(d.t_m_gbn->text(), QString("(A)"));
    QCOMPARE(d.t_m_nam->text(), QString("홍길동"));
    QCOMPARE(d.la_m_inf->text(), QString("만료(265)일전"));
    QCOMPARE(d.t_m_lange->text(), QString("265"));
    QCOMPARE(d.t_ava_cnt->text(), QString("5"));
    QVERIFY(d.fm_p->isEnabled());
    QVERIFY(!d.fm_m->isEnabled());

    scan(d, "dvd0001");
    QCOMPARE(row_texts(d.ms_p, 1), QStringList({"", dstr(3), "Y", "0", "DVD0001", "이름"}));
    QCOMPARE(d.la_p_tot->text(), QString("0건"));
    QCOMPARE(d.la_p_cnt->text(), QString("1건"));
    QVERIFY(d.t_p_cod->text().isEmpty());

    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"(1)건을 대여처리 하시겠습니까?", "대여처리완료!"}));
    QCOMPARE(d.saved, 1);
    const auto rows = shop.rows("select s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,"
                                "big,mgm,ccc from TC1");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0], QVariantList({dstr(0), dstr(3), "", "M001", "DVD0001", 0, 0, "Y", "N", "ADMIN", "", "",
                                    "N", 0}));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='DVD0001'").toString(), QString("Y"));
    // Ready for the next member.
    QVERIFY(d.fm_m->isEnabled());
    QVERIFY(d.t_m_cod->text().isEmpty());
    QCOMPARE(d.filled_rows(), 0);
}

void TestRental::non_member_fees_and_paid_flags()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G00001", "손님", "B");
    shop.add_item("A1", "DVD", 1500);
    shop.add_item("A2", "DVD", 2000);
    shop.add_item("A3", "DVD", 2500);
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "G00001");
    QCOMPARE(d.t_m_lange->text(), QString("0"));
    QVERIFY(d.la_m_inf->text().isEmpty());
    QVERIFY(d.la_m_dat1->text().isEmpty());
    scan(d, "A1");
    scan(d, "A2");
    scan(d, "A3");
    QCOMPARE(d.ms_p->text(1, 3), QString("1,500"));
    QCOMPARE(d.t_p_sum->text(), QString("6,000"));

    // Row 1 marked unpaid; row 2 unpaid with the fee set to 0; row 3 as it is.
    dbl_click_row(d.ms_p, 1);
    QVERIFY(d.pic_upt->isVisible());
    QCOMPARE(d.t_upt_cod->text(), QString("A1"));
    d.op_kyu2->setChecked(true);
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    QVERIFY(!d.pic_upt->isVisible());
    dbl_click_row(d.ms_p, 2);
    d.op_kyu2->setChecked(true);
    d.t_upt_dae->clear();
    QTest::keyClicks(d.t_upt_dae, "0");
    d.t_upt_dat->setText(dstr(10));
    press_enter(d.t_upt_dae);
    QCOMPARE(row_texts(d.ms_p, 2), QStringList({"", dstr(10), "N", "0", "A2", "이름"}));
    QCOMPARE(d.t_p_sum->text(), QString("4,000"));
    // Clicking the option already selected keeps it.
    dbl_click_row(d.ms_p, 3);
    QVERIFY(d.op_kyu1->isChecked());
    d.op_kyu1->click();
    QVERIFY(d.op_kyu1->isChecked());
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    QCOMPARE(d.ms_p->text(3, 2), QString("Y"));

    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));
    const auto rows = shop.rows("select p_cod,c_dat,m_dae,m_dae_chk from TC1 order by p_cod");
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], QVariantList({"A1", dstr(3), 1500, "N"}));
    QCOMPARE(rows[1], QVariantList({"A2", dstr(10), 0, "Y"}));
    QCOMPARE(rows[2], QVariantList({"A3", dstr(3), 2500, "Y"}));

    // The unpaid fee now counts in his balance.
    enter_member(d, "G00001");
    QCOMPARE(d.t_meesoo->text(), QString("1,500"));
    QCOMPARE(d.t_old_cnt->text(), QString("3"));
    QCOMPARE(d.t_ava_cnt->text(), QString("2"));
    QCOMPARE(d.ms_m->text(1, 2).isEmpty(), false);
}

void TestRental::period_end_decides()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "어제끝", "A");
    shop.add_period("M1", dstr(-365), dstr(-1), 30000);
    shop.add_member("M2", "오늘끝", "A");
    shop.add_period("M2", dstr(-365), dstr(0), 30000);
    shop.add_member("M3", "기간없음", "A");
    shop.add_item("X1", "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();

    enter_member(d, "M1");
    QCOMPARE(d.la_m_inf->text(), QString("만료(-1)일전"));
    QCOMPARE(d.t_m_lange->text(), QString("-1"));
    scan(d, "X1");
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"정회원 적용일자가 지났습니다! 재연장처리 후 이용가능합니다!"}));
    QCOMPARE(shop.count("TC1"), 0);

    r.clear();
    QTest::mouseClick(d.cmd_clr, Qt::LeftButton);
    enter_member(d, "M3");
    QVERIFY(d.t_m_lange->text().isEmpty());
    scan(d, "X1");
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"회원코드를 확인하지 못하였습니다!"}));

    r.clear();
    QTest::mouseClick(d.cmd_clr, Qt::LeftButton);
    enter_member(d, "M2");
    QCOMPARE(d.la_m_inf->text(), QString("만료(0)일전"));
    scan(d, "X1");
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));
    QCOMPARE(shop.count("TC1", "m_cod='M2'"), 1);
}

void TestRental::limit_of_items()
{
    TestShop shop;
    open_shop(shop);
    for (int i = 1; i <= 12; ++i) shop.add_item(QString("I%1").arg(i, 2, 10, QChar('0')), "DVD");
    shop.add_member("FULL", "다빌림", "B");
    shop.add_member("FOUR", "넷", "B");
    shop.add_member("OVER", "초과", "B");
    for (int i = 1; i <= 4; ++i) add_rental(shop, "FOUR", QString("I%1").arg(i, 2, 10, QChar('0')), dstr(-1), dstr(2));
    for (int i = 5; i <= 11; ++i) add_rental(shop, "OVER", QString("I%1").arg(i, 2, 10, QChar('0')), dstr(-1), dstr(2));
    shop.add_item("FREE1", "DVD");
    shop.add_item("FREE2", "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();

    enter_member(d, "FOUR");
    QCOMPARE(d.t_ava_cnt->text(), QString("1"));
    scan(d, "FREE1");
    QCOMPARE(d.filled_rows(), 1);
    scan(d, "FREE2");
    QCOMPARE(r.texts, QStringList({"대여가능수량이 이미 등록되었습니다!"}));
    QVERIFY(d.t_p_cod->text().isEmpty());
    QCOMPARE(d.filled_rows(), 1);

    // More open rentals than max_cnt: every one is shown, nothing more is taken.
    r.clear();
    QTest::mouseClick(d.cmd_clr, Qt::LeftButton);
    enter_member(d, "OVER");
    QCOMPARE(d.t_old_cnt->text(), QString("7"));
    QCOMPARE(d.t_ava_cnt->text(), QString("-2"));
    QCOMPARE(d.ms_m->rows(), 8);
    QVERIFY(!d.ms_m->text(7, 2).isEmpty());
    scan(d, "FREE2");
    QCOMPARE(r.texts, QStringList({"대여가능수량이 이미 등록되었습니다!"}));
    QCOMPARE(d.filled_rows(), 0);

    // max_cnt lowered to 0: a fresh member is refused at once.
    r.clear();
    max_cnt = 0;
    QTest::mouseClick(d.cmd_clr, Qt::LeftButton);
    enter_member(d, "FULL");
    scan(d, "FREE2");
    QCOMPARE(r.texts, QStringList({"대여가능수량이 이미 등록되었습니다!"}));
}

void TestRental::refused_barcodes()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G1", "손님", "B");
    shop.add_item("OUT1", "DVD", 1000, 500, "Y", "Y");
    shop.add_item("OFF1", "DVD", 1000, 500, "N", "N");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "G1");
    scan(d, "OUT1");
    scan(d, "OFF1");
    QCOMPARE(r.texts, QStringList({"현재 대여중인 바코드입니다!", "비활성화된 바코드입니다!"}));
    QVERIFY(d.t_p_cod->text().isEmpty());
    QCOMPARE(d.filled_rows(), 0);
    // Saving an empty list.
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여할 바코드가 존재하지 않습니다!"));
}

void TestRental::same_barcode_twice_also_across_a_gap()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G1", "손님", "B");
    for (const char* c : {"B1", "B2", "B3"}) shop.add_item(c, "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "G1");
    scan(d, "B1");
    scan(d, "B2");
    scan(d, "B3");
    scan(d, "B1");
    QCOMPARE(d.filled_rows(), 3);
    QVERIFY(r.texts.isEmpty());

    // Blank row 1: B3 below the gap must still be seen as listed.
    dbl_click_row(d.ms_p, 1);
    r.answer(QMessageBox::Yes);
    QTest::mouseClick(d.cmd_del, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"선택항목을 삭제하시겠습니까?"}));
    QVERIFY(d.ms_p->text(1, 4).isEmpty());
    QCOMPARE(d.la_p_cnt->text(), QString("2건"));
    scan(d, "B3");
    QCOMPARE(d.filled_rows(), 2);
    QVERIFY(d.ms_p->text(1, 4).isEmpty());
    scan(d, "B1");   // fills the gap
    QCOMPARE(d.ms_p->text(1, 4), QString("B1"));
    QCOMPARE(d.filled_rows(), 3);

    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts.mid(1), QStringList({"(3)건을 대여처리 하시겠습니까?", "대여처리완료!"}));
    QCOMPARE(shop.count("TC1"), 3);
    QCOMPARE(shop.count("TC1", "p_cod='B3'"), 1);
}

void TestRental::balance_arithmetic()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M1", "회원", "A");
    shop.add_period("M1", dstr(-730), dstr(-365), 30000);   // paid in full
    shop.add_period("M1", dstr(-364), dstr(1), 0);          // unpaid
    shop.add_item("P1", "DVD");
    shop.add_item("P2", "DVD");
    shop.add_item("P3", "DVD");
    add_rental(shop, "M1", "P1", dstr(-30), dstr(-27), dstr(-20), 1000, 700, "N", "N");   // both unpaid
    add_rental(shop, "M1", "P2", dstr(-30), dstr(-27), dstr(-20), 2000, 300, "Y", "Y");   // paid
    add_rental(shop, "M1", "P3", dstr(-2), dstr(1), QString(), 0, 0, "Y", "N");          // out, nothing due
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "M1");
    QCOMPARE(d.t_meesoo->text(), QString("31,700"));   // 1,000 + 700 + 2 x 30,000 - 30,000
    QCOMPARE(d.la_m_dat2->text(), dstr(1));
    QCOMPARE(d.la_m_cnt->text(), QString("1건"));
    QCOMPARE(d.ms_m->text(1, 2), QString("P3"));
    QCOMPARE(d.t_ava_cnt->text(), QString("4"));
}

void TestRental::panel_refuses_bad_values()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G1", "손님", "B");
    shop.add_item("B1", "DVD", 1200);
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "G1");
    scan(d, "B1");
    dbl_click_row(d.ms_p, 1);
    d.t_upt_dat->setText("2026-13-01");
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    d.t_upt_dat->setText(dstr(5));
    d.t_upt_dae->setText("-100");
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    d.t_upt_dae->setText("abc");
    QTest::mouseClick(d.cmd_app, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"대여일자가 올바르지 않습니다!", "대여료가 올바르지 않습니다!",
                                   "대여료가 올바르지 않습니다!"}));
    QCOMPARE(row_texts(d.ms_p, 1), QStringList({"", dstr(3), "Y", "1,200", "B1", "이름"}));
    // Typing keeps digit grouping.
    d.t_upt_dae->clear();
    QTest::keyClicks(d.t_upt_dae, "12345");
    QCOMPARE(d.t_upt_dae->text(), QString("12,345"));
    QTest::mouseClick(d.cmd_hid, Qt::LeftButton);
    QVERIFY(!d.pic_upt->isVisible());
    QCOMPARE(d.ms_p->text(1, 3), QString("1,200"));
    // The barcode of a row cannot be edited in the panel.
    QVERIFY(d.t_upt_cod->isReadOnly());
}

void TestRental::pickers_fill_the_counter()
{
    TestShop shop;
    open_shop(shop);
    const QString long_name = "주식회사 한국렌탈서비스 강남지점 영업이팀 김철수";
    shop.add_member("K77", long_name, "B");
    shop.add_member("K78", "박영수", "B");
    shop.add_item("Z8", "DVD", 800, 500, "Y", "Y");
    shop.add_item("Z9", "DVD", 900);
    MsgResponder r;
    C1* d = screens::kept<C1>();
    d->form_load();
    d->show();
    QString picked_from;
    when_dialog_shows("pop_cst", [&](QWidget* p) {
        auto* ms = p->findChild<FlexGrid*>("ms");
        picked_from = QString::number(ms->rows() - 1);
        ms->set_row(1);
        QTest::keyClick(ms, Qt::Key_Return);
    });
    enter_member(*d, "철수");
    QCOMPARE(picked_from, QString("1"));
    QCOMPARE(d->t_m_cod->text(), QString("K77"));
    QCOMPARE(d->t_m_nam->text(), long_name);
    // Longer than its box, the name shows from its start.
    d->t_m_nam->grab();
    QVERIFY(d->t_m_nam->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 10);
    QVERIFY(d->fm_p->isEnabled());

    // A name fragment in the barcode box lists items; the rented one is
    // refused by the picker, the one in stock comes back as a row.
    when_dialog_shows("pop_pdt", [&](QWidget* p) {
        auto* ms = p->findChild<FlexGrid*>("ms");
        for (int row = 1; row < ms->rows(); ++row)
            if (ms->text(row, 3) == "Z9") ms->set_row(row);
        QTest::keyClick(ms, Qt::Key_Return);
    });
    scan(*d, "이름");
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(row_texts(d->ms_p, 1).mid(2, 3), QStringList({"Y", "900", "Z9"}));
    // An item that went out after it was listed in the picker is refused at the hand-back.
    d->t_p_cod->setText("Z8");
    QVERIFY(QMetaObject::invokeMethod(d, "pdt_chk"));
    QCOMPARE(r.texts, QStringList({"입력한 바코드는 현재 대여중이거나 등록되지 않은 바코드입니다!"}));
    QCOMPARE(d->filled_rows(), 1);
    d->hide();
    delete d;
}

// Codes registered before the lengths in the settings were shortened stay in
// use: a scanned, typed or picked code is looked up whole, never its start.
void TestRental::codes_longer_than_the_settings_are_found_whole()
{
    TestShop shop;
    open_shop(shop);
    QCOMPARE(int(m_cod_cnt), 6);
    QCOMPARE(int(p_cod_cnt), 8);
    shop.add_member("A0000003", "박민수", "B");
    shop.add_member("A00000", "NEWGUY", "B");
    for (const auto& [cod, nam] : {std::pair{"1111000099", "LONGBOOK"}, {"11110000", "SHORTBOOK"},
                                   {"2222000199", "LONGDISC"}, {"22220001", "음반1"}}) {
        shop.add_item(cod, "DVD", 700);
        shop.exec("update TB4 set f1_nam=? where cod=?", {QString::fromUtf8(nam), QString(cod)});
    }
    MsgResponder r;
    auto scan_keys = [](QLineEdit* b, const QString& code) {
        b->clear();
        type_text(b, code);
        press_enter(b);
    };
    C1* d = screens::kept<C1>();
    d->form_load();
    d->show();

    // Codes of today's length are found as before.
    scan_keys(d->t_m_cod, "A00000");
    QCOMPARE(d->t_m_nam->text(), QString("NEWGUY"));
    scan_keys(d->t_p_cod, "22220001");
    QCOMPARE(row_texts(d->ms_p, 1).mid(3, 3), QStringList({"700", "22220001", "음반1"}));
    QTest::mouseClick(d->cmd_clr, Qt::LeftButton);

    // A longer card and barcode, scanned.
    scan_keys(d->t_m_cod, "A0000003");
    QCOMPARE(d->t_m_cod->text(), QString("A0000003"));
    QCOMPARE(d->t_m_nam->text(), QString("박민수"));
    scan_keys(d->t_p_cod, "2222000199");
    QCOMPARE(row_texts(d->ms_p, 1).mid(4, 2), QStringList({"2222000199", "LONGDISC"}));
    QTest::mouseClick(d->cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));

    // Picked from the pickers.
    when_dialog_shows("pop_cst", [](QWidget* p) {
        auto* ms = p->findChild<FlexGrid*>("ms");
        ms->set_row(row_of(ms, "A0000003", 3));
        QTest::keyClick(ms, Qt::Key_Return);
    });
    d->t_m_cod->setText("박민");
    press_enter(d->t_m_cod);
    QCOMPARE(d->t_m_cod->text(), QString("A0000003"));
    QCOMPARE(d->t_m_nam->text(), QString("박민수"));
    when_dialog_shows("pop_pdt", [](QWidget* p) {
        auto* ms = p->findChild<FlexGrid*>("ms");
        ms->set_row(row_of(ms, "1111000099", 3));
        QTest::keyClick(ms, Qt::Key_Return);
    });
    scan_keys(d->t_p_cod, "LONG");
    QCOMPARE(row_texts(d->ms_p, 1).mid(4, 2), QStringList({"1111000099", "LONGBOOK"}));
    QTest::mouseClick(d->cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));
    QCOMPARE(shop.rows("select m_cod,p_cod from TC1 order by idx"),
             QList<QVariantList>({{"A0000003", "2222000199"}, {"A0000003", "1111000099"}}));
    QCOMPARE(shop.rows("select cod from TB4 where sta='Y' order by cod"),
             QList<QVariantList>({{"1111000099"}, {"2222000199"}}));

    // A code longer than any stored one is not its start's member: the
    // picker opens on it as a name fragment, and finds nobody.
    int listed = -1;
    when_dialog_shows("pop_cst", [&](QWidget* p) {
        listed = p->findChild<FlexGrid*>("ms")->rows() - 1;
        QTest::keyClick(p, Qt::Key_Escape);
    });
    scan_keys(d->t_m_cod, "A000000X");
    QCOMPARE(listed, 0);
    QVERIFY(d->t_m_nam->text().isEmpty());
    d->hide();
    delete d;

    // Returned by the long barcode: that rental is closed, not the short one's.
    add_rental(shop, "A0000003", "11110000", dstr(-2), dstr(1));
    C2* c2 = screens::kept<C2>();
    c2->form_load();
    c2->show();
    scan_keys(c2->t_m_cod, "A0000003");
    QCOMPARE(c2->t_old_cnt->text(), QString("3"));
    scan_keys(c2->t_p_cod, "1111000099");
    QCOMPARE(c2->ms_p->text(1, 4), QString("1111000099"));
    QTest::mouseClick(c2->cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납처리완료!"));
    QCOMPARE(shop.rows("select p_cod from TC1 where e_dat='' order by p_cod"),
             QList<QVariantList>({{"11110000"}, {"2222000199"}}));
    QCOMPARE(shop.rows("select cod from TB4 where sta='Y' order by cod"),
             QList<QVariantList>({{"11110000"}, {"2222000199"}}));
    c2->hide();
    delete c2;
}

// A stored code that begins or ends with a sign the dialogs clean ("A001-",
// typed "A001--") is that record at the counter, not the code it would be
// cleaned into; only a text that is no stored code is cleaned.
void TestRental::stored_codes_with_signs_are_their_own_records()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("A001-", "대시회원", "B");
    shop.add_member("A001", "짧은회원", "B");
    for (const auto& [cod, nam] : {std::pair{"P0001-", "대시품목"}, {"P0001", "짧은품목"}, {"P0002", "다른품목"}}) {
        shop.add_item(cod, "DVD", 700);
        shop.exec("update TB4 set f1_nam=? where cod=?", {QString::fromUtf8(nam), QString(cod)});
    }
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "a001-");
    QCOMPARE(d.t_m_cod->text(), QString("A001-"));
    QCOMPARE(d.t_m_nam->text(), QString("대시회원"));
    scan(d, " p0001-");
    scan(d, "P0001");
    QCOMPARE(row_texts(d.ms_p, 1).mid(4, 2), QStringList({"P0001-", "대시품목"}));
    QCOMPARE(row_texts(d.ms_p, 2).mid(4, 2), QStringList({"P0001", "짧은품목"}));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));

    // No stored code: cleaned as typed text always was, then found.
    enter_member(d, "a001'");
    QCOMPARE(d.t_m_cod->text(), QString("A001"));
    QCOMPARE(d.t_m_nam->text(), QString("짧은회원"));
    scan(d, "p0002+");
    QCOMPARE(row_texts(d.ms_p, 1).mid(4, 2), QStringList({"P0002", "다른품목"}));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));
    QCOMPARE(shop.rows("select m_cod,p_cod from TC1 order by idx"),
             QList<QVariantList>({{"A001-", "P0001-"}, {"A001-", "P0001"}, {"A001", "P0002"}}));

    // At the return desk his card shows him, and his signed item is the one taken back.
    C2 c2;
    c2.form_load();
    c2.show();
    enter_member(c2, "A001-");
    QCOMPARE(c2.t_m_nam->text(), QString("대시회원"));
    QCOMPARE(c2.t_old_cnt->text(), QString("2"));
    scan(c2, "P0001-");
    QCOMPARE(c2.ms_p->text(1, 4), QString("P0001-"));
    QCOMPARE(c2.filled_rows(), 1);
    QTest::mouseClick(c2.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("반납처리완료!"));
    QCOMPARE(shop.rows("select m_cod,p_cod from TC1 where e_dat='' order by idx"),
             QList<QVariantList>({{"A001-", "P0001"}, {"A001", "P0002"}}));
    QCOMPARE(shop.rows("select cod from TB4 where sta='Y' order by cod"),
             QList<QVariantList>({{"P0001"}, {"P0002"}}));
}

void TestRental::counter_never_serves_another_code()
{
    TestShop shop;
    open_shop(shop);
    for (const auto& [cod, nam] : {std::pair{"A001-", "대시회원"}, {"A001", "짧은회원"}, {"-B7", "앞대시회원"}, {"B7", "비칠"}})
        shop.add_member(cod, nam, "B");
    for (const char* cod : {"P0001-", "P0001", "+P0002", "P0002"}) shop.add_item(cod, "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    // A stray apostrophe at the other end of a signed code keeps the code
    // whole; beside a plain code it is dropped as always.
    for (const auto& [typed, cod, nam] : {std::tuple{"-b7'", "-B7", "앞대시회원"}, {" 'A001-", "A001-", "대시회원"},
                                          {"A001'", "A001", "짧은회원"}, {"'b7", "B7", "비칠"}}) {
        d.cmd_clr->click();
        enter_member(d, typed);
        QCOMPARE(d.t_m_cod->text(), QString(cod));
        QCOMPARE(d.t_m_nam->text(), QString(nam));
    }
    Connection& c = con();
    QCOMPARE(counter_code(c, CodeOf::Item, "+p0002'"), QString("+P0002"));
    QCOMPARE(counter_code(c, CodeOf::Item, "'P0001-"), QString("P0001-"));
    QCOMPARE(counter_code(c, CodeOf::Item, "P0002'"), QString("P0002"));
    QCOMPARE(counter_code(c, CodeOf::Item, "'P0003-"), QString("P0003"));   // none stored: cleaned

    // Another desk holds the database past this desk's wait: the failed
    // lookup serves the text as it stands, never its twin.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    auto hold = [&] {
        QVERIFY(other.execute(Query("BEGIN EXCLUSIVE")) >= 0);
        sqlite3_busy_handler(c.handle(), give_up_as_the_other_lets_go, &other);
        TestShop::expect_sql_error();
    };
    d.cmd_clr->click();
    hold();
    enter_member(d, "A001-");
    QCOMPARE(d.t_m_cod->text(), QString("A001-"));
    QCOMPARE(d.t_m_nam->text(), QString("대시회원"));
    hold();
    scan(d, "+P0002");
    hold();
    scan(d, "p0001-");
    sqlite3_busy_timeout(c.handle(), 5000);
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
    QCOMPARE(row_texts(d.ms_p, 1)[4], QString("+P0002"));
    QCOMPARE(row_texts(d.ms_p, 2)[4], QString("P0001-"));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리완료!"));
    QCOMPARE(shop.rows("select m_cod,p_cod from TC1 order by idx"),
             QList<QVariantList>({{"A001-", "+P0002"}, {"A001-", "P0001-"}}));
}

void TestRental::member_deleted_while_asked_gets_no_rental()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M0001", "새회원", "B");
    shop.add_item("T1", "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "M0001");
    scan(d, "T1");
    // While he is asked, another desk deletes him: he has no history yet.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    r.while_shown = [&](const QString& text) {
        if (text == "(1)건을 대여처리 하시겠습니까?") other.execute(Query("delete from TB1 where cod='M0001'"));
    };
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"(1)건을 대여처리 하시겠습니까?", "대여처리실패!"}));
    QCOMPARE(d.saved, 0);
    QCOMPARE(shop.count("TC1"), 0);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='T1'").toString(), QString("N"));
    QCOMPARE(d.filled_rows(), 1);
}

void TestRental::taken_meanwhile_rolls_back_the_whole_list()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G1", "손님", "B");
    shop.add_member("G2", "다른손님", "B");
    shop.add_item("T1", "DVD");
    shop.add_item("T2", "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "G1");
    scan(d, "T1");
    scan(d, "T2");
    // Another desktop rents T2 before this one saves.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    QVERIFY(save_rentals(other, "G2", {RentalLine{dstr(3), "Y", 1000, "T2"}}, today(), "CLERK2", max_cnt));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("대여처리실패!"));
    QCOMPARE(d.saved, 0);
    QCOMPARE(shop.count("TC1"), 1);
    QCOMPARE(shop.count("TC1", "m_cod='G1'"), 0);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='T1'").toString(), QString("N"));
    // The list stays on screen.
    QCOMPARE(d.filled_rows(), 2);
    QVERIFY(d.fm_p->isEnabled());
}

void TestRental::two_desktops_one_barcode()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("G1", "손님", "B");
    shop.add_member("G2", "다른손님", "B");
    shop.add_item("R1", "DVD");
    shop.add_item("R2", "DVD");
    const QString path = shop.dir() + "/PGM.mdb";
    const QDate d = today();
    for (int round = 0; round < 5; ++round) {
        shop.exec("delete from TC1");
        shop.exec("update TB4 set sta='N'");
        const auto won = two_desks_at_once(path, [&](Connection& c, int i) {
            const std::vector<RentalLine> lines = {
                RentalLine{dstr(3), "Y", 1000, i == 0 ? "R2" : "R1"}, RentalLine{dstr(3), "Y", 1000, "R1"}};
            return save_rentals(c, i == 0 ? "G1" : "G2", i == 0 ? lines : std::vector<RentalLine>{lines[1]}, d,
                                QString("DESK%1").arg(i), max_cnt);
        });
        QVERIFY2(won[0] != won[1], "exactly one desktop rents R1");
        QCOMPARE(shop.count("TC1", "p_cod='R1'"), 1);
        QCOMPARE(shop.count("TC1", "p_cod='R2'"), won[0] ? 1 : 0);
        QCOMPARE(shop.scalar("select sta from TB4 where cod='R2'").toString(), QString(won[0] ? "Y" : "N"));
    }
}

void TestRental::limit_reached_meanwhile_rolls_back()
{
    TestShop shop;
    open_shop(shop);
    QCOMPARE(max_cnt, qint16(5));
    shop.add_member("FOUR", "넷", "B");
    for (int i = 1; i <= 4; ++i) {
        shop.add_item(QString("I%1").arg(i), "DVD");
        add_rental(shop, "FOUR", QString("I%1").arg(i), dstr(-1), dstr(2));
    }
    shop.add_item("HERE", "DVD");
    shop.add_item("THERE", "DVD");
    MsgResponder r;
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "FOUR");
    QCOMPARE(d.t_ava_cnt->text(), QString("1"));
    scan(d, "HERE");
    QCOMPARE(d.filled_rows(), 1);
    // Meanwhile another desktop rents him his fifth item.
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    QVERIFY(save_rentals(other, "FOUR", {RentalLine{dstr(3), "Y", 1000, "THERE"}}, today(), "CLERK2", max_cnt));
    QTest::mouseClick(d.cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"(1)건을 대여처리 하시겠습니까?", "대여처리실패!"}));
    QCOMPARE(d.saved, 0);
    QCOMPARE(shop.count("TC1", "m_cod='FOUR' and e_dat=''"), 5);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='HERE'").toString(), QString("N"));
    QCOMPARE(d.filled_rows(), 1);

    // Two of his rentals come back: two more fit, three are refused whole.
    shop.exec("update TC1 set e_dat=? where p_cod in ('I1','I2')", {dstr(0)});
    shop.exec("update TB4 set sta='N' where cod in ('I1','I2')");
    QVERIFY(!save_rentals(other, "FOUR", {RentalLine{dstr(3), "Y", 0, "HERE"}, RentalLine{dstr(3), "Y", 0, "I1"},
                                          RentalLine{dstr(3), "Y", 0, "I2"}},
                          today(), "CLERK2", max_cnt));
    QCOMPARE(shop.scalar("select sta from TB4 where cod='HERE'").toString(), QString("N"));
    QCOMPARE(shop.count("TC1", "m_cod='FOUR' and e_dat=''"), 3);
    // A limit of 0 refuses anyone.
    QVERIFY(!save_rentals(other, "NEW", {RentalLine{dstr(3), "Y", 0, "HERE"}}, today(), "CLERK2", 0));
    QVERIFY(save_rentals(other, "FOUR", {RentalLine{dstr(3), "Y", 0, "HERE"}, RentalLine{dstr(3), "Y", 0, "I1"}},
                         today(), "CLERK2", max_cnt));
    QCOMPARE(shop.count("TC1", "m_cod='FOUR' and e_dat=''"), 5);
}

void TestRental::two_desktops_one_member_at_the_limit()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("FOUR", "넷", "B");
    for (int i = 1; i <= 4; ++i) shop.add_item(QString("I%1").arg(i), "DVD");
    shop.add_item("D0", "DVD");
    shop.add_item("D1", "DVD");
    const QString path = shop.dir() + "/PGM.mdb";
    const QDate d = today();
    const int limit = max_cnt;
    for (int round = 0; round < 5; ++round) {
        shop.exec("delete from TC1");
        shop.exec("update TB4 set sta='N'");
        for (int i = 1; i <= 4; ++i) add_rental(shop, "FOUR", QString("I%1").arg(i), dstr(-1), dstr(2));
        // Each desk rents him a different item: only one of them may be his fifth.
        const auto won = two_desks_at_once(path, [&](Connection& c, int i) {
            return save_rentals(c, "FOUR", {RentalLine{dstr(3), "Y", 1000, QString("D%1").arg(i)}}, d,
                                QString("DESK%1").arg(i), limit);
        });
        QVERIFY2(won[0] != won[1], "exactly one desktop rents the fifth item");
        QCOMPARE(shop.count("TC1", "m_cod='FOUR' and e_dat=''"), 5);
        QCOMPARE(shop.count("TB4", "sta='Y'"), 5);
    }
}

QTEST_MAIN(TestRental)
#include "tst_rental.moc"
