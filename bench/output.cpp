// The list output's cases: the rental history of a year exported to a
// workbook on disk and copied into the print table, and the print preview
// of a 10,000-row list up to its first page shown.
#include "bench.h"
#include "counter/CA.h"
#include "data/clock.h"
#include "output/grid_sheet.h"
#include "output/list_source.h"
#include "output/print.h"
#include "output/print_db.h"
#include "output/report.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {
// The history window over the last year, listed.
CA* year_list()
{
    auto* w = new CA;
    w->resize(1600, 900);
    w->show();
    settle();
    w->t_date1->setDate(today().addDays(-364));
    w->t_date2->setDate(today());
    w->ms_list();
    settle();
    return w;
}
}

CaseRegistrar output_export(600, "output.export_CA_year", [](BenchContext& ctx) {
    (void)ctx;
    reset_peak();
    CA* w = year_list();
    const ListSource src = ListSource::of(w);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/list.xlsx");
    // One run: the workbook is hundreds of MB of sheet XML.
    const double t0 = now_ms();
    src.start_progress(w->ms->rows() - 1);
    const bool ok = write_grid_sheet(path, *w->ms, sheet_title(w), sheet_info(w, QStringLiteral("CA")), [&src] { src.step_progress(); });
    const double t = now_ms() - t0;
    Line l;
    l.name = QStringLiteral("output.export_CA_year");
    l.rows = w->ms->rows() - 1;
    l.prog = t;
    l.ms_goal = 10000;
    l.mb_goal = 500;
    l.note = ok ? QStringLiteral("%1 x %2 cells to a %3 MB workbook, grid %4 MB")
                      .arg(w->ms->rows())
                      .arg(w->ms->cols() - 1)
                      .arg(double(QFileInfo(path).size()) / 1048576.0, 0, 'f', 1)
                      .arg(double(w->ms->memory_bytes()) / 1048576.0, 0, 'f', 1)
                : QStringLiteral("export FAILED");
    print_line(l);
    delete w;
});

CaseRegistrar output_print(610, "output.print_CA_year_prt4", [](BenchContext& ctx) {
    CA* w = year_list();
    const PrintList* list = print_list(QStringLiteral("CA"));
    bool ok = true;
    const double t = best_of(std::min(ctx.runs, 3), [&] {
        Connection prt;
        ok = ok && open_print_db(prt) && copy_to_print_table(prt, *list, *w->ms);
    });
    Line l;
    l.name = QStringLiteral("output.print_CA_year_prt4");
    l.rows = w->ms->rows() - 1;
    l.prog = t;
    l.ms_goal = 5000;
    l.note = ok ? QStringLiteral("open PRT.mdb, empty prt4, %1 inserts, commit").arg(w->ms->rows() - 1)
                : QStringLiteral("copy FAILED");
    print_line(l);
    delete w;
});

namespace {
// The year's list cut to `rows` rows, printed: the rows copied, read back
// and the preview shown with its first page painted. The preview paints
// every page before it shows one, so the time grows with the rows.
void preview_case(BenchContext& ctx, const QString& name, int rows, double goal)
{
    CA* w = year_list();
    w->ms->set_rows(std::min(rows + 1, w->ms->rows()));
    const PrintList* list = print_list(QStringLiteral("CA"));
    int pages = 0;
    double copy_ms = 0, first_page = 1e300;
    for (int run = 0; run < (goal > 0 ? std::min(ctx.runs, 3) : 1); ++run) {
        const double t0 = now_ms();
        Connection prt;
        ReportData data;
        const ReportLayout layout = report_layout(QLatin1String(list->report));
        if (!open_print_db(prt) || !copy_to_print_table(prt, *list, *w->ms) || !load_report_data(prt, layout.table, &data))
            break;
        prt.close();
        copy_ms = now_ms() - t0;
        const ReportRenderer report(layout, data, w->la_inf->text(), date_text(today()));
        double shown = 0;
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible()) return;
            auto* view = dlg->findChild<QPrintPreviewWidget*>();
            if (!view || view->pageCount() == 0) return;
            watch.stop();
            dlg->grab();   // the first page painted
            shown = now_ms() - t0;
            pages = view->pageCount();
            dlg->reject();
        });
        watch.start();
        show_report_preview(w, report);
        first_page = std::min(first_page, shown);
    }
    Line l;
    l.name = name;
    l.rows = w->ms->rows() - 1;
    l.prog = first_page;
    l.ms_goal = goal;
    l.note = QStringLiteral("copy and read back %1 ms; the preview paints all %2 pages before the first shows")
                 .arg(copy_ms, 0, 'f', 0)
                 .arg(pages);
    print_line(l);
    delete w;
}
}

CaseRegistrar output_preview(620, "output.preview_10k", [](BenchContext& ctx) {
    preview_case(ctx, QStringLiteral("output.preview_10k"), 10000, 2000);
});
// What a much longer print costs (no goal): time and memory.
CaseRegistrar output_preview_big(630, "output.preview_100k", [](BenchContext& ctx) {
    preview_case(ctx, QStringLiteral("output.preview_100k"), 100000, 0);
});
