#pragma once
#include "data/db.h"
#include <QDate>
#include <QString>
#include <vector>

// The rules and SQL of the counter (rental entry C1, return entry C2),
// without widgets.

// A member row of TB1, as the counter needs it.
struct MemberRow {
    bool found = false;
    bool failed = false;   // the lookup itself failed
    QString cod, gbn, nam, act;
};
MemberRow find_member(Connection& c, const QString& cod);

enum class CodeOf { Member, Item };
// Whether the code is a stored member code (TB1) or barcode (TB4), as it stands.
Lookup stored_code(Connection& c, CodeOf kind, const QString& cod);
// Whether the member code is in TB1. Asked inside a save's transaction, the
// answer holds until it commits: no other desk can delete him meanwhile.
bool member_registered(Connection& c, const QString& cod);

// What a counter box looks up for a scanned, typed or handed-back text.
// Upper-cased, the first of these that is a stored member code (TB1) or
// barcode (TB4) is served, whatever signs it begins or ends with:
//   1. the text without the spaces at its ends (as it stands),
//   2. the same without its apostrophes,
//   3. the text cleaned as typed text is (clean_input).
// When none is stored, the cleaned text goes on, so a stray sign or
// apostrophe typed before Enter is still forgiven. A lookup that fails
// decides nothing: the text as it stands goes on, never a later candidate.
QString counter_code(Connection& c, CodeOf kind, const QString& text);

// One open rental of a member (TC1 with e_dat '').
struct OpenRental {
    qint64 idx = 0;
    QString s_dat, p_cod, f1_nam;
};

// What the counter shows of a member once he is known.
struct MemberStatus {
    bool failed = false;      // one of the queries failed
    bool has_period = false;  // a row in TB1_1
    QString s_dat, e_dat;     // his latest period
    bool days_known = false;  // e_dat read as a date
    qint64 days_left = 0;     // calendar days from today to e_dat (negative once over)
    qint64 unpaid = 0;        // unpaid rental fees + unpaid late fees
    qint64 periods = 0;       // number of periods
    qint64 paid = 0;          // paid for the periods
    qint64 arrears = 0;       // haebi x periods - paid
    qint64 balance() const { return unpaid + arrears; }
    std::vector<OpenRental> open;   // newest rental date first
};
MemberStatus member_status(Connection& c, const QString& cod, const QDate& today, qint64 annual_fee);

// An item row of TB4.
struct ItemRow {
    bool found = false;
    bool failed = false;
    QString act, sta, gbn, cod, f1_nam;
    qint64 dae = 0, yun = 0;
    bool rentable() const { return act == QLatin1String("Y") && sta == QLatin1String("N"); }
};
ItemRow find_item(Connection& c, const QString& cod);
// Times the barcode has ever been rented; -1 when the query fails.
qint64 rental_count(Connection& c, const QString& p_cod);

// The member's oldest open rental of the barcode, with the item's late fee.
struct ReturnCandidate {
    bool found = false;
    bool failed = false;
    qint64 idx = 0;
    QString c_dat, p_cod, f1_nam;
    qint64 yun = 0;
};
ReturnCandidate find_open_rental(Connection& c, const QString& m_cod, const QString& p_cod);

// Late fee of a rental due on c_dat returned on `on`: whole overdue calendar
// days x the item's late fee per day; 0 when on time or c_dat is no date.
qint64 late_fee(const QString& c_dat, const QDate& on, qint64 yun);

// Due date of a rental made today.
QString due_date(const QDate& today, int days);

// Paid flag written with a fee: a zero fee is paid; otherwise "N" when the
// counter marked it unpaid, else "Y".
QString paid_flag(qint64 fee, const QString& mark);

// One row of the rental list.
struct RentalLine {
    QString c_dat;   // due date as typed
    QString mark;    // "Y"/"N"
    qint64 fee = 0;
    QString p_cod;
};
// Registers the rentals in one transaction: a TC1 row per line and the item
// marked rented, only where it is still in stock and in use, only while the
// member is registered, and only while his open rentals (counted inside the
// transaction) with the new ones stay within `max_open`. Any failure, also an
// item taken, the member deleted or a rental made to him meanwhile at
// another desk, rolls everything back: false.
bool save_rentals(Connection& c, const QString& m_cod, const std::vector<RentalLine>& lines, const QDate& today,
                  const QString& user, int max_open);

// One row of the return list.
struct ReturnLine {
    qint64 idx = 0;
    QString mark;
    qint64 fee = 0;   // late fee
};
// Registers the returns in one transaction: each rental must still be out;
// its item (by the rental's own barcode) goes back in stock unless another
// rental of it is open. Any
// failure rolls everything back: false.
bool save_returns(Connection& c, const std::vector<ReturnLine>& lines, const QDate& today, const QString& user);
