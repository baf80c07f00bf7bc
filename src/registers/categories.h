#pragma once
#include "data/db.h"
#include <QString>
#include <QStringList>

class FlexGrid;

// Outcome of a check query: nothing found, found, or the query itself failed
// (a failed check stops the action; it is never read as "nothing found").
enum class Lookup { None, Found, Failed };

// ---- Category register (TB2) ----

// Search column of the category list for the text of its search-field combo:
// "nam", "big", or empty for any other text.
QString b2_search_column(const QString& field);
// The category list's query; an empty query when the kind or the field gives
// no search.
Query b2_list_query(const QString& gbn, const QString& field, const QString& ser);
// Fills the category grid from the query; the number of rows found (0 leaves
// the grid without rows and columns).
int b2_fill_grid(FlexGrid& g, const Query& q);
// Column widths of the category grid for a grid of the given width (twips).
void b2_set_col_width(FlexGrid& g, int grid_width);
// "검색건수: n건", or the no-data text for 0.
QString list_count_text(int found);

// The category names in name order; ok false when the query failed.
QStringList category_names(bool* ok = nullptr);
Lookup category_exists(const QString& nam);
// Whether any item (TB4.gbn) holds the category.
Lookup category_in_use(const QString& nam);

// Writes on db_con; false on an error. The update must find its row.
bool category_insert(const QString& nam, const QString& big);
bool category_update_remark(const QString& nam, const QString& big);
bool category_delete(const QString& nam);
