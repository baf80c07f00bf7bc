#pragma once
#include <QList>
#include <QString>
#include <functional>

class Connection;
class FlexGrid;

// One printable list: its window, the grid columns copied (in the order of
// its print table's columns), its table in PRT.mdb and its report.
struct PrintList {
    const char* window;
    const char* table;
    QList<int> grid_cols;
    const char* report;
};
// The list of a window ("B1", "B4", "CA", "E1", "E2"); null for any other.
const PrintList* print_list(const QString& window);

// Opens PRT.mdb of the program folder (never creating it) and makes the
// print tables it lacks. False when the file is missing, no database or
// not writable.
bool open_print_db(Connection& prt);

// Replaces the rows of the list's print table with the grid's data rows
// (every row below the header, totals included), the listed columns as
// displayed, in one transaction; `row_done` runs after each row. False on
// any failure, the table then keeps its former rows.
bool copy_to_print_table(Connection& prt, const PrintList& list, const FlexGrid& ms,
                         const std::function<void()>& row_done = {});
