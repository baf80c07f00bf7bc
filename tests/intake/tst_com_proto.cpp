#include "intake/com_proto.h"

#include <QTest>

// The terminal's line protocol as golden reads: each case is a list of reads
// and the events each read gives, written as "<" (start), "[text]" (a frame,
// bytes of 0x80 and above as \xHH), ">" (end) and "!" (refused), one group
// per read, the groups joined by " | ".
class TestComProto : public QObject {
    Q_OBJECT
private slots:
    void golden_data();
    void golden();
    void frames_kept_over_a_repeated_start();
    void bound_of_a_reception();
    void reset_starts_over();
};

namespace {
const QByteArray S = QByteArray(1, com_proto::STX);
const QByteArray E = QByteArray(1, com_proto::ETX);
QByteArray frame(const QByteArray& text) { return S + text + E; }

QString render(const QList<com_proto::Event>& events)
{
    QString out;
    for (const com_proto::Event& e : events) {
        if (!out.isEmpty()) out += u' ';
        switch (e.mark) {
        case com_proto::Mark::Start: out += u'<'; break;
        case com_proto::Mark::End: out += u'>'; break;
        case com_proto::Mark::Overflow: out += u'!'; break;
        case com_proto::Mark::Frame:
            out += u'[';
            for (char c : e.frame) {
                const uchar u = uchar(c);
                if (u >= 0x80 || u < 0x20) out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0')).toUpper().replace(u'X', u'x');
                else out += QLatin1Char(c);
            }
            out += u']';
        }
    }
    return out;
}

QString run(com_proto& p, const QByteArrayList& reads)
{
    QStringList groups;
    for (const QByteArray& r : reads) groups << render(p.feed(r));
    return groups.join(QStringLiteral(" | "));
}
} // namespace

void TestComProto::golden_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QString>("events");
    QTest::addColumn<int>("acks");  // ACKs asked for by "<" and ETX (not the per-read one)

    const QByteArray rec1 = "1 20100720 M001       P00000000000000000001 00001";
    const QByteArray rec2 = "2 20100720 M002       P00000000000000000002 00002";

    QTest::newRow("one transfer, one frame per read")
        << QByteArrayList{"<", frame("HEAD1"), frame("HEAD2"), frame(rec1), ">"}
        << QStringLiteral("< | [HEAD1] | [HEAD2] | [%1] | >").arg(QString::fromLatin1(rec1)) << 4;
    QTest::newRow("several frames in one read")
        << QByteArrayList{"<" + frame("H1") + frame("H2") + frame("A") + frame("B") + ">"}
        << QStringLiteral("< [H1] [H2] [A] [B] >") << 5;
    QTest::newRow("frame split over reads")
        << QByteArrayList{"<", S + "1 2010", "0720 M0", "01" + E, ">"}
        << QStringLiteral("< |  |  | [1 20100720 M001] | >") << 2;
    QTest::newRow("STX and ETX in reads of their own")
        << QByteArrayList{"<", S, "AB", E, S, "CD", E + ">"}
        << QStringLiteral("< |  |  | [AB] |  |  | [CD] >") << 3;
    QTest::newRow("bytes after < and ETX in the same read are kept")
        << QByteArrayList{"<" + S + "A", "B" + E + S + "C" + E + S + "D", E + ">"}
        << QStringLiteral("< | [AB] [C] | [D] >") << 4;
    QTest::newRow("CR LF inside and around frames")
        << QByteArrayList{"<\r\n" + S + "A\r\nB" + E + "\r\n", S + "\rC\n" + E + "\r\n>"}
        << QStringLiteral("< [AB] | [C] >") << 3;
    QTest::newRow("bytes of 0x80 and above")
        << QByteArrayList{"<" + frame("\xB1\xE8\xC3\xB6\xBC\xF6 \x80\xFF"), ">"}
        << QStringLiteral("< [\\xB1\\xE8\\xC3\\xB6\\xBC\\xF6 \\x80\\xFF] | >") << 2;
    QTest::newRow("a frame cut by a new STX")
        << QByteArrayList{"<" + S + "CUT", frame("WHOLE") + ">"}
        << QStringLiteral("< | [WHOLE] >") << 2;
    QTest::newRow("a frame cut by the end of the transfer")
        << QByteArrayList{"<" + frame("A") + S + "CUT", ">"}
        << QStringLiteral("< [A] | >") << 2;
    QTest::newRow("a frame cut by a repeated start")
        << QByteArrayList{"<" + frame("A") + S + "CU", "T<" + frame("B") + ">"}
        << QStringLiteral("< [A] | < [B] >") << 4;
    QTest::newRow("repeated start")
        << QByteArrayList{"<", "<", frame("A"), "<<", frame("B"), ">"}
        << QStringLiteral("< | < | [A] | < < | [B] | >") << 6;
    QTest::newRow("frame without STX")
        << QByteArrayList{"<ABC" + E, "DEF" + E + ">"}
        << QStringLiteral("< [ABC] | [DEF] >") << 3;
    QTest::newRow("empty frame")
        << QByteArrayList{"<" + S + E + ">"}
        << QStringLiteral("< [] >") << 2;
    QTest::newRow("bytes after > are dropped, later reads ignored")
        << QByteArrayList{"<" + frame("A") + ">" + frame("B") + "<", frame("C")}
        << QStringLiteral("< [A] > | ") << 2;
    QTest::newRow("end without start")
        << QByteArrayList{">"}
        << QStringLiteral(">") << 0;
    QTest::newRow("empty reads")
        << QByteArrayList{"", "<", "", ">"}
        << QStringLiteral(" | < |  | >") << 1;
}

void TestComProto::golden()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QString, events);
    QFETCH(int, acks);
    com_proto p;
    QCOMPARE(run(p, reads), events);
    com_proto q;
    int n = 0;
    for (const QByteArray& r : reads) n += com_proto::acks(q.feed(r));
    QCOMPARE(n, acks);
}

void TestComProto::frames_kept_over_a_repeated_start()
{
    com_proto p;
    p.feed("<" + frame("H1") + frame("H2") + S + "PART");
    QCOMPARE(p.com_line(), QByteArray("PART"));
    p.feed("<" + frame("R1"));
    QCOMPARE(p.frames(), (QByteArrayList{"H1", "H2", "R1"}));
    QVERIFY(p.com_line().isEmpty());
    QVERIFY(!p.finished());
    p.feed(">");
    QVERIFY(p.finished());
}

void TestComProto::bound_of_a_reception()
{
    // Exactly max_transfer bytes pass; the next byte is refused, whatever
    // read it comes in, and the frames that came stay for the log.
    com_proto p;
    const QByteArray head = "<" + frame("H1") + S;
    const QByteArray fill(com_proto::max_transfer - head.size() - 1, 'x');
    QCOMPARE(render(p.feed(head)), QStringLiteral("< [H1]"));
    QCOMPARE(render(p.feed(fill)), QString());
    QCOMPARE(render(p.feed(QByteArray(1, 'y'))), QString());
    QCOMPARE(p.received(), com_proto::max_transfer);
    QCOMPARE(render(p.feed("z" + E + ">")), QStringLiteral("!"));
    QVERIFY(p.finished());
    QCOMPARE(p.frames(), QByteArrayList{"H1"});
    QCOMPARE(p.com_line().size(), fill.size() + 1);
    QCOMPARE(render(p.feed(frame("late") + ">")), QString());

    // One big read over the bound: the frames before the bound are still given.
    com_proto q;
    const QByteArray big = "<" + frame("A") + QByteArray(com_proto::max_transfer, 'x') + E;
    QCOMPARE(render(q.feed(big)), QStringLiteral("< [A] !"));
    QCOMPARE(q.received(), com_proto::max_transfer + 1);
}

void TestComProto::reset_starts_over()
{
    com_proto p;
    p.feed("<" + frame("A") + S + "B>");
    QVERIFY(p.finished());
    p.reset();
    QVERIFY(!p.finished());
    QVERIFY(p.frames().isEmpty());
    QVERIFY(p.com_line().isEmpty());
    QCOMPARE(p.received(), 0);
    QCOMPARE(render(p.feed("<" + frame("C") + ">")), QStringLiteral("< [C] >"));
}

QTEST_GUILESS_MAIN(TestComProto)
#include "tst_com_proto.moc"
