#include "output/print_db.h"
#include "data/db.h"
#include "data/paths.h"
#include "data/schema.h"
#include "ui/FlexGrid.h"

#include <QDir>

namespace {
const QStringList* table_columns(const char* table)
{
    for (const PrintTable& t : print_tables())
        if (qstrcmp(t.name, table) == 0) return &t.columns;
    return nullptr;
}
}

const PrintList* print_list(const QString& window)
{
    static const QList<PrintList> lists{
        {"B1", "prt1", {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, "r_1"},
        {"B4", "prt3", {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, "r_3"},
        {"CA", "prt4", {2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 18, 19, 21}, "r_4"},
        {"E1", "prt5", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, "r_5"},
        {"E2", "prt6", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, "r_6"},
    };
    for (const PrintList& l : lists)
        if (window == QLatin1String(l.window)) return &l;
    return nullptr;
}

bool open_print_db(Connection& prt)
{
    const QString path = QDir(program_dir()).filePath(QStringLiteral("PRT.mdb"));
    return prt.open(path, QString()) && prt.execute_script(print_schema_sql());
}

bool copy_to_print_table(Connection& prt, const PrintList& list, const FlexGrid& ms,
                         const std::function<void()>& row_done)
{
    const QStringList* columns = table_columns(list.table);
    if (!columns || columns->size() != list.grid_cols.size()) return false;
    const QString table = QLatin1String(list.table);
    Transaction tx(prt);
    if (tx.exec(Query(QStringLiteral("delete from ") + table)) < 0) return false;
    QStringList marks;
    for (int i = 0; i < columns->size(); ++i) marks << QStringLiteral("?");
    Statement insert(prt, QStringLiteral("insert into %1 (%2) values (%3)")
                              .arg(table, columns->join(u','), marks.join(u',')));
    if (!insert.ok()) return false;
    const GridStore& store = ms.store();
    static const char empty[] = "";
    for (int r = 1; r < ms.rows(); ++r) {
        for (int i = 0; i < list.grid_cols.size(); ++i) {
            const int c = list.grid_cols[i];
            int len = 0;
            const char* p = c < ms.cols() ? store.utf8(r, c, &len) : empty;
            insert.bind_utf8(i + 1, len ? p : empty, len);
        }
        if (!insert.run()) return false;
        if (row_done) row_done();
    }
    return tx.commit();
}
