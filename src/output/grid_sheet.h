#pragma once
#include <QString>
#include <functional>

class FlexGrid;
class QWidget;

// The sheet a list grid is exported as: the title in row 1 and the
// information line in row 2 (column B when column A comes to width 0), the
// grid from its header row on in rows 3 onwards, grid column c in sheet
// column c (grid column 0 is left out). Every cell is text as the grid shows
// it; widths are ColWidth / 150 rounded half to even; columns take the grid
// column's alignment, row 3 is centred, A1 and A2 are left-aligned.
// Written as a new .xlsx at `path` in constant memory; `row_done` runs after
// each grid row. False when the workbook could not be written.
bool write_grid_sheet(const QString& path, const FlexGrid& ms, const QString& title, const QString& info,
                      const std::function<void()>& row_done = {});

// Row 1 and row 2 of a window's sheet: "[" caption "]", and the count line
// la_inf, for the history and the summaries (codes not starting with "B")
// followed by their period.
QString sheet_title(QWidget* frm);
QString sheet_info(QWidget* frm, const QString& code);

// Sheet width of a grid column of `twips`.
int sheet_width(int twips);

// The popup's export of a list window (code "B1", "B2", "B4", "CA", "E1",
// "E2"): a workbook in a fresh temporary folder, read-only, handed to the
// desktop's spreadsheet program unsaved. Each export first removes the
// folders that earlier exports left there more than a day ago.
void export_to_excel(QWidget* frm, const QString& code);
