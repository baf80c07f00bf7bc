#include "data/text.h"

namespace {
bool is_special(QChar c)
{
    static const QString specials = QStringLiteral("'%#,>=<+-");
    return specials.contains(c);
}
}

QString clean_input(const QString& text)
{
    QString s = text;
    if (!text.isEmpty() && is_special(text.back())) s.chop(1);
    if (!s.isEmpty() && is_special(s.front())) s.remove(0, 1);
    s.remove(u'\'');
    return trim_spaces(s);
}

QString trim_spaces(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == u' ') ++b;
    while (e > b && text[e - 1] == u' ') --e;
    return text.mid(b, e - b);
}

LikeContains like_contains(const QString& column, const QString& text)
{
    QString p;
    p.reserve(text.size() + 2);
    p += u'%';
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) continue;
        if (c == u'%' || c == u'_' || c == u'\\') p += u'\\';
        p += c;
    }
    p += u'%';
    return {column + QStringLiteral(" LIKE ? ESCAPE '\\'"), p};
}

bool has_right(const QString& rights, const QString& name)
{
    static const char* names[] = {"xls", "prt", "add", "edt", "del"};
    for (int k = 0; k < 5; ++k)
        if (name == QLatin1String(names[k])) return k < rights.size() && rights[k] == u'1';
    return false;
}

qint64 utf8_units(const char* p, qsizetype len)
{
    const auto* b = reinterpret_cast<const uint8_t*>(p);
    qint64 units = 0;
    for (qsizetype k = 0; k < len; ++k)
        units += ((b[k] & 0xC0) != 0x80) + (b[k] >= 0xF0);
    return units;
}

qsizetype utf8_head_bytes(const char* p, qsizetype len, qint64 units)
{
    const auto* b = reinterpret_cast<const uint8_t*>(p);
    qsizetype end = 0;
    for (qint64 taken = 0; end < len;) {
        taken += b[end] >= 0xF0 ? 2 : 1;
        if (taken > units) break;
        for (++end; end < len && (b[end] & 0xC0) == 0x80; ++end) {}
    }
    return end;
}
