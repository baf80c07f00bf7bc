#include "data/clock.h"

namespace {
QDate& fixed_day() { static QDate d; return d; }
}

QDate today() { return fixed_day().isValid() ? fixed_day() : QDate::currentDate(); }
void set_today(const QDate& d) { fixed_day() = d; }

QString date_text(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString(); }
QString today_text() { return date_text(today()); }

QDate parse_date(const QString& text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return {};
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}
