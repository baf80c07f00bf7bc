#pragma once
// Reads back a workbook the export wrote (.xlsx: a zip of XML parts): the
// first worksheet's cells, their alignments, the columns' widths and
// alignments, the rows' alignments.
#include <QDesktopServices>
#include <QHash>
#include <QMap>
#include <QString>
#include <QObject>
#include <QStringList>
#include <QUrl>

struct SheetRead {
    bool ok = false;
    QString error;
    int rows = 0, cols = 0;                 // last used row and column (1-based)
    QHash<quint64, QString> cells;          // (row << 32 | col) -> text
    QHash<quint64, int> cell_style;         // -> style index
    QMap<int, double> col_width;            // column -> width in characters as shown
    QMap<int, bool> col_hidden;
    QMap<int, int> col_style;
    QMap<int, int> row_style;
    QStringList style_align;                // per style: "left", "center", "right" or ""

    static quint64 key(int row, int col) { return (quint64(row) << 32) | quint32(col); }
    QString cell(int row, int col) const { return cells.value(key(row, col)); }
    bool has_cell(int row, int col) const { return cells.contains(key(row, col)) || cell_style.contains(key(row, col)); }
    // The alignment a cell shows: its own style, else its row's, else its column's.
    QString align(int row, int col) const;
    QString column_align(int col) const { return col_style.contains(col) ? style_align.value(col_style[col]) : QString(); }
    QString row_align(int row) const { return row_style.contains(row) ? style_align.value(row_style[row]) : QString(); }
    // Width in characters, -1 for a column the sheet does not size.
    int width(int col) const;
    // A row as texts, columns 1 .. n.
    QStringList row(int r, int n) const;
};

SheetRead read_sheet(const QString& path);

// Stands in for the desktop while it lives: every file the program asks the
// desktop to open is recorded instead.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList files;
    QString last() const { return files.isEmpty() ? QString() : files.last(); }
public slots:
    void open(const QUrl& url) { files << url.toLocalFile(); }
};
