#pragma once
#include <QString>
#include <QtGlobal>

// Money is a whole number. Shown with digit grouping: 12345 -> "12,345".
QString amount_text(qint64 v);
// Reads "12,345" or "12345" (blanks and commas ignored); ok false for anything else.
qint64 parse_amount(const QString& text, bool* ok = nullptr);

// amount_text as UTF-8 bytes written into buf (room for 32), for fast grid
// loads; the length.
inline int amount_utf8(qint64 v, char* buf)
{
    char digits[24];
    int n = 0;
    quint64 mag = v < 0 ? quint64(-(v + 1)) + 1ULL : quint64(v);
    do {
        digits[n++] = char('0' + mag % 10);
        mag /= 10;
    } while (mag);
    int len = 0;
    if (v < 0) buf[len++] = '-';
    for (int i = n - 1; i >= 0; --i) {
        buf[len++] = digits[i];
        if (i > 0 && i % 3 == 0) buf[len++] = ',';
    }
    return len;
}
