#include "data/amounts.h"

QString amount_text(qint64 v)
{
    const bool neg = v < 0;
    const quint64 mag = neg ? quint64(-(v + 1)) + 1ULL : quint64(v);
    const QString digits = QString::number(mag);
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        out += digits[i];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += u',';
    }
    return neg ? u'-' + out : out;
}

qint64 parse_amount(const QString& text, bool* ok)
{
    QString t = text;
    t.remove(u',');
    t = t.trimmed();
    if (t.isEmpty()) { if (ok) *ok = true; return 0; }
    bool good = false;
    const qint64 v = t.toLongLong(&good);
    if (ok) *ok = good;
    return good ? v : 0;
}
