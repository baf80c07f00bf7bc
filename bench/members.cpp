// The member register's list window (B1): every member in use from MEM with
// his open rentals, and a name search.
#include "bench.h"
#include "registers/B1.h"
#include "registers/B1_add_edt.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

void members_case(BenchContext& ctx, const QString& name, const QString& field, const QString& ser)
{
    window_case(ctx, name, [] { return new B1; }, [&](ListWindow* w) {
        if (!field.isEmpty()) w->findChild<QComboBox*>(QStringLiteral("t_chk"))->setCurrentText(field);
        w->t_ser->setText(ser);
    });
}

CaseRegistrar all_members(300, "B1.all_members", [](BenchContext& ctx) {
    members_case(ctx, QStringLiteral("B1.all_members"), QString(), QString());
});

CaseRegistrar search_members(310, "B1.search_name", [](BenchContext& ctx) {
    members_case(ctx, QStringLiteral("B1.search_name"), QStringLiteral("회 원 명"), QStringLiteral("김민"));
});

// The member dialog as the list opens it for an edit: from the click to the
// dialog's first paint (periods listed, boxes filled), best of the runs.
// -1 when the member is not in the list.
double open_edit_dialog(B1& w, const QString& cod, int runs)
{
    int row = 0;
    for (int r = 1; r < w.ms->rows() && !row; ++r)
        if (w.ms->text(r, 4) == cod) row = r;
    if (!row) return -1;
    return best_of(runs, [&] {
        w.ms->set_row(row);
        QTimer::singleShot(0, [] {
            B1_add_edt* d = screens::kept<B1_add_edt>();
            d->grab();
            d->reject();
        });
        w.cmd_edt->click();
    });
}

CaseRegistrar edit_dialog(320, "B1.edit_dialog_long_texts", [](BenchContext& ctx) {
    Connection& c = con();
    QStringList cods;
    {
        Cursor cur(c, Query("select cod from TB1 where act='Y' order by cod limit 2"));
        while (cur.next()) cods << cur.text(0);
    }
    if (cods.size() < 2) return;
    // The second member gets texts as long as a workbook load brings them,
    // and his own back afterwards.
    const Query own("select nam, adr, big from TB1 where cod=?", {cods[1]});
    QStringList kept;
    {
        Cursor cur(c, own);
        if (cur.next()) kept << cur.text(0) << cur.text(1) << cur.text(2);
    }
    if (kept.size() < 3) return;
    const auto set_texts = [&](const QStringList& t) {
        c.execute(Query("update TB1 set nam=?, adr=?, big=? where cod=?", {t[0], t[1], t[2], cods[1]}));
    };
    set_texts({QString(39'665, QChar(0xAE40)), QString(93'105, QChar(0xC8FC)), QString(64'446, QChar(0xBE44))});
    B1 w;
    w.resize(1600, 900);
    w.show();
    settle();
    Line l;
    l.name = QStringLiteral("B1.edit_dialog_long_texts");
    l.bare = open_edit_dialog(w, cods[0], ctx.runs);
    l.prog = open_edit_dialog(w, cods[1], ctx.runs);
    l.ms_goal = 500;
    l.note = QStringLiteral("the member dialog opened from the list for a member with a name, address and remark of 39,665, 93,105 and 64,446 characters, against an ordinary member (\"bare\")");
    set_texts(kept);
    print_line(l);
});
} // namespace
