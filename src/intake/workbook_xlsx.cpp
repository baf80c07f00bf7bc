// .xlsx: a zip of XML parts. The package's relationships lead to the
// workbook part, the workbook's to its first sheet, the shared strings and
// the styles. Every part is streamed through QXmlStreamReader as it is
// inflated; nothing is held as a tree.
#include "intake/workbook_sheet.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>
#include <zip.h>

namespace {

// What a workbook may hold before it is refused. Each keeps the XML reader
// from taking the machine's memory, or minutes, over a hostile file; no
// spreadsheet program writes anything near them.
constexpr qint64 kMaxTokenBytes = qint64(16) << 20;   // one text or tag
constexpr int kMaxSectionBytes = 256 << 10;           // one comment, CDATA section or processing instruction
constexpr int kMaxAttributes = 64;                    // on one element
constexpr int kMaxDepth = 256;                        // elements open at once
constexpr int kMaxNamespaces = 64;                    // declarations in scope
// The time a workbook takes follows the reader's work, counted in units of
// about a tenth of a microsecond: one per token, attribute or entity
// reference, more for an element with many attributes (the XML reader
// compares each with those before it), two more per cell (its value is
// converted), and one per 16 bytes. A sheet of 12 columns takes about 140 a
// row, so 350,000 rows fit; a hostile workbook is refused within seconds.
constexpr qint64 kMaxWork = qint64(48) << 20;
// One cell or shared string as written, before its _xHHHH_ escapes are
// decoded. Spreadsheet programs stop at 32,767 characters, but some writers
// go past it and readers take such a text whole; this is far beyond both.
constexpr qsizetype kMaxTextChars = qsizetype(1) << 22;
constexpr qsizetype kMaxNameChars = 1024;             // a relationship id, type or target
constexpr qsizetype kMaxEntries = 16384;              // relationships of a part, sheets of a workbook
constexpr size_t kMaxStyles = size_t(1) << 20;        // cell formats
constexpr qint64 kMaxZipEntries = 100000;             // parts of the package

// Walks the raw bytes of a part ahead of the XML reader, coarsely: tags,
// quoted values, comments, CDATA, processing instructions. It stops what the
// reader would take far too long over before it gets there: a document type
// declaration (whose entities the reader would define and then expand), an
// element with very many attributes, a very long comment (the reader looks
// for its end from its start again whenever more bytes come). It counts the
// attributes and entity references into the work. UTF-16 parts are walked
// by code units; what is not ASCII is passed over.
class MarkupScan {
public:
    enum Result { Fine, Doctype, TooManyAttributes, LongSection };

    // The work counted since the last call.
    qint64 take_work() { return std::exchange(work_, 0); }

    Result feed(const char* p, qsizetype n)
    {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        const auto* end = b + n;
        if (width_ == 0 && b != end) {
            // The first two bytes tell UTF-16 (with or without its byte
            // order mark: a part starts with '<', a blank or the mark, all
            // of which have a zero byte in UTF-16) from UTF-8 and the
            // one-byte encodings.
            const int b1 = n > 1 ? b[1] : -1;
            width_ = (b[0] == 0xFF && b1 == 0xFE) || (b[0] != 0 && b1 == 0) ? 2
                   : (b[0] == 0xFE && b1 == 0xFF) || (b[0] == 0 && b1 > 0)  ? 3
                                                                            : 1;
        }
        if (width_ == 1) {
            // Most bytes are text, quoted values or names inside tags: they
            // are skipped over in bulk up to the next byte that matters.
            while (b != end) {
                if (state_ == Text || state_ == Quoted) {
                    const auto* stop = static_cast<const unsigned char*>(
                        std::memchr(b, state_ == Text ? '<' : int(quote_), size_t(end - b)));
                    work_ += std::count(b, stop ? stop : end, '&');
                    if (!stop)
                        break;
                    b = stop;
                } else if (state_ == Tag) {
                    while (b != end && *b != '"' && *b != '\'' && *b != '=' && *b != '>')
                        ++b;
                    if (b == end)
                        break;
                }
                if (const Result r = step(*b++); r != Fine)
                    return r;
            }
            return Fine;
        }
        for (; b != end; ++b) {
            if (half_ < 0) {
                half_ = *b;
                continue;
            }
            const unsigned unit = width_ == 2 ? unsigned(half_) | unsigned(*b) << 8 : unsigned(half_) << 8 | *b;
            half_ = -1;
            if (const Result r = step(unit); r != Fine)
                return r;
        }
        return Fine;
    }

private:
    [[gnu::always_inline]] Result step(unsigned c)
    {
        switch (state_) {
        case Text:
            if (c == '<')
                state_ = Open;
            else if (c == '&')
                ++work_;
            break;
        case Open:
            state_ = c == '!' ? Bang : c == '?' ? Pi : Tag;
            attributes_ = 0;
            run_ = 0;
            length_ = 0;
            break;
        case Bang:   // "<!--", "<![CDATA[" or a document type declaration
            if (c == '-')
                state_ = Comment;
            else if (c == '[')
                state_ = CData;
            else
                return Doctype;
            break;
        case Tag:
            if (c == '"' || c == '\'') {
                quote_ = c;
                state_ = Quoted;
            } else if (c == '=') {
                ++work_;
                if (++attributes_ > kMaxAttributes)
                    return TooManyAttributes;
            } else if (c == '>') {
                work_ += attributes_ * attributes_ / 32;
                state_ = Text;
            }
            break;
        case Quoted:
            if (c == quote_)
                state_ = Tag;
            else if (c == '&')
                ++work_;
            break;
        case Comment:   // ends at "-->"
        case CData:     // ends at "]]>"
        case Pi:        // ends at "?>"
            if (++length_ > kMaxSectionBytes)
                return LongSection;
            if (c == '>' && run_ >= (state_ == Pi ? 1 : 2))
                state_ = Text;
            else
                run_ = c == (state_ == Comment ? '-' : state_ == CData ? ']' : '?') ? run_ + 1 : 0;
            break;
        }
        return Fine;
    }

    enum State : uint8_t { Text, Open, Bang, Tag, Quoted, Comment, CData, Pi } state_ = Text;
    int width_ = 0;   // 1 byte, 2 UTF-16 little-endian, 3 big-endian; 0 not seen yet
    int half_ = -1;   // the first byte of a UTF-16 unit split between chunks
    unsigned quote_ = 0;
    int attributes_ = 0, run_ = 0, length_ = 0;
    qint64 work_ = 0;
};

// The number of entries the end record of the zip at `path` lists; -1 when
// there is none (opening the zip then says what is wrong).
qint64 zip_entries(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    // The end record (22 bytes and a comment of up to 65,535) is last; the
    // locator of a 64-bit one right before it.
    const qint64 tail_size = std::min<qint64>(f.size(), 20 + 22 + 65535);
    if (!f.seek(f.size() - tail_size))
        return -1;
    const QByteArray tail = f.read(tail_size);
    const qsizetype end = tail.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (end < 0 || end + 22 > tail.size())
        return -1;
    auto le = [](const QByteArray& b, qsizetype at, int bytes) {
        quint64 v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | uchar(b[at + i]);
        return v;
    };
    const quint64 count = le(tail, end + 10, 2);
    if (count != 0xFFFF || end < 20 || tail.mid(end - 20, 4) != QByteArrayView("PK\x06\x07", 4))
        return qint64(count);
    if (!f.seek(qint64(std::min<quint64>(le(tail, end - 20 + 8, 8), quint64(f.size())))))
        return -1;
    const QByteArray end64 = f.read(56);
    if (end64.size() < 56 || !end64.startsWith(QByteArrayView("PK\x06\x06", 4)))
        return -1;
    return qint64(std::min<quint64>(le(end64, 32, 8), quint64(INT64_MAX)));
}

class Package {
public:
    Package(const QString& path, qint64 part_limit) : path_(path), part_limit_(part_limit)
    {
        // The zip's directory is read whole when it is opened, a few hundred
        // bytes of memory per entry.
        if (const qint64 entries = zip_entries(path); entries > kMaxZipEntries) {
            error = QStringLiteral("%1 lists %2 parts, more than a workbook has: refused").arg(path).arg(entries);
            return;
        }
        int code = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
        if (!zip_) {
            zip_error_t e;
            zip_error_init_with_code(&e, code);
            error = QStringLiteral("%1 is damaged: %2").arg(path, QString::fromUtf8(zip_error_strerror(&e)));
            zip_error_fini(&e);
        }
    }
    ~Package()
    {
        if (zip_)
            zip_discard(zip_);
    }
    bool ok() const { return zip_ != nullptr; }
    bool has(const QString& name) const
    {
        return zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
    }

    // Streams the part through `on_token` (called after each token; returns
    // false to stop early, with `error` set when that refuses the part).
    // False with `error` set when the part is missing (unless optional),
    // damaged, not well-formed XML, or beyond the limits above.
    bool stream(const QString& name, const std::function<bool(QXmlStreamReader&)>& on_token,
                bool optional = false)
    {
        const zip_int64_t index = zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0) {
            if (!optional)
                error = QStringLiteral("%1 has no part %2: not a workbook").arg(path_, name);
            return optional;
        }
        auto refuse_part = [&](const QString& why) { return refuse(QStringLiteral("part %1 %2").arg(name, why)); };
        auto too_big = [&] {
            return refuse_part(QStringLiteral("inflates to more than %1 bytes: refused").arg(part_limit_));
        };
        // The size the zip declares is believed only as far as refusing a
        // part at once goes: the inflated bytes are counted, and a part that
        // inflates past what it declared is refused as damaged.
        zip_stat_t st;
        zip_stat_init(&st);
        qint64 declared = -1;
        if (zip_stat_index(zip_, zip_uint64_t(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
            if (st.size > zip_uint64_t(part_limit_))
                return too_big();
            declared = qint64(st.size);
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> f(zip_fopen_index(zip_, zip_uint64_t(index), 0),
                                                             zip_fclose);
        if (!f) {
            error = QStringLiteral("%1: part %2 cannot be read: %3")
                        .arg(path_, name, QString::fromUtf8(zip_strerror(zip_)));
            return false;
        }
        QXmlStreamReader x;
        MarkupScan scan;
        QByteArray chunk(256 * 1024, Qt::Uninitialized);
        qint64 inflated = 0;
        qint64 since_token = 0;            // bytes added while the reader has not finished a token
        std::vector<int> namespaces;       // declared by each open element
        int in_scope = 0;
        bool eof = false;
        while (true) {
            const QXmlStreamReader::TokenType t = x.readNext();
            if (t == QXmlStreamReader::Invalid) {
                if (x.error() == QXmlStreamReader::PrematureEndOfDocumentError && !eof) {
                    const zip_int64_t n = zip_fread(f.get(), chunk.data(), zip_uint64_t(chunk.size()));
                    if (n < 0)
                        return refuse_part(QStringLiteral("is damaged: %1")
                                          .arg(QString::fromUtf8(zip_error_strerror(zip_file_get_error(f.get())))));
                    if (n == 0) {
                        eof = true;
                        continue;
                    }
                    inflated += n;
                    since_token += n;
                    work_ += n / 16;
                    if (inflated > part_limit_)
                        return too_big();
                    if (declared >= 0 && inflated > declared)
                        return refuse_part(QStringLiteral("is damaged: it inflates past the %1 bytes it declares").arg(declared));
                    if (since_token > kMaxTokenBytes)
                        return refuse_part(QStringLiteral("holds a text or tag longer than %1 bytes: refused").arg(kMaxTokenBytes));
                    switch (scan.feed(chunk.constData(), qsizetype(n))) {
                    case MarkupScan::Fine:
                        break;
                    case MarkupScan::Doctype:
                        return refuse_part(QStringLiteral("carries a document type declaration (DTD): refused"));
                    case MarkupScan::TooManyAttributes:
                        return refuse_part(QStringLiteral("has an element with more than %1 attributes: refused").arg(kMaxAttributes));
                    case MarkupScan::LongSection:
                        return refuse_part(QStringLiteral("has a comment, CDATA section or processing instruction longer than %1 bytes: refused")
                                               .arg(kMaxSectionBytes));
                    }
                    work_ += scan.take_work();
                    x.addData(QByteArray(chunk.constData(), qsizetype(n)));
                    advance(n);
                    continue;
                }
                return refuse_part(QStringLiteral("is damaged: %1 (line %2)").arg(x.errorString()).arg(x.lineNumber()));
            }
            since_token = 0;
            if (++work_ > kMaxWork)
                return refuse_part(QStringLiteral("makes the workbook too big to read (its markup passes %1 units of work): refused").arg(kMaxWork));
            switch (t) {
            case QXmlStreamReader::DTD:
                return refuse_part(QStringLiteral("carries a document type declaration (DTD): refused"));
            case QXmlStreamReader::StartElement:
                namespaces.push_back(int(x.namespaceDeclarations().size()));
                in_scope += namespaces.back();
                if (namespaces.size() > size_t(kMaxDepth))
                    return refuse_part(QStringLiteral("nests elements deeper than %1: refused").arg(kMaxDepth));
                if (in_scope > kMaxNamespaces)
                    return refuse_part(QStringLiteral("declares more than %1 namespaces: refused").arg(kMaxNamespaces));
                break;
            case QXmlStreamReader::EndElement:
                if (!namespaces.empty()) {
                    in_scope -= namespaces.back();
                    namespaces.pop_back();
                }
                break;
            case QXmlStreamReader::EndDocument:
                return true;
            default:
                break;
            }
            if (!on_token(x))
                return error.isEmpty();
        }
    }

    // The uncompressed size a part declares (0 when missing), at most the
    // limit of a part.
    qint64 size_of(const QString& name) const
    {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            return 0;
        return qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(part_limit_)));
    }

    // Reports the share of `total` bytes inflated so far, whole percents.
    void count_progress(qint64 total, const ReadProgress* progress)
    {
        total_ = total;
        done_ = 0;
        progress_ = progress && *progress ? progress : nullptr;
    }

    // Counts work beyond the tokens and attributes.
    void add_work(qint64 units) { work_ += units; }

    // Refuses the workbook from inside a part's `on_token`, which then
    // returns false.
    bool refuse(const QString& why)
    {
        error = QStringLiteral("%1: %2").arg(path_, why);
        return false;
    }

    QString error;

private:
    void advance(qint64 n)
    {
        if (!progress_ || total_ <= 0)
            return;
        done_ += n;
        const int pct = int(std::min<qint64>(99, done_ * 100 / total_));
        if (pct != last_pct_) {
            last_pct_ = pct;
            (*progress_)(pct);
        }
    }

    qint64 work_ = 0;       // of the parts read so far
    qint64 total_ = 0, done_ = 0;
    int last_pct_ = -1;
    const ReadProgress* progress_ = nullptr;
    QString path_;
    qint64 part_limit_;
    zip_t* zip_ = nullptr;
};

// A relationship target as a part name: absolute ("/xl/x.xml") or relative
// to the folder of the part that holds the relationship.
QString resolve(const QString& base_dir, QString target)
{
    if (target.startsWith(u'/'))
        target = target.mid(1);
    else
        target = base_dir + target;
    QStringList out;
    for (const QString& seg : target.split(u'/')) {
        if (seg == QLatin1String("..")) {
            if (!out.isEmpty())
                out.removeLast();
        } else if (!seg.isEmpty() && seg != QLatin1String("."))
            out << seg;
    }
    return out.join(u'/');
}

QString folder_of(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString rels_of(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct Relationship {
    QString type;   // last segment of the type URI ("worksheet", "sharedStrings", ...)
    QString target; // resolved part name
};

bool read_rels(Package& p, const QString& part, QHash<QString, Relationship>* rels, bool optional)
{
    const QString dir = folder_of(part);
    int count = 0;
    return p.stream(rels_of(part), [&](QXmlStreamReader& x) {
        if (x.isStartElement() && x.name() == u"Relationship") {
            const QXmlStreamAttributes a = x.attributes();
            if (a.value(QLatin1String("TargetMode")) == u"External")
                return true;
            const QStringView id = a.value(QLatin1String("Id"));
            QStringView type = a.value(QLatin1String("Type"));
            const QStringView target = a.value(QLatin1String("Target"));
            if (++count > kMaxEntries)
                return p.refuse(QStringLiteral("part %1 holds more than %2 relationships: refused").arg(rels_of(part)).arg(kMaxEntries));
            if (id.size() > kMaxNameChars || type.size() > kMaxNameChars || target.size() > kMaxNameChars)
                return p.refuse(QStringLiteral("part %1 names a part longer than %2 characters: refused").arg(rels_of(part)).arg(kMaxNameChars));
            type = type.mid(type.lastIndexOf(u'/') + 1);
            rels->insert(id.toString(), {type.toString(), resolve(dir, target.toString())});
        }
        return true;
    }, optional);
}

// "_x000D_" and the like stand for characters XML cannot carry.
void decode_escapes(QString& s)
{
    if (!s.contains(QLatin1String("_x")))
        return;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'_' && i + 6 < s.size() && s[i + 1] == u'x' && s[i + 6] == u'_') {
            bool ok = false;
            const uint code = QStringView(s).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    s = out;
}

bool parse_number(QStringView s, double* v)
{
    char buf[64];
    if (s.size() == 0 || s.size() >= qsizetype(sizeof buf))
        return false;
    qsizetype n = 0;
    for (QChar c : s) {
        if (c.unicode() > 127)
            return false;
        buf[n++] = char(c.unicode());
    }
    // Leading/trailing blanks are not numbers in this part; from_chars takes no '+'.
    const char* b = buf;
    if (*b == '+')
        ++b;
    auto res = std::from_chars(b, buf + n, *v);
    return res.ec == std::errc() && res.ptr == buf + n;
}

// "BC12" -> *col 55, *row 12 (0 for a part the reference lacks). False
// when it names a column or row beyond the sheet's last.
bool parse_ref(QStringView ref, uint32_t* col, uint32_t* row)
{
    uint32_t c = 0, r = 0;
    qsizetype i = 0;
    for (; i < ref.size(); ++i) {
        const char16_t ch = ref[i].unicode();
        if (ch >= u'A' && ch <= u'Z')
            c = c * 26 + (ch - u'A' + 1);
        else if (ch >= u'a' && ch <= u'z')
            c = c * 26 + (ch - u'a' + 1);
        else
            break;
        if (c > kSheetMaxCols)
            return false;
    }
    for (; i < ref.size(); ++i) {
        const char16_t ch = ref[i].unicode();
        if (ch < u'0' || ch > u'9')
            break;
        r = r * 10 + (ch - u'0');
        if (r > kSheetMaxRows)
            return false;
    }
    *col = c;
    *row = r;
    return true;
}

// A whole number; 0 when `s` is empty or holds anything but digits, and
// UINT32_MAX when it is bigger than that.
uint32_t to_uint(QStringView s)
{
    uint64_t v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return 0;
        v = std::min<uint64_t>(v * 10 + (c.unicode() - u'0'), UINT32_MAX);
    }
    return uint32_t(v);
}

} // namespace

bool read_xlsx(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress,
               qint64 part_limit)
{
    Package p(path, part_limit);
    auto fail = [&] {
        *error = p.error;
        return false;
    };
    if (!p.ok())
        return fail();

    // The package's relationships name the workbook part.
    QHash<QString, Relationship> rels;
    if (!read_rels(p, QString(), &rels, true))
        return fail();
    QString workbook = QStringLiteral("xl/workbook.xml");
    for (const Relationship& r : std::as_const(rels))
        if (r.type == QLatin1String("officeDocument"))
            workbook = r.target;

    // The workbook: its date system and its sheets in their order; the
    // first of them that is a worksheet (not a chart) is read.
    bool date1904 = false;
    QStringList sheet_ids;
    if (!p.stream(workbook, [&](QXmlStreamReader& x) {
            if (x.isEndElement() && x.name() == u"sheets")
                return false;
            if (!x.isStartElement())
                return true;
            if (x.name() == u"workbookPr") {
                const QStringView v = x.attributes().value(QLatin1String("date1904"));
                date1904 = v == u"1" || v == u"true";
            } else if (x.name() == u"sheet") {
                for (const QXmlStreamAttribute& a : x.attributes()) {
                    if (a.name() == u"id" && !a.namespaceUri().isEmpty()) {
                        if (sheet_ids.size() >= kMaxEntries || a.value().size() > kMaxNameChars)
                            return p.refuse(QStringLiteral("the workbook lists more than %1 sheets or a sheet id longer than %2 characters: refused")
                                                .arg(kMaxEntries)
                                                .arg(kMaxNameChars));
                        sheet_ids << a.value().toString();
                    }
                }
            }
            return true;
        }))
        return fail();

    rels.clear();
    if (!read_rels(p, workbook, &rels, false))
        return fail();
    Relationship sheet_rel;
    for (const QString& id : std::as_const(sheet_ids)) {
        if (rels.value(id).type == QLatin1String("worksheet")) {
            sheet_rel = rels.value(id);
            break;
        }
    }
    if (sheet_rel.target.isEmpty()) {
        *error = QStringLiteral("%1 has no worksheet").arg(path);
        return false;
    }
    if (!p.has(sheet_rel.target)) {
        *error = QStringLiteral("%1: the part of its first worksheet is missing: not a workbook or damaged").arg(path);
        return false;
    }
    QString strings_part, styles_part;
    for (const Relationship& r : std::as_const(rels)) {
        if (r.type == QLatin1String("sharedStrings"))
            strings_part = r.target;
        else if (r.type == QLatin1String("styles"))
            styles_part = r.target;
    }

    // The shared strings and the sheet are the bulk of the reading.
    p.count_progress(p.size_of(strings_part) + p.size_of(sheet_rel.target), &progress);

    // Styles: which cell formats show dates.
    std::vector<char> date_style;
    if (!styles_part.isEmpty()) {
        QHash<uint32_t, bool> custom;   // numFmtId -> shows a date
        bool in_xfs = false;
        if (!p.stream(styles_part, [&](QXmlStreamReader& x) {
                if (x.isStartElement()) {
                    if (x.name() == u"numFmt") {
                        // Format ids stop far below 65,536; a bigger one
                        // (which no cell format can name usefully) is
                        // passed over rather than kept.
                        const QXmlStreamAttributes a = x.attributes();
                        const uint32_t id = to_uint(a.value(QLatin1String("numFmtId")));
                        if (id <= 0xFFFF)
                            custom.insert(id, is_date_format_code(a.value(QLatin1String("formatCode"))));
                    } else if (x.name() == u"cellXfs") {
                        in_xfs = true;
                    } else if (in_xfs && x.name() == u"xf") {
                        if (date_style.size() >= kMaxStyles)
                            return p.refuse(QStringLiteral("the workbook has more than %1 cell formats: refused").arg(kMaxStyles));
                        const uint32_t id = to_uint(x.attributes().value(QLatin1String("numFmtId")));
                        const auto it = custom.constFind(id);
                        date_style.push_back(it != custom.constEnd() ? *it : is_date_format_id(int(std::min<uint32_t>(id, 0xFFFF))));
                    }
                } else if (x.isEndElement() && x.name() == u"cellXfs") {
                    return false;
                }
                return true;
            }, true))
            return fail();
    }

    // Shared strings go into the pool once; cells refer to their bytes.
    struct Span {
        uint32_t off, len;
    };
    std::vector<Span> strings;
    auto too_big = [&] {
        return p.refuse(QStringLiteral("the worksheet is too big to read (more than %1 values or %2 MB): refused")
                            .arg(StoredSheet::kMaxCells)
                            .arg(StoredSheet::kMaxBytes >> 20));
    };
    auto too_long = [&] {
        return p.refuse(QStringLiteral("a cell holds more than %1 characters: refused").arg(kMaxTextChars));
    };
    auto held = [&] { return sheet.held_bytes() + qint64(strings.size() * sizeof(Span)); };
    if (!strings_part.isEmpty()) {
        QString text;
        int depth_rph = 0;
        bool in_si = false, in_t = false;
        if (!p.stream(strings_part, [&](QXmlStreamReader& x) {
                switch (x.tokenType()) {
                case QXmlStreamReader::StartElement:
                    if (x.name() == u"si") {
                        in_si = true;
                        text.resize(0);
                    } else if (x.name() == u"rPh") {
                        ++depth_rph;   // phonetic guide: not part of the value
                    } else if (x.name() == u"t") {
                        in_t = in_si && depth_rph == 0;
                    } else if (x.name() == u"sst") {
                        // The count is the file's word only: it sizes no
                        // more than a first block.
                        strings.reserve(std::min<uint32_t>(to_uint(x.attributes().value(QLatin1String("uniqueCount"))),
                                                           1u << 16));
                    }
                    break;
                case QXmlStreamReader::Characters:
                    if (in_t) {
                        if (text.size() + x.text().size() > kMaxTextChars)
                            return too_long();
                        text += x.text();
                    }
                    break;
                case QXmlStreamReader::EndElement:
                    if (x.name() == u"t") {
                        in_t = false;
                    } else if (x.name() == u"rPh") {
                        --depth_rph;
                    } else if (x.name() == u"si") {
                        in_si = false;
                        if (strings.size() >= StoredSheet::kMaxCells || held() > StoredSheet::kMaxBytes)
                            return too_big();
                        decode_escapes(text);
                        const uint32_t off = sheet.add_text(text);
                        strings.push_back({off, sheet.pool_size() - off});
                    }
                    break;
                default:
                    break;
                }
                return true;
            }))
            return fail();
    }

    // The sheet, row by row. Rows and cells without a reference follow the
    // one before them.
    enum class Kind { Number, Shared, Inline, Str, Bool, Error, IsoDate };
    uint32_t row = 0, col = 0;
    Kind kind = Kind::Number;
    bool is_date = false;
    bool in_value = false, in_is = false, in_t = false;
    int depth_rph = 0;
    QString text;
    auto beyond = [&](QStringView ref) {
        return p.refuse(QStringLiteral("a cell or row (%1) lies beyond the last row (%2) or column (%3) a sheet can have: refused")
                            .arg(ref.isEmpty() ? QStringLiteral("row %1, column %2").arg(row).arg(col)
                                               : ref.left(40).toString())
                            .arg(kSheetMaxRows)
                            .arg(kSheetMaxCols));
    };
    // False (the workbook refused) when the sheet would grow past its limits.
    // Stores pool bytes from `off` on as the cell; false (the workbook
    // refused) when the sheet would grow past its limits.
    auto store = [&](uint32_t off) {
        return (sheet.put(row, col, off, sheet.pool_size() - off) && held() <= StoredSheet::kMaxBytes) || too_big();
    };
    auto store_bytes = [&](const QByteArray& out) { return store(sheet.add_text(out.constData(), size_t(out.size()))); };
    auto end_cell = [&] {
        if (text.isEmpty())
            return true;
        double v = 0;
        switch (kind) {
        case Kind::Shared: {
            const uint32_t i = to_uint(text);
            if (text.size() <= 9 && i < strings.size() && !sheet.put(row, col, strings[i].off, strings[i].len))
                return too_big();
            return true;
        }
        case Kind::Number:
            if (parse_number(text, &v)) {
                const QByteArray s = is_date ? serial_date_text(v, date1904) : QByteArray();
                return store_bytes(s.isEmpty() ? number_text(v) : s);
            }
            break;
        case Kind::Bool:
            return store_bytes((text == u"1" || text == u"true") ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE"));
        case Kind::IsoDate:
            if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-')
                text.truncate(10);
            break;
        case Kind::Inline:
        case Kind::Str:
            decode_escapes(text);
            break;
        case Kind::Error:
            break;
        }
        return store(sheet.add_text(text));
    };
    if (!p.stream(sheet_rel.target, [&](QXmlStreamReader& x) {
            switch (x.tokenType()) {
            case QXmlStreamReader::StartElement: {
                const QStringView n = x.name();
                if (n == u"c") {
                    p.add_work(2);
                    const QXmlStreamAttributes a = x.attributes();
                    const QStringView ref = a.value(QLatin1String("r"));
                    uint32_t ref_row = 0, ref_col = 0;
                    if (!parse_ref(ref, &ref_col, &ref_row))
                        return beyond(ref);
                    col = ref_col ? ref_col : col + 1;
                    if (ref_row)
                        row = ref_row;
                    if (col > kSheetMaxCols || row > kSheetMaxRows)
                        return beyond(ref);
                    const QStringView t = a.value(QLatin1String("t"));
                    kind = t.isEmpty() || t == u"n" ? Kind::Number
                         : t == u"s"                ? Kind::Shared
                         : t == u"inlineStr"        ? Kind::Inline
                         : t == u"str"              ? Kind::Str
                         : t == u"b"                ? Kind::Bool
                         : t == u"e"                ? Kind::Error
                         : t == u"d"                ? Kind::IsoDate
                                                    : Kind::Str;
                    const uint32_t s = to_uint(a.value(QLatin1String("s")));
                    is_date = s < date_style.size() && date_style[s];
                    text.resize(0);
                    depth_rph = 0;
                } else if (n == u"row") {
                    const QStringView ref = x.attributes().value(QLatin1String("r"));
                    const uint32_t r = to_uint(ref);
                    row = r ? r : row + 1;
                    col = 0;
                    if (row > kSheetMaxRows)
                        return beyond(ref);
                } else if (n == u"v") {
                    in_value = kind != Kind::Inline;
                } else if (n == u"is") {
                    in_is = true;
                } else if (n == u"rPh") {
                    ++depth_rph;
                } else if (n == u"t") {
                    in_t = in_is && depth_rph == 0;
                }
                break;
            }
            case QXmlStreamReader::Characters:
                if (in_value || in_t) {
                    if (text.size() + x.text().size() > kMaxTextChars)
                        return too_long();
                    text += x.text();
                }
                break;
            case QXmlStreamReader::EndElement: {
                const QStringView n = x.name();
                if (n == u"c")
                    return end_cell();
                else if (n == u"v")
                    in_value = false;
                else if (n == u"t")
                    in_t = false;
                else if (n == u"is")
                    in_is = false;
                else if (n == u"rPh")
                    --depth_rph;
                else if (n == u"sheetData")
                    return false;   // the rest (merges, print settings) is not read
                break;
            }
            default:
                break;
            }
            return true;
        }))
        return fail();
    return true;
}
