// The workbook reader on an item workbook of 200,000 rows and 12 columns:
// opening it (the whole first sheet read into the compact sheet) and then
// every cell taken as text, as the item load reads it. Written here with
// shared strings (as spreadsheet programs save) and with inline strings.
// And an .xls of the most rows the format holds, with two date columns.
#include "bench.h"
#include "intake/workbook.h"
#include "support/biff_writer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <malloc.h>
#include <xlsxwriter.h>

namespace {

constexpr int kRows = 200000;
constexpr int kCols = 12;

bool write_items(const QString& path, bool inline_strings)
{
    lxw_workbook_options opt = {};
    opt.constant_memory = inline_strings;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &opt);
    if (!wb)
        return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, "품목");
    static const char* heads[kCols] = {"품목분류", "바코드", "제목", "저자", "출판사", "장르", "등급", "위치",
                                       "대여료", "연체료", "비고", "기타"};
    for (int c = 0; c < kCols; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), heads[c], nullptr);
    static const char* cats[] = {"소설", "만화", "잡지", "아동", "DVD", "역사", "과학", "여행"};
    for (int r = 1; r <= kRows; ++r) {
        const lxw_row_t row = lxw_row_t(r);
        worksheet_write_string(ws, row, 0, cats[r % 8], nullptr);
        worksheet_write_number(ws, row, 1, 8800000000000.0 + r, nullptr);   // 13-digit code
        worksheet_write_string(ws, row, 2, QStringLiteral("바람의 노래 %1권").arg(r).toUtf8().constData(), nullptr);
        worksheet_write_string(ws, row, 3, QStringLiteral("작가%1").arg(r % 5000).toUtf8().constData(), nullptr);
        worksheet_write_string(ws, row, 4, QStringLiteral("출판%1").arg(r % 300).toUtf8().constData(), nullptr);
        worksheet_write_string(ws, row, 5, cats[(r / 3) % 8], nullptr);
        worksheet_write_string(ws, row, 6, r % 2 ? "전체" : "15세", nullptr);
        worksheet_write_string(ws, row, 7, QStringLiteral("A-%1").arg(r % 97).toUtf8().constData(), nullptr);
        worksheet_write_number(ws, row, 8, 1000 + (r % 5) * 500, nullptr);
        worksheet_write_number(ws, row, 9, 500, nullptr);
        if (r % 10 == 0)
            worksheet_write_string(ws, row, 10, "파손 주의", nullptr);
        worksheet_write_string(ws, row, 11, QStringLiteral("%1").arg(r, 6, 10, QLatin1Char('0')).toUtf8().constData(),
                               nullptr);
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

// 65,535 rows of 8 columns, the heading row first, as a spreadsheet
// program saves them: texts in the shared strings, dates as numbers under
// a built-in and a custom date format (one as RK, one as NUMBER), whole
// numbers as RK.
constexpr int kXlsCols = 8;
bool write_xls_items(const QString& path)
{
    QStringList strings = {"분류", "바코드", "제목", "대여일", "반납일", "대여료", "등급", "비고",
                           "소설", "만화", "잡지", "아동", "DVD", "역사", "과학", "여행", "전체", "15세"};
    const int first_title = int(strings.size());
    QByteArray cells;
    for (int c = 0; c < kXlsCols; ++c)
        cells += biff::label_sst(0, c, quint32(c));
    for (int r = 1; r < 65535; ++r) {
        strings << QStringLiteral("바람의 노래 %1권").arg(r);
        cells += biff::label_sst(r, 0, quint32(8 + r % 8));
        cells += biff::number(r, 1, 8800000000000.0 + r);
        cells += biff::label_sst(r, 2, quint32(first_title + r - 1));
        cells += biff::rk(r, 3, 40000 + r % 5000, 1);
        cells += biff::number(r, 4, 40003 + r % 5000 + 0.5, 2);
        cells += biff::rk(r, 5, 1000 + (r % 5) * 500);
        cells += biff::label_sst(r, 6, quint32(r % 2 ? 16 : 17));
        cells += biff::number(r, 7, r * 0.25);
    }
    const QByteArray globals = biff::format(8, 164, QStringLiteral("yyyy\\-mm\\-dd")) + biff::xf(8, 0)
        + biff::xf(8, 14) + biff::xf(8, 164) + biff::sst(strings);
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(biff::compound({{QStringLiteral("Workbook"), biff::workbook(8, globals, {{"품목", 0, cells}})}}))
        > 0;
}

void read_case(BenchContext& ctx, const char* name, bool inline_strings, bool xls = false)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(xls ? "items.xls" : "items.xlsx"));
    const int cols = xls ? kXlsCols : kCols;
    const double w0 = now_ms();
    if (!(xls ? write_xls_items(path) : write_items(path, inline_strings))) {
        std::printf("%s: the workbook could not be written\n", name);
        return;
    }
    const double write_ms = now_ms() - w0;
    malloc_trim(0);   // the writer's memory is not the reader's
    reset_peak();

    double open_ms = 0, read_ms = 0, best_total = 1e300;
    qint64 bytes = 0;
    int rows = 0;
    const double best = best_of(ctx.runs, [&] {
        const double t0 = now_ms();
        QString err;
        auto w = WorkbookReader::open(path, &err);
        const double t1 = now_ms();
        if (!w) {
            std::printf("%s: %s\n", name, qPrintable(err));
            return;
        }
        bytes = 0;
        rows = w->last_row();
        for (int r = 2; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c)
                bytes += w->cell(r, c).size();
        if (now_ms() - t0 < best_total) {   // the split of the best run
            best_total = now_ms() - t0;
            open_ms = t1 - t0;
            read_ms = best_total - open_ms;
        }
    });
    Line l;
    l.name = QString::fromLatin1(name);
    l.rows = rows - 1;
    l.prog = best;
    l.ms_goal = xls ? 1000 : 5000;
    l.mb_goal = 600;
    l.note = QStringLiteral("open %1 ms + every cell as text %2 ms; file %3 MB written in %4 ms; %5 chars")
                 .arg(open_ms, 0, 'f', 0)
                 .arg(read_ms, 0, 'f', 0)
                 .arg(double(QFileInfo(path).size()) / 1048576.0, 0, 'f', 1)
                 .arg(write_ms, 0, 'f', 0)
                 .arg(bytes);
    print_line(l);
}

CaseRegistrar shared_strings(900, "workbook.items_xlsx", [](BenchContext& ctx) {
    read_case(ctx, "workbook.items_xlsx", false);
});

CaseRegistrar inline_strings(910, "workbook.items_inline", [](BenchContext& ctx) {
    read_case(ctx, "workbook.items_inline", true);
});

CaseRegistrar xls_dates(920, "workbook.items_xls", [](BenchContext& ctx) {
    read_case(ctx, "workbook.items_xls", false, true);
});

} // namespace
