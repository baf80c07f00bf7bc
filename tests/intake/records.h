#pragma once
// Building terminal records and text files for the intake tests.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// CP949 bytes of a text.
inline QByteArray cp949(const QString& s)
{
    QStringEncoder e("windows-949");
    return e.encode(s);
}

// One 49-byte record: kind, date, member code, barcode and quantity at their
// positions, each followed by `sep` (the quantity right-aligned).
inline QByteArray term_record(const QString& kind, const QString& date, const QString& m_cod, const QString& p_cod,
                              const QString& cnt, char sep = ',')
{
    auto fit = [](QByteArray b, int n, bool right = false) {
        b = b.left(n);
        return right ? b.rightJustified(n, ' ') : b.leftJustified(n, ' ');
    };
    QByteArray r;
    r += fit(cp949(kind), 1) + sep;
    r += fit(cp949(date), 8) + sep;
    r += fit(cp949(m_cod), 10) + sep;
    r += fit(cp949(p_cod), 21) + sep;
    r += fit(cp949(cnt), 5, true);
    return r;
}

// The record as a line of a text file.
inline QByteArray file_line(const QString& kind, const QString& date, const QString& m_cod, const QString& p_cod,
                            const QString& cnt)
{
    return term_record(kind, date, m_cod, p_cod, cnt) + "\r\n";
}

inline QString write_file(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(bytes);
    return path;
}
