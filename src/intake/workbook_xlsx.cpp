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
#include <functional>
#include <zip.h>

namespace {

class Package {
public:
    explicit Package(const QString& path) : path_(path)
    {
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
    // false to stop early). False with `error` set when the part is missing
    // (unless optional), damaged or not well-formed XML.
    bool stream(const QString& name, const std::function<bool(QXmlStreamReader&)>& on_token,
                bool optional = false)
    {
        const zip_int64_t index = zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0) {
            if (!optional)
                error = QStringLiteral("%1 has no part %2: not a workbook").arg(path_, name);
            return optional;
        }
        zip_file_t* f = zip_fopen_index(zip_, zip_uint64_t(index), 0);
        if (!f) {
            error = QStringLiteral("%1: part %2 cannot be read: %3")
                        .arg(path_, name, QString::fromUtf8(zip_strerror(zip_)));
            return false;
        }
        QXmlStreamReader x;
        QByteArray chunk(256 * 1024, Qt::Uninitialized);
        bool eof = false, ok = true;
        while (true) {
            const QXmlStreamReader::TokenType t = x.readNext();
            if (t == QXmlStreamReader::Invalid) {
                if (x.error() == QXmlStreamReader::PrematureEndOfDocumentError && !eof) {
                    const zip_int64_t n = zip_fread(f, chunk.data(), zip_uint64_t(chunk.size()));
                    if (n < 0) {
                        error = QStringLiteral("%1: part %2 is damaged: %3")
                                    .arg(path_, name, QString::fromUtf8(zip_error_strerror(zip_file_get_error(f))));
                        ok = false;
                        break;
                    }
                    if (n == 0)
                        eof = true;
                    else
                        x.addData(QByteArray(chunk.constData(), qsizetype(n)));
                    advance(n);
                    continue;
                }
                error = QStringLiteral("%1: part %2 is damaged: %3 (line %4)")
                            .arg(path_, name, x.errorString())
                            .arg(x.lineNumber());
                ok = false;
                break;
            }
            if (t == QXmlStreamReader::EndDocument)
                break;
            if (!on_token(x))
                break;
        }
        zip_fclose(f);
        return ok;
    }

    // The uncompressed size of a part (0 when missing).
    qint64 size_of(const QString& name) const
    {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            return 0;
        return qint64(st.size);
    }

    // Reports the share of `total` bytes inflated so far, whole percents.
    void count_progress(qint64 total, const ReadProgress* progress)
    {
        total_ = total;
        done_ = 0;
        progress_ = progress && *progress ? progress : nullptr;
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

    qint64 total_ = 0, done_ = 0;
    int last_pct_ = -1;
    const ReadProgress* progress_ = nullptr;
    QString path_;
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
    return p.stream(rels_of(part), [&](QXmlStreamReader& x) {
        if (x.isStartElement() && x.name() == u"Relationship") {
            const QXmlStreamAttributes a = x.attributes();
            if (a.value(QLatin1String("TargetMode")) == u"External")
                return true;
            QString type = a.value(QLatin1String("Type")).toString();
            type = type.mid(type.lastIndexOf(u'/') + 1);
            rels->insert(a.value(QLatin1String("Id")).toString(), {type, resolve(dir, a.value(QLatin1String("Target")).toString())});
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

// "BC12" -> column 55, *row 12 (0 when the reference holds no row).
uint32_t parse_ref(QStringView ref, uint32_t* row)
{
    uint32_t col = 0, r = 0;
    qsizetype i = 0;
    for (; i < ref.size(); ++i) {
        const char16_t c = ref[i].unicode();
        if (c >= u'A' && c <= u'Z')
            col = col * 26 + (c - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            col = col * 26 + (c - u'a' + 1);
        else
            break;
        if (col > 0x100000)
            return 0;
    }
    for (; i < ref.size(); ++i) {
        const char16_t c = ref[i].unicode();
        if (c < u'0' || c > u'9' || r > 100000000)
            break;
        r = r * 10 + (c - u'0');
    }
    *row = r;
    return col;
}

uint32_t to_uint(QStringView s)
{
    uint32_t v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9' || v > 100000000)
            return 0;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

} // namespace

bool read_xlsx(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress)
{
    Package p(path);
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
                for (const QXmlStreamAttribute& a : x.attributes())
                    if (a.name() == u"id" && !a.namespaceUri().isEmpty())
                        sheet_ids << a.value().toString();
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
        QHash<int, bool> custom;   // numFmtId -> shows a date
        bool in_xfs = false;
        if (!p.stream(styles_part, [&](QXmlStreamReader& x) {
                if (x.isStartElement()) {
                    if (x.name() == u"numFmt") {
                        const QXmlStreamAttributes a = x.attributes();
                        custom.insert(int(to_uint(a.value(QLatin1String("numFmtId")))),
                                      is_date_format_code(a.value(QLatin1String("formatCode"))));
                    } else if (x.name() == u"cellXfs") {
                        in_xfs = true;
                    } else if (in_xfs && x.name() == u"xf") {
                        const int id = int(to_uint(x.attributes().value(QLatin1String("numFmtId"))));
                        const auto it = custom.constFind(id);
                        date_style.push_back(it != custom.constEnd() ? *it : is_date_format_id(id));
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
                        strings.reserve(to_uint(x.attributes().value(QLatin1String("uniqueCount"))));
                    }
                    break;
                case QXmlStreamReader::Characters:
                    if (in_t)
                        text += x.text();
                    break;
                case QXmlStreamReader::EndElement:
                    if (x.name() == u"t") {
                        in_t = false;
                    } else if (x.name() == u"rPh") {
                        --depth_rph;
                    } else if (x.name() == u"si") {
                        in_si = false;
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
    bool full = false;
    auto end_cell = [&] {
        if (text.isEmpty())
            return;
        double v = 0;
        switch (kind) {
        case Kind::Shared: {
            const uint32_t i = to_uint(text);
            if (text.size() <= 9 && i < strings.size())
                sheet.put(row, col, strings[i].off, strings[i].len);
            return;
        }
        case Kind::Number:
            if (parse_number(text, &v)) {
                const QByteArray s = is_date ? serial_date_text(v, date1904) : QByteArray();
                const QByteArray out = s.isEmpty() ? number_text(v) : s;
                const uint32_t off = sheet.add_text(out.constData(), size_t(out.size()));
                sheet.put(row, col, off, uint32_t(out.size()));
                return;
            }
            break;
        case Kind::Bool: {
            const QByteArray out = (text == u"1" || text == u"true") ? QByteArrayLiteral("TRUE")
                                                                   : QByteArrayLiteral("FALSE");
            const uint32_t off = sheet.add_text(out.constData(), size_t(out.size()));
            sheet.put(row, col, off, uint32_t(out.size()));
            return;
        }
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
        const uint32_t off = sheet.add_text(text);
        sheet.put(row, col, off, sheet.pool_size() - off);
        full = sheet.pool_full();
    };
    if (!p.stream(sheet_rel.target, [&](QXmlStreamReader& x) {
            switch (x.tokenType()) {
            case QXmlStreamReader::StartElement: {
                const QStringView n = x.name();
                if (n == u"c") {
                    const QXmlStreamAttributes a = x.attributes();
                    uint32_t ref_row = 0;
                    const uint32_t ref_col = parse_ref(a.value(QLatin1String("r")), &ref_row);
                    col = ref_col ? ref_col : col + 1;
                    if (ref_row)
                        row = ref_row;
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
                    const uint32_t r = to_uint(x.attributes().value(QLatin1String("r")));
                    row = r ? r : row + 1;
                    col = 0;
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
                if (in_value || in_t)
                    text += x.text();
                break;
            case QXmlStreamReader::EndElement: {
                const QStringView n = x.name();
                if (n == u"c")
                    end_cell();
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
            return !full;
        }))
        return fail();
    if (full) {
        *error = QStringLiteral("%1: the worksheet is too big to read").arg(path);
        return false;
    }
    return true;
}
