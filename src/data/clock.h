#pragma once
#include <QDate>
#include <QString>

// Today's date for every screen; tests may fix it. An invalid date goes back
// to the real clock.
QDate today();
void set_today(const QDate& d);

// Stored dates are text "yyyy-mm-dd".
QString date_text(const QDate& d);
QString today_text();
// Strict "yyyy-mm-dd"; an invalid QDate for anything else.
QDate parse_date(const QString& text);
