#pragma once
#include "data/db.h"
#include <QString>
#include <array>

// Program-wide values, alive for the whole run.
extern QString msg_title;     // "Torvisk(KX)": main window caption, message box title
extern QString db_mode;       // "M", set once at start-up
extern Query list_sql;        // the last list query; the query a picker runs
extern QString cur_user;      // TA2.nam of the logged-in account
extern QString user_rights;   // five characters "1"/"0": xls, prt, add, edt, del
extern std::array<int, 17> col_w;  // standard grid column widths in twips

// Settings of the TB0 row, read at every log-in attempt.
extern qint16 m_cod_cnt;
extern qint16 p_cod_cnt;
extern QString f1_nam, f2_nam, f3_nam, f4_nam, f5_nam, f6_nam;
extern qint16 max_dat;
extern qint16 max_cnt;
extern qint32 haebi;

// f_nam(1) .. f_nam(6): the six item field captions.
const QString& f_nam(int i);

void fill_col_w();

// Reads the TB0 row into the settings: false when there is no row, the query
// fails, or a field is not a number of its range.
bool load_settings();

enum class LoginResult { NoConnection, NoSettings, NoAccount, Ok };
// The log-in after the boxes were cleaned: connection, settings, account.
LoginResult login(const QString& name, const QString& password);
