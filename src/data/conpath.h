#pragma once
#include <QString>

// CONPATH.txt in the program folder: "S" (database in the program folder) or
// "C" followed by the folder that holds PGM.mdb. Lines are joined without a
// separator; carriage returns are dropped.
bool read_conpath(QString* joined);
// The folder of PGM.mdb as CONPATH.txt names it; false without the file.
bool database_folder(QString* folder);
// Writes CONPATH.txt atomically (a new file renamed over the old).
bool write_conpath(const QString& text);
