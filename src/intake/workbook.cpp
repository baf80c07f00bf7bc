#include "intake/workbook.h"
#include "data/text.h"
#include "intake/workbook_sheet.h"

#include <QDate>
#include <QFile>
#include <QStringEncoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

std::unique_ptr<WorkbookReader> WorkbookReader::open(const QString& path, QString* error,
                                                     const std::function<void(int)>& progress)
{
    QString err;
    auto fail = [&](const QString& why) -> std::unique_ptr<WorkbookReader> {
        if (error)
            *error = why;
        return nullptr;
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    const QByteArray head = f.read(8);
    f.close();

    static const char zip_sig[] = "PK\x03\x04";
    static const char ole_sig[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    auto sheet = std::make_unique<StoredSheet>();
    bool ok = false;
    try {
        if (head.size() >= 4 && std::memcmp(head.constData(), zip_sig, 4) == 0)
            ok = read_xlsx(path, *sheet, &err, progress);
        else if (head.size() == 8 && std::memcmp(head.constData(), ole_sig, 8) == 0)
            ok = read_xls(path, *sheet, &err, progress);
        else
            err = QStringLiteral("%1 is not a workbook (neither .xlsx nor .xls content)").arg(path);
        if (ok)
            sheet->finish();
    } catch (const std::bad_alloc&) {
        // The readers keep within their limits; this is the last resort.
        sheet.reset();
        ok = false;
        err = QStringLiteral("%1: the workbook is too big to read (out of memory)").arg(path);
    }
    if (!ok)
        return fail(err);
    if (progress)
        progress(100);
    if (error)
        error->clear();
    return sheet;
}

// ---- the compact sheet

uint32_t StoredSheet::add_text(const char* data, size_t len)
{
    const uint32_t off = uint32_t(pool_.size());
    pool_.append(data, qsizetype(len));
    return off;
}

uint32_t StoredSheet::add_text(QStringView s)
{
    const uint32_t off = uint32_t(pool_.size());
    QStringEncoder enc(QStringEncoder::Utf8);
    const qsizetype old = pool_.size();
    pool_.resize(old + enc.requiredSpace(s.size()));
    char* end = enc.appendToBuffer(pool_.data() + old, s);
    pool_.truncate(end - pool_.constData());
    return off;
}

bool StoredSheet::put(uint32_t row, uint32_t col, uint32_t off, uint32_t len)
{
    if (row > kSheetMaxRows || col > kSheetMaxCols)
        return false;
    if (len == 0 || row == 0 || col == 0)
        return true;
    if (cells_.size() >= kMaxCells)
        return false;
    if (!cells_.empty()) {
        const Cell& b = cells_.back();
        if (row < b.row || (row == b.row && col <= b.col))
            sorted_ = false;
    }
    cells_.push_back({row, col, off, len});
    return true;
}

void StoredSheet::finish()
{
    if (!sorted_) {
        // Rows or cells out of order (allowed, though writers rarely do it);
        // a cell given twice keeps its last value.
        std::stable_sort(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) {
            return a.row != b.row ? a.row < b.row : a.col < b.col;
        });
        size_t kept = 0;
        for (const Cell& c : cells_) {
            if (kept > 0 && cells_[kept - 1].row == c.row && cells_[kept - 1].col == c.col)
                cells_[kept - 1] = c;
            else
                cells_[kept++] = c;
        }
        cells_.resize(kept);
        sorted_ = true;
    }
    // The entries are not copied into a tighter block: the unused end of a
    // big one was never touched and takes no memory.
    pool_.squeeze();
    last_row_ = cells_.empty() ? 0 : int(cells_.back().row);
    rows_.clear();
    for (size_t i = 0; i < cells_.size(); ++i)
        if (rows_.empty() || rows_.back().row != cells_[i].row)
            rows_.push_back({cells_[i].row, uint32_t(i)});
    rows_.shrink_to_fit();
}

QString StoredSheet::cell(int row, int col) const
{
    if (row < 1 || row > last_row_ || col < 1)
        return QString();
    // Used rows mostly follow each other: a row is first looked for where it
    // would be if none were missing before it.
    const size_t guess = size_t(row) - rows_.front().row;
    auto r = guess < rows_.size() && rows_[guess].row == uint32_t(row)
                 ? rows_.begin() + ptrdiff_t(guess)
                 : std::lower_bound(rows_.begin(), rows_.end(), uint32_t(row),
                                    [](const RowStart& s, uint32_t k) { return s.row < k; });
    if (r == rows_.end() || r->row != uint32_t(row))
        return QString();
    const auto first = cells_.begin() + r->first;
    const auto last = r + 1 == rows_.end() ? cells_.end() : cells_.begin() + (r + 1)->first;
    const auto it = std::lower_bound(first, last, uint32_t(col),
                                     [](const Cell& c, uint32_t k) { return c.col < k; });
    if (it == last || it->col != uint32_t(col))
        return QString();
    return QString::fromUtf8(pool_.constData() + it->off, it->len);
}

qint64 StoredSheet::text_length(int from_row, int to_col, qint64 stop_past) const
{
    // The cells are in row order: from the first of row `from_row` on.
    auto c = std::lower_bound(cells_.begin(), cells_.end(), uint32_t(std::max(from_row, 1)),
                              [](const Cell& e, uint32_t k) { return e.row < k; });
    qint64 sum = 0;
    for (; c != cells_.end(); ++c) {
        if (int64_t(c->col) > to_col)
            continue;
        sum += utf8_units(pool_.constData() + c->off, c->len);
        if (sum > stop_past)
            return sum;
    }
    return sum;
}

// ---- cell texts

QByteArray number_text(double v)
{
    if (!std::isfinite(v))
        return QByteArray();
    if (v == 0)
        return QByteArrayLiteral("0");
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) {   // whole numbers of up to 15 digits, as they are
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, qint64(v));
        return QByteArray(buf, res.ptr - buf);
    }
    // Spreadsheets keep 15 significant digits (0.1+0.2 shows as 0.3, an
    // 18-digit code as its first 15 digits and zeros): the digits of %.14e,
    // placed about the decimal point, without exponent.
    char e[32];
    std::snprintf(e, sizeof e, "%.14e", v);
    const char* p = e;
    QByteArray out;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    char digits[15];
    int n = 0;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && n < 15)
            digits[n++] = *p;
    const int exp = *p == 'e' ? std::atoi(p + 1) : 0;
    while (n > 1 && digits[n - 1] == '0')
        --n;
    if (exp >= 0) {
        for (int i = 0; i <= exp; ++i)
            out += i < n ? digits[i] : '0';
        if (n > exp + 1) {
            out += '.';
            out.append(digits + exp + 1, n - exp - 1);
        }
    } else {
        out += "0.";
        out.append(QByteArray(-exp - 1, '0'));
        out.append(digits, n);
    }
    return out;
}

QByteArray serial_date_text(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466)
        return QByteArray();
    const qint64 days = qint64(std::floor(serial));
    QDate d;
    if (date1904) {
        d = QDate(1904, 1, 1).addDays(days);
    } else {
        // The 1900 system counts a 29 February 1900 (serial 60) that never
        // was; days before it are one off from a plain day count.
        if (days == 0)
            return QByteArrayLiteral("1900-01-00");
        if (days == 60)
            return QByteArrayLiteral("1900-02-29");
        d = days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
    }
    if (!d.isValid() || d.year() > 9999)
        return QByteArray();
    return d.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
}

bool is_date_format_id(int id)
{
    return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 31)
        || (id >= 34 && id <= 36) || (id >= 50 && id <= 58);
}

bool is_date_format_code(QStringView code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = code[i].unicode();
        switch (c) {
        case u'"': {   // quoted text
            const qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0)
                return false;
            i = end;
            break;
        }
        case u'[': {   // colour, condition, locale or elapsed time
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0)
                return false;
            i = end;
            break;
        }
        case u'\\':   // the next character shown as it is
        case u'_':    // a space as wide as the next character
        case u'*':    // the next character repeated to fill
            ++i;
            break;
        case u'd': case u'D': case u'm': case u'M': case u'y': case u'Y':
            return true;
        default:
            break;
        }
    }
    return false;
}
