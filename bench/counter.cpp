// The counter's cases: member lookup and barcode scan at the rental screen,
// 10-item rental and return commits, and the history list for a month and
// a year against its bare query.
#include "bench.h"
#include "counter/C1.h"
#include "counter/C2.h"
#include "counter/CA.h"
#include "counter/rentals.h"
#include "data/clock.h"
#include "data/state.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace {
void press_enter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

QString one(Connection& c, const char* sql)
{
    return c.scalar(Query(sql)).toString();
}

QStringList in_stock(Connection& c, int n)
{
    QStringList out;
    Cursor cur(c, Query("select cod from TB4 where sta='N' and act='Y' order by cod desc limit ?", {n}));
    while (cur.next()) out << cur.text(0);
    return out;
}
}

CaseRegistrar counter_member(500, "counter.member_lookup", [](BenchContext& ctx) {
    Connection& c = con();
    // The member with the most rentals out, and the most rentals of all.
    const QString busy = one(c, "select m_cod from TC1 where e_dat='' group by m_cod order by count(*) desc limit 1");
    const QString old = one(c, "select m_cod from TC1 group by m_cod order by count(*) desc limit 1");
    const double plain = best_of(ctx.runs * 10, [&] {
        find_member(c, busy);
        member_status(c, busy, today(), haebi);
        find_member(c, old);
        member_status(c, old, today(), haebi);
    }) / 2;
    C1 d;
    d.form_load();
    d.show();
    settle();
    const double screen = best_of(ctx.runs * 10, [&] {
        d.cmd_clr_click();
        d.t_m_cod->setText(busy);
        press_enter(d.t_m_cod);
    });
    Line l;
    l.name = QStringLiteral("counter.member_lookup");
    l.prog = screen;
    l.ms_goal = 5;
    l.note = QStringLiteral("Enter to member panel, %1 open; functions alone %2 ms")
                 .arg(d.t_old_cnt->text())
                 .arg(plain, 0, 'f', 2);
    print_line(l);
});

// A member's barcode scan on an open counter screen: Enter in t_p_cod until
// the item stands in the first row of the list.
template <class Screen>
void scan_case(BenchContext& ctx, const char* name, const QString& member, const QString& item, const char* note)
{
    Screen d;
    d.form_load();
    d.show();
    d.t_m_cod->setText(member);
    press_enter(d.t_m_cod);
    settle();
    bool listed = true;
    const double t = best_of(ctx.runs * 10, [&] {
        d.t_p_cod->setText(item);
        press_enter(d.t_p_cod);
        listed = listed && d.ms_p->text(1, 4) == item;
        for (int col = 0; col <= 5; ++col) d.ms_p->set_text(1, col, QString());
    });
    Line l;
    l.name = QString::fromLatin1(name);
    l.prog = t;
    l.ms_goal = 5;
    l.note = listed ? QString::fromUtf8(note) : QStringLiteral("barcode NOT listed");
    print_line(l);
}

CaseRegistrar counter_scan(510, "counter.barcode_scan", [](BenchContext& ctx) {
    Connection& c = con();
    const QString guest = one(c, "select cod from TB1 as m where gbn='B' and not exists "
                                 "(select 1 from TC1 where m_cod=m.cod and e_dat='') limit 1");
    scan_case<C1>(ctx, "counter.barcode_scan", guest, in_stock(c, 1).value(0), "Enter to listed row");
});

CaseRegistrar counter_scan_back(515, "counter.return_scan", [](BenchContext& ctx) {
    // Return entry: a member with an item out scans it back.
    Connection& c = con();
    QString member, item;
    {
        Cursor cur(c, Query("select m_cod,p_cod from TC1 where e_dat='' order by idx limit 1"));
        if (cur.next()) {
            member = cur.text(0);
            item = cur.text(1);
        }
    }
    scan_case<C2>(ctx, "counter.return_scan", member, item, "Enter to listed row with late fee");
});

CaseRegistrar counter_save(520, "counter.rent_return_10", [](BenchContext& ctx) {
    Connection& c = con();
    const QString guest = one(c, "select cod from TB1 where gbn='B' limit 1");
    std::vector<double> rent, back;
    bool ok = true;
    for (int run = 0; run < ctx.runs * 3; ++run) {
        const QStringList items = in_stock(c, 10);
        std::vector<RentalLine> lines;
        for (const QString& p : items) lines.push_back(RentalLine{due_date(today(), max_dat), "Y", 1500, p});
        double t0 = now_ms();
        // Timed with the limit's count but not stopped by it: the guest may hold rentals already.
        ok = ok && save_rentals(c, guest, lines, today(), QStringLiteral("ADMIN"), std::numeric_limits<int>::max());
        rent.push_back(now_ms() - t0);
        std::vector<ReturnLine> rl;
        Cursor cur(c, Query("select idx from TC1 where m_cod=? and e_dat='' order by idx desc limit 10", {guest}));
        while (cur.next()) rl.push_back(ReturnLine{cur.integer(0), "Y", 0});
        t0 = now_ms();
        ok = ok && save_returns(c, rl, today(), QStringLiteral("ADMIN"));
        back.push_back(now_ms() - t0);
    }
    // A commit waits for the disk (the journal and the database are synced);
    // the spread shows how much.
    for (auto [name, times] : {std::pair{"counter.rent_10", rent}, std::pair{"counter.return_10", back}}) {
        std::sort(times.begin(), times.end());
        Line l;
        l.name = QLatin1String(name);
        l.prog = times.front();
        l.ms_goal = 20;
        l.note = ok ? QStringLiteral("one committed transaction; median %1, worst %2 ms of %3")
                          .arg(times[times.size() / 2], 0, 'f', 1)
                          .arg(times.back(), 0, 'f', 1)
                          .arg(times.size())
                    : QStringLiteral("a save FAILED");
        print_line(l);
    }
});

namespace {
void history_case(BenchContext& ctx, const QString& name, int days)
{
    // The history window for the last `days` days of rental dates.
    window_case(ctx, name, [] { return new CA; }, [&](ListWindow* w) {
        auto* ca = static_cast<CA*>(w);
        ca->t_date1->setDate(today().addDays(-days + 1));
        ca->t_date2->setDate(today());
    });
}
}

CaseRegistrar history_month(400, "CA.month", [](BenchContext& ctx) {
    history_case(ctx, QStringLiteral("CA.month"), 30);
});
CaseRegistrar history_year(410, "CA.year", [](BenchContext& ctx) {
    history_case(ctx, QStringLiteral("CA.year"), 365);
});
