#pragma once
// The inside of the workbook reader: one compact sheet both file formats
// fill, and the cell-text rules they share (numbers, dates, date formats).
#include "intake/workbook.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// The most rows and columns a worksheet can have; a workbook naming a cell
// beyond them is refused.
constexpr uint32_t kSheetMaxRows = 1048576;
constexpr uint32_t kSheetMaxCols = 16384;

// Little-endian numbers at byte `at` of `b` (the binary format's own
// order); bytes beyond its end read as 0.
inline uint8_t le8(QByteArrayView b, qsizetype at) { return at >= 0 && at < b.size() ? uint8_t(b[at]) : 0; }
inline uint16_t le16(QByteArrayView b, qsizetype at) { return uint16_t(le8(b, at) | le8(b, at + 1) << 8); }
inline uint32_t le32(QByteArrayView b, qsizetype at) { return le16(b, at) | uint32_t(le16(b, at + 2)) << 16; }

// The first worksheet's values held compactly: every text in one UTF-8 pool,
// one 16-byte entry per non-empty cell, sorted by row and column, and the
// first entry of every used row. Cells may share pool bytes (shared strings).
// Nothing is sized by a row number, only by what the sheet holds.
class StoredSheet : public WorkbookReader {
public:
    // What one sheet may hold, so that no workbook takes more than about a
    // gigabyte of memory: values, and the pool and entries together.
    static constexpr size_t kMaxCells = size_t(1) << 24;
    static constexpr qint64 kMaxBytes = qint64(512) << 20;

    int last_row() const override { return last_row_; }
    QString cell(int row, int col) const override;
    qint64 text_length(int from_row, int to_col, qint64 stop_past) const override;

    // Appends text to the pool and returns its offset. The bytes given as
    // such are ASCII (numbers, dates, code page text of ASCII only).
    uint32_t add_text(const char* data, size_t len);
    uint32_t add_text(QStringView s);
    uint32_t pool_size() const { return uint32_t(pool_.size()); }
    // Places pool bytes [off, off+len) at (row, col), both 1-based. Empty
    // texts are not stored. False, and nothing stored, for a cell beyond
    // kSheetMaxRows or kSheetMaxCols or past kMaxCells values.
    bool put(uint32_t row, uint32_t col, uint32_t off, uint32_t len);
    // Sorts the cells (when they came out of order) and indexes the rows.
    void finish();
    // Bytes taken by the pool and the entries.
    qint64 held_bytes() const { return qint64(pool_.size()) + qint64(cells_.size() * sizeof(Cell)); }
    // Whether the sheet holds more than kMaxBytes (well within what the
    // 32-bit offsets can address).
    bool pool_full() const { return held_bytes() > kMaxBytes; }

private:
    struct Cell {
        uint32_t row, col, off, len;
    };
    struct RowStart {
        uint32_t row, first;   // a used row and the index of its first cell
    };
    QByteArray pool_;
    std::vector<Cell> cells_;
    std::vector<RowStart> rows_;   // one per used row, in order
    int last_row_ = 0;
    bool sorted_ = true;
};

// A number as the cell shows it in general format, rounded to 15 significant
// digits as spreadsheets hold them, at any size and without exponent:
// 1234567890123 -> "1234567890123", 310101195608230976 -> "310101195608231000",
// no trailing ".0".
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
// An .xlsx part that inflates past `part_limit` bytes is refused as it
// inflates.
using ReadProgress = std::function<void(int percent)>;
constexpr qint64 kXlsxMaxPartBytes = qint64(1) << 30;
bool read_xlsx(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress,
               qint64 part_limit = kXlsxMaxPartBytes);
bool read_xls(const QString& path, StoredSheet& sheet, QString* error, const ReadProgress& progress);
// A stream of the compound (OLE) file held in `file`: the first of `names`
// (compared without regard to case) that the root holds, as far as the file
// holds it. Empty with *error when the file is damaged or holds none of
// them; *found is the index of the name found (-1 for none).
QByteArray compound_stream(QByteArrayView file, std::initializer_list<QStringView> names, QString* error,
                           int* found = nullptr);
