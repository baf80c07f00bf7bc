#pragma once
#include "data/db.h"
#include "shop.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class FlexGrid;
class ListWindow;

// ---- measuring
double now_ms();
// The process's peak resident memory so far (VmHWM), in MB.
double peak_mb();
// Starts the peak over from the current size (after the generator ran).
bool reset_peak();

// Runs f `runs` times and returns the best time in ms.
double best_of(int runs, const std::function<void()>& f);

// The query run bare: prepared, stepped to the end, every column of every
// row read as text (what the grid loaders read). Rows in *rows.
double bare_query(Connection& c, const Query& q, qint64* rows);

// Loads the query's rows into the grid as the list screens do: redraw off,
// one add_row + set_utf8 per cell from a Cursor, redraw on. Returns the data
// rows loaded.
qint64 grid_load(FlexGrid& g, Connection& c, const Query& q);
// A grid as a list screen has it: shown, sized, with headers.
FlexGrid* make_grid(int cols);
// Lets pending paints and layout run.
void settle();

struct BenchContext;
// A screen's list: `load` runs the screen's own query-to-grid code on the
// grid (as its ms_list does) and returns the data rows it listed; it is timed
// against q run bare (goal: 1.3x), the paint after it is noted.
void list_case(BenchContext& ctx, const QString& name, const Query& q,
               const std::function<qint64(FlexGrid&)>& load, double mb_goal = 0);

// A list window's own reload: `make` builds the screen (shown at the size of
// a maximised list window; it lists once as it opens), `setup` sets its boxes,
// then its ms_list() is timed against list_sql (the query it ran) run bare.
void window_case(BenchContext& ctx, const QString& name, const std::function<ListWindow*()>& make,
                 const std::function<void(ListWindow*)>& setup);

// A look-up or write done on each of `samples` inputs: f(i) is timed, best
// of the runs per input; the slowest input is held to ms_goal, the mean is
// noted.
void point_case(BenchContext& ctx, const QString& name, int samples, const std::function<void(int)>& f,
                double ms_goal, const QString& what);

// ---- reporting: one line per case
struct Line {
    QString name;
    qint64 rows = -1;        // -1: not a row count case
    double bare = -1;        // ms, -1: none
    double prog = -1;        // ms
    double ratio_goal = 0;   // program / bare must stay within this (0: none)
    double ms_goal = 0;      // program ms must stay under this (0: none)
    double mb_goal = 0;      // peak MB must stay under this (0: none)
    QString note;
};
void print_header();
void print_line(const Line& l);
int missed_goals();

// ---- cases
struct BenchContext {
    ShopInfo shop;
    QString work;        // program folder of the working copy
    int runs = 5;
};
using CaseFn = std::function<void(BenchContext&)>;
// Registers a case; `order` sorts them (lower first), name is matched by the filter.
struct CaseRegistrar {
    CaseRegistrar(int order, const char* name, CaseFn fn);
};
struct Case {
    int order;
    QString name;
    CaseFn fn;
};
std::vector<Case>& all_cases();
