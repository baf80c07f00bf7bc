#include "support/biff_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace biff {

Bytes& Bytes::u8(int v)
{
    b.append(char(v & 0xFF));
    return *this;
}

Bytes& Bytes::u16(int v) { return u8(v).u8(v >> 8); }

Bytes& Bytes::u32(quint32 v) { return u16(int(v & 0xFFFF)).u16(int(v >> 16)); }

Bytes& Bytes::f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    return u32(quint32(bits)).u32(quint32(bits >> 32));
}

Bytes& Bytes::raw(const QByteArray& v)
{
    b.append(v);
    return *this;
}

QByteArray record(int type, const QByteArray& data) { return Bytes().u16(type).u16(int(data.size())).raw(data); }

namespace {

bool narrow(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 256; });
}

QByteArray chars(const QString& s, bool wide)
{
    Bytes out;
    for (QChar c : s)
        wide ? out.u16(c.unicode()) : out.u8(c.unicode());
    return out;
}

QByteArray bof(int version, int kind)
{
    if (version == 5)
        return record(0x0809, Bytes().u16(0x0500).u16(kind).u16(0x0DBB).u16(0x07CC));
    return record(0x0809, Bytes().u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(6));
}

QByteArray boundsheet(int version, quint32 pos, const Sheet& s)
{
    Bytes b;
    b.u32(pos).u8(0).u8(s.type).u8(int(s.name.size()));
    if (version == 5)
        return record(0x0085, b.raw(s.name.toLatin1()));
    const bool wide = !narrow(s.name);
    return record(0x0085, b.u8(wide ? 1 : 0).raw(chars(s.name, wide)));
}

const QByteArray kEof = record(0x000A, QByteArray());

} // namespace

QByteArray string16(const QString& s)
{
    const bool wide = !narrow(s);
    return Bytes().u16(int(s.size())).u8(wide ? 1 : 0).raw(chars(s, wide));
}

QByteArray number(int row, int col, double v, int xf)
{
    return record(0x0203, Bytes().u16(row).u16(col).u16(xf).f64(v));
}

QByteArray rk(int row, int col, qint32 whole, int xf)
{
    return record(0x027E, Bytes().u16(row).u16(col).u16(xf).u32(quint32(whole) << 2 | 2));
}

QByteArray label_sst(int row, int col, quint32 index, int xf)
{
    return record(0x00FD, Bytes().u16(row).u16(col).u16(xf).u32(index));
}

QByteArray xf(int version, int format)
{
    Bytes b;
    b.u16(0).u16(format).u16(0x0001);
    b.raw(QByteArray(version == 5 ? 10 : 14, '\0'));
    return record(0x00E0, b);
}

QByteArray format(int version, int index, const QString& code)
{
    if (version == 5)
        return record(0x041E, Bytes().u16(index).u8(int(code.size())).raw(code.toLatin1()));
    return record(0x041E, Bytes().u16(index).raw(string16(code)));
}

QByteArray sst(const QStringList& strings)
{
    constexpr qsizetype kMax = 8224;
    QByteArray out;
    QByteArray cur = Bytes().u32(quint32(strings.size())).u32(quint32(strings.size()));
    bool first = true;
    auto flush = [&] {
        out += record(first ? 0x00FC : 0x003C, cur);
        first = false;
        cur.clear();
    };
    for (const QString& s : strings) {
        const bool wide = !narrow(s);
        const int width = wide ? 2 : 1;
        if (cur.size() + 3 + width > kMax)
            flush();
        cur += Bytes().u16(int(s.size())).u8(wide ? 1 : 0);
        // Characters that do not fit go on in a CONTINUE record, which
        // starts with the flags byte again.
        for (qsizetype pos = 0; pos < s.size();) {
            const qsizetype n = std::min<qsizetype>(s.size() - pos, (kMax - cur.size()) / width);
            if (n == 0) {
                flush();
                cur += char(wide ? 1 : 0);
                continue;
            }
            cur += chars(s.mid(pos, n), wide);
            pos += n;
        }
    }
    flush();
    return out;
}

QByteArray workbook(int version, const QByteArray& globals, const QList<Sheet>& sheets)
{
    qsizetype globals_size = bof(version, 0x0005).size() + globals.size() + kEof.size();
    for (const Sheet& s : sheets)
        globals_size += boundsheet(version, 0, s).size();
    QByteArray list, body;
    for (const Sheet& s : sheets) {
        list += boundsheet(version, quint32(globals_size + body.size()), s);
        body += bof(version, s.type == 2 ? 0x0020 : 0x0010) + s.records + kEof;
    }
    return bof(version, 0x0005) + globals + list + kEof + body;
}

QByteArray compound(const QList<std::pair<QString, QByteArray>>& streams, const Options& opt)
{
    constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;
    const qsizetype S = qsizetype(1) << opt.sector_shift, per = S / 4;
    auto sectors = [](qsizetype bytes, qsizetype unit) { return quint32((bytes + unit - 1) / unit); };

    // Small streams, one after the other in 64-byte mini sectors.
    QByteArray mini;
    std::vector<quint32> mini_fat, start(size_t(streams.size()), kEnd);
    for (int i = 0; i < streams.size(); ++i) {
        const QByteArray& data = streams[i].second;
        if (data.size() >= 4096 || data.isEmpty())
            continue;
        start[size_t(i)] = quint32(mini.size() / 64);
        const quint32 n = sectors(data.size(), 64);
        for (quint32 k = 0; k < n; ++k)
            mini_fat.push_back(k + 1 < n ? start[size_t(i)] + k + 1 : kEnd);
        mini += data;
        mini.append(QByteArray(64 * qsizetype(n) - data.size(), '\0'));
    }
    const quint32 ndir = sectors((streams.size() + 1) * 128, S);
    const quint32 nmf = sectors(qsizetype(mini_fat.size()) * 4, S), nms = sectors(mini.size(), S);
    quint32 data_sectors = ndir + nmf + nms;
    for (const auto& s : streams)
        if (s.second.size() >= 4096)
            data_sectors += sectors(s.second.size(), S);
    quint32 nf = 1, nd = 0;
    while (true) {
        const quint32 f = sectors(qsizetype(nf + nd + data_sectors), per);
        const quint32 d = f > 109 ? sectors(f - 109, per - 1) : 0;
        if (f == nf && d == nd)
            break;
        nf = f;
        nd = d;
    }
    const quint32 total = nf + nd + data_sectors;

    std::vector<quint32> fat(size_t(nf) * size_t(per), kFree);
    for (quint32 s = 0; s < nf; ++s)
        fat[s] = 0xFFFFFFFD;
    for (quint32 s = nf; s < nf + nd; ++s)
        fat[s] = 0xFFFFFFFC;
    auto chain = [&](quint32 first, quint32 n) {
        for (quint32 k = 0; k < n; ++k)
            fat[first + k] = k + 1 < n ? first + k + 1 : kEnd;
    };
    const quint32 dir_start = nf + nd, mf_start = dir_start + ndir, ms_start = mf_start + nmf;
    chain(dir_start, ndir);
    chain(mf_start, nmf);
    chain(ms_start, nms);
    quint32 next = ms_start + nms;
    qsizetype end_of_data = (qsizetype(ms_start) + 1) * S + mini.size();
    for (int i = 0; i < streams.size(); ++i) {
        if (streams[i].second.size() < 4096)
            continue;
        const quint32 n = sectors(streams[i].second.size(), S);
        start[size_t(i)] = next;
        chain(next, n);
        end_of_data = (qsizetype(next) + 1) * S + streams[i].second.size();
        next += n;
    }

    QByteArray file((qsizetype(total) + 1) * S, '\0');
    auto put = [&](qsizetype at, const QByteArray& b) { file.replace(at, b.size(), b); };
    auto at = [&](quint32 sector) { return (qsizetype(sector) + 1) * S; };
    Bytes h;
    h.raw(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).raw(QByteArray(16, '\0'));
    h.u16(0x3E).u16(opt.sector_shift == 12 ? 4 : 3).u16(0xFFFE).u16(opt.sector_shift).u16(6);
    h.raw(QByteArray(6, '\0')).u32(opt.sector_shift == 12 ? ndir : 0).u32(nf).u32(dir_start).u32(0).u32(4096);
    h.u32(nmf ? mf_start : kEnd).u32(nmf).u32(nd ? nf : kEnd).u32(nd);
    for (quint32 i = 0; i < 109; ++i)
        h.u32(i < nf ? i : kFree);
    put(0, h);
    // The FAT sectors past the 109 the header lists, in DIFAT sectors.
    for (quint32 d = 0; d < nd; ++d) {
        Bytes b;
        for (qsizetype i = 0; i < per - 1; ++i) {
            const qsizetype k = 109 + qsizetype(d) * (per - 1) + i;
            b.u32(k < nf ? quint32(k) : kFree);
        }
        b.u32(d + 1 < nd ? nf + d + 1 : kEnd);
        put(at(nf + d), b);
    }
    Bytes fat_bytes;
    for (quint32 v : fat)
        fat_bytes.u32(v);
    put(at(0), fat_bytes);

    Bytes dir;
    auto entry = [&](const QString& name, int type, quint32 right, quint32 child, quint32 first, quint32 size) {
        Bytes e;
        e.raw(chars(name.left(31), true)).raw(QByteArray(64 - 2 * std::min<qsizetype>(name.size(), 31), '\0'));
        e.u16(name.isEmpty() ? 0 : int(std::min<qsizetype>(name.size(), 31) + 1) * 2).u8(type).u8(1);
        e.u32(kFree).u32(right).u32(child).raw(QByteArray(16 + 4 + 16, '\0')).u32(first).u32(size).u32(0);
        dir.raw(e);
    };
    entry(QStringLiteral("Root Entry"), 5, kFree, streams.isEmpty() ? kFree : 1, nms ? ms_start : kEnd,
          quint32(mini.size()));
    for (int i = 0; i < streams.size(); ++i)
        entry(streams[i].first, 2, i + 1 < streams.size() ? quint32(i + 2) : kFree, kFree, start[size_t(i)],
              quint32(streams[i].second.size()));
    while (dir.b.size() % S)
        entry(QString(), 0, kFree, kFree, 0, 0);
    put(at(dir_start), dir);
    Bytes mf;
    for (quint32 v : mini_fat)
        mf.u32(v);
    put(at(mf_start), mf);
    put(at(ms_start), mini);
    for (int i = 0; i < streams.size(); ++i)
        if (streams[i].second.size() >= 4096)
            put(at(start[size_t(i)]), streams[i].second);
    if (!opt.pad_last)
        file.truncate(end_of_data);
    return file;
}

QByteArray texts_everywhere(const QStringList& texts, int rows, int cols)
{
    QByteArray cells;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            cells += label_sst(r, c, quint32((r * cols + c) % texts.size()));
    return compound({{QStringLiteral("Workbook"), workbook(8, xf(8, 0) + sst(texts), {{"Sheet1", 0, cells}})}});
}

} // namespace biff
