// The compound (OLE) file an .xls workbook is stored in: a header, a table
// of sector chains (the FAT), a directory of named streams, and the small
// streams kept in 64-byte mini sectors inside the root entry's own stream.
// Every chain and count is held to what the file itself holds: a damaged or
// hostile file ends a chain instead of looping, and nothing is sized from a
// number it claims beyond the file's own size.
#include "intake/workbook_sheet.h"

#include <QFile>
#include <vector>

namespace {

constexpr uint32_t kLastSector = 0xFFFFFFFA;   // this and above mark chain ends and free sectors
constexpr uint32_t kFree = 0xFFFFFFFF;

// A 32-bit entry of the file's tables; one the file does not hold whole is
// a free one (it ends any chain).
uint32_t get32(QByteArrayView b, qsizetype at) { return at < 0 || at + 4 > b.size() ? kFree : le32(b, at); }

class Compound {
public:
    explicit Compound(QByteArrayView file) : f_(file) {}

    bool open(QString* why)
    {
        static const char sig[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
        if (f_.size() < 512 || f_.first(8) != QByteArrayView(sig, 8)) {
            *why = QStringLiteral("not a compound file");
            return false;
        }
        shift_ = le16(f_, 0x1E);
        if ((shift_ != 9 && shift_ != 12) || le16(f_, 0x20) != 6) {
            *why = QStringLiteral("damaged compound file header (sector size)");
            return false;
        }
        sector_ = qsizetype(1) << shift_;
        // Sectors the file holds, the last one possibly cut short.
        sectors_ = f_.size() > sector_ ? (f_.size() - sector_ + sector_ - 1) / sector_ : 0;
        mini_cutoff_ = get32(f_, 0x38);

        // The FAT's own sectors: 109 in the header, the rest in a chain of
        // DIFAT sectors. There cannot be more of them than sectors in the file.
        const qsizetype per = sector_ / 4;
        const qsizetype fat_count = std::min<qsizetype>(get32(f_, 0x2C), sectors_);
        std::vector<uint32_t> fat_sectors;
        for (int i = 0; i < 109 && qsizetype(fat_sectors.size()) < fat_count; ++i)
            fat_sectors.push_back(get32(f_, 0x4C + 4 * i));
        uint32_t difat = get32(f_, 0x44);
        for (qsizetype steps = 0; difat < kLastSector && in_file(difat) && steps < sectors_
             && qsizetype(fat_sectors.size()) < fat_count;
             ++steps) {
            const qsizetype at = offset(difat);
            for (qsizetype i = 0; i < per - 1 && qsizetype(fat_sectors.size()) < fat_count; ++i)
                fat_sectors.push_back(get32(f_, at + 4 * i));
            difat = get32(f_, at + sector_ - 4);
        }
        fat_.reserve(fat_sectors.size() * size_t(per));
        for (uint32_t s : fat_sectors) {
            const qsizetype at = s < kLastSector && in_file(s) ? offset(s) : -1;
            for (qsizetype i = 0; i < per; ++i)
                fat_.push_back(at < 0 ? kFree : get32(f_, at + 4 * i));
        }

        dir_ = chain(get32(f_, 0x30), f_.size());
        root_ = -1;
        for (qsizetype e = 0; e < entries() && root_ < 0; ++e)
            if (type(e) == 5)
                root_ = e;
        if (root_ < 0) {
            *why = QStringLiteral("damaged compound file (no root directory entry)");
            return false;
        }
        return true;
    }

    // The stream entry named `name` (case aside) among the root's children,
    // or -1. A directory whose tree is broken is searched entry by entry.
    qsizetype find(QStringView name) const
    {
        std::vector<qsizetype> children;
        std::vector<bool> seen(size_t(entries()), false);
        std::vector<uint32_t> todo{get32(dir_, root_ * 128 + 0x4C)};
        while (!todo.empty()) {
            const uint32_t e = todo.back();
            todo.pop_back();
            if (e >= uint32_t(entries()) || seen[e])
                continue;
            seen[e] = true;
            children.push_back(e);
            todo.push_back(get32(dir_, qsizetype(e) * 128 + 0x44));
            todo.push_back(get32(dir_, qsizetype(e) * 128 + 0x48));
        }
        bool any_stream = false;
        for (qsizetype e : children) {
            if (type(e) != 2)
                continue;
            any_stream = true;
            if (entry_name(e).compare(name, Qt::CaseInsensitive) == 0)
                return e;
        }
        if (!any_stream)
            for (qsizetype e = 0; e < entries(); ++e)
                if (type(e) == 2 && entry_name(e).compare(name, Qt::CaseInsensitive) == 0)
                    return e;
        return -1;
    }

    // The bytes of a stream entry, as far as the file holds them.
    QByteArray stream(qsizetype e)
    {
        const uint32_t start = get32(dir_, e * 128 + 0x74);
        const uint32_t declared = get32(dir_, e * 128 + 0x78);
        const qsizetype size = std::min<qsizetype>(declared, f_.size());
        if (declared >= mini_cutoff_)
            return chain(start, size);
        if (!mini_read_) {
            mini_read_ = true;
            mini_stream_ = chain(get32(dir_, root_ * 128 + 0x74),
                                 std::min<qsizetype>(get32(dir_, root_ * 128 + 0x78), f_.size()));
            const QByteArray table = chain(get32(f_, 0x3C), f_.size());
            mini_fat_.reserve(size_t(table.size() / 4));
            for (qsizetype i = 0; i + 4 <= table.size(); i += 4)
                mini_fat_.push_back(get32(table, i));
        }
        return follow(mini_stream_, mini_fat_, 6, 0, start, size);
    }

private:
    QByteArrayView f_;
    int shift_ = 9;
    qsizetype sector_ = 512, sectors_ = 0;
    uint32_t mini_cutoff_ = 4096;
    std::vector<uint32_t> fat_, mini_fat_;
    QByteArray dir_, mini_stream_;
    bool mini_read_ = false;
    qsizetype root_ = -1;

    qsizetype offset(uint32_t s) const { return (qsizetype(s) + 1) << shift_; }
    bool in_file(uint32_t s) const { return offset(s) < f_.size(); }
    qsizetype entries() const { return dir_.size() / 128; }
    int type(qsizetype e) const { return uint8_t(dir_[e * 128 + 0x42]); }
    QString entry_name(qsizetype e) const
    {
        const int len = std::min(le16(dir_, e * 128 + 0x40) / 2, 32) - 1;   // the count holds the terminator
        QString name;
        for (int i = 0; i < len; ++i)
            name += QChar(char16_t(le16(dir_, e * 128 + 2 * i)));
        return name;
    }

    // Up to `size` bytes of the chain from `start` in the file's sectors.
    QByteArray chain(uint32_t start, qsizetype size) const { return follow(f_, fat_, shift_, 1, start, size); }

    // Up to `size` bytes of the chain from `start` through `table`, in units
    // of 1 << shift bytes of `src` (unit s at (s + skip) << shift, the last
    // one possibly cut short). A chain running out of the table or of `src`,
    // or longer than `src` has units, ends.
    static QByteArray follow(QByteArrayView src, const std::vector<uint32_t>& table, int shift, qsizetype skip,
                             uint32_t start, qsizetype size)
    {
        const qsizetype unit = qsizetype(1) << shift;
        const qsizetype max_steps = src.size() / unit + 1;
        QByteArray out;
        out.reserve(std::min(size, src.size()));
        qsizetype steps = 0;
        for (uint32_t s = start; s < table.size() && out.size() < size && steps < max_steps; s = table[s], ++steps) {
            const qsizetype at = (qsizetype(s) + skip) << shift;
            if (at >= src.size())
                break;
            out.append(src.data() + at, std::min(unit, src.size() - at));
        }
        out.truncate(size);
        return out;
    }
};

} // namespace

QByteArray compound_stream(QByteArrayView file, std::initializer_list<QStringView> names, QString* error,
                           int* found)
{
    QString why;
    if (found)
        *found = -1;
    Compound c(file);
    if (!c.open(&why)) {
        if (error)
            *error = why;
        return QByteArray();
    }
    int i = 0;
    for (QStringView name : names) {
        const qsizetype e = c.find(name);
        if (e >= 0) {
            if (found)
                *found = i;
            QByteArray s = c.stream(e);
            if (s.isEmpty() && error)
                *error = QStringLiteral("the stream %1 is empty").arg(name);
            return s;
        }
        ++i;
    }
    if (error)
        *error = QStringLiteral("no stream %1").arg(names.begin()->toString());
    return QByteArray();
}
