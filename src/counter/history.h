#pragma once
#include "data/db.h"
#include <QDate>
#include <QString>

class FlexGrid;

// The list of the rental history window CA, without widgets: its query and
// the filling of its grid (data rows grouped by date with a subtotal row per
// date and a total row at the end).

// Date kinds of t_gbn, in combo order.
enum class CaDateKind { Rental = 0, Return = 1, Due = 2 };
// Filters of the check boxes "연체된내역만", "미결제내역만", "미반납내역만".
enum class CaFilter { None, Overdue, Unpaid, NotReturned };

struct CaParams {
    QString date1, date2;   // "yyyy-mm-dd", both ends included
    CaDateKind kind = CaDateKind::Rental;
    int field = 0;          // t_chk index: 회원코드, 회 원 명, 바 코 드, 대여유저, 반납유저
    QString search;         // already cleaned
    CaFilter filter = CaFilter::None;
    QDate today;            // for the overdue filter
};

// The entries of the combos, in order.
const QStringList& ca_date_kinds();
const QStringList& ca_search_fields();
// The select-list position that groups the rows of a date kind (4, 6 or 5).
int ca_group_col(CaDateKind kind);

Query ca_list_query(const CaParams& p);

struct CaFill {
    bool found = false;     // at least one row
    bool failed = false;    // the query failed
    qint64 rows = 0;        // records
    qint64 not_returned = 0;
    qint64 total_dae = 0, total_yun = 0;
};

// Empties the grid: no data rows, no columns.
void ca_clear_grid(FlexGrid* ms);
// Runs the query into the grid. Nothing found (or a failing query): the grid
// is left empty. Widths are not touched (ca_set_col_width).
CaFill ca_fill_grid(FlexGrid* ms, Connection& c, const Query& q, CaDateKind kind);
// The column widths; columns 11 to 13 show only with `detail`; the last
// column takes what remains of the grid width, less 330, at least 2500.
void ca_set_col_width(FlexGrid* ms, bool detail, int grid_width_twips);
// The result line after a load.
QString ca_result_text(const CaFill& f);
