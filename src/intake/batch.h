#pragma once
// The upload batch: one batch of rentals and returns held in the grid `ms` of
// the terminal upload (F1) and the text-file upload (F2), checked row by row
// against the members, items and rentals, and saved in one transaction.
//
// The rules work on plain rows (BatchRow) without widgets; UploadBatch ties
// them to a screen's grid, progress bar and count label.
#include "intake/record.h"
#include <QDate>
#include <QString>
#include <functional>
#include <vector>

class Connection;
class FlexGrid;
class QLabel;
class QProgressBar;
class QWidget;

// Which screen holds the batch: the two differ in two header texts, the
// barcode field tags and the words of the save messages.
enum class BatchSource { Terminal, File };

// Columns of the batch grid (0 and 16 stay empty).
namespace batch_col {
enum : int {
    err = 1,     // "오류": "●" on a faulty row
    add = 2,     // "추가": always empty
    gbn = 3,     // "구분": kind
    dat = 4,     // "처리일자"
    m_cod = 5,   // "회원코드"
    p_cod = 6,   // "바 코 드"
    cnt = 7,     // "처리수량"
    big = 8,     // "비    고": error tags
    dae = 9,     // item's rental fee
    yun = 10,    // item's late fee per day
    nam = 11,    // member's name
    m_gbn = 12,  // member's kind "A"/"B"
    idx = 13,    // open rental's key (returns)
    s_dat = 14,  // open rental's rental date (returns)
    c_dat = 15,  // open rental's due date (returns)
    count = 17,
};
}

// One data row of the batch grid, every column as text.
struct BatchRow {
    QString err, add, gbn, dat, m_cod, p_cod, cnt, big, dae, yun, nam, m_gbn, idx, s_dat, c_dat, late;
    BatchRow() = default;
    explicit BatchRow(const BatchRecord& r) : gbn(r.gbn), dat(r.dat), m_cod(r.m_cod), p_cod(r.p_cod), cnt(r.cnt) {}
    bool marked() const { return !err.isEmpty(); }
};

// Progress of a long run: called with (done, total) after each row.
using BatchProgress = std::function<void(int done, int total)>;

// err_check on rows: clears marks and tags, then checks each row (kind 1-4,
// date, member code, barcode field, quantity; member lookup; item and, for a
// return, the member's oldest open rental of the barcode; a barcode repeated
// within the batch) and fills the looked-up columns. `barcode_len` is
// p_cod_cnt. Writes nothing to the database.
void check_batch(Connection& c, std::vector<BatchRow>& rows, BatchSource src, int barcode_len,
                 const BatchProgress& progress = {});

enum class BatchSave {
    Saved,
    Empty,       // no rows: nothing written
    Marked,      // a row carries the mark: nothing written
    Failed,      // rolled back (a statement failed, or a row changed since the check)
};
// Writes the batch in one transaction: a rental per row of kind 1/3 (only
// while its member is registered; the item taken only while in stock), a
// return per row of kind 2/4 (the rental closed only while open, the item
// back in stock once no rental of it is open).
// Any failure rolls all back.
BatchSave save_batch(Connection& c, const std::vector<BatchRow>& rows, int rental_days, const QDate& today,
                     const QString& user, const BatchProgress& progress = {});

// The batch grid of one screen (F1 or F2) with its progress bar and count
// label; the screen's own clear_grid, set_col_width, err_check, row deletion
// and save go through it.
class UploadBatch {
public:
    UploadBatch(BatchSource src, FlexGrid* ms, QProgressBar* pb, QLabel* la_inf);

    BatchSource source() const { return src_; }
    // A batch is loaded (possibly without data rows); false in the empty state.
    bool loaded() const;
    int data_rows() const;

    // Empty state: no rows, no columns.
    void clear_grid();
    // Widths of the 17 columns; column 8 takes the rest of the grid's width,
    // less 330, at least 2500 twips. Nothing on an empty grid.
    void set_col_width();
    // Puts the records into the grid (header, alignments, row heights,
    // columns 3-7), then err_check and set_col_width.
    void load(const std::vector<BatchRecord>& records);
    // Checks every row against the database (on the main connection), marks
    // the faulty ones and writes the count into la_inf. Nothing on an empty grid.
    void err_check();

    // Row deletion of the clerk (right "del", question); true when the last
    // data row went and the grid is now empty (F2 then empties its path box).
    bool delete_row(QWidget* parent);
    // The save button: refusals, question, the save, its message; true when
    // saved (the grid is then empty and la_inf reads "검색대기중...").
    bool save(QWidget* parent);

    // The grid's data rows as rows, and back.
    std::vector<BatchRow> rows() const;
    void set_rows(const std::vector<BatchRow>& rows);

private:
    void set_progress(int value, int max);
    BatchSource src_;
    FlexGrid* ms_;
    QProgressBar* pb_;
    QLabel* la_inf_;
};
