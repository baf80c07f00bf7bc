#pragma once
#include "registers/categories.h"
#include "data/db.h"
#include <QString>
#include <QStringList>
#include <array>

class FlexGrid;
class QLineEdit;

// ---- Item register (TB4) ----

// Search column of the item list for the text of its search-field combo:
// "p.cod" for "바 코 드", "p.f1_nam" .. "p.f6_nam" for the field captions
// (the first match wins), empty for anything else.
QString b4_search_column(const QString& field);

// The item list's query: items of a category ("전체보기" for all), in use or
// not, whose chosen column holds the search text; rented items first, then
// by category and barcode. Columns in TB4's order (act, sta, gbn, cod,
// f1_nam .. f6_nam, dae, yun, big). Empty when the field gives no column.
Query b4_list_query(const QString& gbn, const QString& field, const QString& ser, bool in_use);

struct ItemCounts {
    int found = 0;      // rows listed
    int in_stock = 0;   // "○"
    int rented = 0;     // "●"
};

// Loads the item grid from the query in one pass: the grid is emptied,
// shaped with its headers and filled straight from the cursor with redraw
// off. Without rows the grid is left without rows and columns.
ItemCounts b4_fill_grid(FlexGrid& g, const Query& q);
// Column widths of the item grid for a grid of the given width (twips).
void b4_set_col_width(FlexGrid& g, int grid_width);
// The count line: "검색건수: n건  재고(a)건 대여(b)건", or the no-data text.
QString b4_count_text(const ItemCounts& c);

// Fee boxes: the text reformatted while typed (digit grouping, no decimals);
// text that is no number is returned as it is.
QString fee_format(const QString& text);
// A fee box's value: false for empty or non-numeric text.
bool fee_value(const QString& text, qint64* value);
// Reformats a fee box with fee_format while it is typed, the caret kept at the end.
void keep_fee_grouped(QLineEdit* e);

struct Item {
    QString gbn, cod;
    std::array<QString, 6> f;
    qint64 dae = 0, yun = 0;
    QString big;
};

Lookup item_exists(const QString& cod);
// Any rental row, returned or not, of the barcode.
Lookup item_has_history(const QString& cod);

// Writes on db_con, each in one transaction; false on any error, nothing
// then changed.
bool item_insert(const Item& it);            // in use, in stock
bool item_update(const Item& it);            // all but cod, act, sta; the row must exist
bool items_set_act(const QStringList& cods, bool in_use);
Deletion item_delete(const QString& cod);  // the item and its (absent) rentals
// New fees for the barcodes, in order: per barcode first dae, then yun.
bool items_set_fees(const QStringList& cods, bool set_dae, qint64 dae, bool set_yun, qint64 yun);
