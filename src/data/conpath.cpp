#include "data/conpath.h"
#include "data/paths.h"
#include <QFile>
#include <QSaveFile>

namespace {
QString conpath_file() { return program_dir() + QStringLiteral("/CONPATH.txt"); }
}

bool read_conpath(QString* joined)
{
    QFile f(conpath_file());
    if (!f.open(QIODevice::ReadOnly)) return false;
    QString all = QString::fromUtf8(f.readAll());
    all.remove(u'\r');
    all.remove(u'\n');
    *joined = all;
    return true;
}

bool database_folder(QString* folder)
{
    QString text;
    if (!read_conpath(&text)) return false;
    if (text.startsWith(u'S')) *folder = program_dir();
    else *folder = text.mid(1);
    return !folder->isEmpty();
}

bool write_conpath(const QString& text)
{
    QSaveFile f(conpath_file());
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray u = text.toUtf8();
    if (f.write(u) != u.size()) { f.cancelWriting(); return false; }
    return f.commit();
}
