#include "intake/batch.h"
#include "counter/rentals.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "support/driving.h"
#include "support/fixture.h"
#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

namespace {
QDate day0() { return QDate(2026, 12, 8); }
QString dstr(int offset) { return day0().addDays(offset).toString("yyyy-MM-dd"); }

// A shop logged in as ADMIN (barcodes of 8 characters, 3 rental days):
// regular member A1, non-member B1, items in stock P0000001..P0000004,
// items out: R0000001 (rented by A1), R0000002 (by B1).
void open_shop(TestShop& shop)
{
    QVERIFY(shop.ok());
    set_today(day0());
    QVERIFY(shop.login_admin());
    QCOMPARE(int(p_cod_cnt), 8);
    shop.add_category("DVD");
    shop.add_member("A1", "정회원", "A");
    shop.add_member("B1", "비회원", "B");
    for (const char* p : {"P0000001", "P0000002", "P0000003", "P0000004"}) shop.add_item(p, "DVD", 1000, 500);
    shop.add_item("R0000001", "DVD", 1200, 300);
    shop.add_item("R0000002", "DVD", 1500, 700);
    for (auto [m, p, s, c] : {std::tuple{"A1", "R0000001", -10, -7}, std::tuple{"B1", "R0000002", -2, 1}}) {
        shop.exec("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big,"
                  "mgm,ccc) values (?,?,'',?,?,0,0,'Y','N','ADMIN','','','N',0)",
                  {dstr(s), dstr(c), m, p});
        shop.exec("update TB4 set sta='Y' where cod=?", {p});
    }
}

BatchRow row(const QString& gbn, const QString& dat, const QString& m_cod, const QString& p_cod,
             const QString& cnt = "1")
{
    return BatchRow(BatchRecord{gbn, dat, m_cod, p_cod, cnt});
}

QStringList tags(const std::vector<BatchRow>& rows)
{
    QStringList out;
    for (const BatchRow& r : rows) out << r.big;
    return out;
}
}

// The checks, the save and the grid of an upload batch, against a real shop.
class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void field_checks_in_order();
    void lookups_fill_the_spare_columns();
    void repeated_barcodes();
    void return_takes_the_oldest_open_rental();
    void values_are_bound();
    void save_writes_rentals_and_returns();
    void save_refusals();
    void stale_batch_rolls_back();
    void grid_load_widths_and_progress();
    void terminal_batch_messages();
};

void TestBatch::field_checks_in_order()
{
    TestShop shop;
    open_shop(shop);
    for (const char* p : {"P0000005", "P0000006", "P0000007"}) shop.add_item(p, "DVD", 1000, 500);
    std::vector<BatchRow> rows = {
        row("", dstr(0), "A1", "P0000001"),             // no kind
        row("5", dstr(0), "A1", "P0000001"),            // unknown kind
        row("1", "", "", "P0000005"),                   // date and member empty: the date's tag only
        row("1", "2026-02-29", "A1", "P0000006"),       // no such day
        row("1", "2026-12-8", "A1", "P0000007"),        // not yyyy-mm-dd
        row("1", dstr(0), "A1", ""),                    // no barcode
        row("1", dstr(0), "ZZ", "P00000012"),           // unknown member, barcode too long
        row("1", dstr(0), "A1", "P0000001", ""),        // no quantity
        row("1", dstr(0), "A1", "P0000002", "x1"),      // quantity no number
        row("3", dstr(0), "A1", "P0000003", "1,000"),   // grouped quantity passes
        row("1", dstr(0), "A1", "R0000001"),            // rental of an item out
        row("1", dstr(0), "A1", "N0000001"),            // rental of no item
        row("2", dstr(0), "A1", "P0000004"),            // return of an item in stock
        row("4", dstr(0), "A1", "R0000002"),            // return of what another member has out
    };
    std::vector<BatchRow> file_rows = rows;
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({
                             "구분오류,",
                             "구분오류,",
                             "처리일자오류,",
                             "처리일자오류,",
                             "처리일자오류,",
                             "바코드오류,바코드길이오류,",
                             "바코드오류,회원코드오류,바코드길이오류,",
                             "처리수량오류,",
                             "처리수량오류,",
                             "",
                             "바코드상태오류,",
                             "바코드상태오류,",
                             "바코드상태오류,대여내역확인못함,",
                             "대여내역확인못함,",
                         }));
    check_batch(con(), file_rows, BatchSource::File, 8);
    QCOMPARE(file_rows[5].big, QString("1바코드오류,바코드길이오류,"));
    QCOMPARE(file_rows[6].big, QString("2바코드오류,회원코드오류,바코드길이오류,"));
    QCOMPARE(file_rows[0].big, QString("구분오류,"));
    QCOMPARE(file_rows[9].big, QString());
    for (const BatchRow& r : rows) QCOMPARE(r.err, r.big.isEmpty() ? QString() : QString("●"));

    // A second check starts from clean marks: fixing a row clears its tags.
    rows[7].cnt = "2";
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(rows[7].big, QString());
    QCOMPARE(rows[7].err, QString());
    QCOMPARE(rows[0].big, QString("구분오류,"));
}

void TestBatch::lookups_fill_the_spare_columns()
{
    TestShop shop;
    open_shop(shop);
    std::vector<BatchRow> rows = {
        row("", dstr(0), "A1", "P0000001"),
        row("5", dstr(0), "B1", "P0000001"),
        row("1", dstr(0), "B1", "P0000001", ""),
        row("2", dstr(0), "A1", "R0000001"),
        row("4", dstr(0), "A1", "R0000002"),
    };
    check_batch(con(), rows, BatchSource::File, 8);
    // No kind: member looked up, no item lookup.
    QCOMPARE(rows[0].nam, QString("정회원"));
    QCOMPARE(rows[0].m_gbn, QString("A"));
    QCOMPARE(rows[0].dae, QString());
    QCOMPARE(rows[1].m_gbn, QString("B"));
    QCOMPARE(rows[1].dae, QString());
    // A failing quantity still gets the lookups.
    QCOMPARE(rows[2].big, QString("처리수량오류,"));
    QCOMPARE(rows[2].dae, QString("1000"));
    QCOMPARE(rows[2].yun, QString("500"));
    QCOMPARE(rows[2].nam, QString("비회원"));
    // A good return: the open rental's key and dates.
    QCOMPARE(rows[3].big, QString());
    QCOMPARE(rows[3].dae, QString("1200"));
    QCOMPARE(rows[3].yun, QString("300"));
    QVERIFY(!rows[3].idx.isEmpty());
    QCOMPARE(rows[3].s_dat, dstr(-10));
    QCOMPARE(rows[3].c_dat, dstr(-7));
    // Another member's rental: the item's fees, no rental.
    QCOMPARE(rows[4].big, QString("대여내역확인못함,"));
    QCOMPARE(rows[4].dae, QString("1500"));
    QCOMPARE(rows[4].idx, QString());
}

void TestBatch::repeated_barcodes()
{
    TestShop shop;
    open_shop(shop);
    std::vector<BatchRow> rows = {
        row("1", dstr(0), "A1", "P0000001"),
        row("3", dstr(0), "B1", "p0000001"),   // the same item, as the database compares codes
        row("2", dstr(0), "A1", "R0000001"),
        row("4", dstr(0), "A1", "R0000001"),   // the same rental returned twice
        row("1", dstr(0), "A1", "P0000002"),
        row("1", dstr(0), "A1", "P0000001"),   // a third time
    };
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({"", "중복바코드,", "", "중복바코드,", "", "중복바코드,"}));
    // The later row goes; what is left passes.
    rows.erase(rows.begin() + 5);
    rows.erase(rows.begin() + 3);
    rows.erase(rows.begin() + 1);
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({"", "", ""}));
}

void TestBatch::return_takes_the_oldest_open_rental()
{
    TestShop shop;
    open_shop(shop);
    // A1 holds R0000001 twice (an old rental never closed): the oldest goes first.
    shop.exec("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big,mgm,"
              "ccc) values (?,?,'','A1','R0000001',0,0,'Y','N','ADMIN','','','N',0)",
              {dstr(-30), dstr(-27)});
    const qint64 oldest = shop.scalar("select idx from TC1 where s_dat=?", {dstr(-30)}).toLongLong();
    std::vector<BatchRow> rows = {row("2", dstr(0), "A1", "R0000001")};
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(rows[0].idx, QString::number(oldest));
    QCOMPARE(rows[0].c_dat, dstr(-27));
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Saved);
    QCOMPARE(shop.scalar("select e_dat from TC1 where idx=?", {oldest}).toString(), dstr(0));
    QCOMPARE(shop.scalar("select m_yun from TC1 where idx=?", {oldest}).toLongLong(), 27 * 300);
    QCOMPARE(shop.count("TC1", "p_cod='R0000001' and e_dat=''"), 1);
    // The item stays out while another rental of it is open, here B1's too
    // (rented at a second desk); it is back in stock with the last return.
    QCOMPARE(shop.scalar("select sta from TB4 where cod='R0000001'").toString(), QString("Y"));
    shop.exec("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big,mgm,"
              "ccc) values (?,?,'','B1','R0000001',0,0,'Y','N','ADMIN','','','N',0)",
              {dstr(-1), dstr(2)});
    rows = {row("2", dstr(0), "A1", "R0000001")};
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Saved);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='R0000001'").toString(), QString("Y"));
    rows = {row("4", dstr(0), "B1", "R0000001")};
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({""}));
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Saved);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='R0000001'").toString(), QString("N"));
    QCOMPARE(shop.count("TC1", "p_cod='R0000001' and e_dat=''"), 0);
}

void TestBatch::values_are_bound()
{
    TestShop shop;
    open_shop(shop);
    std::vector<BatchRow> rows = {
        row("1", dstr(0), "' or ''='", "P0000001"),
        row("1", dstr(0), "A1", "' or '1'"),
        row("2", dstr(0), "A1' --", "R0000001"),
    };
    check_batch(con(), rows, BatchSource::File, 8);
    QCOMPARE(tags(rows), QStringList({"회원코드오류,", "바코드상태오류,", "회원코드오류,대여내역확인못함,"}));
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
}

void TestBatch::save_writes_rentals_and_returns()
{
    TestShop shop;
    open_shop(shop);
    // R0000001 was due 7 days ago, R0000002 is due tomorrow.
    std::vector<BatchRow> rows = {
        row("3", "2010-07-01", "A1", "P0000001"),   // regular, unpaid mark: fee 0, paid
        row("3", dstr(-1), "B1", "P0000002", "5"),  // non-member unpaid
        row("1", dstr(-1), "B1", "P0000003"),       // non-member paid
        row("4", dstr(-5), "A1", "R0000001"),       // late, unpaid
        row("2", dstr(-5), "B1", "R0000002"),       // on time
    };
    check_batch(con(), rows, BatchSource::File, 8);
    QCOMPARE(tags(rows), QStringList({"", "", "", "", ""}));
    const qint64 before = shop.count("TC1");
    QCOMPARE(save_batch(con(), rows, 3, day0(), "CLERK"), BatchSave::Saved);
    QCOMPARE(shop.count("TC1"), before + 3);   // a quantity of 5 is one rental

    const auto rented = shop.rows("select s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,"
                                  "big,mgm,ccc from TC1 where p_cod like 'P%' order by idx");
    QCOMPARE(rented.size(), 3);
    QCOMPARE(rented[0], QVariantList({"2010-07-01", "2010-07-04", "", "A1", "P0000001", 0, 0, "Y", "N", "CLERK", "",
                                      "", "N", 0}));
    QCOMPARE(rented[1], QVariantList({dstr(-1), dstr(2), "", "B1", "P0000002", 1000, 0, "N", "N", "CLERK", "", "",
                                      "N", 0}));
    QCOMPARE(rented[2].mid(5, 4), QVariantList({1000, 0, "Y", "N"}));
    QCOMPARE(shop.count("TB4", "cod like 'P%' and sta='Y'"), 3);

    const auto back = shop.rows("select p_cod,e_dat,m_yun,m_yun_chk,u_ban,s_dat from TC1 where p_cod like 'R%' "
                                "order by p_cod");
    QCOMPARE(back[0], QVariantList({"R0000001", dstr(0), 7 * 300, "N", "CLERK", dstr(-10)}));
    QCOMPARE(back[1], QVariantList({"R0000002", dstr(0), 0, "Y", "CLERK", dstr(-2)}));
    QCOMPARE(shop.count("TB4", "cod like 'R%' and sta='N'"), 2);
}

void TestBatch::save_refusals()
{
    TestShop shop;
    open_shop(shop);
    std::vector<BatchRow> none;
    QCOMPARE(save_batch(con(), none, 3, day0(), "ADMIN"), BatchSave::Empty);
    std::vector<BatchRow> rows = {row("1", dstr(0), "A1", "P0000001"), row("1", dstr(0), "ZZ", "P0000002")};
    check_batch(con(), rows, BatchSource::File, 8);
    const qint64 before = shop.count("TC1");
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Marked);
    QCOMPARE(shop.count("TC1"), before);
    QCOMPARE(shop.count("TB4", "sta='Y'"), 2);
    // A row whose looked-up values are not what the check writes fails the
    // whole save instead of storing a guess.
    rows.pop_back();
    rows[0].dae = "abc";
    rows[0].m_gbn = "B";
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Failed);
    QCOMPARE(shop.count("TC1"), before);
}

void TestBatch::stale_batch_rolls_back()
{
    TestShop shop;
    open_shop(shop);
    std::vector<BatchRow> rows = {
        row("1", dstr(0), "A1", "P0000001"),
        row("2", dstr(0), "A1", "R0000001"),
        row("1", dstr(0), "B1", "P0000002"),
    };
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({"", "", ""}));

    // Between the check and the save, a counter rents P0000002 to someone else.
    QVERIFY(save_rentals(con(), "B1", {RentalLine{dstr(3), "Y", 1000, "P0000002"}}, day0(), "COUNTER", max_cnt));
    const auto after_counter = shop.rows("select * from TC1 order by idx");
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Failed);
    QCOMPARE(shop.rows("select * from TC1 order by idx"), after_counter);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000001'").toString(), QString("N"));
    QCOMPARE(shop.scalar("select e_dat from TC1 where p_cod='R0000001'").toString(), QString());

    // A rental returned at the counter meanwhile stops the batch too.
    rows.pop_back();
    check_batch(con(), rows, BatchSource::Terminal, 8);
    const qint64 idx = rows[1].idx.toLongLong();
    QVERIFY(save_returns(con(), {ReturnLine{idx, "Y", 0}}, day0(), "COUNTER"));
    const auto after_return = shop.rows("select * from TC1 order by idx");
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Failed);
    QCOMPARE(shop.rows("select * from TC1 order by idx"), after_return);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000001'").toString(), QString("N"));

    // A member deleted at another desk since the check gets no rental.
    shop.add_member("C1", "떠날회원", "B");
    rows = {row("1", dstr(0), "A1", "P0000003"), row("1", dstr(0), "C1", "P0000004")};
    check_batch(con(), rows, BatchSource::Terminal, 8);
    QCOMPARE(tags(rows), QStringList({"", ""}));
    Connection other;
    QVERIFY(other.open(shop.dir() + "/PGM.mdb", db_password()));
    QCOMPARE(other.execute(Query("delete from TB1 where cod='C1'")), 1);
    QCOMPARE(save_batch(con(), rows, 3, day0(), "ADMIN"), BatchSave::Failed);
    QCOMPARE(shop.rows("select * from TC1 order by idx"), after_return);
    QCOMPARE(shop.count("TB4", "sta='Y' and cod in ('P0000003','P0000004')"), 0);
}

void TestBatch::grid_load_widths_and_progress()
{
    TestShop shop;
    open_shop(shop);
    FlexGrid ms;
    QProgressBar pb;
    QLabel la_inf;
    UploadBatch b(BatchSource::Terminal, &ms, &pb, &la_inf);
    b.clear_grid();
    QVERIFY(!b.loaded());
    b.set_col_width();   // nothing on an empty grid
    tw_place(&ms, 0, 0, 12000, 4000);
    b.load({BatchRecord{"1", dstr(0), "A1", "P0000001", "1"}, BatchRecord{"1", dstr(0), "ZZ", "P0000002", "1"}});
    QVERIFY(b.loaded());
    QCOMPARE(ms.rows(), 3);
    QCOMPARE(ms.cols(), 17);
    QCOMPARE(ms.text(0, 11), QString("회 원 명"));
    QCOMPARE(ms.text(0, 8), QString("비    고"));
    QCOMPARE(ms.text(2, 1), QString("●"));
    QCOMPARE(ms.text(2, 8), QString("회원코드오류,"));
    QCOMPARE(ms.text(1, 11), QString("정회원"));
    QCOMPARE(la_inf.text(), QString("검색건수: 2건"));
    QCOMPARE(ms.col_width(8), 12000 - 5890);
    QCOMPARE(ms.col_width(13), 0);
    QCOMPARE(ms.col_alignment(7), FlexGrid::AlignRight);
    QCOMPARE(ms.row_height(0), 440);
    QCOMPARE(ms.row_height(1), 380);
    QCOMPARE(pb.maximum(), 2);
    QCOMPARE(pb.value(), 2);
    tw_place(&ms, 0, 0, 8000, 4000);
    b.set_col_width();
    QCOMPARE(ms.col_width(8), 2500);

    // A load of no record: the header alone, never a busy bar.
    UploadBatch f(BatchSource::File, &ms, &pb, &la_inf);
    f.load({});
    QVERIFY(f.loaded());
    QCOMPARE(f.data_rows(), 0);
    QCOMPARE(ms.text(0, 11), QString("거래처명"));
    QCOMPARE(la_inf.text(), QString("검색건수: 0건"));
    QCOMPARE(pb.minimum(), 0);
    QCOMPARE(pb.maximum(), 1);
}

void TestBatch::terminal_batch_messages()
{
    TestShop shop;
    open_shop(shop);
    MsgResponder r;
    FlexGrid ms;
    QProgressBar pb;
    QLabel la_inf;
    UploadBatch b(BatchSource::Terminal, &ms, &pb, &la_inf);
    b.load({BatchRecord{"1", dstr(0), "A1", "P0000001", "1"}, BatchRecord{"4", dstr(0), "A1", "R0000001", "1"}});
    r.answer(QMessageBox::No);
    QVERIFY(!b.save(nullptr));
    QCOMPARE(r.texts, QStringList({"수신 자료를 저장하시겠습니까?"}));
    QCOMPARE(b.data_rows(), 2);
    // Rented at a counter meanwhile: all rolled back, the batch stays.
    shop.exec("update TB4 set sta='Y' where cod='P0000001'");
    r.clear();
    QVERIFY(!b.save(nullptr));
    QCOMPARE(r.texts, QStringList({"수신 자료를 저장하시겠습니까?", "수신 자료를 저장하지 못하였습니다!"}));
    QCOMPARE(shop.count("TC1", "e_dat<>''"), 0);
    QCOMPARE(b.data_rows(), 2);
    shop.exec("update TB4 set sta='N' where cod='P0000001'");
    r.clear();
    QVERIFY(b.save(nullptr));
    QCOMPARE(r.texts, QStringList({"수신 자료를 저장하시겠습니까?", "수신 자료를 저장하였습니다!"}));
    QVERIFY(!b.loaded());
    QCOMPARE(la_inf.text(), QString("검색대기중..."));
    QCOMPARE(shop.count("TC1", "p_cod='R0000001' and e_dat=? and m_yun=2100 and m_yun_chk='N'", {dstr(0)}), 1);
}

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
