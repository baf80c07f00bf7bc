#include "support/sheet_reader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <cmath>
#include <zip.h>

namespace {
QByteArray zip_part(zip_t* z, const char* name, bool* ok)
{
    zip_file_t* f = zip_fopen(z, name, 0);
    if (!f) { *ok = false; return {}; }
    QByteArray out;
    char buf[65536];
    zip_int64_t n;
    while ((n = zip_fread(f, buf, sizeof buf)) > 0) out.append(buf, int(n));
    if (n < 0) *ok = false;
    zip_fclose(f);
    return out;
}

// "AB12" -> row 12, column 28.
void cell_ref(QStringView ref, int* row, int* col)
{
    int c = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter()) c = c * 26 + (ref[i++].toUpper().unicode() - 'A' + 1);
    *col = c;
    *row = ref.mid(i).toInt();
}

QString read_text(QXmlStreamReader& x, const QString& end)
{
    // Every <t> inside until the closing element (rich text runs included).
    QString out;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("t")) out += x.readElementText();
        else if (x.isEndElement() && x.name() == end) break;
    }
    return out;
}
}

QString SheetRead::align(int row, int col) const
{
    const quint64 k = key(row, col);
    if (cell_style.contains(k)) return style_align.value(cell_style[k]);
    if (row_style.contains(row)) return style_align.value(row_style[row]);
    return column_align(col);
}

int SheetRead::width(int col) const
{
    if (!col_width.contains(col)) return -1;
    const double w = col_width[col];
    if (w <= 0 || col_hidden.value(col)) return 0;
    // Stored widths carry the cell padding (5 pixels of 7 per character).
    return int(std::lround((w * 7 - 5) / 7));
}

QStringList SheetRead::row(int r, int n) const
{
    QStringList out;
    for (int c = 1; c <= n; ++c) out << cell(r, c);
    return out;
}

SheetRead read_sheet(const QString& path)
{
    SheetRead s;
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!z) { s.error = QStringLiteral("not a zip"); return s; }
    bool ok = true;
    const QByteArray styles = zip_part(z, "xl/styles.xml", &ok);
    bool have_sst = true;
    const QByteArray sst = zip_part(z, "xl/sharedStrings.xml", &have_sst);
    const QByteArray sheet = zip_part(z, "xl/worksheets/sheet1.xml", &ok);
    zip_close(z);
    if (!ok) { s.error = QStringLiteral("parts missing"); return s; }

    {   // cellXfs: alignment per style index
        QXmlStreamReader x(styles);
        bool in_xfs = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("cellXfs")) in_xfs = true;
            else if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) in_xfs = false;
            else if (in_xfs && x.isStartElement() && x.name() == QLatin1String("xf")) s.style_align << QString();
            else if (in_xfs && x.isStartElement() && x.name() == QLatin1String("alignment"))
                s.style_align.last() = x.attributes().value(QLatin1String("horizontal")).toString();
        }
    }
    QStringList shared;
    if (have_sst) {
        QXmlStreamReader x(sst);
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("si")) shared << read_text(x, QStringLiteral("si"));
        }
    }
    QXmlStreamReader x(sheet);
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        const auto a = x.attributes();
        if (x.name() == QLatin1String("col")) {
            const int from = a.value(QLatin1String("min")).toInt(), to = a.value(QLatin1String("max")).toInt();
            for (int c = from; c <= to; ++c) {
                s.col_width[c] = a.value(QLatin1String("width")).toDouble();
                s.col_hidden[c] = a.value(QLatin1String("hidden")) == QLatin1String("1");
                if (a.hasAttribute(QLatin1String("style"))) s.col_style[c] = a.value(QLatin1String("style")).toInt();
            }
        } else if (x.name() == QLatin1String("row")) {
            if (a.value(QLatin1String("customFormat")) == QLatin1String("1"))
                s.row_style[a.value(QLatin1String("r")).toInt()] = a.value(QLatin1String("s")).toInt();
        } else if (x.name() == QLatin1String("c")) {
            int r = 0, c = 0;
            cell_ref(a.value(QLatin1String("r")), &r, &c);
            const QString type = a.value(QLatin1String("t")).toString();
            if (a.hasAttribute(QLatin1String("s"))) s.cell_style[SheetRead::key(r, c)] = a.value(QLatin1String("s")).toInt();
            QString text;
            if (type == QLatin1String("inlineStr")) {
                text = read_text(x, QStringLiteral("c"));
            } else {
                QString v;
                while (!x.atEnd()) {
                    x.readNext();
                    if (x.isStartElement() && x.name() == QLatin1String("v")) v = x.readElementText();
                    else if (x.isEndElement() && x.name() == QLatin1String("c")) break;
                }
                text = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
            }
            if (!text.isEmpty()) s.cells[SheetRead::key(r, c)] = text;
            s.rows = std::max(s.rows, r);
            s.cols = std::max(s.cols, c);
        }
    }
    s.ok = !x.hasError();
    if (x.hasError()) s.error = x.errorString();
    return s;
}
