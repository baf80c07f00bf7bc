#pragma once
#include <QString>
#include <QtGlobal>

// Money is a whole number. Shown with digit grouping: 12345 -> "12,345".
QString amount_text(qint64 v);
// Reads "12,345" or "12345" (blanks and commas ignored); ok false for anything else.
qint64 parse_amount(const QString& text, bool* ok = nullptr);
