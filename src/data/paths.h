#pragma once
#include <QString>

// The program folder: where CONPATH.txt, PRT.mdb and TXTFILE live. Defaults to
// the folder of the executable; tests point it at a temporary folder.
QString program_dir();
void set_program_dir(const QString& dir);
