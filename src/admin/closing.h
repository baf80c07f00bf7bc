#pragma once
#include "data/db.h"
#include <QString>

// Closing runs (TA3) and the closed flag of the rentals (TC1.mgm).

// The list query: dates containing the search text, newest first.
Query closing_list_query(const QString& search);

// True when a run for that date exists; *failed set when the query itself failed.
bool closing_exists(const QString& date, bool* failed);

// One run: the date and remark into TA3 and every rental whose rental date
// lies on or before the date marked closed, in one transaction. False (and
// nothing changed) on any error.
bool run_closing(const QString& date, const QString& remark);
