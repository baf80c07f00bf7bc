#pragma once
#include "data/db.h"
#include <QDate>
#include <QString>
#include <QStringList>

class FlexGrid;

// The balance summaries without widgets: their queries, the filling of their
// grids with the totals rows, and their column widths.
//
// E1: one row per regular member in use who joined in the chosen months.
// E2: one row per non-member in use with rentals that count for the days.
// E3: one row per item rented in the period or in the 60 days before it,
//     a subtotal row after each category.
//
// A fill that fails for any reason (the query refused, a step broken off,
// no memory for the rows) leaves the grid empty (the header row alone, one
// empty column) and gives 0; the failing statement is logged.

// Search-field combo of the member summaries, in combo order.
const QStringList& summary_member_fields();   // "회원코드", "회 원 명"

struct SummaryParams {
    QDate date1, date2;   // the pickers' dates
    int field = 0;        // index in summary_member_fields()
    QString search;       // already cleaned
};

// E1's month bounds: the first day of date1's month, and "-31" after
// date2's month (dates compare as text, so "-31" closes every month).
QString e1_month_from(const QDate& d);
QString e1_month_to(const QDate& d);

Query e1_list_query(const SummaryParams& p);
Query e2_list_query(const SummaryParams& p);
// Rentals per item: from 60 days before d1 to the day before it, and from
// d1 to d2; ordered by category, period count, barcode.
Query e3_list_query(const QDate& d1, const QDate& d2);

// Each fill runs the query into ms and gives the number of members or items
// listed (subtotal and totals rows not counted). `haebi` is the annual fee.
int e1_fill_grid(FlexGrid& ms, Connection& c, const Query& q, qint64 haebi);
int e2_fill_grid(FlexGrid& ms, Connection& c, const Query& q);
int e3_fill_grid(FlexGrid& ms, Connection& c, const Query& q);

// Column widths; `detail` shows the member's phone, mobile and address (E1,
// E2) or item fields 2 to 6 (E3). The last column takes what remains of the
// grid's width, less 330, at least 2500. An empty grid is left as it is.
void e1_col_widths(FlexGrid& ms, bool detail, int width_twips);
void e2_col_widths(FlexGrid& ms, bool detail, int width_twips);
void e3_col_widths(FlexGrid& ms, bool detail, int width_twips);
