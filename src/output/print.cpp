#include "output/print.h"
#include "data/clock.h"
#include "data/db.h"
#include "output/list_source.h"
#include "output/print_db.h"
#include "output/report.h"
#include "shell/screens.h"
#include "ui/msgbox.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QGuiApplication>
#include <QScreen>

void print_members() { print_list_window(QStringLiteral("B1")); }
void print_items() { print_list_window(QStringLiteral("B4")); }
void print_history() { print_list_window(QStringLiteral("CA")); }
void print_member_totals() { print_list_window(QStringLiteral("E1")); }
void print_nonmember_totals() { print_list_window(QStringLiteral("E2")); }

void print_list_window(const QString& window)
{
    const PrintList* list = print_list(window);
    const ListSource src = ListSource::of(screens::find(window));
    if (!list || !src.ms) return;
    if (!src.has_rows()) {
        msg_info(src.form, QStringLiteral("출력할 내용이 없습니다!"));
        return;
    }
    // The print's own connection to PRT.mdb, for this print only.
    Connection prt;
    ReportData data;
    const ReportLayout layout = report_layout(QLatin1String(list->report));
    bool ok = open_print_db(prt);
    if (ok) src.start_progress(src.ms->rows() - 1);
    ok = ok && copy_to_print_table(prt, *list, *src.ms, [&src] { src.step_progress(); })
         && load_report_data(prt, layout.table, &data);
    prt.close();
    if (!ok) {
        msg_info(src.form, QStringLiteral("인쇄데이터베이스를 초기화하지 못하였습니다!"));
        return;
    }
    // The lists of a period carry it after their count line.
    QString info = src.info();
    if (src.t_date1 && src.t_date2)
        info = QStringLiteral("%1 검색기간: %2 ~ %3").arg(src.info(), src.date1(), src.date2());
    const ReportRenderer report(layout, data, info, date_text(today()));
    show_report_preview(src.form, report);
}

void show_report_preview(QWidget* parent, const ReportRenderer& report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.layout().title);
    ReportRenderer::set_page(&printer);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setObjectName(report.layout().name);
    dlg.setWindowTitle(report.layout().title);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [&report](QPrinter* p) { report.print(p); });
    if (auto* view = dlg.findChild<QPrintPreviewWidget*>()) view->fitInView();
    // Maximised; the whole screen also where no window manager maximises.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        dlg.setGeometry(screen->availableGeometry());
    dlg.setWindowState(Qt::WindowMaximized);
    dlg.exec();
}
