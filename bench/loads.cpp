// The workbook loads (A6, A7) on the big shop: a workbook of 50,000 members
// and one of 200,000 items, written here, each read into the screen's grid,
// checked, sorted and registered in one transaction. And small workbooks
// whose few texts fill thousands of cells: refused, and what that costs.
#include "bench.h"
#include "data/db.h"
#include "intake/A6.h"
#include "intake/A7.h"
#include "intake/loads.h"
#include "support/biff_writer.h"
#include "support/xlsx_parts.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <xlsxwriter.h>
#include <functional>

namespace {

// Counts the paints of the progress bar while the screen works without
// yielding: each one is the bar seen moving.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Writes rows 2 .. n+1 under a heading row; row(i, cells) fills one row.
bool write_sheet(const QString& path, int n, const std::function<void(int i, lxw_worksheet*, lxw_row_t, lxw_format*)>& row)
{
    lxw_workbook_options opt = {};
    opt.constant_memory = LXW_TRUE;
    const QByteArray p = path.toUtf8();
    lxw_workbook* wb = workbook_new_opt(p.constData(), &opt);
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    for (int c = 0; c < 11; ++c) worksheet_write_string(ws, 0, lxw_col_t(c), "제목", nullptr);
    for (int i = 0; i < n; ++i) row(i, ws, lxw_row_t(i + 1), date);
    return workbook_close(wb) == LXW_NO_ERROR;
}

void text(lxw_worksheet* ws, lxw_row_t r, int c, const QString& t)
{
    worksheet_write_string(ws, r, lxw_col_t(c), t.toUtf8().constData(), nullptr);
}

qint64 count(const char* sql) { return con().scalar(Query(sql)).toLongLong(); }

void load_case(const QString& name, bool written, const QString& path, int rows, LoadWindow* w,
               const QString& table, const char* count_sql)
{
    if (!written) {
        Line l;
        l.name = name;
        l.note = QStringLiteral("workbook not written");
        print_line(l);
        delete w;
        return;
    }
    w->resize(1600, 900);
    w->show();
    settle();
    PaintCounter pc;
    w->PB->installEventFilter(&pc);
    const qint64 before = count(count_sql);
    reset_peak();

    const double t0 = now_ms();
    const bool read = w->load_file(path);
    const double t_read = now_ms() - t0;
    const int load_paints = pc.paints;
    int marked = 0;
    for (int r = 1; r < w->ms->rows(); ++r) marked += w->ms->text(r, 1).isEmpty() ? 0 : 1;
    const double t1 = now_ms();
    const bool saved = read && marked == 0 && w->save_rows();
    const double t_save = now_ms() - t1;
    const qint64 after = count(count_sql);

    Line l;
    l.name = name;
    l.rows = w->ms->rows() - 1;
    l.prog = t_read + t_save;
    l.ms_goal = 30000;
    l.mb_goal = 600;
    l.note = QStringLiteral("read+check+sort %1 ms, register %2 ms%3; %4 +%5; bar painted %6x loading, %7x registering")
                 .arg(t_read, 0, 'f', 0)
                 .arg(t_save, 0, 'f', 0)
                 .arg(saved ? QString() : QStringLiteral(" FAILED (marked %1)").arg(marked))
                 .arg(table)
                 .arg(after - before)
                 .arg(load_paints)
                 .arg(pc.paints - load_paints);
    if (!saved || l.rows != rows) l.prog = -1;
    print_line(l);
    w->PB->removeEventFilter(&pc);
    delete w;
}

CaseRegistrar member_load(900, "A6.load_50k_members", [](BenchContext& ctx) {
    (void)ctx;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("members.xlsx"));
    const int n = 50000;
    // Mostly new codes, one in ten already a member (skipped).
    const bool ok = write_sheet(path, n, [&](int i, lxw_worksheet* ws, lxw_row_t r, lxw_format* date) {
        const bool old = i % 10 == 0;
        const QString code = old ? QStringLiteral("M%1").arg(i / 10 + 1, 5, 10, QLatin1Char('0'))
                                 : QStringLiteral("N%1").arg(i, 5, 10, QLatin1Char('0'));
        text(ws, r, 0, i % 4 ? QStringLiteral("A") : QStringLiteral("B"));
        const QDate d = QDate(2018, 1, 1).addDays(i % 2900);
        lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
        worksheet_write_datetime(ws, r, 1, &dt, date);
        if (i % 3) text(ws, r, 2, d.toString(QStringLiteral("yyyy.MM.dd")));
        if (i % 3) text(ws, r, 3, d.addDays(364).toString(QStringLiteral("yyyy/M/d")));
        text(ws, r, 4, i % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
        text(ws, r, 5, code);
        text(ws, r, 6, QStringLiteral("회원%1").arg(i));
        text(ws, r, 7, QStringLiteral("02-%1-%2").arg(100 + i % 900).arg(1000 + i % 9000));
        text(ws, r, 8, QStringLiteral("010-%1-%2").arg(1000 + i % 9000).arg(2000 + i % 7000));
        text(ws, r, 9, QStringLiteral("서울특별시 중구 세종대로 %1길 %2").arg(i % 120).arg(i % 77));
        if (i % 5 == 0) text(ws, r, 10, QStringLiteral("단체가입"));
    });
    load_case(QStringLiteral("A6.load_50k_members"), ok, path, n, new A6, QStringLiteral("TB1"), "select count(*) from TB1");
});

CaseRegistrar item_load(910, "A7.load_200k_items", [](BenchContext& ctx) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("items.xlsx"));
    const int n = 200000;
    // The shop's items first (updated), then new barcodes; a few new categories.
    const int old_items = int(std::min<qint64>(ctx.shop.items, n / 2));
    const QStringList cats = {QStringLiteral("DVD"), QStringLiteral("도서"), QStringLiteral("게임"),
                              QStringLiteral("보드게임"), QStringLiteral("음반"), QStringLiteral("신규분류")};
    const bool ok = write_sheet(path, n, [&](int i, lxw_worksheet* ws, lxw_row_t r, lxw_format*) {
        const QString code = i < old_items ? QStringLiteral("P%1").arg(i + 1, 7, 10, QLatin1Char('0'))
                                           : QStringLiteral("Q%1").arg(i, 7, 10, QLatin1Char('0'));
        text(ws, r, 0, cats[i % cats.size()]);
        text(ws, r, 1, code);
        text(ws, r, 2, QStringLiteral("바람과 함께 %1").arg(i));
        text(ws, r, 3, QStringLiteral("%1분").arg(90 + i % 60));
        text(ws, r, 4, QStringLiteral("제작사%1").arg(i % 300));
        if (i % 7 == 0) text(ws, r, 5, QStringLiteral("초판"));
        worksheet_write_number(ws, r, 8, 1000 + 500 * (i % 5), nullptr);
        worksheet_write_number(ws, r, 9, 300 + 100 * (i % 3), nullptr);
        if (i % 11 == 0) text(ws, r, 10, QStringLiteral("신간"));
    });
    load_case(QStringLiteral("A7.load_200k_items"), ok, path, n, new A7, QStringLiteral("TB4"), "select count(*) from TB4");
});

// One text (or a few) standing in every cell of a small workbook: A6 weighs
// the cells before spelling them out. Each line: the load's time, the
// memory it took over what the program held before, the file's size, and
// whether it was refused ("엑셀파일을 열 수 없습니다!") or loaded.
struct SharedShape {
    const char* name;
    bool xls;
    QChar fill;       // the character the texts are made of
    int chars;        // of each text
    int texts;        // distinct texts (.xls), taken in turn
    int rows, cols;
    bool refused;     // what the load must do
};

// `n` texts of `chars` characters: `fill` then a six-digit number, so no
// two are alike.
QStringList numbered_texts(int n, int chars, QChar fill)
{
    QStringList texts;
    for (int i = 0; i < n; ++i) texts << QString(chars - 6, fill) + QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
    return texts;
}

void shared_text_case(const SharedShape& s)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(s.xls ? "shared.xls" : "shared.xlsx"));
    bool written = false;
    {
        const QStringList texts = numbered_texts(s.texts, s.chars, s.fill);
        if (s.xls) {
            QFile f(path);
            written = f.open(QIODevice::WriteOnly) && f.write(biff::texts_everywhere(texts, s.rows, s.cols)) > 0;
        } else {
            written = xlsx_parts::write_one_text_everywhere(path, texts.value(0), s.rows, s.cols);
        }
    }
    Line l;
    l.name = QString::fromLatin1(s.name);
    if (!written) {
        l.note = QStringLiteral("workbook not written");
        print_line(l);
        return;
    }
    auto* w = new A6;
    w->resize(1600, 900);
    w->show();
    settle();
    QStringList said;
    QTimer answer;   // the refusal's message box, answered as it comes up
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said << box->text();
            box->accept();
        }
    });
    answer.start();
    reset_peak();
    const double base = peak_mb();
    const double t0 = now_ms();
    const bool loaded = w->load_file(path);
    l.prog = now_ms() - t0;
    const double grown = peak_mb() - base;
    settle();   // the loaded grid painted
    answer.stop();
    l.rows = w->ms->rows() - 1;
    l.ms_goal = 10000;
    const double paint = loaded ? best_of(3, [&] { w->grab(); }) : 0;
    const bool as_meant = s.refused ? !loaded && said == QStringList{QStringLiteral("엑셀파일을 열 수 없습니다!")}
                                    : loaded && said.isEmpty();
    l.note = QStringLiteral("%1: %2 x %3 cells of %4-character texts, %5 KB file; +%6 MB over the %7 MB held (goal < 1024)%8")
                 .arg(loaded ? QStringLiteral("loaded, screen painted in %1 ms").arg(paint, 0, 'f', 1)
                             : QStringLiteral("refused"))
                 .arg(s.rows)
                 .arg(s.cols)
                 .arg(s.chars)
                 .arg(QFileInfo(path).size() / 1024)
                 .arg(grown, 0, 'f', 0)
                 .arg(base, 0, 'f', 0)
                 .arg(as_meant ? QString() : QStringLiteral(" NOT AS MEANT"));
    if (!as_meant || grown >= 1024) l.prog = -1;
    print_line(l);
    delete w;
}

CaseRegistrar shared_texts(920, "A6.shared_texts", [](BenchContext&) {
    // Under the budget: the most characters a load takes, in texts of three
    // bytes a character, no two alike (nothing shared in the sheet either).
    const int under = int(k_load_max_chars / (32767 * 11));
    const SharedShape shapes[] = {
        {"A6.text_1M_chars_xlsx", false, QLatin1Char('x'), 1000000, 1, 4000, 3, true},
        {"A6.texts_32767_xls", true, QLatin1Char('x'), 32767, 4, 4000, 3, true},
        {"A6.text_32767_11cols_xlsx", false, QLatin1Char('x'), 32767, 1, 60000, 11, true},
        {"A6.texts_32767_11cols_xls", true, QChar(0xAC00), 32767, 8, 65535, 11, true},
        {"A6.under_budget_xls", true, QChar(0xAC00), 32767, under * 11, under, 11, false},
        // One data row of eleven texts as long as the reader takes them.
        {"A6.eleven_4M_texts_xlsx", false, QChar(0xAC00), 4000000, 1, 2, 11, false},
    };
    for (const SharedShape& s : shapes) shared_text_case(s);
});

// The A6 screen, as a clerk sees it at 1600x900, loaded with 60 rows whose
// eleven cells hold Hangul texts of `chars` characters: the best time of
// one whole paint of the screen, after `fits` auto-fits of the names'
// column (what a double click on its header's divider does), the width the
// last one gave in *fitted and the slowest one's time in *fit_ms. -1 when
// the load failed.
double loaded_screen_paint(int chars, int runs, int fits = 0, int* fitted = nullptr, double* fit_ms = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("paint.xls"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(biff::texts_everywhere(numbered_texts(8, chars, QChar(0xAC00)), 61, 11)) <= 0)
        return -1;
    f.close();
    A6 w;
    w.resize(1600, 900);
    w.show();
    settle();
    if (!w.load_file(path)) return -1;
    settle();
    constexpr int names = 8;
    double slowest = 0;
    for (int i = 0; i < fits; ++i) {
        const double t0 = now_ms();
        w.ms->resizeColumnToContents(names);
        settle();
        slowest = std::max(slowest, now_ms() - t0);
    }
    if (fitted) *fitted = w.ms->columnWidth(names);
    if (fit_ms) *fit_ms = slowest;
    return best_of(runs, [&] { w.grab(); });
}

CaseRegistrar long_text_paint(930, "A6.paint_long_texts", [](BenchContext& ctx) {
    Line l;
    l.name = QStringLiteral("A6.paint_long_texts");
    l.rows = 60;
    l.bare = loaded_screen_paint(12, ctx.runs);
    l.prog = loaded_screen_paint(32767, ctx.runs);
    l.ratio_goal = 3;
    l.ms_goal = 100;
    l.note = QStringLiteral("a paint of the screen full of 32,767-character texts against the same full of 12-character texts (\"bare\")");
    print_line(l);
});

// The same after the clerk has fitted the names' column three times: a
// column of long texts fits to the visible area and stays there, and the
// screen paints as fast as before.
CaseRegistrar fitted_long_text_paint(931, "A6.paint_long_texts_fitted", [](BenchContext& ctx) {
    Line l;
    l.name = QStringLiteral("A6.paint_long_texts_fitted");
    l.rows = 60;
    int short_w = 0, long_w = 0;
    double short_fit = 0, long_fit = 0;
    l.bare = loaded_screen_paint(12, ctx.runs, 3, &short_w, &short_fit);
    l.prog = loaded_screen_paint(32767, ctx.runs, 3, &long_w, &long_fit);
    l.ratio_goal = 3;
    l.ms_goal = 100;
    l.note = QStringLiteral("after three auto-fits of the names' column: a paint of the screen full of 32,767-character "
                            "texts (column %1 px, slowest fit %2 ms) against the same full of 12-character texts "
                            "(\"bare\"; column %3 px, slowest fit %4 ms)")
                 .arg(long_w)
                 .arg(long_fit, 0, 'f', 1)
                 .arg(short_w)
                 .arg(short_fit, 0, 'f', 1);
    print_line(l);
});

} // namespace
