// The rules of the member and item loads, without the screens: cell
// treatment and checks, the duplicate scan, and the all-or-nothing saves.
#include "support/fixture.h"
#include "data/db.h"
#include "intake/loads.h"
#include "ui/FlexGrid.h"

#include <QTest>

namespace {
LoadCells cells(const QStringList& t)
{
    LoadCells c;
    for (int i = 0; i < k_sheet_cols && i < t.size(); ++i) c[size_t(i)] = t[i];
    return c;
}

QStringList texts(const LoadCells& c) { return QStringList(c.begin(), c.end()); }

// A grid as the screens leave it after a load: the checked cells in
// columns 2 .. 12, the mark in column 1.
void put_rows(GridStore& g, const QList<QStringList>& rows, bool items, int code_len)
{
    g.resize(int(rows.size()) + 1, k_load_cols);
    for (int r = 0; r < rows.size(); ++r) {
        LoadCells c = cells(rows[r]);
        const bool faulty = items ? check_item_cells(c, code_len) : check_member_cells(c, code_len);
        if (faulty) g.set_text(r + 1, 1, k_err_mark);
        for (int i = 0; i < k_sheet_cols; ++i) g.set_text(r + 1, i + 2, c[size_t(i)]);
    }
}
}

class TestLoads : public QObject {
    Q_OBJECT
private slots:
    void dates_in_every_notation();
    void fees_are_numbers_rounded_to_even();
    void member_rows();
    void member_periods();
    void item_rows();
    void duplicates_and_blank_rows();
    void members_saved_once_with_their_period();
    void items_inserted_updated_and_categories_made();
    void failing_insert_keeps_nothing();
    void failing_lookup_keeps_nothing();
};

void TestLoads::dates_in_every_notation()
{
    bool shape = false;
    QCOMPARE(load_date("2024-03-05"), QString("2024-03-05"));
    QCOMPARE(load_date("2024.3.5"), QString("2024-03-05"));
    QCOMPARE(load_date(" 2024/12/31 "), QString("2024-12-31"));
    QCOMPARE(load_date("2024-02-29", &shape), QString("2024-02-29"));
    QVERIFY(shape);
    // Days that do not exist look like dates but are none.
    QCOMPARE(load_date("2023-02-29", &shape), QString());
    QVERIFY(shape);
    QCOMPARE(load_date("2024-13-01", &shape), QString());
    QVERIFY(shape);
    QCOMPARE(load_date("2024-04-31"), QString());
    // Mixed separators, other orders and words are no dates at all.
    QCOMPARE(load_date("2024-03/05", &shape), QString());
    QVERIFY(!shape);
    QCOMPARE(load_date("05/03/2024", &shape), QString());
    QVERIFY(!shape);
    QCOMPARE(load_date("", &shape), QString());
    QVERIFY(!shape);
    QCOMPARE(load_date("내일"), QString());
}

void TestLoads::fees_are_numbers_rounded_to_even()
{
    const struct { const char* text; bool ok; qint64 v; } cases[] = {
        {"1500", true, 1500}, {"12.5", true, 12}, {"13.5", true, 14}, {"12.51", true, 13}, {"12.49", true, 12},
        {"0.5", true, 0}, {"+7", true, 7}, {"-3", true, -3}, {"007", true, 7}, {"999999999999999", true, 999999999999999},
        {"", false, 0}, {"abc", false, 0}, {"1,500", false, 0}, {"1e5", false, 0}, {"12.", false, 0},
        {".5", false, 0}, {"1000000000000000", false, 0}, {"1 500", false, 0},
    };
    for (const auto& c : cases) {
        qint64 v = -99;
        QCOMPARE(load_fee(QString::fromUtf8(c.text), &v), c.ok);
        if (c.ok) QCOMPARE(v, c.v);
    }
}

void TestLoads::member_rows()
{
    // Kind and code upper-cased, every cell cleaned, dates in any notation stored yyyy-mm-dd.
    LoadCells c = cells({"a", "2024.01.05", "2024/1/5", "2025-01-04", "Y", "m00001", "'홍길동'", "02-123-4567",
                         "010-1111-2222", "서울시 중구", "메모,"});
    QVERIFY(!check_member_cells(c, 6));
    QCOMPARE(texts(c), QStringList({"A", "2024-01-05", "2024-01-05", "2025-01-04", "Y", "M00001", "홍길동",
                                    "02-123-4567", "010-1111-2222", "서울시 중구", "메모"}));

    const auto faulty = [](const QStringList& t) {
        LoadCells c = cells(t);
        return check_member_cells(c, 6);
    };
    QVERIFY(faulty({"C", "2024-01-05", "", "", "Y", "M00001"}));           // kind
    QVERIFY(faulty({"", "2024-01-05", "", "", "Y", "M00001"}));
    QVERIFY(faulty({"A", "2024-01-05", "", "", "y", "M00001"}));           // lower-case paid
    QVERIFY(faulty({"A", "2024-01-05", "", "", "", "M00001"}));
    QVERIFY(!faulty({"B", "2024-01-05", "", "", "아무거나", "M00001"}));   // no paid check for non-members
    QVERIFY(faulty({"A", "2024-02-30", "", "", "Y", "M00001"}));           // joining date
    QVERIFY(faulty({"A", "", "", "", "Y", "M00001"}));
    QVERIFY(faulty({"A", "2024-01-05", "", "", "Y", "M0001"}));            // code length
    QVERIFY(faulty({"A", "2024-01-05", "", "", "Y", "M000001"}));
    QVERIFY(faulty({}));                                                    // an empty row
}

void TestLoads::member_periods()
{
    // A regular member without period dates gets the joining date and a year.
    LoadCells c = cells({"A", "2024-02-29", "", "", "N", "M00001"});
    QVERIFY(!check_member_cells(c, 6));
    QCOMPARE(c[2], QString("2024-02-29"));
    QCOMPARE(c[3], QString("2025-02-28"));
    // Text that is no date is replaced the same way, without a mark...
    c = cells({"A", "2024-01-05", "미정", "2024-05-01", "N", "M00001"});
    QVERIFY(!check_member_cells(c, 6));
    QCOMPARE(c[2], QString("2024-01-05"));
    QCOMPARE(c[3], QString("2025-01-04"));
    // ...but a day that does not exist is a typing error and marks the row.
    c = cells({"A", "2024-01-05", "2024-01-05", "2024-02-30", "N", "M00001"});
    QVERIFY(check_member_cells(c, 6));
    // Valid periods stay as given, even an end before the start.
    c = cells({"A", "2024-01-05", "2024-03-01", "2024-02-01", "N", "M00001"});
    QVERIFY(!check_member_cells(c, 6));
    QCOMPARE(c[2], QString("2024-03-01"));
    QCOMPARE(c[3], QString("2024-02-01"));
    // A non-member has no period.
    c = cells({"b", "2024-01-05", "2024-03-01", "2024-02-30", "Y", "M00001"});
    QVERIFY(!check_member_cells(c, 6));
    QCOMPARE(c[2], QString());
    QCOMPARE(c[3], QString());
}

void TestLoads::item_rows()
{
    LoadCells c = cells({"dvd", "ab000001", "movie", "Wide", "Maker", "x", "y", "z", "1500", "12.5", "'비고'"});
    QVERIFY(!check_item_cells(c, 8));
    QCOMPARE(texts(c), QStringList({"DVD", "AB000001", "MOVIE", "Wide", "Maker", "x", "y", "z", "1,500", "12",
                                    "비고"}));
    const auto faulty = [](const QStringList& t) {
        LoadCells c = cells(t);
        return check_item_cells(c, 8);
    };
    QVERIFY(!faulty({"", "AB000001", "", "", "", "", "", "", "0", "0"}));    // an empty category passes
    QVERIFY(faulty({"DVD", "AB00001", "", "", "", "", "", "", "1", "1"}));   // barcode length
    QVERIFY(faulty({"DVD", "AB000001", "", "", "", "", "", "", "천원", "1"}));
    QVERIFY(faulty({"DVD", "AB000001", "", "", "", "", "", "", "", "1"}));
    QVERIFY(faulty({"DVD", "AB000001", "", "", "", "", "", "", "1", ""}));
    QVERIFY(faulty({}));
    // A negative fee is refused and shown as it is, not turned positive.
    c = cells({"DVD", "AB000001", "", "", "", "", "", "", "-1500", "500"});
    QVERIFY(check_item_cells(c, 8));
    QCOMPARE(c[8], QString("-1,500"));
    c = cells({"DVD", "AB000001", "", "", "", "", "", "", "+1500", "500-"});
    QVERIFY(!check_item_cells(c, 8));
    QCOMPARE(c[8], QString("1,500"));
    QCOMPARE(c[9], QString("500"));
}

void TestLoads::duplicates_and_blank_rows()
{
    GridStore g;
    g.resize(6, k_load_cols);
    const QStringList codes = {"", "C", "B", "", "B"};
    for (int r = 1; r <= 5; ++r) g.set_text(r, 7, codes[r - 1]);
    QCOMPARE(first_duplicate(g, 7), 3);
    g.set_text(5, 7, "b");   // exact text: case counts
    QCOMPARE(first_duplicate(g, 7), 0);
    QVERIFY(!blank_load_row(g, 2));
    QVERIFY(blank_load_row(g, 1));
    g.set_text(1, 12, "x");
    QVERIFY(!blank_load_row(g, 1));
}

void TestLoads::members_saved_once_with_their_period()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_member("OLD001", "기존회원", "B");
    GridStore g;
    put_rows(g,
             {{"A", "2024-01-05", "", "", "Y", "NEW001", "김정회", "02", "010", "주소", "비고"},
              {"A", "2024-02-01", "2024-02-01", "2025-01-31", "N", "NEW002", "이미납"},
              {"B", "2024-03-01", "", "", "", "NEW003", "박비회"},
              {"A", "2024-04-01", "", "", "Y", "OLD001", "바뀐이름"}},
             false, 6);
    g.resize(6, k_load_cols);   // a blank row, as a heading-only workbook leaves
    QList<int> steps;
    QVERIFY(save_members(g, 30000, [&](int done) { steps << done; }));
    QCOMPARE(steps, QList<int>({1, 2, 3, 4, 5}));

    QCOMPARE(shop.rows("select act,gbn,dat,cod,nam,tel,phn,adr,big from TB1 where cod='NEW001'"),
             QList<QVariantList>({{"Y", "A", "2024-01-05", "NEW001", "김정회", "02", "010", "주소", "비고"}}));
    QCOMPARE(shop.rows("select cod,s_dat,e_dat,mon,chm from TB1_1 order by cod"),
             QList<QVariantList>({{"NEW001", "2024-01-05", "2025-01-04", 30000, ""},
                                  {"NEW002", "2024-02-01", "2025-01-31", 0, ""}}));
    QCOMPARE(shop.count("TB1", "cod='NEW003' and gbn='B'"), 1);
    // An existing code is neither changed nor given a period; the blank row wrote nothing.
    QCOMPARE(shop.scalar("select nam from TB1 where cod='OLD001'").toString(), QString("기존회원"));
    QCOMPARE(shop.count("TB1"), 4);

    // Registering again inserts nothing.
    QVERIFY(save_members(g, 30000));
    QCOMPARE(shop.count("TB1"), 4);
    QCOMPARE(shop.count("TB1_1"), 2);
}

void TestLoads::items_inserted_updated_and_categories_made()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("GAME");
    shop.add_item("OLD00001", "GAME", 1000, 500, "N", "Y");
    GridStore g;
    put_rows(g,
             {{"dvd", "new00001", "a", "b", "c", "d", "e", "f", "1500", "300", "r1"},
              {"DVD", "NEW00002", "", "", "", "", "", "", "2000", "0", ""},
              {"", "NEW00003", "", "", "", "", "", "", "0", "0", ""},
              {"BOOK", "OLD00001", "책", "x", "", "", "", "", "2,500", "100", "updated"}},
             true, 8);
    QVERIFY(save_items(g));
    QCOMPARE(shop.rows("select nam,big from TB2 order by nam"),
             QList<QVariantList>({{"BOOK", ""}, {"DVD", ""}, {"GAME", ""}}));
    QCOMPARE(shop.rows("select act,sta,gbn,cod,f1_nam,f2_nam,f6_nam,dae,yun,big from TB4 where cod='NEW00001'"),
             QList<QVariantList>({{"Y", "N", "DVD", "NEW00001", "A", "b", "f", 1500, 300, "r1"}}));
    QCOMPARE(shop.scalar("select gbn from TB4 where cod='NEW00003'").toString(), QString());
    // The existing item keeps its in-use and rented-out state.
    QCOMPARE(shop.rows("select act,sta,gbn,f1_nam,dae,yun,big from TB4 where cod='OLD00001'"),
             QList<QVariantList>({{"N", "Y", "BOOK", "책", 2500, 100, "updated"}}));
    // The same load again updates with the same values.
    QVERIFY(save_items(g));
    QCOMPARE(shop.count("TB4"), 4);
    QCOMPARE(shop.count("TB2"), 3);
}

void TestLoads::failing_insert_keeps_nothing()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.exec("create trigger refuse_m before insert on TB1_1 when new.cod='BAD001' "
              "begin select raise(abort,'refused'); end");
    shop.exec("create trigger refuse_i before insert on TB4 when new.cod='BAD00001' "
              "begin select raise(abort,'refused'); end");
    GridStore m;
    put_rows(m,
             {{"A", "2024-01-05", "", "", "Y", "NEW001"}, {"B", "2024-01-05", "", "", "", "NEW002"},
              {"A", "2024-01-05", "", "", "Y", "BAD001"}, {"A", "2024-01-05", "", "", "Y", "NEW004"}},
             false, 6);
    TestShop::expect_sql_error();
    QVERIFY(!save_members(m, 30000));
    QCOMPARE(shop.count("TB1"), 0);
    QCOMPARE(shop.count("TB1_1"), 0);

    GridStore i;
    put_rows(i,
             {{"NEWCAT", "NEW00001", "", "", "", "", "", "", "1", "1"},
              {"NEWCAT2", "BAD00001", "", "", "", "", "", "", "1", "1"}},
             true, 8);
    TestShop::expect_sql_error();
    QVERIFY(!save_items(i));
    QCOMPARE(shop.count("TB4"), 0);
    QCOMPARE(shop.count("TB2"), 0);
}

void TestLoads::failing_lookup_keeps_nothing()
{
    // The tables become views whose reads fail while their writes still
    // work: a look-up that fails must stop the save, not count as "not found".
    TestShop shop;
    QVERIFY(shop.login_admin());
    for (const char* t : {"TB1", "TB2", "TB4"}) {
        const QString real = QString(t) + "_real";
        shop.exec(QString("alter table %1 rename to %2").arg(t, real));
        shop.exec(QString("create view %1 as select * from %2 where abs(-9223372036854775807-1) > 0").arg(t, real));
        shop.exec(QString("create trigger %1_ins instead of insert on %1 begin insert into %2 select new.*; end")
                      .arg(t, real));
    }
    shop.exec("drop trigger TB1_ins");
    shop.exec("create trigger TB1_ins instead of insert on TB1 begin insert into TB1_real values "
              "(new.act,new.gbn,new.dat,new.cod,new.nam,new.tel,new.phn,new.adr,new.big); end");
    shop.exec("drop trigger TB2_ins");
    shop.exec("create trigger TB2_ins instead of insert on TB2 begin insert into TB2_real values (new.nam,new.big); end");
    shop.exec("drop trigger TB4_ins");
    shop.exec("create trigger TB4_ins instead of insert on TB4 begin insert into TB4_real values (new.act,new.sta,"
              "new.gbn,new.cod,new.f1_nam,new.f2_nam,new.f3_nam,new.f4_nam,new.f5_nam,new.f6_nam,new.dae,new.yun,"
              "new.big); end");

    GridStore m;
    put_rows(m, {{"B", "2024-01-05", "", "", "", "NEW001"}}, false, 6);
    TestShop::expect_sql_error();
    QVERIFY(!save_members(m, 30000));
    QCOMPARE(shop.count("TB1_real"), 0);

    GridStore i;
    put_rows(i, {{"", "NEW00001", "", "", "", "", "", "", "1", "1"}}, true, 8);   // the item look-up fails
    TestShop::expect_sql_error();
    QVERIFY(!save_items(i));
    put_rows(i, {{"CAT", "NEW00001", "", "", "", "", "", "", "1", "1"}}, true, 8);   // the category look-up fails
    TestShop::expect_sql_error();
    QVERIFY(!save_items(i));
    QCOMPARE(shop.count("TB4_real"), 0);
    QCOMPARE(shop.count("TB2_real"), 0);
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
}

QTEST_MAIN(TestLoads)
#include "tst_loads.moc"
