#include "shell/A_main.h"

#include <sqlcipher/sqlite3.h>
#include <QApplication>
#include <cstdio>

namespace {
// The program must run on SQLCipher: a plain SQLite would read no keyed database.
bool have_sqlcipher()
{
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            ok = true;
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return ok;
}
}

int main(int argc, char** argv)
{
    if (!have_sqlcipher()) {
        std::fprintf(stderr, "torvisk: the SQLite library in use is not SQLCipher\n");
        return 1;
    }
    QApplication app(argc, argv);
    A_main w;
    // Unloading the main window ends the program at once, whatever else is open.
    QObject::connect(&w, &A_main::unloaded, &app, &QApplication::quit);
    w.show();
    return app.exec();
}
