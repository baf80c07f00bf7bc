#pragma once
// The rules of the member and item loads from workbooks (A6, A7): how a
// worksheet row becomes a grid row, which rows are faulty, and the save of a
// whole load in one transaction. No widgets: the screens wire these to their
// grids.
#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>

class GridStore;

// Grid columns of a load: 0 hidden, 1 the mark "ERR", 2 .. 12 the eleven
// worksheet columns in their order.
constexpr int k_load_cols = 13;
constexpr int k_sheet_cols = 11;
// The most characters the eleven columns of a workbook's data rows may hold
// together; a workbook holding more is refused before any row is loaded.
// Four times the biggest real list (200,000 items, about 12 million
// characters), and well under a gigabyte once in the grid, sorted.
constexpr qint64 k_load_max_chars = 50'000'000;
// The eleven cells of one worksheet row, as read, then as shown.
using LoadCells = std::array<QString, k_sheet_cols>;

// The mark of a faulty row in column 1.
inline const QString k_err_mark = QStringLiteral("●");

// A date cell or a date typed as yyyy-mm-dd, yyyy.mm.dd or yyyy/mm/dd (month
// and day of one or two digits) as stored text "yyyy-mm-dd". `looks_like` is
// set when the text has the shape of a date, whether or not that day exists;
// empty for a day that does not exist or text that is no date.
QString load_date(const QString& text, bool* looks_like = nullptr);

// A fee cell: optional sign, digits, optional decimal part, rounded to the
// nearest whole number (a half to the even neighbour). False for empty text,
// text that is no number, or a number too large for a fee.
bool load_fee(const QString& text, qint64* value);

// The checks of one member row (columns of the member sheet: kind, joining
// date, period start, period end, paid, code, name, phone, mobile, address,
// remark). Cleans and upper-cases the cells in place, writes dates as
// yyyy-mm-dd, fixes up the first period; true when the row is faulty.
bool check_member_cells(LoadCells& c, int code_len);

// The checks of one item row (category, barcode, fields 1 to 6, rental fee,
// late fee, remark). Cleans the cells in place, shows the fees grouped;
// true when the row is faulty.
bool check_item_cells(LoadCells& c, int code_len);

// A row that holds no text at all: what a workbook without data rows leaves
// in the grid. It is never registered.
bool blank_load_row(const GridStore& g, int r);

// The first data row whose text in column `col` (not empty) appears again in
// a later row; 0 when every key is unique.
int first_duplicate(const GridStore& g, int col);

// Advances the progress of a save: called with the rows done so far.
using LoadProgress = std::function<void(int done)>;

// Registers the members of the grid (rows 1 .. rows()-1, member columns) in
// one transaction on db_con: a code not yet in TB1 is inserted, with its
// first period in TB1_1 for a regular member (paid with `fee` when the paid
// cell is "Y", else 0); a code already there is left alone. Any failure,
// a failed look-up included, rolls everything back: false.
bool save_members(const GridStore& g, qint64 fee, const LoadProgress& progress = {});

// Registers the items of the grid in one transaction on db_con: a category
// missing in TB2 is created, an item is inserted when its barcode is new,
// else updated (its in-use and rented-out state kept). All or nothing.
bool save_items(const GridStore& g, const LoadProgress& progress = {});
