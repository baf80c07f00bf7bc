#pragma once
#include <QString>

// Cleans typed or loaded text: one special character (' % # , > = < + -)
// dropped at each end (tested before trimming), every apostrophe removed,
// then blanks trimmed at both ends.
QString clean_input(const QString& text);

// The text without the spaces at either end; tabs, line ends and other
// white space stay (in a record they may be separators).
QString trim_spaces(const QString& text);

// A search for rows whose `column` contains `text` as it stands: the SQL
// "column LIKE ? ESCAPE '\'" and the pattern bound to it. The wildcards % and _
// (and the escape character) in the text are escaped, so they match only
// themselves; control characters (NUL and the like) are dropped from the text.
struct LikeContains {
    QString sql;
    QString pattern;
};
LikeContains like_contains(const QString& column, const QString& text);

// UTF-16 units of UTF-8 text, as a spreadsheet and QString count them: one
// per sequence, two for a four-byte one (a character outside the BMP),
// counted without decoding.
qint64 utf8_units(const char* p, qsizetype len);
// Bytes of the longest start of UTF-8 text that is at most `units` UTF-16
// units long; no sequence is split. Only that start is read.
qsizetype utf8_head_bytes(const char* p, qsizetype len, qint64 units);

// rights: five characters "1"/"0" for xls, prt, add, edt, del.
bool has_right(const QString& rights, const QString& name);
