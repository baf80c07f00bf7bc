#pragma once
#include <QByteArrayList>
#include <QString>

// Where the terminal's port 1 or 2 ("COM01", "COM02") is found: the entry
// COM1 or COM2 of the program folder when it is there (a link to the device
// or pseudo-terminal the terminal hangs on), else /dev/ttyS0 or /dev/ttyS1.
QString com_port_path(int port);
// "COM01" is port 1, anything else port 2.
int com_port_number(const QString& choice);

// The day's receive log: TXTFILE/yyyy-mm-dd.txt in the program folder, the
// date from today().
QString rcv_log_path();
// Appends one transfer to the day's log, creating TXTFILE when it is
// missing: a line with the date and the time, every frame as its bytes
// arrived, one per line, then an empty line; each line ends with CR LF.
// False when the folder or the file cannot be made or written whole.
bool append_rcv_log(const QByteArrayList& frames);
