// The terminal's side of an upload: a transfer of 1,000 records read in the
// port's 1,024-byte reads, scanned into frames, logged and parsed into batch
// rows; and the longest reception the scanner takes before it refuses one.
#include "bench.h"
#include "data/clock.h"
#include "intake/com_proto.h"
#include "intake/record.h"
#include "intake/terminal.h"

#include <QFile>

namespace {
QByteArray transfer(int records)
{
    const char STX = com_proto::STX, ETX = com_proto::ETX;
    QByteArray t = "<";
    t += STX + QByteArray("HEAD") + ETX + STX + QByteArray::number(records) + ETX;
    for (int i = 0; i < records; ++i) {
        QByteArray rec = i % 2 ? "1,20260315,M" : "2,20260315,M";
        rec += QByteArray::number(100000 + i).leftJustified(9, ' ') + ",P";
        rec += QByteArray::number(10000000 + i).leftJustified(20, ' ') + ",    1";
        t += STX + rec + ETX + "\r\n";
    }
    return t + ">";
}

// Scans `bytes` in reads of 1,024 bytes; the number of ACKs asked for.
int scan(com_proto& p, const QByteArray& bytes)
{
    int acks = 0;
    for (qsizetype at = 0; at < bytes.size() && !p.finished(); at += 1024)
        acks += 1 + com_proto::acks(p.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(1024, bytes.size() - at))));
    return acks;
}
}

CaseRegistrar terminal_transfer(690, "intake.terminal_1000", [](BenchContext& ctx) {
    const QByteArray bytes = transfer(1000);
    double best = 1e300, best_scan = 0, best_log = 0, best_parse = 0;
    int acks = 0;
    for (int run = 0; run < ctx.runs; ++run) {
        com_proto p;
        const double t0 = now_ms();
        acks = scan(p, bytes);
        const double t1 = now_ms();
        const bool logged = append_rcv_log(p.frames());
        const double t2 = now_ms();
        std::vector<BatchRecord> records;
        for (qsizetype i = 2; i < p.frames().size(); ++i)
            records.push_back(term_rec_row(parse_term_rec(p.frames()[i])));
        const double t3 = now_ms();
        if (!logged || records.size() != 1000) std::fprintf(stderr, "intake.terminal_1000: transfer lost\n");
        if (t3 - t0 < best) best = t3 - t0, best_scan = t1 - t0, best_log = t2 - t1, best_parse = t3 - t2;
    }
    QFile::remove(rcv_log_path());
    Line l;
    l.name = QStringLiteral("intake.terminal_1000");
    l.rows = 1000;
    l.prog = best;
    l.note = QStringLiteral("scan %1 + log %2 + parse %3 ms; %4 ACKs in %5 bytes")
                 .arg(best_scan, 0, 'f', 2)
                 .arg(best_log, 0, 'f', 2)
                 .arg(best_parse, 0, 'f', 2)
                 .arg(acks)
                 .arg(bytes.size());
    print_line(l);

    // A terminal that never ends its frame: scanned up to the bound, then refused.
    const QByteArray endless = "<" + QByteArray(1, com_proto::STX) + QByteArray(com_proto::max_transfer + 10, 'x');
    double worst = 1e300;
    for (int run = 0; run < ctx.runs; ++run) {
        com_proto p;
        const double t0 = now_ms();
        scan(p, endless);
        worst = std::min(worst, now_ms() - t0);
    }
    Line w;
    w.name = QStringLiteral("intake.terminal_refused_1mb");
    w.prog = worst;
    w.note = QStringLiteral("1 MB without a frame end, in 1,024-byte reads");
    print_line(w);
});
