#include "bench.h"

#include <malloc.h>
#include "data/state.h"
#include "ui/FlexGrid.h"
#include "ui/ListWindow.h"

#include <sqlcipher/sqlite3.h>
#include <QApplication>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>

double now_ms()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double peak_mb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

bool reset_peak()
{
    // Memory that earlier cases freed goes back to the system first, so a
    // case's peak counts what it holds itself.
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double best_of(int runs, const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        const double t0 = now_ms();
        f();
        best = std::min(best, now_ms() - t0);
    }
    return best;
}

double bare_query(Connection& c, const Query& q, qint64* rows)
{
    const double t0 = now_ms();
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = q.sql.toUtf8();
    qint64 n = 0;
    size_t bytes = 0;
    if (sqlite3_prepare_v2(c.handle(), sql.constData(), int(sql.size()), &st, nullptr) == SQLITE_OK
        && bind_values(st, q.args)) {
        const int cols = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < cols; ++i) {
                const unsigned char* p = sqlite3_column_text(st, i);
                bytes += size_t(sqlite3_column_bytes(st, i)) + (p ? 1 : 0);
            }
            ++n;
        }
    } else {
        std::fprintf(stderr, "bare query failed: %s\n", sqlite3_errmsg(c.handle()));
    }
    sqlite3_finalize(st);
    const double t = now_ms() - t0;
    if (rows) *rows = n;
    static volatile size_t sink = 0;
    sink = sink + bytes;
    return t;
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
}

FlexGrid* make_grid(int cols)
{
    auto* g = new FlexGrid;
    g->resize(1600, 900);
    g->set_cols(cols);
    for (int c = 0; c < cols; ++c) {
        g->set_text(0, c, QStringLiteral("열%1").arg(c));
        g->set_col_width(c, 1200);
    }
    g->show();
    settle();
    return g;
}

qint64 grid_load(FlexGrid& g, Connection& c, const Query& q)
{
    g.set_redraw(false);
    g.set_rows(1);
    Cursor cur(c, q);
    const int cols = std::min(cur.columns(), g.cols());
    while (cur.next()) {
        const int r = g.add_row();
        for (int i = 0; i < cols; ++i) {
            int n = 0;
            const char* p = cur.utf8(i, &n);
            g.set_utf8(r, i, p, n);
        }
    }
    g.set_redraw(true);
    return g.rows() - 1;
}

// Bare and program runs alternate, so both see the same cache; the best of
// each is kept. The program's time ends when its load returns (redraw back
// on); the first paint that follows is noted apart.
struct Timing {
    double bare = 1e300, prog = 1e300, paint = 0;
};

Timing alternate(BenchContext& ctx, Connection& c, const Query& q, qint64* rows, const std::function<void()>& load)
{
    Timing tm;
    for (int i = 0; i < std::max(ctx.runs, 1); ++i) {
        tm.bare = std::min(tm.bare, bare_query(c, q, rows));
        const double t0 = now_ms();
        load();
        const double t1 = now_ms();
        settle();
        const double t2 = now_ms();
        if (t1 - t0 < tm.prog) {
            tm.prog = t1 - t0;
            tm.paint = t2 - t1;
        }
    }
    return tm;
}

void list_case(BenchContext& ctx, const QString& name, const Query& q,
               const std::function<qint64(FlexGrid&)>& load, double mb_goal)
{
    Connection& c = con();
    qint64 rows = 0;
    bare_query(c, q, &rows);   // warm the page cache
    FlexGrid* g = make_grid(1);
    qint64 listed = 0;
    const Timing tm = alternate(ctx, c, q, &rows, [&] { listed = load(*g); });
    Line l;
    l.name = name;
    l.rows = rows;
    l.bare = tm.bare;
    l.prog = tm.prog;
    l.ratio_goal = 1.3;
    l.mb_goal = mb_goal;
    l.note = QStringLiteral("%1 listed, %2 grid rows, grid %3 MB, paint %4 ms")
                 .arg(listed)
                 .arg(g->rows() - 1)
                 .arg(double(g->memory_bytes()) / 1048576.0, 0, 'f', 1)
                 .arg(tm.paint, 0, 'f', 1);
    print_line(l);
    delete g;
}

void window_case(BenchContext& ctx, const QString& name, const std::function<ListWindow*()>& make,
                 const std::function<void(ListWindow*)>& setup)
{
    ListWindow* w = make();
    w->resize(1600, 900);
    w->show();
    settle();
    setup(w);
    w->ms_list();
    settle();
    const Query q = list_sql;
    qint64 rows = 0;
    const Timing tm = alternate(ctx, con(), q, &rows, [&] { w->ms_list(); });
    Line l;
    l.name = name;
    l.rows = rows;
    l.bare = tm.bare;
    l.prog = tm.prog;
    l.ratio_goal = 1.3;
    l.note = QStringLiteral("ms_list of the window, %1 grid rows, grid %2 MB, paint %3 ms")
                 .arg(w->ms->rows() - 1)
                 .arg(double(w->ms->memory_bytes()) / 1048576.0, 0, 'f', 1)
                 .arg(tm.paint, 0, 'f', 1);
    print_line(l);
    delete w;
}

void point_case(BenchContext& ctx, const QString& name, int samples, const std::function<void(int)>& f,
                double ms_goal, const QString& what)
{
    double worst = 0, sum = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = best_of(ctx.runs, [&] { f(i); });
        worst = std::max(worst, t);
        sum += t;
    }
    Line l;
    l.name = name;
    l.prog = worst;
    l.ms_goal = ms_goal;
    l.note = QStringLiteral("slowest of %1 %2, mean %3 ms").arg(samples).arg(what).arg(sum / std::max(samples, 1), 0, 'f', 3);
    print_line(l);
}

// ------------------------------------------------------------------ report
namespace {
int& misses() { static int n = 0; return n; }
}

int missed_goals() { return misses(); }

void print_header()
{
    std::printf("%-28s %9s %10s %11s %7s %8s  %s\n", "case", "rows", "bare ms", "program ms", "ratio", "peak MB",
                "goal");
    std::fflush(stdout);
}

void print_line(const Line& l)
{
    const double mb = peak_mb();
    const QByteArray rows = l.rows >= 0 ? QByteArray::number(l.rows) : QByteArray("-");
    const QByteArray bare = l.bare >= 0 ? QByteArray::number(l.bare, 'f', l.bare < 10 ? 3 : 1) : QByteArray("-");
    const QByteArray prog = l.prog >= 0 ? QByteArray::number(l.prog, 'f', l.prog < 10 ? 3 : 1) : QByteArray("-");
    const bool has_ratio = l.bare > 0 && l.prog >= 0;
    const double ratio = has_ratio ? l.prog / l.bare : 0;
    QStringList goals;
    bool ok = true;
    if (l.ratio_goal > 0) {
        goals << QStringLiteral("<=%1x").arg(l.ratio_goal);
        ok = ok && has_ratio && ratio <= l.ratio_goal;
    }
    if (l.ms_goal > 0) {
        goals << QStringLiteral("<%1ms").arg(l.ms_goal);
        ok = ok && l.prog >= 0 && l.prog < l.ms_goal;
    }
    if (l.mb_goal > 0) {
        goals << QStringLiteral("<%1MB").arg(l.mb_goal);
        ok = ok && mb < l.mb_goal;
    }
    QString goal = goals.isEmpty() ? QStringLiteral("-") : goals.join(u' ') + (ok ? u8" ok" : u8" MISSED");
    if (!goals.isEmpty() && !ok) ++misses();
    if (!l.note.isEmpty()) goal += QStringLiteral("  (") + l.note + u')';
    std::printf("%-28s %9s %10s %11s %7s %8.1f  %s\n", qPrintable(l.name), rows.constData(), bare.constData(),
                prog.constData(), has_ratio ? qPrintable(QString::number(ratio, 'f', 2)) : "-", mb,
                goal.toUtf8().constData());
    std::fflush(stdout);
}

// ------------------------------------------------------------------- cases
std::vector<Case>& all_cases()
{
    static std::vector<Case> v;
    return v;
}

CaseRegistrar::CaseRegistrar(int order, const char* name, CaseFn fn)
{
    all_cases().push_back(Case{order, QString::fromUtf8(name), std::move(fn)});
}
