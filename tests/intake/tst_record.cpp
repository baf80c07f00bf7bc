#include "intake/record.h"
#include "records.h"

#include <QTest>

// The record layout, the text-file reader and the number and date rules,
// byte by byte.
class TestRecord : public QObject {
    Q_OBJECT
private slots:
    void terminal_fields_by_position();
    void file_fields_drop_their_separator();
    void hangul_fields_from_cp949();
    void short_and_long_records();
    void grid_values_of_dates_and_quantities();
    void numbers_and_dates();
    void text_file_lengths();
    void misaligned_files_are_refused();
    void file_on_disk();
};

void TestRecord::terminal_fields_by_position()
{
    const QByteArray b = "1,20100701,M001      ,P0000001             ,    1";
    QCOMPARE(b.size(), term_rec_len);
    const TermRec r = parse_term_rec(b);
    QCOMPARE(r.rec_gbn, QString("1"));
    QCOMPARE(r.rec_dat, QString("20100701"));
    QCOMPARE(r.rec_m_cod, QString("M001"));
    QCOMPARE(r.rec_p_cod, QString("P0000001"));
    QCOMPARE(r.rec_cnt, QString("1"));
    // The separators are never looked at; blank separators change nothing here.
    const TermRec blanks = parse_term_rec(term_record("3", "20100702", "  M2", "P2", "01000", ' '));
    QCOMPARE(blanks.rec_gbn, QString("3"));
    QCOMPARE(blanks.rec_m_cod, QString("M2"));
    QCOMPARE(blanks.rec_p_cod, QString("P2"));
    QCOMPARE(blanks.rec_cnt, QString("01000"));
}

void TestRecord::file_fields_drop_their_separator()
{
    const TermRec r = parse_file_rec(term_record("2", "20100701", "  M001", "P0000001", "00005"));
    QCOMPARE(r.rec_gbn, QString("2"));
    QCOMPARE(r.rec_dat, QString("20100701"));
    QCOMPARE(r.rec_m_cod, QString("M001"));
    QCOMPARE(r.rec_p_cod, QString("P0000001"));
    QCOMPARE(r.rec_cnt, QString("00005"));
    // A blank separator costs the value its last character, as the layout reads.
    const TermRec b = parse_file_rec(term_record("2", "20100701", "M001", "P0000001", "1", ' '));
    QCOMPARE(b.rec_gbn, QString());
    QCOMPARE(b.rec_m_cod, QString("M00"));
    QCOMPARE(b.rec_p_cod, QString("P000000"));
    // A tab is a separator like any other, never a blank that trimming takes.
    const TermRec tab = parse_file_rec(term_record("2", "20100701", "M001", "P0000001", "1", '\t'));
    QCOMPARE(tab.rec_gbn, QString("2"));
    QCOMPARE(tab.rec_dat, QString("20100701"));
    QCOMPARE(tab.rec_m_cod, QString("M001"));
    QCOMPARE(tab.rec_p_cod, QString("P0000001"));
    // Blank pieces give empty fields.
    const TermRec e = parse_file_rec(QByteArray(49, ' '));
    QCOMPARE(e.rec_gbn, QString());
    QCOMPARE(e.rec_dat, QString());
    QCOMPARE(e.rec_m_cod, QString());
    QCOMPARE(e.rec_p_cod, QString());
    QCOMPARE(e.rec_cnt, QString());
}

void TestRecord::hangul_fields_from_cp949()
{
    // "홍길동" is 6 bytes in CP949; 0x81 0x41 is a character of the extended set.
    QByteArray b = term_record("1", "20100701", "홍길동", "갂나다A", "1");
    QCOMPARE(b.size(), 49);
    QCOMPARE(parse_term_rec(b).rec_m_cod, QString("홍길동"));
    QCOMPARE(parse_term_rec(b).rec_p_cod, QString("갂나다A"));
    QCOMPARE(parse_file_rec(b).rec_m_cod, QString("홍길동"));
    QCOMPARE(decode_cp949(QByteArray("\x81\x41")), QString("갂"));
    // A character cut by the field's end decodes as a replacement, never
    // spilling into the next field.
    QByteArray cut = "1,20100701,";
    cut += cp949("가나다라마") + ",";   // 10 bytes of code: exactly fits
    cut += QByteArray(22, ' ') + "    1";
    QCOMPARE(parse_term_rec(cut).rec_m_cod, QString("가나다라마"));
    QByteArray odd = "1,20100701, ";
    odd += cp949("가나다라마").left(9) + ",";   // the last character cut in half
    odd += QByteArray(22, ' ') + "    1";
    QCOMPARE(odd.size(), 49);
    QCOMPARE(parse_term_rec(odd).rec_m_cod, QString("가나다라\uFFFD"));
    QCOMPARE(parse_term_rec(odd).rec_cnt, QString("1"));
}

void TestRecord::short_and_long_records()
{
    const QByteArray full = term_record("1", "20100701", "M001", "P0000001", "1");
    const TermRec s = parse_term_rec(full.left(27));
    QCOMPARE(s.rec_m_cod, QString("M001"));
    QCOMPARE(s.rec_p_cod, QString("P0000"));   // positions 23-27
    QCOMPARE(s.rec_cnt, QString());
    QCOMPARE(parse_term_rec(QByteArray()).rec_gbn, QString());
    const TermRec l = parse_term_rec(full + "EXTRA");
    QCOMPARE(l.rec_cnt, QString("1"));
    // A short file record: the barcode piece holds "P0000", its last character
    // taken for the separator.
    QCOMPARE(parse_file_rec(full.left(27)).rec_p_cod, QString("P000"));
}

void TestRecord::grid_values_of_dates_and_quantities()
{
    TermRec r;
    r.rec_gbn = "1";
    r.rec_dat = "20100701";
    r.rec_cnt = "01000";
    QCOMPARE(term_rec_row(r).dat, QString("2010-07-01"));
    QCOMPARE(term_rec_row(r).cnt, QString("1,000"));
    QCOMPARE(file_rec_row(r).dat, QString("2010-07-01"));
    QCOMPARE(file_rec_row(r).cnt, QString("1,000"));
    // The terminal's date is cut as it comes; the file's only when it is a day.
    r.rec_dat = "2010023";
    QCOMPARE(term_rec_row(r).dat, QString("2010-02-3"));
    QCOMPARE(file_rec_row(r).dat, QString());
    r.rec_dat = "20100231";
    QCOMPARE(term_rec_row(r).dat, QString("2010-02-31"));
    QCOMPARE(file_rec_row(r).dat, QString());
    r.rec_dat = "";
    QCOMPARE(file_rec_row(r).dat, QString());
    // Quantities: halves to even in a file, letters leave the cell empty.
    r.rec_cnt = "2.5";
    QCOMPARE(file_rec_row(r).cnt, QString("2"));
    r.rec_cnt = "3.5";
    QCOMPARE(file_rec_row(r).cnt, QString("4"));
    r.rec_cnt = "abc";
    QCOMPARE(file_rec_row(r).cnt, QString());
    QCOMPARE(term_rec_row(r).cnt, QString());
    r.rec_cnt = "-7";
    QCOMPARE(term_rec_row(r).cnt, QString("-7"));
}

void TestRecord::numbers_and_dates()
{
    double v = 0;
    QVERIFY(is_batch_number("1", &v) && v == 1);
    QVERIFY(is_batch_number("1,000", &v) && v == 1000);
    QVERIFY(is_batch_number("12,345,678.5", &v) && v == 12345678.5);
    QVERIFY(is_batch_number("-2.25", &v) && v == -2.25);
    QVERIFY(is_batch_number("+3", &v) && v == 3);
    QVERIFY(is_batch_number(".5", &v) && v == 0.5);
    QVERIFY(is_batch_number(" 42 "));
    for (const char* bad : {"", " ", "-", ".", "1,00", ",100", "1,0000", "1e3", "12a", "1 2", "--1", "1,"})
        QVERIFY2(!is_batch_number(QString::fromLatin1(bad)), bad);
    QVERIFY(!is_batch_number(QString::fromUtf8("１２")));   // full-width digits are no number

    QVERIFY(is_batch_date("2010-07-01"));
    QVERIFY(is_batch_date("2012-02-29"));
    for (const char* bad : {"", "2011-02-29", "2010-13-01", "2010-00-10", "2010-7-01", "2010-07-1", "20100701",
                            "2010/07/01", "2010-07-01 ", "+010-07-01", "2010-02-31"})
        QVERIFY2(!is_batch_date(QString::fromLatin1(bad)), bad);
}

void TestRecord::text_file_lengths()
{
    const QByteArray line = file_line("1", "20100701", "M001", "P0000001", "1");
    QCOMPARE(line.size(), file_rec_len);
    for (int k : {0, 1, 2, 7}) {
        const TextFileRecords f = split_text_records(line.repeated(k));
        QCOMPARE(f.status, TextFileRecords::Ok);
        QCOMPARE(int(f.records.size()), k);
    }
    // The last record without its CR LF.
    TextFileRecords f = split_text_records(line.repeated(3).chopped(2));
    QCOMPARE(f.status, TextFileRecords::Ok);
    QCOMPARE(int(f.records.size()), 3);
    QCOMPARE(f.records[2].rec_cnt, QString("1"));
    // Only its LF missing.
    QCOMPARE(int(split_text_records(line.repeated(3).chopped(1)).records.size()), 3);
    // A short non-blank tail is one more (short) row, whatever its length.
    for (int tail : {1, 10, 25, 26, 48}) {
        f = split_text_records(line.repeated(2) + line.left(tail));
        QCOMPARE(f.status, TextFileRecords::Ok);
        QCOMPARE(int(f.records.size()), 3);
        QCOMPARE(f.records[2].rec_gbn, tail >= 2 ? QString("1") : QString());
    }
    // Blank tails (spaces, line ends, an end-of-file mark) are no record.
    QCOMPARE(int(split_text_records(line.repeated(2) + "   \r\n\x1a").records.size()), 2);
    QCOMPARE(int(split_text_records(QByteArray("\r\n")).records.size()), 0);
}

void TestRecord::misaligned_files_are_refused()
{
    const QByteArray line = file_line("1", "20100701", "M001", "P0000001", "1");
    // Records of 52 bytes (one byte too long each).
    QByteArray longer;
    for (int i = 0; i < 3; ++i) longer += line.left(49) + "X\r\n";
    QCOMPARE(split_text_records(longer).status, TextFileRecords::BadFormat);
    QVERIFY(split_text_records(longer).records.empty());
    // Records of 50 bytes (LF only).
    QByteArray lf;
    for (int i = 0; i < 3; ++i) lf += line.left(49) + "\n";
    QCOMPARE(split_text_records(lf).status, TextFileRecords::BadFormat);
    // One record a byte short shifts every record after it.
    QByteArray shifted = line + line.left(48) + "\r\n" + line + line;
    QCOMPARE(split_text_records(shifted).status, TextFileRecords::BadFormat);
    // A tail of 50 bytes whose 50th byte is no CR.
    QCOMPARE(split_text_records(line + line.left(49) + "X").status, TextFileRecords::BadFormat);
    QCOMPARE(split_text_records(line + line.left(49) + "\r").status, TextFileRecords::Ok);
}

void TestRecord::file_on_disk()
{
    QTemporaryDir dir;
    QCOMPARE(read_text_file(dir.filePath("none.txt")).status, TextFileRecords::NotFound);
    const QString path = write_file(dir.filePath("a.txt"), file_line("4", "20100701", "홍길동", "P0000001", "1"));
    const TextFileRecords f = read_text_file(path);
    QCOMPARE(f.status, TextFileRecords::Ok);
    QCOMPARE(int(f.records.size()), 1);
    QCOMPARE(f.records[0].rec_m_cod, QString("홍길동"));
    QCOMPARE(read_text_file(dir.path()).status, TextFileRecords::Unreadable);
    // Up to the bound a file is read (this one is no batch); beyond it, refused.
    QFile big(dir.filePath("big.txt"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(max_text_file));
    big.close();
    QCOMPARE(read_text_file(big.fileName()).status, TextFileRecords::BadFormat);
    QVERIFY(big.resize(max_text_file + 1));
    QCOMPARE(read_text_file(big.fileName()).status, TextFileRecords::TooBig);
    QVERIFY(read_text_file(big.fileName()).records.empty());
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
