#include "intake/record.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/text.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

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

TextFileRecords split_text_records(QByteArrayView bytes)
{
    TextFileRecords out;
    const qsizetype full = bytes.size() / file_rec_len;
    out.records.reserve(size_t(full) + 1);
    for (qsizetype i = 0; i < full; ++i) {
        const QByteArrayView rec = bytes.sliced(i * file_rec_len, file_rec_len);
        if (rec[term_rec_len] != '\r' || rec[term_rec_len + 1] != '\n') {
            out.status = TextFileRecords::BadFormat;
            out.records.clear();
            return out;
        }
        out.records.push_back(parse_file_rec(rec.first(term_rec_len)));
    }
    const QByteArrayView tail = bytes.sliced(full * file_rec_len);
    bool blank = true;
    for (char ch : tail)
        if (!blank_byte(ch)) blank = false;
    if (blank) return out;
    // The last record without its CR LF, or cut short: one more row, whose
    // missing positions read as blanks.
    if (tail.size() > term_rec_len && tail[term_rec_len] != '\r') {
        out.status = TextFileRecords::BadFormat;
        out.records.clear();
        return out;
    }
    out.records.push_back(parse_file_rec(tail.first(std::min<qsizetype>(tail.size(), term_rec_len))));
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
    const QByteArray bytes = f.readAll();
    const bool failed = f.error() != QFileDevice::NoError;
    f.close();
    if (failed) {
        out.status = TextFileRecords::Unreadable;
        return out;
    }
    return split_text_records(bytes);
}
