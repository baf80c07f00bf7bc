#pragma once
#include <QString>

// Cleans typed or loaded text: one special character (' % # , > = < + -)
// dropped at each end (tested before trimming), every apostrophe removed,
// then blanks trimmed at both ends.
QString clean_input(const QString& text);

// rights: five characters "1"/"0" for xls, prt, add, edt, del.
bool has_right(const QString& rights, const QString& name);
