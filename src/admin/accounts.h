#pragma once
#include "data/db.h"
#include <QString>

// Log-in accounts (TA2): name, password, five rights, remark.
struct Account {
    QString nam;
    QString pas;
    bool rights[5] = {false, false, false, false, false};  // xls, prt, add, edt, del
    QString big;
};

bool is_admin_name(const QString& name);

// The list query: names containing the search text, by chk then name.
Query account_list_query(const QString& search);

// True when an account of that name exists; *failed set when the query itself failed.
bool account_exists(const QString& name, bool* failed);
// One new account with chk "B"; true when exactly one row went in.
bool insert_account(const Account& a);
// Updates the account named key (the name as listed). ADMIN gets only its
// password; true when exactly one row changed.
bool update_account(const QString& key, const Account& a);
// Deletes the account named key; true when exactly one row went.
bool delete_account(const QString& key);
