// torvisk-bench: times the program's list loads, look-ups and writes on a
// generated big shop against the same SQL run bare.
//
//   torvisk-bench [--shop DIR] [--cases FILTER] [--runs N] [--list]
//
// DIR holds the generated shop (default: build/bench-shop), cached per
// generator version; FILTER is a comma-separated list of texts, a case runs
// when its name contains one of them.
#include "bench.h"
#include "data/clock.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/state.h"
#include "shell/A_main.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: torvisk-bench [--shop DIR] [--cases FILTER] [--runs N] [--list]\n"
                 "  --shop DIR      folder of the generated shop (default: build/bench-shop)\n"
                 "  --cases FILTER  comma-separated texts; runs the cases whose name contains one\n"
                 "  --runs N        runs per timing, the best is reported (default 5)\n"
                 "  --list          lists the cases\n");
    return 2;
}

// Child mode: the program from its start to a usable log-in panel, on the
// given program folder. Prints the in-process time in ms.
int startup_child(int argc, char** argv, const char* folder)
{
    const double t0 = now_ms();
    QApplication app(argc, argv);
    set_program_dir(QString::fromLocal8Bit(folder));
    A_main w;
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed()) QApplication::processEvents();
    settle();
    const bool usable = w.pic_con && w.pic_con->isVisible() && w.t_nam && w.t_nam->isEnabled()
                        && w.la_inf->text() == QStringLiteral("사용계정정보를 입력하세요!");
    std::printf("%s %.3f\n", usable ? "ready" : "unusable", now_ms() - t0);
    std::fflush(stdout);
    return usable ? 0 : 1;
}

// ------------------------------------------------------------- base cases

// 20 columns of the rental history joined with member and item.
Query tc1_query(const ShopInfo& shop, int days, int limit)
{
    QString sql = QStringLiteral(
        "select z.idx,z.ccc,z.s_dat,z.c_dat,z.e_dat,z.m_cod,m.nam,z.p_cod,p.f1_nam,p.f2_nam,p.f3_nam,p.f4_nam,"
        "z.m_dae,z.m_yun,z.m_dae_chk,z.m_yun_chk,z.u_dae,z.u_ban,z.mgm,z.big from TC1 as z,TB1 as m,TB4 as p "
        "where z.m_cod=m.cod and z.p_cod=p.cod and z.s_dat>=? and z.s_dat<=? order by z.s_dat,z.m_cod");
    if (limit > 0) sql += QStringLiteral(" limit %1").arg(limit);
    return Query(sql, {date_text(shop.today.addDays(-days)), date_text(shop.today)});
}

void grid_case(BenchContext& ctx, const QString& name, const Query& q, int cols)
{
    list_case(ctx, name, q, [&](FlexGrid& g) {
        if (g.cols() != cols) {
            g.set_cols(cols);
            for (int c = 0; c < cols; ++c) {
                g.set_text(0, c, QStringLiteral("열%1").arg(c));
                g.set_col_width(c, 1200);
            }
        }
        return grid_load(g, con(), q);
    }, 400);
}

CaseRegistrar base_grid(10, "grid.tc1_250k_x20", [](BenchContext& ctx) {
    grid_case(ctx, QStringLiteral("grid.tc1_250k_x20"), tc1_query(ctx.shop, 365, 250000), 20);
});

CaseRegistrar open_db_case(20, "open_db", [](BenchContext& ctx) {
    (void)ctx;
    // The first open derives the key; every later one must reuse the handle.
    close_db();
    const double t0 = now_ms();
    const bool first_ok = open_db();
    const double first = now_ms() - t0;
    const sqlite3* h = db_con ? db_con->handle() : nullptr;
    const int n = 2000;
    double worst = 0;
    const double t1 = now_ms();
    bool same = first_ok;
    for (int i = 0; i < n; ++i) {
        const double a = now_ms();
        same = open_db() && same && db_con->handle() == h;
        worst = std::max(worst, now_ms() - a);
    }
    const double avg = (now_ms() - t1) / n;
    Line f;
    f.name = QStringLiteral("open_db.first");
    f.prog = first;
    f.note = QStringLiteral("key derivation");
    print_line(f);
    Line l;
    l.name = QStringLiteral("open_db.again");
    l.prog = avg;
    l.ms_goal = 1;
    l.note = QStringLiteral("mean of %1, worst %2 ms, %3").arg(n).arg(worst, 0, 'f', 3)
                 .arg(same ? QStringLiteral("handle kept") : QStringLiteral("HANDLE NOT KEPT"));
    print_line(l);
});

CaseRegistrar startup_case(30, "startup", [](BenchContext& ctx) {
    // Separate processes: the program starts cold in its own process.
    double best_in = 1e300, best_wall = 1e300;
    QString fail;
    for (int i = 0; i < std::max(ctx.runs, 3); ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        const double t0 = now_ms();
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup-child"), ctx.work});
        QByteArray out;
        while (!out.contains('\n') && p.waitForReadyRead(10000)) out += p.readAllStandardOutput();
        const double wall = now_ms() - t0;
        p.waitForFinished(10000);
        out += p.readAllStandardOutput();
        const QList<QByteArray> parts = out.trimmed().split(' ');
        if (parts.value(0) != "ready") {
            fail = QString::fromUtf8(out.trimmed() + " " + p.readAllStandardError().left(300));
            break;
        }
        best_in = std::min(best_in, parts.value(1).toDouble());
        best_wall = std::min(best_wall, wall);
    }
    Line l;
    l.name = QStringLiteral("startup.login_panel");
    l.ms_goal = 300;
    if (fail.isEmpty()) {
        l.prog = best_wall;
        l.note = QStringLiteral("process start to panel shown; in-process %1 ms").arg(best_in, 0, 'f', 1);
    } else {
        l.note = QStringLiteral("failed: ") + fail;
    }
    print_line(l);
});

bool wanted(const QString& name, const QStringList& filters)
{
    if (filters.isEmpty()) return true;
    for (const QString& f : filters)
        if (name.contains(f, Qt::CaseInsensitive)) return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--startup-child") == 0) return startup_child(argc, argv, argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--generate-child") == 0) {
        // The shop is generated in a process of its own, so the generator's
        // memory never counts in the peak of the cases.
        QCoreApplication app(argc, argv);
        ShopInfo info;
        QString error;
        if (!ensure_shop(QString::fromLocal8Bit(argv[2]), &info, &error)) {
            std::fprintf(stderr, "torvisk-bench: %s\n", qPrintable(error));
            return 1;
        }
        if (info.gen_seconds > 0) std::printf("shop generated in %.1f s\n", info.gen_seconds);
        return 0;
    }

    QApplication app(argc, argv);
    QString shop_dir;
    QStringList filters;
    BenchContext ctx;
    bool list = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--shop" && i + 1 < args.size()) shop_dir = args[++i];
        else if (a == u"--cases" && i + 1 < args.size()) filters = args[++i].split(u',', Qt::SkipEmptyParts);
        else if (a == u"--runs" && i + 1 < args.size()) ctx.runs = std::max(1, args[++i].toInt());
        else if (a == u"--list") list = true;
        else return usage();
    }
    std::vector<Case> cases = all_cases();
    std::stable_sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.order < b.order; });
    if (list) {
        for (const Case& c : cases) std::printf("%s\n", qPrintable(c.name));
        return 0;
    }
    if (shop_dir.isEmpty()) shop_dir = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bench-shop"));

    QString error;
    {
        QProcess gen;
        gen.setProcessChannelMode(QProcess::ForwardedChannels);
        gen.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--generate-child"), shop_dir});
        if (!gen.waitForFinished(-1) || gen.exitStatus() != QProcess::NormalExit || gen.exitCode() != 0) {
            std::fprintf(stderr, "torvisk-bench: the shop could not be generated in %s\n", qPrintable(shop_dir));
            return 1;
        }
    }
    if (!ensure_shop(shop_dir, &ctx.shop, &error)) {
        std::fprintf(stderr, "torvisk-bench: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("shop %s: %lld members, %lld periods, %lld items, %lld rentals (%lld out, %lld overdue), last day %s%s\n",
                qPrintable(QDir::toNativeSeparators(ctx.shop.folder)), ctx.shop.members, ctx.shop.periods,
                ctx.shop.items, ctx.shop.rentals, ctx.shop.out, ctx.shop.overdue,
                qPrintable(date_text(ctx.shop.today)),
                ctx.shop.gen_seconds > 0 ? qPrintable(QStringLiteral(", generated in %1 s").arg(ctx.shop.gen_seconds, 0, 'f', 1))
                                         : ", cached");
    // Cases run on a working copy of their own process, so two benches on one
    // cache never write into each other's copy; the cache itself is never written.
    ctx.work = QDir(shop_dir).absoluteFilePath(QStringLiteral("work-%1").arg(QCoreApplication::applicationPid()));
    if (!copy_shop(ctx.shop, ctx.work, &error)) {
        std::fprintf(stderr, "torvisk-bench: %s\n", qPrintable(error));
        return 1;
    }
    struct RemoveWork {
        QString dir;
        ~RemoveWork() { QDir(dir).removeRecursively(); }
    } remove_work{ctx.work};
    set_program_dir(ctx.work);
    set_today(ctx.shop.today);
    fill_col_w();
    if (login(QStringLiteral("ADMIN"), delivered_admin_password()) != LoginResult::Ok) {
        std::fprintf(stderr, "torvisk-bench: cannot log in to %s\n", qPrintable(ctx.work));
        return 1;
    }
    if (!reset_peak()) std::printf("(peak memory counts the generator: /proc/self/clear_refs not writable)\n");
    print_header();
    for (const Case& c : cases)
        if (wanted(c.name, filters)) c.fn(ctx);
    const int missed = missed_goals();
    if (missed) std::printf("%d goal(s) missed\n", missed);
    return 0;
}
