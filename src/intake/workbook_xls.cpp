// .xls: the workbook stream of a compound file (workbook_biff.cpp), read as
// BIFF8 (Excel 97 and later) or BIFF5/7 (Excel 5 and 95) records. The
// globals give the date system, the code page, the number formats and cell
// formats, the shared strings and the sheets' offsets; then the records of
// the first worksheet fill the compact sheet. Every record not needed is
// skipped by its length.
#include "intake/workbook_sheet.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <cstring>
#include <vector>

namespace {

enum : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

double get_double(QByteArrayView b, qsizetype at)
{
    uint64_t bits = uint64_t(le32(b, at)) | uint64_t(le32(b, at + 4)) << 32;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

double rk_value(uint32_t v)
{
    double d;
    if (v & 2) {
        d = double(int32_t(v) >> 2);
    } else {
        const uint64_t bits = uint64_t(v & 0xFFFFFFFCu) << 32;
        std::memcpy(&d, &bits, 8);
    }
    return v & 1 ? d / 100 : d;
}

QByteArray error_text(uint8_t code)
{
    switch (code) {
    case 0x00: return QByteArrayLiteral("#NULL!");
    case 0x07: return QByteArrayLiteral("#DIV/0!");
    case 0x0F: return QByteArrayLiteral("#VALUE!");
    case 0x17: return QByteArrayLiteral("#REF!");
    case 0x1D: return QByteArrayLiteral("#NAME?");
    case 0x24: return QByteArrayLiteral("#NUM!");
    default: return QByteArrayLiteral("#N/A");
    }
}

// The text encoding of a code page number of the CODEPAGE record.
QByteArray codepage_name(int cp)
{
    switch (cp) {
    case 367: case 20127: return "US-ASCII";
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";   // not "CP949": ICU's table of that name differs
    case 950: return "Big5";
    case 1200: return "UTF-16LE";
    case 1361: return "johab";
    case 10000: case 32768: return "macintosh";
    case 10001: return "x-mac-japanese";
    case 10003: return "x-mac-korean";
    case 10004: return "x-mac-arabic";
    case 10005: return "x-mac-hebrew";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurroman";
    case 10079: return "x-mac-icelandic";
    case 10081: return "x-mac-turkish";
    case 32769: return "windows-1252";
    case 65001: return "UTF-8";
    default: break;
    }
    if (cp >= 1250 && cp <= 1258)
        return "windows-" + QByteArray::number(cp);
    if (cp >= 437 && cp <= 869)
        return "IBM" + QByteArray::number(cp);
    return "windows-1252";
}

// A record: its type and its data.
struct Record {
    uint16_t type = 0;
    QByteArrayView data;
};

class Records {
public:
    enum Status { Ok, End, Cut };
    Records(QByteArrayView s, qsizetype pos) : s_(s), pos_(pos) {}
    // End: the stream holds no further record; Cut: a record runs past it.
    Status next(Record* r)
    {
        if (pos_ < 0 || pos_ + 4 > s_.size())
            return End;
        const qsizetype len = le16(s_, pos_ + 2);
        if (pos_ + 4 + len > s_.size())
            return Cut;
        r->type = le16(s_, pos_);
        r->data = s_.sliced(pos_ + 4, len);
        pos_ += 4 + len;
        return Ok;
    }
    // The next record when it is a CONTINUE record.
    bool next_continue(Record* r) { return le16(s_, pos_) == kContinue && next(r) == Ok; }
    qsizetype pos() const { return pos_; }

private:
    QByteArrayView s_;
    qsizetype pos_;
};

// A record's data and the CONTINUE records after it, read as one run of
// bytes; a string's characters going on in the next piece start there with
// a new flags byte. The CONTINUE records are taken from `more` as needed.
class Pieces {
public:
    explicit Pieces(QByteArrayView first, Records* more = nullptr) : p_(first), more_(more) {}

    bool byte(uint8_t* v)
    {
        while (at_ >= p_.size())
            if (!next_piece())
                return false;
        *v = uint8_t(p_[at_++]);
        return true;
    }
    bool u16(uint16_t* v)
    {
        uint8_t a, b;
        if (!byte(&a) || !byte(&b))
            return false;
        *v = uint16_t(a | b << 8);
        return true;
    }
    bool u32(uint32_t* v)
    {
        uint16_t a, b;
        if (!u16(&a) || !u16(&b))
            return false;
        *v = a | uint32_t(b) << 16;
        return true;
    }
    void skip(qint64 n)
    {
        while (n > 0) {
            const qsizetype here = std::min<qint64>(n, p_.size() - at_);
            at_ += here;
            n -= here;
            if (n > 0 && !next_piece())
                return;
        }
    }

    // A BIFF8 string of `cch` characters from its flags byte on: one byte a
    // character (the low half of UTF-16) or two, then its rich-text runs and
    // phonetic block, skipped. False when the data ends first.
    bool unicode(uint16_t cch, QString* out)
    {
        uint8_t flags;
        if (!byte(&flags))
            return false;
        uint16_t runs = 0;
        uint32_t phonetic = 0;
        if ((flags & 0x08) && !u16(&runs))
            return false;
        if ((flags & 0x04) && !u32(&phonetic))
            return false;
        out->clear();
        out->reserve(cch);
        qsizetype left = cch;
        bool wide = flags & 0x01;
        while (left > 0) {
            if (at_ >= p_.size()) {
                if (!next_piece())
                    return false;
                uint8_t f;
                if (!byte(&f))
                    return false;
                wide = f & 0x01;
                continue;
            }
            const QByteArrayView here = p_.sliced(at_);
            if (wide) {
                const qsizetype n = std::min(left, here.size() / 2);
                if (n == 0) {   // half a character at the end of a piece
                    at_ = p_.size();
                    continue;
                }
                const qsizetype old = out->size();
                out->resize(old + n);
                char16_t* d = reinterpret_cast<char16_t*>(out->data()) + old;
                for (qsizetype k = 0; k < n; ++k)
                    d[k] = char16_t(uint8_t(here[2 * k]) | uint8_t(here[2 * k + 1]) << 8);
                at_ += 2 * n;
                left -= n;
            } else {
                const qsizetype n = std::min(left, here.size());
                out->append(QLatin1StringView(here.first(n)));
                at_ += n;
                left -= n;
            }
        }
        skip(qint64(runs) * 4 + phonetic);
        return true;
    }

private:
    QByteArrayView p_;
    Records* more_;
    qsizetype at_ = 0;

    bool next_piece()
    {
        Record r;
        if (!more_ || !more_->next_continue(&r))
            return false;
        p_ = r.data;
        at_ = 0;
        return true;
    }
};

class XlsReader {
public:
    XlsReader(StoredSheet& sheet, const ReadProgress& progress) : sheet_(sheet), progress_(progress) {}

    bool read(QByteArrayView wb, bool named_book, QString* why);

private:
    StoredSheet& sheet_;
    const ReadProgress& progress_;
    bool biff8_ = true;
    bool date1904_ = false;
    QStringDecoder decoder_;
    bool ascii_safe_ = true;   // the code page keeps ASCII bytes as they are
    std::vector<std::pair<uint32_t, uint32_t>> sst_;   // pool offset and length
    std::vector<char> xf_date_;
    bool full_ = false;

    void set_codepage(int cp)
    {
        decoder_ = QStringDecoder(codepage_name(cp).constData(), QStringConverter::Flag::Stateless);
        if (!decoder_.isValid())
            decoder_ = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
        ascii_safe_ = cp != 1200;
    }

    void put(uint32_t row, uint32_t col, uint32_t off, uint32_t len)
    {
        // A cell the sheet cannot take (past its count of values) fails the
        // whole read at the next record rather than going missing.
        if (!sheet_.put(row + 1, col + 1, off, len))
            full_ = true;
    }
    void put_bytes(uint32_t row, uint32_t col, const QByteArray& text)
    {
        if (text.isEmpty())
            return;
        put(row, col, sheet_.add_text(text.constData(), size_t(text.size())), uint32_t(text.size()));
    }
    void put_text(uint32_t row, uint32_t col, QStringView text)
    {
        const uint32_t off = sheet_.add_text(text);
        put(row, col, off, sheet_.pool_size() - off);
    }
    // Bytes in the workbook's code page (BIFF5).
    void put_codepage(uint32_t row, uint32_t col, QByteArrayView bytes)
    {
        bool ascii = ascii_safe_;
        for (qsizetype i = 0; ascii && i < bytes.size(); ++i)
            ascii = uint8_t(bytes[i]) < 0x80;
        if (ascii)
            put(row, col, sheet_.add_text(bytes.constData(), size_t(bytes.size())), uint32_t(bytes.size()));
        else
            put_text(row, col, codepage_text(bytes));
    }
    void put_number(uint32_t row, uint32_t col, uint16_t xf, double v)
    {
        if (xf < xf_date_.size() && xf_date_[xf]) {
            const QByteArray date = serial_date_text(v, date1904_);
            if (!date.isEmpty())
                return put_bytes(row, col, date);
        }
        put_bytes(row, col, number_text(v));
    }
    // A string record's text: BIFF8 a unicode string with a 16-bit count,
    // BIFF5 bytes in the code page after a 16-bit length.
    void put_string(uint32_t row, uint32_t col, Pieces& p)
    {
        uint16_t cch;
        if (!p.u16(&cch))
            return;
        if (biff8_) {
            QString s;
            p.unicode(cch, &s);   // what there is of a cut string
            put_text(row, col, s);
            return;
        }
        QByteArray bytes;
        uint8_t b;
        for (int i = 0; i < cch && p.byte(&b); ++i)
            bytes.append(char(b));
        put_codepage(row, col, bytes);
    }
    QString codepage_text(QByteArrayView bytes) { return QString(decoder_.decode(bytes)); }
    void read_sst(Pieces& p);
};

void XlsReader::read_sst(Pieces& p)
{
    uint32_t total, unique;
    if (!p.u32(&total) || !p.u32(&unique))
        return;
    QString s;
    for (uint32_t i = 0; i < unique; ++i) {
        uint16_t cch;
        if (!p.u16(&cch))
            break;
        const bool whole = p.unicode(cch, &s);
        const uint32_t off = sheet_.add_text(s);
        sst_.emplace_back(off, sheet_.pool_size() - off);
        if (!whole)
            break;
    }
}

bool XlsReader::read(QByteArrayView wb, bool named_book, QString* why)
{
    Records rs(wb, 0);
    Record r;
    if (rs.next(&r) != Records::Ok || r.type != kBof) {
        *why = QStringLiteral("not a workbook of Excel 5 or later (no BOF record)");
        return false;
    }
    const uint16_t version = le16(r.data, 0);
    biff8_ = version == 0x0600 ? true : version == 0x0500 ? false : !named_book;
    set_codepage(1252);

    // ---- the globals
    QHash<int, bool> format_date;
    std::vector<uint16_t> xf_format;
    std::vector<std::pair<uint32_t, uint8_t>> sheets;   // BOF offset, type
    for (bool end = false; !end;) {
        if (rs.next(&r) != Records::Ok) {
            *why = QStringLiteral("the workbook's records end early");
            return false;
        }
        switch (r.type) {
        case kEof: end = true; break;
        case kFilePass:
            *why = QStringLiteral("the workbook is encrypted");
            return false;
        case kCodePage: set_codepage(le16(r.data, 0)); break;
        case kDateMode: date1904_ = le16(r.data, 0) == 1; break;
        case kFormat: {
            QString code;
            if (biff8_) {
                Pieces p(r.data.sliced(std::min<qsizetype>(2, r.data.size())));
                uint16_t cch;
                if (p.u16(&cch))
                    p.unicode(cch, &code);
            } else {
                const qsizetype len = std::min<qsizetype>(le8(r.data, 2), std::max<qsizetype>(r.data.size() - 3, 0));
                code = codepage_text(r.data.sliced(std::min<qsizetype>(3, r.data.size()), len));
            }
            format_date.insert(le16(r.data, 0), is_date_format_code(code));
            break;
        }
        case kXf:
            if (xf_format.size() < 0x10000)   // what a cell's 16-bit index reaches
                xf_format.push_back(le16(r.data, 2));
            break;
        case kBoundSheet:
            if (r.data.size() >= 6)
                sheets.emplace_back(le32(r.data, 0), le8(r.data, 5));
            break;
        case kSst:
            if (biff8_) {
                Pieces p(r.data, &rs);
                read_sst(p);
            }
            break;
        default: break;
        }
    }
    const qsizetype globals_end = rs.pos();
    xf_date_.reserve(xf_format.size());
    for (uint16_t f : xf_format) {
        const auto it = format_date.constFind(f);
        xf_date_.push_back(it != format_date.constEnd() ? *it : is_date_format_id(f));
    }

    // ---- the first worksheet: the first sheet listed as one, at the
    // offset its entry gives, else the first worksheet after the globals.
    qsizetype sheet_pos = -1, sheet_end = wb.size();
    for (const auto& [pos, type] : sheets) {
        if (type != 0)
            continue;
        Records at(wb, pos);
        if (pos >= uint32_t(globals_end) && at.next(&r) == Records::Ok && r.type == kBof)
            sheet_pos = pos;
        break;
    }
    if (sheet_pos < 0) {
        Records scan(wb, globals_end);
        int depth = 0;
        while (sheet_pos < 0 && scan.next(&r) == Records::Ok) {
            if (r.type == kBof) {
                if (depth == 0 && le16(r.data, 2) == 0x0010)
                    sheet_pos = scan.pos() - 4 - r.data.size();
                ++depth;
            } else if (r.type == kEof && depth > 0) {
                --depth;
            }
        }
    }
    if (sheet_pos < 0) {
        *why = QStringLiteral("no worksheet");
        return false;
    }
    for (const auto& s : sheets)
        if (qsizetype(s.first) > sheet_pos && qsizetype(s.first) < sheet_end)
            sheet_end = s.first;

    // ---- its cells
    const qint64 total = globals_end + (sheet_end - sheet_pos);
    int shown = -1;
    auto report = [&](qsizetype pos) {
        if (!progress_)
            return;
        const int pct = int(std::min<qint64>(99, (globals_end + std::max<qsizetype>(pos - sheet_pos, 0)) * 100 / std::max<qint64>(total, 1)));
        if (pct > shown) {
            shown = pct;
            progress_(pct);
        }
    };
    report(sheet_pos);
    qsizetype next_report = sheet_pos + total / 100;

    rs = Records(wb, sheet_pos);
    rs.next(&r);   // its BOF
    int depth = 1;
    bool pending = false;   // a formula whose text comes in the next STRING record
    uint32_t pending_row = 0, pending_col = 0;
    while (true) {
        const Records::Status st = rs.next(&r);
        if (st == Records::End)
            break;   // the sheet's EOF missing at the stream's very end: what came is whole
        if (st == Records::Cut) {
            *why = QStringLiteral("the worksheet's records are cut short");
            return false;
        }
        if (rs.pos() >= next_report) {
            report(rs.pos());
            next_report = rs.pos() + total / 100;
        }
        if (r.type == kBof) {   // an embedded chart's records, up to its own EOF
            ++depth;
            continue;
        }
        if (r.type == kEof) {
            if (--depth == 0)
                break;
            continue;
        }
        if (depth > 1)
            continue;
        const QByteArrayView d = r.data;
        const uint32_t row = le16(d, 0), col = le16(d, 2);
        const uint16_t xf = le16(d, 4);
        switch (r.type) {
        case kNumber:
            if (d.size() >= 14)
                put_number(row, col, xf, get_double(d, 6));
            break;
        case kRk:
            if (d.size() >= 10)
                put_number(row, col, xf, rk_value(le32(d, 6)));
            break;
        case kMulRk:
            for (qsizetype i = 0; 4 + 6 * i + 6 <= d.size(); ++i)
                put_number(row, col + uint32_t(i), le16(d, 4 + 6 * i), rk_value(le32(d, 4 + 6 * i + 2)));
            break;
        case kLabelSst:
            if (d.size() >= 10 && le32(d, 6) < sst_.size()) {
                const auto& [off, len] = sst_[le32(d, 6)];
                if (len)
                    put(row, col, off, len);
            }
            break;
        case kLabel:
        case kRString: {
            Pieces p(d.sliced(std::min<qsizetype>(6, d.size())));
            put_string(row, col, p);
            break;
        }
        case kBoolErr:
            if (d.size() >= 8)
                put_bytes(row, col, le8(d, 7) ? error_text(le8(d, 6))
                                   : le8(d, 6) ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE"));
            break;
        case kFormula:
            if (d.size() < 14)
                break;
            if (le16(d, 12) != 0xFFFF) {
                put_number(row, col, xf, get_double(d, 6));
                break;
            }
            switch (le8(d, 6)) {
            case 0:   // text, in the STRING record after it (shared, array or table formula records between)
                pending = true;
                pending_row = row;
                pending_col = col;
                continue;
            case 1: put_bytes(row, col, le8(d, 8) ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE")); break;
            case 2: put_bytes(row, col, error_text(le8(d, 8))); break;
            default: break;   // empty text
            }
            break;
        case kString:
            if (pending) {
                Pieces p(d, biff8_ ? &rs : nullptr);
                put_string(pending_row, pending_col, p);
                pending = false;
            }
            continue;
        case kBlank:
        case kMulBlank:
            break;
        default:
            continue;   // not a cell
        }
        pending = false;
        if (full_ || sheet_.pool_full()) {
            *why = QStringLiteral("the worksheet holds more than the reader can keep");
            return false;
        }
    }
    return true;
}

} // namespace

bool read_xls(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress)
{
    QString why;
    QByteArray wb;
    int found = -1;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot open %1: %2").arg(path, f.errorString());
            return false;
        }
        // The file is mapped rather than read: only the workbook stream is
        // copied out of it.
        QByteArray whole;
        QByteArrayView file;
        uchar* map = f.size() > 0 ? f.map(0, f.size()) : nullptr;
        if (map) {
            file = QByteArrayView(map, f.size());
        } else {
            whole = f.readAll();
            file = whole;
        }
        wb = compound_stream(file, {u"Workbook", u"Book"}, &why, &found);
        if (wb.isEmpty() && found < 0) {
            // A password-protected .xlsx is a compound file too: its
            // encrypted package sits beside the key's description.
            QString other;
            if (!compound_stream(file, {u"EncryptedPackage"}, &other).isEmpty())
                why = QStringLiteral("the workbook is encrypted");
        }
        if (map)
            f.unmap(map);
    }
    if (wb.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    XlsReader reader(sheet, progress);
    if (!reader.read(wb, found == 1, &why)) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}
