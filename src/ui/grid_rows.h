#pragma once
#include "data/db.h"
#include "ui/FlexGrid.h"

// Copies column `col` of the cursor's current row into grid cell (r, c), the
// UTF-8 bytes as they stand.
inline void copy_cell(FlexGrid& g, int r, int c, const Cursor& cur, int col)
{
    int len = 0;
    const char* p = cur.utf8(col, &len);
    g.set_utf8(r, c, p, len);
}
