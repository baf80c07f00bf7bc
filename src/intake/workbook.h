#pragma once
// Reading the first worksheet of a workbook chosen by the administrator:
// .xlsx (a zip of XML parts) and .xls (the older binary format). No
// spreadsheet program is started.
#include <QString>
#include <functional>
#include <memory>

class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;

    // Opens the workbook at `path` (by its content, not only its suffix) and
    // its first worksheet. Null when the file cannot be read (missing,
    // damaged, encrypted, not a workbook); *error then says why, for the log.
    // `progress`, when given, is called as the reading advances with the
    // share read so far (0 to 100), so that a screen can keep painting or
    // move a bar while a big workbook is read (some seconds at 200,000 rows).
    static std::unique_ptr<WorkbookReader> open(const QString& path, QString* error = nullptr,
                                                const std::function<void(int percent)>& progress = {});

    // Number of the last used row of the first worksheet (1-based; 0 for an
    // empty sheet), wherever the used range starts. A row is used when one of
    // its cells holds a value; formatting alone does not count.
    virtual int last_row() const = 0;

    // The cell at (row, col), both 1-based, as text: strings as stored,
    // numbers without exponent or trailing ".0" (12 -> "12", 1.5 -> "1.5"),
    // booleans "TRUE"/"FALSE", errors as shown ("#N/A"), formulas by their
    // cached value, date cells (a number whose format shows a date or a time)
    // as yyyy-mm-dd; an empty or missing cell is "".
    virtual QString cell(int row, int col) const = 0;

    // The characters (UTF-16 units, as a spreadsheet counts them) of every
    // cell in rows `from_row` on and columns 1 .. `to_col`, added up without
    // spelling a cell out. The count stops as soon as it passes `stop_past`,
    // so a sheet whose texts would fill gigabytes is weighed in moments.
    virtual qint64 text_length(int from_row, int to_col, qint64 stop_past) const = 0;
};
