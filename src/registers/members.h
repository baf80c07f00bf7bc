#pragma once
#include "data/db.h"
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class FlexGrid;
class QProgressBar;

// The SQL and the rules of the member register (B1, B1_add_edt).

// ---- Member list ----

// Kind combo entries and the kind each selects ("" for all members).
QStringList b1_kind_entries();
QString b1_kind_of(const QString& entry);
// Search-field combo entries and the column each searches (fixed table;
// an unknown entry searches the member code).
QStringList b1_field_entries();
QString b1_field_column(const QString& entry);

// The member list: one row per member of the kind, in-use flag and search
// with its latest period, its highest paid amount (-1 for a member without
// periods) and the count of its open rentals. Columns: gbn, dat, cod, nam,
// tel, phn, adr, sdat, edat, yun, open count, big.
Query b1_list_query(const QString& kind_entry, const QString& field_entry, const QString& search, bool in_use);

// Fills the 14 columns of the member grid from the list query; the number
// of members found (0 leaves the grid empty, without rows or columns).
// A progress bar, when given, follows the load.
int b1_fill_grid(FlexGrid& ms, const Query& q, QProgressBar* pb = nullptr);
// Column widths of the member grid; the remark takes the rest of `width`.
void b1_col_widths(FlexGrid& ms, int width_twips);

// Whether the member has an item out or an unpaid fee.
Lookup member_open_or_unpaid(const QString& cod);
// Whether the member has any rental history.
Lookup member_has_history(const QString& cod);
// Whether the member code is taken.
Lookup member_code_taken(const QString& cod);

// Sets the in-use flag of every member, all or nothing.
bool switch_members(const QStringList& codes, bool in_use);
// Deletes the member with his periods, all or nothing; refused (History)
// when rental rows of his stand at that moment.
Deletion delete_member(const QString& cod);

// ---- Member dialog ----

struct MemberInput {
    QString gbn;   // "A" or "B"
    QString dat, cod, nam, tel, phn, adr, big;
};

// The end of a period that starts on `start`: 365 days later.
QDate period_end(const QDate& start);

// A new member ('Y'); a regular member ("A") gets his first period from
// today, paid with the annual fee when `paid`, else with 0.
bool insert_member(const MemberInput& m, bool paid, const QDate& today, qint64 fee);
// Updates all but the code and the in-use flag of the member `m.cod`.
bool update_member(const MemberInput& m);

struct Period {
    qint64 idx = 0;
    QString s_dat, e_dat;
    qint64 mon = 0;
    QString chm;
};
// The member's periods in idx order; false when the query failed.
bool load_periods(const QString& cod, QList<Period>* out);

// Why a new period may not be added to these periods (empty: it may).
QString period_add_refusal(const QList<Period>& periods, const QDate& start, const QDate& end);
// Why the period `idx` may not be deleted (empty: it may).
QString period_delete_refusal(const QList<Period>& periods, qint64 idx, const QString& kind);

// A new period of the member; false, nothing written, when he is no longer
// registered.
bool insert_period(const QString& cod, const QDate& start, qint64 amount, const QString& chm);
bool update_period(qint64 idx, const QDate& start, qint64 amount, const QString& chm);
bool delete_period(qint64 idx);
