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
    int b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

bool has_right(const QString& rights, const QString& name)
{
    static const char* names[] = {"xls", "prt", "add", "edt", "del"};
    for (int k = 0; k < 5; ++k)
        if (name == QLatin1String(names[k])) return k < rights.size() && rights[k] == u'1';
    return false;
}
