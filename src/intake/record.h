#pragma once
// The record of a rental/return batch as the handheld terminal writes it:
// 49 bytes, five fields at fixed byte positions (1-based), each followed by a
// separator that nothing examines:
//
//   kind 1 | sep 2 | date 3-10 (yyyymmdd) | sep 11 | member code 12-21 |
//   sep 22 | barcode 23-43 | sep 44 | quantity 45-49
//
// A text file holds the same records, each followed by CR LF (51 bytes).
// Text fields are decoded from CP949, the code page of the terminals.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

constexpr int term_rec_len = 49;
constexpr int file_rec_len = 51;

// The five fields of one record, as text.
struct TermRec {
    QString rec_gbn;     // kind: "1" rental paid, "3" rental unpaid, "2" return paid, "4" return unpaid
    QString rec_dat;     // processing date, yyyymmdd
    QString rec_m_cod;   // member code
    QString rec_p_cod;   // barcode
    QString rec_cnt;     // quantity
};

// What a loader writes into columns 3 to 7 of the batch grid.
struct BatchRecord {
    QString gbn;    // 3 "구분"
    QString dat;    // 4 "처리일자", yyyy-mm-dd
    QString m_cod;  // 5 "회원코드"
    QString p_cod;  // 6 "바 코 드"
    QString cnt;    // 7 "처리수량", digit-grouped
};

// CP949 bytes as text; a byte sequence that is no character becomes U+FFFD.
QString decode_cp949(QByteArrayView bytes);

// A terminal frame's record: each field taken at its positions and trimmed of
// spaces at both ends. Missing positions read as empty; bytes after 49 are
// ignored.
TermRec parse_term_rec(QByteArrayView bytes);

// A text file's record: read as pieces of 2, 9, 11, 22 and 5 bytes, each
// holding its field and the separator behind it. Kind, member code and
// barcode: the piece trimmed, its last character dropped, trimmed again; the
// date: the first 8 characters of the trimmed piece; the quantity: trimmed.
// Trimming takes spaces only, so any other separator (a tab too) is dropped
// as the separator it is.
// A record shorter than 49 bytes reads its missing positions as blanks.
TermRec parse_file_rec(QByteArrayView bytes);

// The grid values of a terminal record: the date cut into yyyy-mm-dd as it
// comes (the check judges it); the quantity digit-grouped when it is a number,
// else empty.
BatchRecord term_rec_row(const TermRec& r);
// The grid values of a text-file record: the date only when it names a real
// day, else empty; the quantity rounded to a whole number (halves to even) and
// digit-grouped when it is a number, else empty.
BatchRecord file_rec_row(const TermRec& r);

// A number as the batch reads it: optional sign, digits (optionally grouped
// by commas in threes), optional decimal part. Empty text is no number.
bool is_batch_number(const QString& text, double* value = nullptr);
// A date exactly "yyyy-mm-dd" naming a day that exists.
bool is_batch_date(const QString& text);

// The largest text file taken as a batch. A terminal may send at most 1 MB
// in one transfer (com_proto::max_transfer), about 20,000 records, and the
// save is meant for batches of at most 32,767 rows (1.7 MB of file); four
// times the terminal's bound (82,241 records) leaves room for any real
// batch, while a bigger file, far beyond any, is refused unread.
constexpr qint64 max_text_file = 4 * 1024 * 1024;

// The records of a text file of 51-byte records.
struct TextFileRecords {
    enum Status {
        Ok,          // records read (maybe none: an empty or tiny file)
        NotFound,    // no such file
        Unreadable,  // it could not be opened or read
        BadFormat,   // a full record does not end in CR LF
        TooBig,      // more than max_text_file bytes
    };
    Status status = Ok;
    std::vector<TermRec> records;
};
// Reads every record: k full records of 51 bytes, each ending in CR LF (the
// last may lack its CR LF), then a non-blank tail of any length becomes one
// more (short) record; a blank tail is ignored. The file is read record by
// record, and no more than max_text_file bytes of it: what is held stays
// within a batch's records, whatever the file. Refused, no record is kept.
TextFileRecords read_text_file(const QString& path);
// The same on bytes already read.
TextFileRecords split_text_records(QByteArrayView bytes);
