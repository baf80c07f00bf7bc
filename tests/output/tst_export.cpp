// The spreadsheet export of the list windows: the workbook read back (cells
// as text, widths, alignments, the title's column, hidden columns), its
// temporary read-only home, the refusals and the failure message.
#include "output_support.h"
#include "support/driving.h"
#include "counter/CA.h"
#include "data/state.h"
#include "output/grid_sheet.h"
#include "registers/B1.h"
#include "registers/B2.h"
#include "registers/B4.h"
#include "shell/A_main.h"
#include "shell/screens.h"
#include "summaries/E1.h"
#include "summaries/E2.h"
#include "ui/FlexGrid.h"
#include "ui/ListWindow.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <utime.h>

namespace {
const QString kEmpty = QStringLiteral("엑셀로 변환할 내용이 없습니다!");

QString sheet_align(FlexGrid::Align a)
{
    return a == FlexGrid::AlignCenter ? QStringLiteral("center")
           : a == FlexGrid::AlignRight ? QStringLiteral("right") : QStringLiteral("left");
}

// The sheet holds the window's grid as the grid shows it: every row from
// the header on in rows 3.., grid column c in sheet column c.
void compare_with_grid(const SheetRead& s, FlexGrid* ms)
{
    QCOMPARE(s.rows, ms->rows() + 2);
    for (int r = 0; r < ms->rows(); ++r)
        for (int c = 1; c < ms->cols(); ++c)
            QCOMPARE(s.cell(r + 3, c), ms->text(r, c));
    for (int c = 1; c < ms->cols(); ++c) {
        QCOMPARE(s.width(c), sheet_width(ms->col_width(c)));
        QCOMPARE(s.column_align(c), sheet_align(ms->col_alignment(c)));
        QCOMPARE(s.align(3, c), QStringLiteral("center"));
        if (ms->rows() > 1) QCOMPARE(s.align(4, c), sheet_align(ms->col_alignment(c)));
    }
    QVERIFY(s.cols <= ms->cols() - 1);
}
}

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        shop = seeded_shop();
        QVERIFY(shop);
        catcher = std::make_unique<UrlCatcher>();
    }
    void cleanup()
    {
        // The exports' folders go with the test.
        for (const QString& f : catcher->files) QDir(QFileInfo(f).absolutePath()).removeRecursively();
        catcher.reset();
        shop.reset();
        set_today(QDate());
    }

    void widths_round_half_to_even();
    void seeded_grid_layout();
    void member_list();
    void category_and_item_lists();
    void history_list_with_period();
    void summaries_with_period();
    void through_the_popup();
    void refusals_and_failure();
    void old_export_folders_go();

private:
    std::unique_ptr<TestShop> shop;
    std::unique_ptr<UrlCatcher> catcher;
};

void TestExport::widths_round_half_to_even()
{
    const QList<QPair<int, int>> cases{{1200, 8}, {1500, 10}, {2800, 19}, {500, 3}, {75, 0}, {225, 2},
                                       {0, 0}, {375, 2}, {1060, 7}};
    for (const auto& [twips, width] : cases) QCOMPARE(sheet_width(twips), width);
}

void TestExport::seeded_grid_layout()
{
    // Column 1 hidden: the title and the information line move to B; a
    // hidden column keeps its values; a header-only row count line.
    ListWindow w(QStringLiteral("XX"), QStringLiteral("시험목록"), ListWindow::Frame{});
    auto* pb = new QProgressBar(w.fm_sum);
    pb->setObjectName(QStringLiteral("PB"));
    w.la_inf->setText(QStringLiteral("검색건수: 3건"));
    FlexGrid* ms = w.ms;
    ms->set_header({"", "숨김", "코드", "금액", "비고"});
    for (int i = 0; i < 3; ++i) ms->add_row();
    const QStringList col2{"007", "0123", "(Data Total)"}, col3{"1,500", "-200", "1,300"};
    for (int r = 1; r <= 3; ++r) {
        ms->set_text(r, 1, QStringLiteral("h%1").arg(r));
        ms->set_text(r, 2, col2[r - 1]);
        ms->set_text(r, 3, col3[r - 1]);
    }
    ms->set_text(2, 4, QStringLiteral("<a & b>"));
    // More than a spreadsheet cell holds: the cell keeps what it can.
    ms->set_text(3, 4, QString(32767, QChar(0xAC00)) + QStringLiteral("끝"));
    ms->set_col_width(0, 300);
    ms->set_col_width(1, 0);
    ms->set_col_width(2, 1200);
    ms->set_col_width(3, 225);
    ms->set_col_width(4, 2800);
    ms->set_col_alignment(2, FlexGrid::AlignCenter);
    ms->set_col_alignment(3, FlexGrid::AlignRight);

    export_to_excel(&w, QStringLiteral("B2"));
    QCOMPARE(catcher->files.size(), 1);
    const QString path = catcher->last();
    QVERIFY(path.endsWith(QStringLiteral("/시험목록.xlsx")));
    QFileInfo fi(path);
    QVERIFY(fi.exists());
    QVERIFY(!(fi.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
    QVERIFY(fi.absolutePath().startsWith(QDir::tempPath()));
    const SheetRead s = read_sheet(path);
    QVERIFY2(s.ok, qPrintable(s.error));
    QCOMPARE(s.cell(1, 1), QString());
    QCOMPARE(s.cell(1, 2), QStringLiteral("[시험목록]"));
    QCOMPARE(s.cell(2, 2), QStringLiteral("검색건수: 3건"));
    QCOMPARE(s.align(1, 1), QStringLiteral("left"));
    QCOMPARE(s.align(2, 1), QStringLiteral("left"));
    QCOMPARE(s.align(1, 2), QStringLiteral("center"));   // B1 keeps its column's
    QCOMPARE(s.width(1), 0);
    QVERIFY(s.col_hidden.value(1));
    QCOMPARE(s.width(2), 8);
    QCOMPARE(s.width(3), 2);
    QCOMPARE(s.width(4), 19);
    QCOMPARE(s.row(3, 4), (QStringList{"숨김", "코드", "금액", "비고"}));
    QCOMPARE(s.row(4, 4), (QStringList{"h1", "007", "1,500", ""}));
    QCOMPARE(s.row(5, 4), (QStringList{"h2", "0123", "-200", "<a & b>"}));
    QCOMPARE(s.row(6, 4), (QStringList{"h3", "(Data Total)", "1,300", QString(32767, QChar(0xAC00))}));
    QCOMPARE(s.align(3, 3), QStringLiteral("center"));
    QCOMPARE(s.align(4, 3), QStringLiteral("right"));
    QCOMPARE(s.align(4, 4), QStringLiteral("left"));
    QCOMPARE(s.rows, 6);
    QCOMPARE(s.cols, 4);
    QCOMPARE(pb->maximum(), 3);
    QCOMPARE(pb->value(), 3);

    // A column of 75 twips comes to width 0 too; one of 1 column writes
    // only the title and the information line, in A.
    ms->set_col_width(1, 75);
    export_to_excel(&w, QStringLiteral("B2"));
    QCOMPARE(read_sheet(catcher->last()).cell(1, 2), QStringLiteral("[시험목록]"));
    ms->set_cols(1);
    export_to_excel(&w, QStringLiteral("B2"));
    const SheetRead one = read_sheet(catcher->last());
    QCOMPARE(one.cell(1, 1), QStringLiteral("[시험목록]"));
    QCOMPARE(one.cell(2, 1), QStringLiteral("검색건수: 3건"));
    QCOMPARE(one.cols, 1);
    // Every export has a folder of its own.
    QCOMPARE(QSet<QString>({QFileInfo(catcher->files[0]).absolutePath(), QFileInfo(catcher->files[1]).absolutePath(),
                            QFileInfo(catcher->files[2]).absolutePath()}).size(), 3);
}

void TestExport::member_list()
{
    B1* w = show_window<B1>(1600, 1000);
    QVERIFY(w->ms->rows() > 3);
    export_to_excel(w, QStringLiteral("B1"));
    const SheetRead s = read_sheet(catcher->last());
    QVERIFY2(s.ok, qPrintable(s.error));
    QCOMPARE(s.cell(1, 1), QStringLiteral("[") + w->windowTitle() + QStringLiteral("]"));
    QCOMPARE(s.cell(2, 1), w->la_inf->text());
    QVERIFY(!s.cell(2, 1).contains(QStringLiteral("검색기간")));
    compare_with_grid(s, w->ms);
    // Codes keep their leading zeros; the apostrophe stays in the name.
    const int r = row_of(w->ms, QStringLiteral("00034"));
    QVERIFY(r > 0);
    QCOMPARE(s.cell(r + 3, 5), QStringLiteral("O'Neil 오닐"));
    QCOMPARE(s.cell(r + 3, 4), QStringLiteral("00034"));
    QCOMPARE(w->PB->value(), w->PB->maximum());
    QCOMPARE(w->PB->maximum(), w->ms->rows() - 1);
    w->close();
}

void TestExport::category_and_item_lists()
{
    B2* b2 = show_window<B2>(1600, 1000);
    export_to_excel(b2, QStringLiteral("B2"));
    SheetRead s = read_sheet(catcher->last());
    QCOMPARE(s.cell(1, 1), QStringLiteral("[품목분류정보관리]"));
    QCOMPARE(s.cell(2, 1), b2->la_inf->text());
    compare_with_grid(s, b2->ms);
    QVERIFY(s.row(3, 2).contains(QStringLiteral("분 류 명")));
    b2->close();

    B4* b4 = show_window<B4>(1600, 1000);
    export_to_excel(b4, QStringLiteral("B4"));
    s = read_sheet(catcher->last());
    QCOMPARE(s.cell(2, 1), b4->la_inf->text());
    compare_with_grid(s, b4->ms);
    const int r = row_of(b4->ms, QStringLiteral("00000201"));
    QVERIFY(r > 0);
    QCOMPARE(s.cell(r + 3, 4), QStringLiteral("00000201"));
    QCOMPARE(s.cell(r + 3, 11), QStringLiteral("12,000"));
    QCOMPARE(s.align(r + 3, 11), QStringLiteral("right"));
    // The item-field captions of the settings head their columns.
    QCOMPARE(s.cell(3, 5), f1_nam);
    b4->close();
}

void TestExport::history_list_with_period()
{
    CA* w = show_window<CA>(1600, 1000);
    QCOMPARE(w->t_date1->date(), QDate(2026, 3, 1));
    w->t_date1->setDate(QDate(2026, 3, 2));
    w->ms_list();
    export_to_excel(w, QStringLiteral("CA"));
    const SheetRead s = read_sheet(catcher->last());
    QCOMPARE(s.cell(1, 1), QStringLiteral("[대여반납내역관리]"));
    QCOMPARE(s.cell(2, 1), w->la_inf->text() + QStringLiteral("  검색기간: 2026-03-02 ~ 2026-03-10"));
    compare_with_grid(s, w->ms);
    // Subtotal and totals rows in their places; hidden columns written at width 0.
    const int last = w->ms->rows() - 1;
    QCOMPARE(s.cell(last + 3, 4), QStringLiteral("(Data Total)"));
    QCOMPARE(s.cell(last + 3, 14), QStringLiteral("14,000"));
    QCOMPARE(s.cell(last + 3, 15), QStringLiteral("1,500"));
    QCOMPARE(s.cell(last + 2, 4), QStringLiteral("(2026-03-05)"));
    QCOMPARE(s.width(16), 0);
    QVERIFY(s.col_hidden.value(16));
    QCOMPARE(s.cell(3, 16), QStringLiteral("결제1"));
    const int r = row_of(w->ms, QStringLiteral("B0003"), 7);
    QCOMPARE(s.cell(r + 3, 16), QStringLiteral("Y"));
    QCOMPARE(s.cell(r + 3, 21), QStringLiteral("it's late"));
    w->close();
}

void TestExport::summaries_with_period()
{
    // E1 over January to March: the regular members who joined then, their
    // contact columns hidden (written at width 0), the totals row last.
    E1* e1 = show_window<E1>(1600, 1000);
    e1->t_date1->setDate(QDate(2026, 1, 15));
    e1->ms_list();
    QCOMPARE(e1->ms->rows(), 4);
    export_to_excel(e1, QStringLiteral("E1"));
    SheetRead s = read_sheet(catcher->last());
    QCOMPARE(s.cell(1, 1), QStringLiteral("[정회원별거래집계]"));
    // The pickers' days as chosen, although the list counts whole months.
    QCOMPARE(s.cell(2, 1), e1->la_inf->text() + QStringLiteral("  검색기간: 2026-01-15 ~ 2026-03-10"));
    compare_with_grid(s, e1->ms);
    QCOMPARE(s.width(5), 0);
    QVERIFY(s.col_hidden.value(7));
    QCOMPARE(s.cell(4 + row_of(e1->ms, QStringLiteral("00034"), 3) - 1, 5), QStringLiteral("02-123-4567"));
    QCOMPARE(s.cell(6, 3), QStringLiteral("(Data Total)"));
    QCOMPARE(s.align(6, 14), QStringLiteral("right"));
    e1->close();

    E2* e2 = show_window<E2>(1600, 1000);
    export_to_excel(e2, QStringLiteral("E2"));
    s = read_sheet(catcher->last());
    QCOMPARE(s.cell(1, 1), QStringLiteral("[비회원별거래집계]"));
    QCOMPARE(s.cell(2, 1), e2->la_inf->text() + QStringLiteral("  검색기간: 2026-03-01 ~ 2026-03-10"));
    compare_with_grid(s, e2->ms);
    QCOMPARE(s.row(4, 3), (QStringList{"B", "2026-01-02", "B0003"}));
    QCOMPARE(s.cell(4, 9), QStringLiteral("12,000"));
    QCOMPARE(s.cell(5, 3), QStringLiteral("(Data Total)"));
    e2->close();
}

void TestExport::through_the_popup()
{
    MsgResponder r;
    A_main main;
    main.show();
    QVERIFY(log_in(main, QStringLiteral("ADMIN"), QStringLiteral("1234")));
    main.menu_action(QStringLiteral("전체품목정보관리"))->trigger();
    QVERIFY(screens::find(QStringLiteral("B4")));
    main.findChild<QAction*>(QStringLiteral("POP3_1"))->trigger();
    QCOMPARE(catcher->files.size(), 1);
    QCOMPARE(read_sheet(catcher->last()).cell(1, 1), QStringLiteral("[전체품목정보관리]"));
    // The export of a window that is not open does nothing.
    main.findChild<QAction*>(QStringLiteral("POP1_1"))->trigger();
    QCOMPARE(catcher->files.size(), 1);
    QVERIFY(r.texts.isEmpty());

    // Without the right: refused, no workbook.
    shop->add_user(QStringLiteral("NOXLS"), QStringLiteral("pw"), QStringLiteral("01111"));
    main.menu_action(QStringLiteral("처음화면으로이동"))->trigger();
    QVERIFY(log_in(main, QStringLiteral("NOXLS"), QStringLiteral("pw")));
    main.menu_action(QStringLiteral("전체품목정보관리"))->trigger();
    main.findChild<QAction*>(QStringLiteral("POP3_1"))->trigger();
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!")});
    QCOMPARE(catcher->files.size(), 1);
    screens::close_all();
}

void TestExport::refusals_and_failure()
{
    MsgResponder r;
    // A search that found nothing: the message, no workbook.
    B1* w = show_window<B1>(1600, 1000);
    w->t_ser->setText(QStringLiteral("없는회원"));
    w->ms_list();
    QCOMPARE(w->ms->rows(), 1);
    export_to_excel(w, QStringLiteral("B1"));
    QTRY_COMPARE(r.texts, QStringList{kEmpty});
    QCOMPARE(r.icons.first(), QMessageBox::Information);
    QVERIFY(catcher->files.isEmpty());

    // A workbook that cannot be written: "엑셀변환실패!", nothing opened.
    w->t_ser->clear();
    w->ms_list();
    r.clear();
    // (the temporary folder is a plain file)
    const QByteArray tmp = qgetenv("TMPDIR");
    const QString not_dir = shop->dir() + QStringLiteral("/CONPATH.txt");
    qputenv("TMPDIR", QFile::encodeName(not_dir));
    export_to_excel(w, QStringLiteral("B1"));
    if (tmp.isNull()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", tmp);
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("엑셀변환실패!")});
    QVERIFY(catcher->files.isEmpty());
    // A temporary folder that does not exist: the same, nothing made elsewhere.
    r.clear();
    qputenv("TMPDIR", QFile::encodeName(shop->dir() + QStringLiteral("/no-such-folder")));
    export_to_excel(w, QStringLiteral("B1"));
    if (tmp.isNull()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", tmp);
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("엑셀변환실패!")});
    QVERIFY(catcher->files.isEmpty());
    QVERIFY(QDir(QStringLiteral("/")).entryList({QStringLiteral("torvisk-export-*")}, QDir::Dirs).isEmpty());

    w->close();
}

void TestExport::old_export_folders_go()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // A folder with one file of the given permissions, last changed `hours` ago.
    auto folder = [&](const QString& name, int hours, QFile::Permissions file_perms) {
        const QString path = tmp.path() + u'/' + name;
        QVERIFY(QDir().mkpath(path));
        QFile f(path + QStringLiteral("/목록.xlsx"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("PK");
        f.close();
        QVERIFY(f.setPermissions(file_perms));
        const time_t t = time(nullptr) - time_t(hours) * 3600;
        const utimbuf times{t, t};
        QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
    };
    const QFile::Permissions read_only = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    folder(QStringLiteral("torvisk-export-Ab12Cd"), 25, read_only);               // goes
    folder(QStringLiteral("torvisk-export-Fr3shX"), 23, read_only);               // a day old at most
    folder(QStringLiteral("torvisk-export-Ab12Cd.keep"), 48, read_only);          // not the program's name
    folder(QStringLiteral("torvisk-export-Saved1"), 48, read_only | QFile::WriteOwner);   // the user's save
    folder(QStringLiteral("elsewhere"), 48, read_only);
    QVERIFY(QFile::link(tmp.path() + QStringLiteral("/elsewhere"), tmp.path() + QStringLiteral("/torvisk-export-Link12")));

    ListWindow w(QStringLiteral("XX"), QStringLiteral("시험목록"), ListWindow::Frame{});
    w.ms->set_header({"", "코드"});
    w.ms->set_text(w.ms->add_row(), 1, QStringLiteral("007"));
    const QByteArray was = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    export_to_excel(&w, QStringLiteral("B2"));
    if (was.isNull()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", was);
    QCOMPARE(catcher->files.size(), 1);

    QStringList left = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    left.removeOne(QFileInfo(QFileInfo(catcher->last()).absolutePath()).fileName());
    QCOMPARE(left, QStringList({"elsewhere", "torvisk-export-Ab12Cd.keep", "torvisk-export-Fr3shX",
                                "torvisk-export-Link12", "torvisk-export-Saved1"}));
    QVERIFY(QFile::exists(tmp.path() + QStringLiteral("/elsewhere/목록.xlsx")));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
