// Printing the lists: the rows copied into PRT.mdb (bound values, replaced
// by the next print of the same list), the report previewed maximised and
// printed from the preview to a PDF read back with pdftotext (headings,
// information line, totals row, page numbers), and the refusals.
#include "output_support.h"
#include "support/driving.h"
#include "counter/CA.h"
#include "data/db.h"
#include "data/schema.h"
#include "data/state.h"
#include "output/print.h"
#include "output/print_db.h"
#include "output/report.h"
#include "registers/B1.h"
#include "registers/B4.h"
#include "shell/A_main.h"
#include "shell/screens.h"
#include "summaries/E1.h"
#include "summaries/E2.h"
#include "ui/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QRegularExpression>
#include <QTimer>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {
const QString kNothing = QStringLiteral("출력할 내용이 없습니다!");
const QString kNoDb = QStringLiteral("인쇄데이터베이스를 초기화하지 못하였습니다!");

// The rows of a print table, in the order written.
QList<QStringList> table_rows(const QString& dir, const QString& table)
{
    Connection c;
    QList<QStringList> out;
    if (!c.open(dir + QStringLiteral("/PRT.mdb"), QString())) return out;
    Cursor cur(c, Query(QStringLiteral("select * from ") + table + QStringLiteral(" order by rowid")));
    while (cur.next()) {
        QStringList row;
        for (int i = 0; i < cur.columns(); ++i) row << cur.text(i);
        out << row;
    }
    return out;
}

// The grid's rows in the listed columns.
QList<QStringList> grid_rows(FlexGrid* ms, const QList<int>& cols)
{
    QList<QStringList> out;
    for (int r = 1; r < ms->rows(); ++r) {
        QStringList row;
        for (int c : cols) row << ms->text(r, c);
        out << row;
    }
    return out;
}

// A printed page as its words and their boxes (points from the page's top
// left), line by line from the top, each line left to right.
struct Box {
    double x0, y0, x1, y1;
};
struct Word {
    QString text;
    Box box;
    int line;
};
using Page = QList<Word>;

// The pages of a PDF, read with pdftotext -bbox.
QList<Page> pdf_pages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    static const QList<QPair<QString, QString>> entities{
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    QList<Page> pages;
    const QStringList parts = QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("<page "));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        Page page;
        for (const QRegularExpressionMatch& m : word.globalMatch(parts[i])) {
            QString t = m.captured(5);
            for (const auto& [e, c] : entities) t.replace(e, c);
            page << Word{t, {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                             m.captured(4).toDouble()}, 0};
        }
        // Words whose tops lie within a point stand on one line.
        std::sort(page.begin(), page.end(), [](const Word& a, const Word& b) { return a.box.y0 < b.box.y0; });
        for (qsizetype w = 1; w < page.size(); ++w)
            page[w].line = page[w - 1].line + (page[w].box.y0 - page[w - 1].box.y0 > 1 ? 1 : 0);
        std::sort(page.begin(), page.end(), [](const Word& a, const Word& b) {
            return a.line != b.line ? a.line < b.line : a.box.x0 < b.box.x0;
        });
        pages << page;
    }
    return pages;
}

// What the preview showed when the print opened it.
struct Preview {
    bool shown = false;
    bool maximised = false;
    QString title;
    int pages = 0;
    QList<Page> pdf;      // the pages printed from it
    ReportLayout layout;  // the report's layout at the time
};

// Runs a print; when its preview comes up, prints from it to a PDF (the
// printer of the preview, as the user's print button does) and closes it.
Preview run_print(const QString& report, const QString& pdf, const std::function<void()>& start)
{
    Preview out;
    // Watches for the preview only while this print runs.
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dlg || dlg->objectName() != report || !dlg->isVisible()) return;
        watch.stop();
        out.shown = true;
        out.maximised = dlg->windowState() & Qt::WindowMaximized;
        out.title = dlg->windowTitle();
        out.layout = report_layout(report);
        auto* view = dlg->findChild<QPrintPreviewWidget*>();
        QTRY_VERIFY_WITH_TIMEOUT(view->pageCount() > 0, 20000);
        out.pages = view->pageCount();
        dlg->printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg->printer()->setOutputFileName(pdf);
        view->print();
        dlg->reject();
    });
    watch.start();
    start();
    watch.stop();
    if (out.shown) out.pdf = pdf_pages(pdf);
    return out;
}

QString flat(const QString& text)
{
    QString out = text;
    out.remove(QRegularExpression(QStringLiteral("\\s")));
    return out;
}

// Whether a line of the page holds the text (blanks aside: pdftotext sees
// no blank in narrow gaps, "1 / 3" reads "1/3").
bool has(const Page& page, const QString& text)
{
    const QString want = flat(text);
    QString line;
    for (qsizetype i = 0; i < page.size(); ++i) {
        line += page[i].text;
        if (i + 1 == page.size() || page[i + 1].line != page[i].line) {
            if (line.contains(want)) return true;
            line.clear();
        }
    }
    return false;
}

// Where the text stands: runs of whole words on one line reading it.
QList<Box> find(const Page& page, const QString& text)
{
    const QString want = flat(text);
    QList<Box> out;
    for (qsizetype i = 0; i < page.size(); ++i) {
        QString got;
        Box b = page[i].box;
        for (qsizetype j = i; j < page.size() && page[j].line == page[i].line && got.size() < want.size(); ++j) {
            got += page[j].text;
            b.x1 = page[j].box.x1;
            b.y1 = std::max(b.y1, page[j].box.y1);
            if (got == want) out << b;
        }
    }
    return out;
}

// The tops of the value where it stands in the column of the heading, below
// it, and the heading's row (0 or 1). The column is the heading's cell in the
// layout, placed on the page from the print date caption at the body's left
// edge (20 twips to the point); the heading must stand centred in it.
struct Place {
    double y;
    int row;
};
QList<Place> places(const Page& page, const ReportLayout& l, const QString& heading, const QString& value)
{
    QList<Place> out;
    const QList<Box> date = find(page, QStringLiteral("출력일자:"));
    if (date.isEmpty()) return out;
    for (const ReportHeading& h : l.headings) {
        if (h.caption != heading) continue;
        const double c0 = date[0].x0 + h.left / 20.0, c1 = c0 + h.width / 20.0;
        for (const Box& hb : find(page, heading)) {
            if (qAbs(hb.x0 + hb.x1 - c0 - c1) > 4) continue;
            for (const Box& vb : find(page, value))
                if (vb.x0 > c0 - 2 && vb.x1 < c1 + 2 && vb.y0 > hb.y1) out << Place{vb.y0, h.top > 990 ? 1 : 0};
        }
    }
    return out;
}

// A record whose values stand under their headings: the first value anywhere
// under its heading, each other one in the same record, on the same line
// when its heading is in the same heading row, on the other line when in the
// other row. The first value's top, or -1 when no record has them all.
double record(const Page& page, const ReportLayout& l, const QList<QPair<QString, QString>>& cells)
{
    for (const Place& a : places(page, l, cells[0].first, cells[0].second)) {
        bool all = true;
        for (qsizetype i = 1; all && i < cells.size(); ++i) {
            all = false;
            for (const Place& v : places(page, l, cells[i].first, cells[i].second)) {
                const double d = (v.y - a.y) * (v.row == a.row ? 1 : v.row - a.row);
                all = all || (v.row == a.row ? qAbs(d) < 1 : d > 5 && d < l.detail_height / 20.0);
            }
        }
        if (all) return a.y;
    }
    return -1;
}
}

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        shop = seeded_shop();
        QVERIFY(shop);
    }
    void cleanup()
    {
        screens::close_all();
        shop.reset();
        set_today(QDate());
    }

    void print_tables_of_a_new_folder();
    void member_report_pages();
    void next_print_replaces_rows();
    void item_report_captions();
    void history_report_totals();
    void summary_reports();
    void renderer_on_any_device();
    void refusals();
    void broken_print_database();

private:
    QString pdf(const char* name) const { return shop->dir() + u'/' + QLatin1String(name) + QStringLiteral(".pdf"); }
    std::unique_ptr<TestShop> shop;
};

void TestPrint::print_tables_of_a_new_folder()
{
    // The five tables and nothing else, every column text, in the order the
    // prints fill them: in the shop's folder and in one torvisk-makedb lays out.
    const QList<QPair<QString, QStringList>> tables{
        {"prt1", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "sdat", "edat", "kyu", "mee", "big"}},
        {"prt3", {"sta", "gbn", "cod", "f1", "f2", "f3", "f4", "f5", "f6", "dae", "yun", "big"}},
        {"prt4", {"mk", "cnt", "dat1", "dat2", "dat3", "m_cod", "m_nam", "p_cod", "p_nam", "dae", "yun", "u_dae",
                  "u_ban", "big"}},
        {"prt5", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "sdat", "edat", "haebi", "pre", "tot_yun",
                  "tot_kyu", "tot_mee", "big"}},
        {"prt6", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "pre", "tot_dae", "tot_yun", "dae_kyu",
                  "yun_kyu", "tot_mee", "big"}},
    };
    QTemporaryDir made;
    QCOMPARE(QProcess::execute(QStringLiteral(TORVISK_MAKEDB), {made.path()}), 0);
    for (const QString& dir : {shop->dir(), made.path()}) {
        Connection c;
        QVERIFY(c.open(dir + QStringLiteral("/PRT.mdb"), QString()));
        Cursor names(c, Query(QStringLiteral("select name from sqlite_master where type='table' order by name")));
        QStringList found;
        while (names.next()) found << names.text(0);
        QCOMPARE(found, (QStringList{"prt1", "prt3", "prt4", "prt5", "prt6"}));
        for (const auto& [table, columns] : tables) {
            Cursor cur(c, Query(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
            QStringList cols;
            while (cur.next()) {
                cols << cur.text(1);
                QCOMPARE(cur.text(2), QStringLiteral("TEXT"));
            }
            QCOMPARE(cols, columns);
        }
    }
}

void TestPrint::member_report_pages()
{
    // 33 members: three pages of the two-line member report.
    for (int i = 0; i < 30; ++i)
        shop->add_member(QStringLiteral("M%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("회원%1").arg(i));
    B1* w = show_window<B1>(1600, 1000);
    QCOMPARE(w->ms->rows(), 34);
    MsgResponder r;
    const Preview p = run_print(QStringLiteral("r_1"), pdf("r_1"), print_members);
    QVERIFY(r.texts.isEmpty());
    QVERIFY(p.shown);
    QVERIFY(p.maximised);
    QCOMPARE(p.title, QStringLiteral("전체회원리스트"));
    QCOMPARE(p.pages, 3);
    QCOMPARE(table_rows(shop->dir(), "prt1"), grid_rows(w->ms, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    QCOMPARE(w->PB->value(), 33);

    QCOMPARE(p.pdf.size(), 3);
    for (int i = 0; i < 3; ++i) {
        // The page header on every page, the footer's page counter.
        const Page& page = p.pdf[i];
        QVERIFY(has(page, QStringLiteral("전체회원리스트")));
        QVERIFY(has(page, QStringLiteral("출력일자: 2026-03-10")));
        QVERIFY(has(page, w->la_inf->text()));
        QVERIFY(!has(page, QStringLiteral("검색기간")));
        QVERIFY(has(page, QStringLiteral("회원구분")));
        QVERIFY(has(page, QStringLiteral("팩스번호")));
        QVERIFY(has(page, QStringLiteral("PrintViewer")));
        QVERIFY(has(page, QStringLiteral("%1 / 3").arg(i + 1)));
    }
    // A member's two lines under the two heading rows.
    QVERIFY(record(p.pdf[0], p.layout, {{"회원코드", "00034"}, {"회 원 명", "O'Neil 오닐"}, {"전화번호", "02-123-4567"},
                                        {"팩스번호", "010-9876-5432"}, {"주    소", "서울시 중구 1"},
                                        {"비    고", "단골'손님"}, {"가입일자", "2026-02-01"}}) > 0);
    QVERIFY(record(p.pdf[2], p.layout, {{"회원코드", "M029"}, {"회 원 명", "회원29"}}) > 0);
}

void TestPrint::next_print_replaces_rows()
{
    B1* w = show_window<B1>(1600, 1000);
    run_print(QStringLiteral("r_1"), pdf("a"), print_members);
    QCOMPARE(table_rows(shop->dir(), "prt1").size(), 3);
    // Filtered to two members: exactly those two rows.
    w->t_gbn->setCurrentIndex(1);   // regular members
    w->ms_list();
    QCOMPARE(w->ms->rows(), 3);
    const Preview p = run_print(QStringLiteral("r_1"), pdf("b"), print_members);
    QVERIFY(p.shown);
    const QList<QStringList> two = table_rows(shop->dir(), "prt1");
    QCOMPARE(two.size(), 2);
    QCOMPARE(two[0][2], QStringLiteral("00012"));
    QCOMPARE(two[1][2], QStringLiteral("00034"));
    QCOMPARE(p.pages, 1);
    QVERIFY(has(p.pdf.value(0), QStringLiteral("1 / 1")));
    // A print of another list leaves them.
    show_window<B4>(1600, 1000);
    run_print(QStringLiteral("r_3"), pdf("c"), print_items);
    QCOMPARE(table_rows(shop->dir(), "prt1"), two);
    QCOMPARE(table_rows(shop->dir(), "prt3").size(), 3);
}

void TestPrint::item_report_captions()
{
    // The item-field headings are the settings' captions at the time of printing.
    B4* w = show_window<B4>(1600, 1000);
    const QString f1 = f1_nam;
    f1_nam = QStringLiteral("제목");
    const Preview p = run_print(QStringLiteral("r_3"), pdf("r_3"), print_items);
    f1_nam = f1;
    QVERIFY(p.shown);
    QCOMPARE(p.title, QStringLiteral("전체품목리스트"));
    QCOMPARE(table_rows(shop->dir(), "prt3"), grid_rows(w->ms, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    const Page page = p.pdf.value(0);
    QVERIFY(has(page, QStringLiteral("상태 품목분류 바코드 제목 ") + f2_nam + u' ' + f3_nam
                          + QStringLiteral(" 대여료 연체료 비고")));
    QVERIFY(has(page, w->la_inf->text()));
    QVERIFY(record(page, p.layout, {{"바코드", "00000201"}, {"품목분류", "도서"}, {"제목", "이름"}, {f3_nam, "제조"},
                                    {"대여료", "12,000"}, {"연체료", "0"}}) > 0);
    QVERIFY(has(page, QStringLiteral("1 / 1")));
}

void TestPrint::history_report_totals()
{
    CA* w = show_window<CA>(1600, 1000);
    const Preview p = run_print(QStringLiteral("r_4"), pdf("r_4"), print_history);
    QVERIFY(p.shown);
    const QList<QStringList> rows = table_rows(shop->dir(), "prt4");
    QCOMPARE(rows, grid_rows(w->ms, {2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 18, 19, 21}));
    // Subtotal rows of the dates, and last the totals row.
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows[2][2], QStringLiteral("(2026-03-02)"));
    QCOMPARE(rows.last(), (QStringList{"", "", "(Data Total)", "", "", "", "", "", "", "14,000", "1,500", "", "", ""}));
    const Page page = p.pdf.value(0);
    QVERIFY(has(page, w->la_inf->text() + QStringLiteral(" 검색기간: 2026-03-01 ~ 2026-03-10")));
    QVERIFY(has(page, QStringLiteral("대여반납리스트")));
    QVERIFY(record(page, p.layout, {{"대여일자", "2026-03-05"}, {"반납예정", "2026-03-08"}, {"회원코드", "00034"},
                                    {"바 코 드", "00000102"}, {"회 원 명", "O'Neil 오닐"}, {f1_nam, "이름"},
                                    {"대여료", "2,000"}, {"연체료", "0"}}) > 0);
    QVERIFY(record(page, p.layout, {{"회원코드", "B0003"}, {"반납일자", "2026-03-08"}, {"비고", "it's late"},
                                    {"대여처리", "ADMIN"}, {"반납처리", "ADMIN"}}) > 0);
    // The totals row is the last record.
    const double total = record(page, p.layout, {{"대여일자", "(Data Total)"}, {"대여료", "14,000"}, {"연체료", "1,500"}});
    QVERIFY(total > record(page, p.layout, {{"대여일자", "(2026-03-05)"}}));
}

void TestPrint::summary_reports()
{
    // r_5 from E1 with the pickers at 2026-01-15 and 2026-03-09: those days
    // after the count line, the totals row last with "(Data Total)" in the code.
    E1* e1 = show_window<E1>(1600, 1000);
    e1->t_date1->setDate(QDate(2026, 1, 15));
    e1->t_date2->setDate(QDate(2026, 3, 9));
    e1->ms_list();
    Preview p = run_print(QStringLiteral("r_5"), pdf("r_5"), print_member_totals);
    QVERIFY(p.shown);
    QCOMPARE(p.title, QStringLiteral("정회원별거래집계"));
    QList<QStringList> rows = table_rows(shop->dir(), "prt5");
    QCOMPARE(rows, grid_rows(e1->ms, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.last()[2], QStringLiteral("(Data Total)"));
    QCOMPARE(rows.last()[0], QString());
    QCOMPARE(rows.last()[13], e1->ms->text(3, 14));
    Page page = p.pdf.value(0);
    QVERIFY(has(page, e1->la_inf->text() + QStringLiteral(" 검색기간: 2026-01-15 ~ 2026-03-09")));
    QVERIFY(has(page, QStringLiteral("가입일 회원코드 회 원 명 시작일 만료일 연회비 이전미수 연체총액 연체결제 미수총액 비고")));
    QVERIFY(record(page, p.layout, {{"회원코드", "00012"}, {"가입일", "2026-01-02"}, {"회 원 명", "김하나"},
                                    {"시작일", "2026-01-05"}, {"만료일", "2027-01-05"}, {"연회비", "30,000"}}) > 0);
    QVERIFY(record(page, p.layout, {{"회원코드", "(Data Total)"}, {"연회비", e1->ms->text(3, 10)},
                                    {"미수총액", e1->ms->text(3, 14)}}) > 0);
    QVERIFY(!has(page, QStringLiteral("02-123-4567")));   // contact columns not printed
    e1->close();

    E2* e2 = show_window<E2>(1600, 1000);
    p = run_print(QStringLiteral("r_6"), pdf("r_6"), print_nonmember_totals);
    QVERIFY(p.shown);
    rows = table_rows(shop->dir(), "prt6");
    QCOMPARE(rows, grid_rows(e2->ms, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    QCOMPARE(rows.last(), (QStringList{"", "", "(Data Total)", "", "", "", "", "0", "12,000", "1,500", "12,000", "0",
                                       "1,500", ""}));
    page = p.pdf.value(0);
    QVERIFY(has(page, QStringLiteral("비회원별거래집계")));
    QVERIFY(has(page, e2->la_inf->text() + QStringLiteral(" 검색기간: 2026-03-01 ~ 2026-03-10")));
    QVERIFY(has(page, QStringLiteral("이전미수 대여총액 연체총액 대여결제 연체결제 미수총액 비    고")));
    for (const char* cod : {"B0003", "(Data Total)"}) {
        QVERIFY(record(page, p.layout, {{"회원코드", cod}, {"이전미수", "0"}, {"대여총액", "12,000"},
                                        {"연체총액", "1,500"}, {"대여결제", "12,000"}, {"연체결제", "0"},
                                        {"미수총액", "1,500"}}) > 0);
    }
    QVERIFY(record(page, p.layout, {{"회원코드", "B0003"}, {"회 원 명", "박셋"}}) > 0);
    // Only the printed tables changed.
    QVERIFY(table_rows(shop->dir(), "prt1").isEmpty());
    e2->close();
}

void TestPrint::renderer_on_any_device()
{
    // The same renderer straight onto a PDF writer: the page count follows
    // the rows (27 one-line records to a page), and an empty table still
    // prints its page header.
    ReportData data;
    data.columns = print_tables()[1].columns;
    data.rows.resize(60, int(data.columns.size()));
    for (int r = 0; r < 60; ++r) data.rows.set_text(r, 2, QStringLiteral("BC%1").arg(r, 4, 10, QLatin1Char('0')));
    const ReportRenderer report(report_layout(QStringLiteral("r_3")), data, QStringLiteral("검색건수: 60건"),
                                QStringLiteral("2026-03-10"));
    QPdfWriter pdf_writer(pdf("direct"));
    ReportRenderer::set_page(&pdf_writer);
    QCOMPARE(report.records_per_page(&pdf_writer), 27);
    QCOMPARE(report.page_count(&pdf_writer), 3);
    QVERIFY(report.print(&pdf_writer));
    const QList<Page> pages = pdf_pages(pdf("direct"));
    QCOMPARE(pages.size(), 3);
    QVERIFY(has(pages[2], QStringLiteral("BC0059")));
    QVERIFY(!has(pages[1], QStringLiteral("BC0054")));
    QVERIFY(has(pages[2], QStringLiteral("3 / 3")));

    // A printer asked for pages 2 to 3 gets those, numbered of all pages.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf("range"));
    ReportRenderer::set_page(&printer);
    printer.setFromTo(2, 3);
    QVERIFY(report.print(&printer));
    const QList<Page> range = pdf_pages(pdf("range"));
    QCOMPARE(range.size(), 2);
    QVERIFY(has(range[0], QStringLiteral("2 / 3")));
    QVERIFY(has(range[0], QStringLiteral("BC0027")));
    QVERIFY(has(range[1], QStringLiteral("3 / 3")));

    ReportData none;
    none.columns = data.columns;
    const ReportRenderer empty(report_layout(QStringLiteral("r_3")), none, QString(), QStringLiteral("2026-03-10"));
    QPdfWriter w2(pdf("empty"));
    ReportRenderer::set_page(&w2);
    QVERIFY(empty.print(&w2));
    QCOMPARE(pdf_pages(pdf("empty")).size(), 1);
    QVERIFY(report_layout(QStringLiteral("r_2")).name.isEmpty());

    // Texts far longer than their boxes (a title, a fee column): each
    // prints its start from the box's left edge, no more of it laid out
    // than a text of a few thousand characters, whatever its length.
    auto print_long = [&](int chars, const char* name) {
        ReportData d;
        d.columns = data.columns;
        d.rows.resize(27, int(d.columns.size()));
        for (int r = 0; r < 27; ++r) {
            d.rows.set_text(r, int(d.columns.indexOf("f1")), QString(chars, QChar(0xAC00)));
            d.rows.set_text(r, int(d.columns.indexOf("dae")), QString(chars, QLatin1Char('9')));
        }
        const ReportRenderer rep(report_layout(QStringLiteral("r_3")), d, QString(), QStringLiteral("2026-03-10"));
        QPdfWriter w(pdf(name));
        ReportRenderer::set_page(&w);
        return rep.print(&w) ? pdf_pages(pdf(name)) : QList<Page>();
    };
    const QList<Page> some = print_long(3000, "some");
    const QList<Page> many = print_long(200000, "many");
    QCOMPARE(many.size(), 1);
    QStringList words, some_words;
    for (const Word& w : many[0]) words << w.text;
    for (const Word& w : some[0]) some_words << w.text;
    QCOMPARE(words, some_words);
    const auto title = std::find_if(many[0].begin(), many[0].end(), [](const Word& w) { return w.text.startsWith(QChar(0xAC00)); });
    QVERIFY(title != many[0].end());
    QVERIFY(title->text.size() < 1000);
}

void TestPrint::refusals()
{
    MsgResponder r;
    // A search that found nothing: the message, PRT.mdb untouched.
    B1* w = show_window<B1>(1600, 1000);
    run_print(QStringLiteral("r_1"), pdf("a"), print_members);
    const QList<QStringList> before = table_rows(shop->dir(), "prt1");
    w->t_ser->setText(QStringLiteral("없는회원"));
    w->ms_list();
    const Preview p = run_print(QStringLiteral("r_1"), pdf("b"), print_members);
    QVERIFY(!p.shown);
    QCOMPARE(r.texts, QStringList{kNothing});
    QCOMPARE(table_rows(shop->dir(), "prt1"), before);

    // Without the right "prt" the popup refuses; B2's print item does nothing.
    shop->add_user(QStringLiteral("NOPRT"), QStringLiteral("pw"), QStringLiteral("10111"));
    r.clear();
    A_main main;
    main.show();
    QVERIFY(log_in(main, QStringLiteral("NOPRT"), QStringLiteral("pw")));
    main.menu_action(QStringLiteral("전체회원정보관리"))->trigger();
    main.findChild<QAction*>(QStringLiteral("POP1_2"))->trigger();
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!")});
    main.menu_action(QStringLiteral("품목분류정보관리"))->trigger();
    main.findChild<QAction*>(QStringLiteral("POP2_2"))->trigger();
    QTest::qWait(20);
    QCOMPARE(r.texts.size(), 1);

    // With it, the popup prints the open window.
    main.menu_action(QStringLiteral("처음화면으로이동"))->trigger();
    QVERIFY(log_in(main, QStringLiteral("ADMIN"), QStringLiteral("1234")));
    main.menu_action(QStringLiteral("대여반납내역관리1"))->trigger();
    const Preview q = run_print(QStringLiteral("r_4"), pdf("c"), [&] {
        main.findChild<QAction*>(QStringLiteral("POP4_2"))->trigger();
    });
    QVERIFY(q.shown);
    QCOMPARE(table_rows(shop->dir(), "prt4").size(), 6);
}

void TestPrint::broken_print_database()
{
    MsgResponder r;
    B1* w = show_window<B1>(1600, 1000);
    const QString prt = shop->dir() + QStringLiteral("/PRT.mdb");

    // Tables missing: made on the first print.
    {
        Connection c;
        QVERIFY(c.open(prt, QString()));
        QVERIFY(c.execute_script(QStringLiteral("drop table prt1; drop table prt4;")));
    }
    Preview p = run_print(QStringLiteral("r_1"), pdf("a"), print_members);
    QVERIFY(p.shown);
    QCOMPARE(table_rows(shop->dir(), "prt1").size(), 3);
    QVERIFY(r.texts.isEmpty());

    // A print table of other columns: the print fails, its rows stay.
    {
        Connection c;
        QVERIFY(c.open(prt, QString()));
        QVERIFY(c.execute_script(QStringLiteral("drop table prt1; create table prt1 (gbn TEXT, dat TEXT);"
                                                "insert into prt1 values ('old', 'row');")));
    }
    TestShop::expect_sql_error();
    p = run_print(QStringLiteral("r_1"), pdf("b"), print_members);
    QVERIFY(!p.shown);
    QCOMPARE(r.texts, QStringList{kNoDb});
    QCOMPARE(table_rows(shop->dir(), "prt1"), (QList<QStringList>{{"old", "row"}}));

    // Not a database, or no file at all: the message, no report.
    for (int kind = 0; kind < 2; ++kind) {
        r.clear();
        QFile::remove(prt);
        if (kind == 0) {
            QFile f(prt);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        w->PB->setValue(1);
        p = run_print(QStringLiteral("r_1"), pdf("c"), print_members);
        QVERIFY(!p.shown);
        QCOMPARE(r.texts, QStringList{kNoDb});
        QCOMPARE(w->PB->value(), 1);   // the bar stays where it stood
        QCOMPARE(r.icons.first(), QMessageBox::Information);
    }
    // The print never makes PRT.mdb itself.
    QVERIFY(!QFile::exists(prt));
    QCOMPARE(w->ms->rows(), 4);
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
