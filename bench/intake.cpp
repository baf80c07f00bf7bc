// The upload batch: a terminal batch of 1,000 rentals and returns parsed,
// checked and saved, and a text file of 20,000 records loaded into the text
// upload's grid and checked.
#include "bench.h"
#include "data/clock.h"
#include "data/state.h"
#include "intake/F2.h"
#include "intake/batch.h"
#include "intake/record.h"
#include "ui/FlexGrid.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

namespace {
QByteArray pad(const QString& s, int n, bool right = false)
{
    QByteArray b = s.toLatin1().left(n);
    return right ? b.rightJustified(n, ' ') : b.leftJustified(n, ' ');
}

QByteArray record(const QString& kind, const QDate& d, const QString& m_cod, const QString& p_cod)
{
    return pad(kind, 1) + ',' + d.toString(QStringLiteral("yyyyMMdd")).toLatin1() + ',' + pad(m_cod, 10) + ','
           + pad(p_cod, 21) + ',' + pad(QStringLiteral("1"), 5, true);
}

// `rentals` rentals of items in stock to members, and `returns` returns of
// open rentals, interleaved, as terminal records.
std::vector<QByteArray> mixed_batch(Connection& c, int rentals, int returns)
{
    std::vector<QByteArray> rent, back;
    QStringList members;
    {
        Cursor cur(c, Query("select cod from TB1 order by cod limit 200"));
        while (cur.next()) members << cur.text(0);
    }
    {
        Cursor cur(c, Query("select cod from TB4 where sta='N' order by cod limit ?", {rentals}));
        int i = 0;
        while (cur.next())
            rent.push_back(record(i % 2 ? QStringLiteral("1") : QStringLiteral("3"), today(),
                                  members.value(i % std::max<int>(1, int(members.size()))), cur.text(0))),
                ++i;
    }
    {
        // One open rental per barcode, the oldest.
        Cursor cur(c, Query("select m_cod,p_cod from TC1 where e_dat='' group by p_cod order by min(idx) limit ?",
                            {returns}));
        int i = 0;
        while (cur.next())
            back.push_back(record(i++ % 2 ? QStringLiteral("2") : QStringLiteral("4"), today(), cur.text(0),
                                  cur.text(1)));
    }
    std::vector<QByteArray> out;
    for (size_t i = 0; i < std::max(rent.size(), back.size()); ++i) {
        if (i < rent.size()) out.push_back(rent[i]);
        if (i < back.size()) out.push_back(back[i]);
    }
    return out;
}

int marked_rows(const std::vector<BatchRow>& rows)
{
    return int(std::count_if(rows.begin(), rows.end(), [](const BatchRow& r) { return r.marked(); }));
}
}

CaseRegistrar intake_terminal_batch(700, "intake.batch_1000", [](BenchContext& ctx) {
    Connection& c = con();
    FlexGrid ms;
    QProgressBar pb;
    QLabel la_inf;
    ms.resize(1200, 600);
    UploadBatch batch(BatchSource::Terminal, &ms, &pb, &la_inf);
    std::vector<double> parse, check, save;
    int marked = 0, saved = 0, runs = 0, rows = 0;
    for (int run = 0; run < ctx.runs; ++run) {
        // A fresh batch each run: the last one rented and returned its items.
        const std::vector<QByteArray> frames = mixed_batch(c, 500, 500);
        rows = int(frames.size());
        double t0 = now_ms();
        std::vector<BatchRecord> records;
        records.reserve(frames.size());
        for (const QByteArray& f : frames) records.push_back(term_rec_row(parse_term_rec(f)));
        double t1 = now_ms();
        batch.load(records);
        double t2 = now_ms();
        const std::vector<BatchRow> checked = batch.rows();
        marked = marked_rows(checked);
        const BatchSave done = save_batch(c, checked, max_dat, today(), QStringLiteral("ADMIN"));
        double t3 = now_ms();
        saved += done == BatchSave::Saved;
        ++runs;
        parse.push_back(t1 - t0);
        check.push_back(t2 - t1);
        save.push_back(t3 - t2);
    }
    double best = 1e300;
    size_t at = 0;
    for (size_t i = 0; i < parse.size(); ++i)
        if (parse[i] + check[i] + save[i] < best) best = parse[i] + check[i] + save[i], at = i;
    Line l;
    l.name = QStringLiteral("intake.batch_1000");
    l.rows = rows;
    l.prog = best;
    l.ms_goal = 2000;
    l.note = QStringLiteral("parse %1 + grid and check %2 + save %3 ms; %4 marked; %5 of %6 runs saved")
                 .arg(parse[at], 0, 'f', 1)
                 .arg(check[at], 0, 'f', 1)
                 .arg(save[at], 0, 'f', 1)
                 .arg(marked)
                 .arg(saved)
                 .arg(runs);
    print_line(l);
});

CaseRegistrar intake_text_file(710, "intake.text_file_20000", [](BenchContext& ctx) {
    Connection& c = con();
    // 20,000 records: the mixed batch repeated (repeats draw the duplicate tag).
    const std::vector<QByteArray> frames = mixed_batch(c, 2500, 2500);
    QByteArray bytes;
    for (int i = 0; i < 20000 && !frames.empty(); ++i) bytes += frames[size_t(i) % frames.size()] + "\r\n";
    const QString path = QDir(ctx.work).absoluteFilePath(QStringLiteral("TXTFILE/bench_20000.txt"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return;
    f.close();

    F2 w;
    w.resize(1600, 900);
    w.show();
    settle();
    int rows = 0;
    double read_ms = 0;
    const double t = best_of(std::min(ctx.runs, 3), [&] {
        const double t0 = now_ms();
        const TextFileRecords file = read_text_file(path);
        std::vector<BatchRecord> records;
        records.reserve(file.records.size());
        for (const TermRec& r : file.records) records.push_back(file_rec_row(r));
        read_ms = now_ms() - t0;
        w.batch().load(records);
        rows = w.batch().data_rows();
    });
    settle();
    Line l;
    l.name = QStringLiteral("intake.text_file_20000");
    l.rows = rows;
    l.prog = t;
    l.ms_goal = 10000;
    l.note = QStringLiteral("file read and parsed %1 ms; %2 marked; %3")
                 .arg(read_ms, 0, 'f', 1)
                 .arg(marked_rows(w.batch().rows()))
                 .arg(w.la_inf->text());
    print_line(l);
});
