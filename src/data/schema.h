#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The delivered main database: eight tables, the view MEM, the indexes of the
// lists, the one TB0 row and the ADMIN account.
QString main_schema_sql();

// The five tables of the print database PRT.mdb, every column text, in the
// order the reports read them.
struct PrintTable {
    const char* name;
    QStringList columns;
};
const QList<PrintTable>& print_tables();
// Creates whichever print tables PRT.mdb lacks (safe on a complete file).
QString print_schema_sql();

// The password of the delivered ADMIN account.
QString delivered_admin_password();

// Writes a delivered program folder: PGM.mdb (keyed), PRT.mdb (plain),
// CONPATH.txt holding "S" and the folder TXTFILE. An existing PGM.mdb is
// kept as it is. False with a reason on failure.
bool write_program_folder(const QString& folder, QString* error);

// Creates a keyed PGM.mdb at path (which must not exist).
bool create_main_database(const QString& path, QString* error);
