#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>

class CA;
class Connection;
class FlexGrid;

// What the rental history window does with its rows: extension of the due
// date, deletion of one rental, and the payment flags written by C3. Every
// write runs in one transaction on the given connection: all or nothing.
namespace history {

// Data rows (column 0 holds the rental key) whose column 1 carries the tick.
QList<int> ticked_rows(const FlexGrid& ms);
// The rental key of a grid row; 0 for a subtotal, total or header row.
qint64 row_key(const FlexGrid& ms, int row);

// Adds `days` to the stored due date of every rental and counts the
// extension in ccc. Only rentals still out are extended: a rental returned
// or deleted in the meantime fails the whole extension.
bool extend_rentals(Connection& c, const QList<qint64>& keys, int days);

// Deletes one rental. Whether its item goes back in stock is decided from
// the stored row inside the transaction: only a rental still out frees it.
bool delete_rental(Connection& c, qint64 key);

// A rental of a payment with the fees the clerk was shown for it.
struct PaidRental {
    qint64 key = 0;
    qint64 dae = 0;   // rental fee
    qint64 yun = 0;   // late fee
};
// Sets both paid flags of every rental ('Y' paid, 'N' unpaid). Only a rental
// whose stored fees are still those shown is written: one deleted, or
// returned with a new late fee, since the clerk saw it fails the whole
// payment.
bool pay_rentals(Connection& c, const QList<PaidRental>& rows, bool dae_paid, bool yun_paid);

} // namespace history

// Wires the history window's check boxes, row ticks and delete button to
// these actions (CA_actions.cpp).
void install_history_actions(CA* ca);
