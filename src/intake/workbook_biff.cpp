// The cached results of formula cells in an .xls file, its date cells and
// its booleans.
// FreeXL reports a formula cell as empty, so the workbook stream is walked
// here for the FORMULA records of the first worksheet (and the numbers shown
// as dates): the compound file's sectors are
// followed to the stream, and the records read as the BIFF8 format lays
// them out. Only what these results need is read (date mode, number formats,
// cell formats, sheet offsets).
#include "intake/workbook_sheet.h"

#include <QFile>
#include <QHash>
#include <cstring>
#include <functional>

namespace {

uint8_t u8(const QByteArray& b, qsizetype at)
{
    return at >= 0 && at < b.size() ? uint8_t(b[at]) : 0;
}

uint16_t u16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

uint32_t u32(const QByteArray& b, qsizetype at)
{
    return u16(b, at) | uint32_t(u16(b, at + 2)) << 16;
}

// A stream of the compound file by name ("Workbook"), or empty.
QByteArray compound_stream(const QByteArray& file, const char16_t* wanted)
{
    if (file.size() < 512)
        return QByteArray();
    const int shift = u16(file, 0x1E);
    if (shift != 9 && shift != 12)
        return QByteArray();
    const qsizetype sector = qsizetype(1) << shift;
    const qsizetype mini_sector = qsizetype(1) << u16(file, 0x20);
    const uint32_t mini_cutoff = u32(file, 0x38);
    const qsizetype per_sector = sector / 4;
    auto at = [&](uint32_t s) { return (qsizetype(s) + 1) * sector; };

    // The FAT: its sectors are listed in the header, then in DIFAT sectors.
    std::vector<uint32_t> fat_sectors;
    const uint32_t fat_count = u32(file, 0x2C);
    if (fat_count > file.size() / sector)
        return QByteArray();   // more FAT sectors than the file holds: damaged
    for (int i = 0; i < 109 && fat_sectors.size() < fat_count; ++i)
        fat_sectors.push_back(u32(file, 0x4C + 4 * i));
    uint32_t difat = u32(file, 0x44);
    for (; difat < 0xFFFFFFFA && at(difat) + sector <= file.size() && fat_sectors.size() < fat_count;) {
        for (qsizetype i = 0; i < per_sector - 1 && fat_sectors.size() < fat_count; ++i)
            fat_sectors.push_back(u32(file, at(difat) + 4 * i));
        difat = u32(file, at(difat) + sector - 4);
    }
    std::vector<uint32_t> fat;
    for (uint32_t s : fat_sectors)
        for (qsizetype i = 0; i < per_sector; ++i)
            fat.push_back(u32(file, at(s) + 4 * i));

    auto chain = [&](uint32_t start, const std::vector<uint32_t>& table, qsizetype unit,
                     const std::function<qsizetype(uint32_t)>& offset, const QByteArray& src, qsizetype size) {
        QByteArray out;
        for (uint32_t s = start; s < table.size() && out.size() < size; s = table[s]) {
            const qsizetype o = offset(s);
            if (o < 0 || o >= src.size())
                break;
            out.append(src.mid(o, unit));
            if (out.size() > src.size())
                break;   // a loop in a damaged chain
        }
        out.truncate(size);
        return out;
    };

    const QByteArray dir = chain(u32(file, 0x30), fat, sector, at, file, file.size());
    uint32_t root_start = 0, root_size = 0;
    for (qsizetype e = 0; e + 128 <= dir.size(); e += 128) {
        const int type = uint8_t(dir[e + 0x42]);
        const int name_len = u16(dir, e + 0x40) / 2 - 1;
        if (name_len < 0 || name_len > 31)
            continue;
        QString name;
        for (int i = 0; i < name_len; ++i)
            name += QChar(char16_t(u16(dir, e + 2 * i)));
        const uint32_t start = u32(dir, e + 0x74), size = u32(dir, e + 0x78);
        if (type == 5) {
            root_start = start;
            root_size = size;
        } else if (type == 2 && name.compare(QStringView(wanted), Qt::CaseInsensitive) == 0) {
            if (size >= mini_cutoff)
                return chain(start, fat, sector, at, file, size);
            // Small streams live in the mini stream, in mini sectors.
            const QByteArray mini_stream = chain(root_start, fat, sector, at, file, root_size);
            const QByteArray mini_fat_bytes = chain(u32(file, 0x3C), fat, sector, at, file, file.size());
            std::vector<uint32_t> mini_fat;
            for (qsizetype i = 0; i + 4 <= mini_fat_bytes.size(); i += 4)
                mini_fat.push_back(u32(mini_fat_bytes, i));
            return chain(start, mini_fat, mini_sector, [&](uint32_t s) { return qsizetype(s) * mini_sector; },
                         mini_stream, size);
        }
    }
    return QByteArray();
}

struct Record {
    uint16_t type = 0;
    QByteArray data;
};

// BIFF records from `pos`: each a type, a length and its data.
class Records {
public:
    Records(const QByteArray& s, qsizetype pos) : s_(s), pos_(pos) {}
    bool next(Record* r)
    {
        if (pos_ + 4 > s_.size())
            return false;
        r->type = u16(s_, pos_);
        const qsizetype len = u16(s_, pos_ + 2);
        r->data = s_.mid(pos_ + 4, len);
        pos_ += 4 + len;
        return true;
    }
    uint16_t peek() const { return u16(s_, pos_); }

private:
    const QByteArray& s_;
    qsizetype pos_;
};

// A BIFF8 unicode string of `cch` characters at data[at]: a flags byte, then
// one or two bytes per character (rich-text and phonetic counts skipped).
// A string cut by the record's end goes on in the CONTINUE records after it.
QString biff_string(const QByteArray& data, qsizetype at, int cch, Records* more)
{
    QString out;
    QByteArray d = data;
    qsizetype p = at;
    uint8_t flags = u8(d, p++);
    if (flags & 0x08)
        p += 2;
    if (flags & 0x04)
        p += 4;
    Record r;
    while (out.size() < cch) {
        if (p >= d.size()) {
            if (!more || more->peek() != 0x003C || !more->next(&r) || r.data.isEmpty())
                break;
            d = r.data;
            flags = uint8_t(d[0]);
            p = 1;
            continue;
        }
        if (flags & 0x01) {
            out += QChar(char16_t(u16(d, p)));
            p += 2;
        } else {
            out += QChar(char16_t(uint8_t(d[p])));
            p += 1;
        }
    }
    return out;
}

QByteArray error_text(uint8_t code)
{
    static const QHash<int, QByteArray> errors = {
        {0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"}, {0x17, "#REF!"},
        {0x1D, "#NAME?"}, {0x24, "#NUM!"}, {0x2A, "#N/A"}};
    return errors.value(code, "#N/A");
}

} // namespace

bool compound_has_stream(const QString& path, const char16_t* name)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && !compound_stream(f.readAll(), name).isEmpty();
}

bool read_xls_formulas(const QString& path, const QString& first_sheet, StoredSheet& sheet)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray file = f.readAll();
    QByteArray wb = compound_stream(file, u"Workbook");
    if (wb.isEmpty())
        return false;

    // The globals: date mode, formats, cell formats, the sheets' offsets.
    bool date1904 = false;
    QHash<int, bool> format_is_date;
    std::vector<char> xf_date;
    qsizetype sheet_pos = -1;
    Records globals(wb, 0);
    Record r;
    if (!globals.next(&r) || r.type != 0x0809 || u16(r.data, 0) != 0x0600)
        return false;   // BIFF8 only; older files keep their formula cells empty
    while (globals.next(&r) && r.type != 0x000A) {
        switch (r.type) {
        case 0x0022: date1904 = u16(r.data, 0) == 1; break;
        case 0x041E:
            format_is_date.insert(u16(r.data, 0), is_date_format_code(biff_string(r.data, 4, u16(r.data, 2), &globals)));
            break;
        case 0x00E0: {
            const int fmt = u16(r.data, 2);
            const auto it = format_is_date.constFind(fmt);
            xf_date.push_back(it != format_is_date.constEnd() ? *it : is_date_format_id(fmt));
            break;
        }
        case 0x0085:
            if (sheet_pos < 0 && u8(r.data, 5) == 0
                && biff_string(r.data, 7, u8(r.data, 6), nullptr) == first_sheet)
                sheet_pos = u32(r.data, 0);
            break;
        default: break;
        }
    }
    if (sheet_pos < 0)
        return false;

    Records cells(wb, sheet_pos);
    if (!cells.next(&r) || r.type != 0x0809)
        return false;
    auto put = [&](uint32_t row, uint32_t col, const QByteArray& text) {
        const uint32_t off = sheet.add_text(text.constData(), size_t(text.size()));
        sheet.put(row + 1, col + 1, off, uint32_t(text.size()));
    };
    auto is_date = [&](uint16_t xf) { return xf < xf_date.size() && xf_date[xf]; };
    // A number shown as a date: FreeXL's own date text differs from the
    // .xlsx reader's at serial 0 and out of range, so these are redone here
    // from the serial, with the same rules for both formats.
    auto put_date = [&](uint32_t row, uint32_t col, double v) {
        const QByteArray date = serial_date_text(v, date1904);
        put(row, col, date.isEmpty() ? number_text(v) : date);
    };
    auto rk = [](uint32_t v) {
        double d;
        if (v & 2) {
            d = double(int32_t(v) >> 2);
        } else {
            const uint64_t bits = uint64_t(v & 0xFFFFFFFCu) << 32;
            std::memcpy(&d, &bits, 8);
        }
        return v & 1 ? d / 100 : d;
    };
    while (cells.next(&r) && r.type != 0x000A) {
        if (r.type == 0x0203 && r.data.size() >= 14 && is_date(u16(r.data, 4))) {   // NUMBER
            double v;
            std::memcpy(&v, r.data.constData() + 6, 8);
            put_date(u16(r.data, 0), u16(r.data, 2), v);
            continue;
        }
        if (r.type == 0x027E && r.data.size() >= 10 && is_date(u16(r.data, 4))) {   // RK
            put_date(u16(r.data, 0), u16(r.data, 2), rk(u32(r.data, 6)));
            continue;
        }
        if (r.type == 0x0205 && r.data.size() >= 8) {   // BOOLERR: FreeXL gives 1 and 0
            const uint8_t v = u8(r.data, 6);
            put(u16(r.data, 0), u16(r.data, 2),
                u8(r.data, 7) ? error_text(v) : v ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE"));
            continue;
        }
        if (r.type == 0x00BD) {   // MULRK: one row, a run of columns
            const uint16_t row = u16(r.data, 0), first = u16(r.data, 2);
            for (qsizetype i = 0; 4 + 6 * i + 6 <= r.data.size() - 2; ++i)
                if (is_date(u16(r.data, 4 + 6 * i)))
                    put_date(row, uint32_t(first + i), rk(u32(r.data, 4 + 6 * i + 2)));
            continue;
        }
        if (r.type != 0x0006 || r.data.size() < 20)
            continue;
        const uint16_t row = u16(r.data, 0), col = u16(r.data, 2), xf = u16(r.data, 4);
        if (u16(r.data, 12) == 0xFFFF) {
            switch (uint8_t(r.data[6])) {
            case 0: {   // text, in the STRING record that follows
                Record s;
                if (cells.peek() == 0x0207 && cells.next(&s))
                    put(row, col, biff_string(s.data, 2, u16(s.data, 0), &cells).toUtf8());
                break;
            }
            case 1: put(row, col, r.data[8] ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE")); break;
            case 2: put(row, col, error_text(u8(r.data, 8))); break;
            default: break;   // empty text
            }
            continue;
        }
        double v;
        std::memcpy(&v, r.data.constData() + 6, 8);
        if (is_date(xf))
            put_date(row, col, v);
        else
            put(row, col, number_text(v));
    }
    return true;
}
