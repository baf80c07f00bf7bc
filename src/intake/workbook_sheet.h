#pragma once
// The inside of the workbook reader: one compact sheet both file formats
// fill, and the cell-text rules they share (numbers, dates, date formats).
#include "intake/workbook.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// The first worksheet's values held compactly: every text in one UTF-8 pool,
// one 16-byte entry per non-empty cell, sorted by row and column, and the
// first entry of every row. Cells may share pool bytes (shared strings).
class StoredSheet : public WorkbookReader {
public:
    int last_row() const override { return last_row_; }
    QString cell(int row, int col) const override;

    // Appends text to the pool and returns its offset.
    uint32_t add_text(const char* data, size_t len);
    uint32_t add_text(QStringView s);
    uint32_t pool_size() const { return uint32_t(pool_.size()); }
    // Places pool bytes [off, off+len) at (row, col), both 1-based. Empty
    // texts are not stored.
    void put(uint32_t row, uint32_t col, uint32_t off, uint32_t len);
    // Sorts the cells (when they came out of order) and indexes the rows.
    void finish();
    // Whether the pool is still within what the offsets can address.
    bool pool_full() const { return pool_.size() > 0xF0000000u; }

private:
    struct Cell {
        uint32_t row, col, off, len;
    };
    QByteArray pool_;
    std::vector<Cell> cells_;
    std::vector<uint32_t> row_first_;   // row -> index of its first cell; size last_row + 2
    int last_row_ = 0;
    bool sorted_ = true;
};

// A number as the cell shows it in general format, rounded to 15 significant
// digits as spreadsheets hold them: no exponent, no trailing ".0", integers
// exactly ("1234567890123").
QByteArray number_text(double v);

// Days since the start of the date system as yyyy-mm-dd (fraction of a day
// dropped). In the 1900 system serial 60 is the leap day that system counts
// but the calendar lacks: "1900-02-29" (which no date check passes), and 0 is
// "1900-01-00". Empty when the serial has no date (negative, past 9999).
QByteArray serial_date_text(double serial, bool date1904);

// Whether a number format shows a date: the built-in formats 14-22 and 45-47,
// the Korean built-ins 27-31, 34-36 and 50-58, or a format code with a d, m
// or y outside quoted text, brackets and escapes.
bool is_date_format_id(int id);
bool is_date_format_code(QStringView code);

// The two readers: fill `sheet` from the first worksheet; false with *error.
using ReadProgress = std::function<void(int percent)>;
bool read_xlsx(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress);
bool read_xls(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress);
// A stream of the compound (OLE) file held in `file`: the first of `names`
// (compared without regard to case) that the root holds, as far as the file
// holds it. Empty with *error when the file is damaged or holds none of
// them; *found is the index of the name found (-1 for none).
QByteArray compound_stream(QByteArrayView file, std::initializer_list<QStringView> names, QString* error,
                           int* found = nullptr);
// Whether the compound (OLE) file at `path` holds a non-empty stream `name`.
bool compound_has_stream(const QString& path, const char16_t* name);
