// The workbook loads as the administrator works them: a workbook chosen in
// the file dialog, the checked grid, deleting rows, registering.
#include "support/biff_writer.h"
#include "support/driving.h"
#include "support/fixture.h"
#include "support/memory_cap.h"
#include "support/xlsx_parts.h"
#include "sheets.h"
#include "data/schema.h"
#include "data/state.h"
#include "intake/A6.h"
#include "intake/A7.h"
#include "shell/A_main.h"
#include "shell/screens.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {
// Chooses `path` in the file dialog that cmd_fnd opens (cancels for an empty path).
void choose(LoadWindow* w, const QString& path)
{
    drive("cd", [path](QWidget* d) {
        auto* fd = static_cast<QFileDialog*>(d);
        if (path.isEmpty()) {
            fd->reject();
            return;
        }
        fd->selectFile(path);
        static_cast<QDialog*>(fd)->accept();
    });
    click(w, "cmd_fnd");
}

QString inf(QWidget* w) { return child<QLabel>(w, "la_inf")->text(); }

// Deletes data row r with a double click, answering the question with Yes.
void delete_row(FlexGrid* ms, int r) { dbl_click_cell(ms, r, 3); }

QList<QVariantList> members_sheet()
{
    return {member_heads(),
            {"a", QDate(2024, 1, 5), QVariant(), QVariant(), "Y", "m00001", "홍길동", "02-123-4567", "010-1111-2222",
             "서울시 중구", "첫 회원"},
            {"B", "2024.02.01", "2024-02-01", "2024-02-30", "N", "M00002", "김비회"},
            {"A", "2024/3/1", "2024-03-01", "2025-02-28", "y", "M00003", "이소문자"},   // paid "y": marked
            {"A", "2024-02-30", "", "", "N", "M00004", "없는날"},                      // joining day: marked
            {},                                                                       // empty row: marked
            {"A", QDate(2023, 12, 1), "2023-12-01", "2024-11-30", "N", 123456, "숫자코드"}};
}
}

class TestLoadScreens : public QObject {
    Q_OBJECT
private slots:
    void opens_from_the_admin_menu();
    void member_load_checked_sorted_and_registered();
    void duplicates_refused_with_the_code();
    void cancel_unreadable_and_heading_only();
    void item_load_registered_and_updated();
    void big_load_registered();
    void failing_insert_keeps_nothing();
    void saved_by_a_spreadsheet_program();
    void texts_filling_many_cells_data();
    void texts_filling_many_cells();
};

void TestLoadScreens::opens_from_the_admin_menu()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    w.show();
    w.t_nam->setText("ADMIN");
    w.t_pas->setText(delivered_admin_password());
    w.cmd_ok->click();
    QVERIFY(w.logged_in());
    w.menu_action("전체회원엑셀로드")->trigger();
    QMdiSubWindow* sub = w.mdi->subWindowList().value(0);
    QVERIFY(sub && sub->widget()->objectName() == "A6");
    QVERIFY(sub->isMaximized());
    QCOMPARE(sub->widget()->windowTitle(), QString("전체회원엑셀로드"));
    w.menu_action("전체품목엑셀로드")->trigger();
    QTRY_COMPARE(w.mdi->subWindowList().size(), 1);
    QCOMPARE(w.mdi->subWindowList().value(0)->widget()->objectName(), QString("A7"));
    QVERIFY(r.texts.isEmpty());
}

void TestLoadScreens::member_load_checked_sorted_and_registered()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    // In a folder deep enough for a path far over a search box's 100 characters.
    const QString book = shop.dir() + "/" + QString(100, u'd') + "/회원.xlsx";
    QVERIFY(QDir().mkpath(QFileInfo(book).path()));
    QVERIFY(write_book(book, members_sheet()));
    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1400, 800));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(child<QComboBox>(w.get(), "t_gbn")->currentText(), QString("전체회원"));
    QCOMPARE(child<QComboBox>(w.get(), "t_chk")->currentText(), QString("전체회원이 기록된 엑셀파일을 호출합니다!"));
    QCOMPARE(inf(w.get()), QString("대기중..."));
    QCOMPARE(ms->rows(), 1);

    // Nothing loaded yet.
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"처리할 엑셀파일을 호출하세요!"}));
    r.clear();

    choose(w.get(), book);
    QCOMPARE(child<QLineEdit>(w.get(), "t_ser")->text(), book);
    QCOMPARE(inf(w.get()), QString("검색건수 6건"));
    QCOMPARE(ms->cols(), 13);
    QCOMPARE(column(ms, 0).join(""), QString());
    QCOMPARE(ms->text(0, 1), QString("ERR"));
    QCOMPARE(ms->text(0, 7), QString("회원코드"));
    QCOMPARE(ms->col_width(0), 0);
    QCOMPARE(ms->col_width(1), 500);
    QCOMPARE(ms->col_width(7), 1200);
    QVERIFY(ms->col_width(12) >= 2500);
    QCOMPARE(child<QProgressBar>(w.get(), "PB")->value(), 6);
    // Sorted on the code, descending; the empty row's empty code last.
    QCOMPARE(column(ms, 7), QStringList({"M00004", "M00003", "M00002", "M00001", "123456", ""}));
    QCOMPARE(column(ms, 1), QStringList({"●", "●", "", "", "", "●"}));
    const int first = row_of(ms, "M00001", 7);
    QStringList row;
    for (int c = 2; c <= 12; ++c) row << ms->text(first, c);
    QCOMPARE(row, QStringList({"A", "2024-01-05", "2024-01-05", "2025-01-04", "Y", "M00001", "홍길동",
                               "02-123-4567", "010-1111-2222", "서울시 중구", "첫 회원"}));
    const int second = row_of(ms, "M00002", 7);
    QCOMPARE(ms->text(second, 3), QString("2024-02-01"));
    QCOMPARE(ms->text(second, 4), QString());   // a non-member's period is dropped
    QCOMPARE(ms->text(row_of(ms, "123456", 7), 3), QString("2023-12-01"));

    // Marked rows are refused; they go with a double click each.
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"오류데이터가 있습니다! 삭제하시려면 해당 데이터를 더블클릭하세요!"}));
    r.clear();
    r.answer(QMessageBox::No);
    delete_row(ms, 1);
    QTRY_COMPARE(r.texts, QStringList({"선택자료를 삭제하시겠습니까?"}));
    QCOMPARE(ms->rows(), 7);
    for (const QString code : {"M00004", "M00003", ""}) {
        delete_row(ms, row_of(ms, code, 7));
        QTRY_VERIFY(row_of(ms, code, 7) < 0);
    }
    QCOMPARE(inf(w.get()), QString("검색건수 3건"));
    r.clear();

    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"로드된 전체회원을 등록처리하시겠습니까?", "프로그램이 전체회원을 처리하였습니다!"}));
    QCOMPARE(inf(w.get()), QString("프로그램으로 처리완료!"));
    QCOMPARE(ms->rows(), 4);
    QCOMPARE(shop.rows("select gbn,dat,cod,nam from TB1 order by cod"),
             QList<QVariantList>({{"A", "2023-12-01", "123456", "숫자코드"},
                                  {"A", "2024-01-05", "M00001", "홍길동"},
                                  {"B", "2024-02-01", "M00002", "김비회"}}));
    QCOMPARE(shop.rows("select cod,s_dat,e_dat,mon from TB1_1 order by cod"),
             QList<QVariantList>({{"123456", "2023-12-01", "2024-11-30", 0}, {"M00001", "2024-01-05", "2025-01-04", haebi}}));

    // Deleting rows down to the last one empties the grid.
    r.clear();
    while (ms->rows() > 2) {
        const int before = ms->rows();
        delete_row(ms, 1);
        QTRY_COMPARE(ms->rows(), before - 1);
    }
    delete_row(ms, 1);
    QTRY_COMPARE(ms->rows(), 1);
    QCOMPARE(inf(w.get()), QString("대기중..."));
    r.clear();
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"처리할 엑셀파일을 호출하세요!"}));
    QCOMPARE(TestShop::unexpected_sql_errors(), 0);
}

void TestLoadScreens::duplicates_refused_with_the_code()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    QList<QVariantList> rows{member_heads()};
    for (int i = 0; i < 40; ++i)
        rows << QVariantList{"B", "2024-01-01", "", "", "", QString("C%1").arg(i, 5, 10, QChar('0')), "이름"};
    rows << QVariantList{"B", "2024-01-01", "", "", "", "c00030", "같은코드"};
    QVERIFY(write_book(shop.dir() + "/dup.xlsx", rows));
    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1024, 600));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    choose(w.get(), shop.dir() + "/dup.xlsx");
    QCOMPARE(ms->rows(), 42);
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"[C00030]중복된 회원코드가 존재합니다!"}));
    QCOMPARE(ms->row(), row_of(ms, "C00030", 7));
    QCOMPARE(ms->text(ms->row() + 1, 7), QString("C00030"));
    QCOMPARE(ms->rowAt(0) + 1, ms->row());   // shown as the top row
    QCOMPARE(shop.count("TB1"), 0);
    // Deleting one of the pair lets the load through.
    r.clear();
    delete_row(ms, ms->row());
    QTRY_COMPARE(ms->rows(), 41);
    r.clear();
    click(w.get(), "cmd_add");
    QCOMPARE(r.last(), QString("프로그램이 전체회원을 처리하였습니다!"));
    QCOMPARE(shop.count("TB1"), 40);
}

void TestLoadScreens::cancel_unreadable_and_heading_only()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    QVERIFY(write_book(shop.dir() + "/one.xlsx", {member_heads(), {"B", "2024-01-01", "", "", "", "K00001"}}));
    QVERIFY(write_book(shop.dir() + "/heads.xlsx", {member_heads()}));
    QFile bad(shop.dir() + "/bad.xlsx");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("PK\x03\x04 this is no workbook");
    bad.close();

    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    auto* t_ser = child<QLineEdit>(w.get(), "t_ser");
    choose(w.get(), shop.dir() + "/one.xlsx");
    QCOMPARE(ms->rows(), 2);
    // Cancelling empties the grid and keeps the path.
    choose(w.get(), QString());
    QCOMPARE(ms->rows(), 1);
    QCOMPARE(t_ser->text(), shop.dir() + "/one.xlsx");
    QVERIFY(r.texts.isEmpty());
    // Enter in the path box opens the dialog too, in the folder of the last workbook.
    bool shown = false;
    drive("cd", [&](QWidget* d) {
        shown = QDir(static_cast<QFileDialog*>(d)->directory()) == QDir(shop.dir());
        d->close();
    });
    press_enter(t_ser);
    QVERIFY(shown);

    // A file that is no workbook is told and changes nothing.
    choose(w.get(), shop.dir() + "/bad.xlsx");
    QCOMPARE(r.texts, QStringList({"엑셀파일을 열 수 없습니다!"}));
    QCOMPARE(ms->rows(), 1);
    QCOMPARE(inf(w.get()), QString("대기중..."));
    QCOMPARE(t_ser->text(), shop.dir() + "/one.xlsx");
    r.clear();

    // Headings only: one empty, unmarked row that registers nothing.
    choose(w.get(), shop.dir() + "/heads.xlsx");
    QCOMPARE(ms->rows(), 2);
    QCOMPARE(ms->text(1, 1), QString());
    QCOMPARE(inf(w.get()), QString("검색건수 1건"));
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"로드된 전체회원을 등록처리하시겠습니까?", "프로그램이 전체회원을 처리하였습니다!"}));
    QCOMPARE(shop.count("TB1"), 0);

    // A double click in the path box empties the screen.
    QTest::mouseDClick(t_ser, Qt::LeftButton);
    QCOMPARE(t_ser->text(), QString());
    QCOMPARE(ms->rows(), 1);
    QCOMPARE(inf(w.get()), QString("대기중..."));
}

void TestLoadScreens::item_load_registered_and_updated()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("GAME");
    shop.add_item("OLD00001", "GAME", 1000, 500, "Y", "Y");
    const QString book = shop.dir() + "/" + QString(100, u'd') + "/items.xlsx";
    QVERIFY(QDir().mkpath(QFileInfo(book).path()));
    QVERIFY(write_book(book,
                       {item_heads(),
                        {"dvd", "new00001", "movie", "Wide", "제조", "", "", "", 1500, 12.5, "새 품목"},
                        {"DVD", "NEW00002", "두번째", "", "", "", "", "", "2000", "0"},
                        {QVariant(), "NEW00003", "", "", "", "", "", "", 0, 0},
                        {"게임", "OLD00001", "바뀐이름", "", "", "", "", "", 3000, 100, "갱신"},
                        {"DVD", "NEW0004", "", "", "", "", "", "", 0, 0},           // short barcode
                        {"DVD", "NEW00005", "", "", "", "", "", "", "천원", 0},      // fee in words
                        {"DVD", "NEW00006", "", "", "", "", "", "", -1500, 0}}));  // negative fee
    MsgResponder r;
    std::unique_ptr<A7> w(show_window<A7>(1400, 800));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(child<QComboBox>(w.get(), "t_gbn")->currentText(), QString("전체품목"));
    choose(w.get(), book);
    QCOMPARE(child<QLineEdit>(w.get(), "t_ser")->text(), book);
    QCOMPARE(inf(w.get()), QString("검색건수 7건"));
    QCOMPARE(ms->text(0, 4), f1_nam);
    QCOMPARE(ms->text(0, 10), QString("대 여 료"));
    QCOMPARE(ms->col_width(7), 0);   // item fields 4 to 6 hidden at the standard widths
    QCOMPARE(ms->col_alignment(10), FlexGrid::AlignRight);
    QCOMPARE(column(ms, 3), QStringList({"OLD00001", "NEW0004", "NEW00006", "NEW00005", "NEW00003", "NEW00002",
                                         "NEW00001"}));
    QCOMPARE(column(ms, 1), QStringList({"", "●", "●", "●", "", "", ""}));
    const int first = row_of(ms, "NEW00001", 3);
    QCOMPARE(ms->text(first, 2), QString("DVD"));
    QCOMPARE(ms->text(first, 4), QString("MOVIE"));
    QCOMPARE(ms->text(first, 5), QString("Wide"));
    QCOMPARE(ms->text(first, 10), QString("1,500"));
    QCOMPARE(ms->text(first, 11), QString("12"));
    QCOMPARE(ms->text(row_of(ms, "NEW00006", 3), 10), QString("-1,500"));

    for (const QString code : {"NEW00006", "NEW00005", "NEW0004"}) {
        delete_row(ms, row_of(ms, code, 3));
        QTRY_VERIFY(row_of(ms, code, 3) < 0);
    }
    r.clear();
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"로드된 전체품목을 등록처리하시겠습니까?", "프로그램이 전체품목을 처리하였습니다!"}));
    QCOMPARE(inf(w.get()), QString("프로그램으로 처리완료!"));
    QCOMPARE(shop.rows("select nam from TB2 order by nam"), QList<QVariantList>({{"DVD"}, {"GAME"}, {"게임"}}));
    QCOMPARE(shop.rows("select act,sta,gbn,f1_nam,f2_nam,f3_nam,dae,yun,big from TB4 where cod='NEW00001'"),
             QList<QVariantList>({{"Y", "N", "DVD", "MOVIE", "Wide", "제조", 1500, 12, "새 품목"}}));
    QCOMPARE(shop.rows("select act,sta,gbn,f1_nam,dae,yun,big from TB4 where cod='OLD00001'"),
             QList<QVariantList>({{"Y", "Y", "게임", "바뀐이름", 3000, 100, "갱신"}}));
    QCOMPARE(shop.scalar("select gbn from TB4 where cod='NEW00003'").toString(), QString());
    // The same load again: updated with the same values, nothing new.
    r.clear();
    click(w.get(), "cmd_add");
    QCOMPARE(r.last(), QString("프로그램이 전체품목을 처리하였습니다!"));
    QCOMPARE(shop.count("TB4"), 4);
    QCOMPARE(shop.count("TB2"), 3);
}

void TestLoadScreens::big_load_registered()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    QList<QVariantList> rows{member_heads()};
    for (int i = 0; i < 2000; ++i)
        rows << QVariantList{i % 3 ? "A" : "B", QDate(2020, 1, 1).addDays(i), QVariant(), QVariant(),
                             i % 2 ? "Y" : "N", QString("K%1").arg(i, 5, 10, QChar('0')),
                             QString("회원%1").arg(i), "02-000-0000", "010-0000-0000", "부산", ""};
    QVERIFY(write_book(shop.dir() + "/big.xlsx", rows));
    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1600, 1000));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    choose(w.get(), shop.dir() + "/big.xlsx");
    QCOMPARE(inf(w.get()), QString("검색건수 2,000건"));
    QCOMPARE(ms->text(1, 7), QString("K01999"));
    QCOMPARE(column(ms, 1).join(""), QString());
    click(w.get(), "cmd_add");
    QCOMPARE(r.last(), QString("프로그램이 전체회원을 처리하였습니다!"));
    QCOMPARE(child<QProgressBar>(w.get(), "PB")->value(), 2000);
    QCOMPARE(shop.count("TB1"), 2000);
    QCOMPARE(shop.count("TB1_1"), 1333);
    QCOMPARE(shop.scalar("select sum(mon) from TB1_1").toLongLong(), qint64(haebi) * 667);
    QCOMPARE(shop.rows("select s_dat,e_dat from TB1_1 where cod='K01999'"),
             QList<QVariantList>({{"2025-06-22", "2026-06-22"}}));
}

void TestLoadScreens::failing_insert_keeps_nothing()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.exec("create trigger refuse before insert on TB4 when new.cod='BAD00001' "
              "begin select raise(abort,'refused'); end");
    QVERIFY(write_book(shop.dir() + "/items.xlsx",
                       {item_heads(),
                        {"새분류", "ZZZ00001", "", "", "", "", "", "", 1, 1},
                        {"새분류", "BAD00001", "", "", "", "", "", "", 1, 1},
                        {"다른분류", "AAA00001", "", "", "", "", "", "", 1, 1}}));
    MsgResponder r;
    std::unique_ptr<A7> w(show_window<A7>(1200, 700));
    choose(w.get(), shop.dir() + "/items.xlsx");
    TestShop::expect_sql_error();
    click(w.get(), "cmd_add");
    QCOMPARE(r.texts, QStringList({"로드된 전체품목을 등록처리하시겠습니까?", "프로그램이 전체품목을 처리하지 못하였습니다!"}));
    QCOMPARE(inf(w.get()), QString("프로그램으로 처리실패!"));
    QCOMPARE(child<FlexGrid>(w.get(), "ms")->rows(), 4);
    QCOMPARE(shop.count("TB4"), 0);
    QCOMPARE(shop.count("TB2"), 0);
}

void TestLoadScreens::saved_by_a_spreadsheet_program()
{
    // Workbooks saved by a spreadsheet program, in both formats: the same
    // grid from each. Their used range starts at row 3, so the empty row 2
    // and the heading row 3 are read as rows too, and marked.
    TestShop shop;
    QVERIFY(shop.login_admin());
    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QList<QStringList> grids;
    for (const char* name : {"members.xlsx", "members.xls"}) {
        QVERIFY(w->load_file(QStringLiteral(TORVISK_FIXTURES "/") + name));
        QCOMPARE(inf(w.get()), QString("검색건수 7건"));
        QStringList cells;
        for (int row = 1; row < ms->rows(); ++row)
            for (int c = 1; c <= 12; ++c)
                if (c != 8) cells << ms->text(row, c);   // a text formula's result: only .xlsx keeps it
        grids << cells;
        QCOMPARE(column(ms, 1), QStringList(7, "●"));
    }
    QCOMPARE(grids[0], grids[1]);
    // Kind "a" read as "A", the text date 2023.05.01 as a date, the period
    // cells that hold no dates replaced by the joining date and a year.
    const int a = row_of(ms, "2023-05-01", 3);
    QVERIFY(a > 0);
    QCOMPARE(ms->text(a, 2), QString("A"));
    QCOMPARE(ms->text(a, 4), QString("2023-05-01"));
    QCOMPARE(ms->text(a, 5), QString("2024-04-30"));
    // The date cell of 29 February 2024 read as that day.
    QVERIFY(row_of(ms, "2024-02-29", 3) > 0);
    QVERIFY(r.texts.isEmpty());

    // A workbook locked with a password cannot be read.
    QVERIFY(!w->load_file(QStringLiteral(TORVISK_FIXTURES "/members_locked.xls")));
    QCOMPARE(r.texts, QStringList({"엑셀파일을 열 수 없습니다!"}));
    QCOMPARE(ms->rows(), 1);
}

void TestLoadScreens::texts_filling_many_cells_data()
{
    // A few texts standing in many cells: the rows below row 1 (headings)
    // hold rows-1 times cols of them. Loads are weighed before any cell is
    // spelled out; past 50,000,000 characters, or with a text longer than
    // the reader takes, the workbook is refused as unreadable. A text longer
    // than a spreadsheet program lets a cell hold is loaded whole.
    QTest::addColumn<bool>("xls");
    QTest::addColumn<QChar>("fill");
    QTest::addColumn<int>("chars");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<bool>("loads");
    const QChar ga(0xAC00);
    QTest::newRow("one text of a million characters") << false << QChar('x') << 1000000 << 4001 << 3 << false;
    QTest::newRow("texts of 32,767 characters, .xls") << true << QChar('x') << 32767 << 4001 << 3 << false;
    QTest::newRow("one text of 32,767 in eleven columns") << false << QChar('x') << 32767 << 20001 << 11 << false;
    QTest::newRow("50,000,000 characters, three bytes each") << false << ga << 25000 << 2001 << 1 << true;
    QTest::newRow("25,000 characters more") << false << ga << 25000 << 2002 << 1 << false;
    QTest::newRow("cells of 32,767 characters, .xls") << true << ga << 32767 << 11 << 11 << true;
    QTest::newRow("one text of 32,770 characters") << false << ga << 32770 << 2 << 1 << true;
    QTest::newRow("texts of 32,770 characters, .xls") << true << ga << 32770 << 2 << 1 << true;
    QTest::newRow("one text past the reader's bound") << false << QChar('x') << 4194305 << 2 << 1 << false;
}

void TestLoadScreens::texts_filling_many_cells()
{
    QFETCH(bool, xls);
    QFETCH(QChar, fill);
    QFETCH(int, chars);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(bool, loads);
    TestShop shop;
    QVERIFY(shop.login_admin());
    QStringList texts;
    for (int i = 0; i < (xls ? 4 : 1); ++i) texts << QString(chars - 1, fill) + QString::number(i);
    const QString path = shop.dir() + (xls ? "/many.xls" : "/many.xlsx");
    if (xls) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(biff::texts_everywhere(texts, rows, cols));
    } else {
        QVERIFY(xlsx_parts::write_one_text_everywhere(path, texts[0], rows, cols));
    }

    MsgResponder r;
    std::unique_ptr<A6> w(show_window<A6>(1200, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    AddressSpaceCap cap;
    QCOMPARE(w->load_file(path), loads);
    if (!loads) {
        QCOMPARE(r.texts, QStringList({"엑셀파일을 열 수 없습니다!"}));
        QCOMPARE(ms->rows(), 1);
        QCOMPARE(inf(w.get()), QString("대기중..."));
        QCOMPARE(child<QLineEdit>(w.get(), "t_ser")->text(), QString());
        return;
    }
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(ms->rows(), rows);
    for (int c = 0; c < cols; ++c) QCOMPARE(ms->text(1 + c % (rows - 1), 2 + c).size(), chars);
}

QTEST_MAIN(TestLoadScreens)
#include "tst_load_screens.moc"
