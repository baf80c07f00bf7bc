#include "intake/record.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/text.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>
#include <cstring>

namespace {
// Bytes [from, from+len) of a record, 0-based; what the record lacks is absent.
QByteArrayView piece(QByteArrayView b, qsizetype from, qsizetype len)
{
    if (from >= b.size()) return {};
    return b.sliced(from, std::min(len, b.size() - from));
}

// Fields are trimmed of spaces only: a tab is a character like any other
// (a file may separate its fields with tabs).
QString field(QByteArrayView b, qsizetype from, qsizetype len)
{
    return trim_spaces(decode_cp949(piece(b, from, len)));
}

// A piece (missing positions read as blanks) decoded and trimmed, less the
// separator behind its value, trimmed again.
QString value_before_separator(QByteArrayView b, qsizetype from, qsizetype len)
{
    QString t = trim_spaces(decode_cp949(piece(b, from, len)));
    if (!t.isEmpty()) t.chop(1);
    return trim_spaces(t);
}

bool blank_byte(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\x1a' || ch == '\0'; }

QString grouped_quantity(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 9e15) return {};
    // Halves to the even number.
    return amount_text(qint64(std::nearbyint(v)));
}
}

QString decode_cp949(QByteArrayView bytes)
{
    // Plain ASCII reads the same in CP949 and needs no decoder.
    bool ascii = true;
    for (char ch : bytes)
        if (uchar(ch) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return QString::fromLatin1(bytes.data(), bytes.size());
    // "windows-949" is the code page with the unified Hangul extension; the
    // plain "CP949" name maps to another table in ICU.
    QStringDecoder d("windows-949", QStringConverter::Flag::Stateless);
    if (!d.isValid()) return QString::fromLatin1(bytes.data(), bytes.size());
    if (bytes.isEmpty()) return {};
    // A line end behind the bytes makes a lead byte cut at the end show as
    // a replacement character instead of vanishing.
    QByteArray b(bytes.data(), bytes.size());
    b += '\n';
    QString s = d.decode(b);
    if (s.endsWith(u'\n')) s.chop(1);
    return s;
}

TermRec parse_term_rec(QByteArrayView b)
{
    TermRec r;
    r.rec_gbn = field(b, 0, 1);
    r.rec_dat = field(b, 2, 8);
    r.rec_m_cod = field(b, 11, 10);
    r.rec_p_cod = field(b, 22, 21);
    r.rec_cnt = field(b, 44, 5);
    return r;
}

TermRec parse_file_rec(QByteArrayView b)
{
    TermRec r;
    r.rec_gbn = value_before_separator(b, 0, 2);
    r.rec_dat = trim_spaces(decode_cp949(piece(b, 2, 9))).left(8);
    r.rec_m_cod = value_before_separator(b, 11, 11);
    r.rec_p_cod = value_before_separator(b, 22, 22);
    r.rec_cnt = trim_spaces(decode_cp949(piece(b, 44, 5)));
    return r;
}

bool is_batch_number(const QString& text, double* value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
    QString digits;
    int since_comma = -1;   // digits since the last comma; -1 before any comma
    bool grouped = false;
    while (i < n && (t[i].isDigit() || t[i] == u',')) {
        const QChar ch = t[i];
        if (ch == u',') {
            // A comma stands between digits, every group after it three long.
            if (digits.isEmpty() || (grouped && since_comma != 3) || (!grouped && digits.size() > 3)) return false;
            grouped = true;
            since_comma = 0;
        } else {
            if (ch.unicode() > 127) return false;
            digits += ch;
            if (grouped) ++since_comma;
        }
        ++i;
    }
    if (grouped && since_comma != 3) return false;
    QString frac;
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) frac += t[i++];
    }
    if (i != n || (digits.isEmpty() && frac.isEmpty())) return false;
    if (value) {
        QString plain = digits.isEmpty() ? QStringLiteral("0") : digits;
        if (!frac.isEmpty()) plain += u'.' + frac;
        double v = plain.toDouble();
        if (t.startsWith(u'-')) v = -v;
        *value = v;
    }
    return true;
}

bool is_batch_date(const QString& text)
{
    if (text.size() != 10) return false;
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            if (text[i] != u'-') return false;
        } else if (text[i] < u'0' || text[i] > u'9') {
            return false;
        }
    }
    return parse_date(text).isValid();
}

BatchRecord term_rec_row(const TermRec& r)
{
    BatchRecord b;
    b.gbn = r.rec_gbn;
    b.dat = r.rec_dat.mid(0, 4) + u'-' + r.rec_dat.mid(4, 2) + u'-' + r.rec_dat.mid(6, 2);
    b.m_cod = r.rec_m_cod;
    b.p_cod = r.rec_p_cod;
    double v = 0;
    if (is_batch_number(r.rec_cnt, &v)) b.cnt = grouped_quantity(std::round(v));
    return b;
}

BatchRecord file_rec_row(const TermRec& r)
{
    BatchRecord b;
    b.gbn = r.rec_gbn;
    const QString d = r.rec_dat.mid(0, 4) + u'-' + r.rec_dat.mid(4, 2) + u'-' + r.rec_dat.mid(6, 2);
    if (is_batch_date(d)) b.dat = d;
    b.m_cod = r.rec_m_cod;
    b.p_cod = r.rec_p_cod;
    double v = 0;
    if (is_batch_number(r.rec_cnt, &v)) b.cnt = grouped_quantity(v);
    return b;
}

namespace {
void refuse(TextFileRecords& out, TextFileRecords::Status why)
{
    out.status = why;
    out.records.clear();
}

// One whole record of 51 bytes; false when it does not end in CR LF.
bool take_record(QByteArrayView rec, TextFileRecords& out)
{
    if (rec[term_rec_len] != '\r' || rec[term_rec_len + 1] != '\n') return false;
    out.records.push_back(parse_file_rec(rec.first(term_rec_len)));
    return true;
}

// What follows the last whole record (less than 51 bytes): the last record
// without its CR LF, or cut short, is one more row whose missing positions
// read as blanks; a blank tail is none. False when it cannot be a record.
bool take_tail(QByteArrayView tail, TextFileRecords& out)
{
    bool blank = true;
    for (char ch : tail)
        if (!blank_byte(ch)) blank = false;
    if (blank) return true;
    if (tail.size() > term_rec_len && tail[term_rec_len] != '\r') return false;
    out.records.push_back(parse_file_rec(tail.first(std::min<qsizetype>(tail.size(), term_rec_len))));
    return true;
}

// Takes records one by one from `next`, which puts up to one record's 51
// bytes at its argument and gives their count (fewer only at the end, -1
// when the reading fails). No more than max_text_file bytes are taken.
template <class Next> void read_records(Next next, TextFileRecords& out)
{
    char rec[file_rec_len];
    qint64 taken = 0;
    for (;;) {
        const qint64 got = next(rec);
        if (got < 0) return refuse(out, TextFileRecords::Unreadable);
        taken += got;
        if (taken > max_text_file) return refuse(out, TextFileRecords::TooBig);
        const QByteArrayView b(rec, got);
        if (got < file_rec_len) {
            if (!take_tail(b, out)) refuse(out, TextFileRecords::BadFormat);
            return;
        }
        if (!take_record(b, out)) return refuse(out, TextFileRecords::BadFormat);
    }
}
}

TextFileRecords split_text_records(QByteArrayView bytes)
{
    TextFileRecords out;
    if (bytes.size() > max_text_file) {
        refuse(out, TextFileRecords::TooBig);
        return out;
    }
    out.records.reserve(size_t(bytes.size() / file_rec_len) + 1);
    qsizetype at = 0;
    read_records(
        [&](char* rec) {
            const qsizetype n = std::min<qsizetype>(file_rec_len, bytes.size() - at);
            if (n > 0) std::memcpy(rec, bytes.data() + at, size_t(n));
            at += n;
            return qint64(n);
        },
        out);
    return out;
}

TextFileRecords read_text_file(const QString& path)
{
    TextFileRecords out;
    QFile f(path);
    if (!f.exists()) {
        out.status = TextFileRecords::NotFound;
        return out;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        out.status = TextFileRecords::Unreadable;
        return out;
    }
    // Told by its size before anything is read; the count of bytes read
    // holds the bound for a file that grows meanwhile.
    const qint64 size = f.size();
    if (size > max_text_file) {
        refuse(out, TextFileRecords::TooBig);
        return out;
    }
    out.records.reserve(size_t(size / file_rec_len) + 1);
    read_records(
        [&](char* rec) {
            qint64 got = 0;
            while (got < file_rec_len) {
                const qint64 n = f.read(rec + got, file_rec_len - got);
                if (n < 0) return qint64(-1);
                if (n == 0) break;
                got += n;
            }
            return got;
        },
        out);
    return out;
}
