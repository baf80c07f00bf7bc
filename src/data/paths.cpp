#include "data/paths.h"
#include <QCoreApplication>

namespace {
QString& dir_override() { static QString d; return d; }
}

QString program_dir()
{
    if (!dir_override().isEmpty()) return dir_override();
    return QCoreApplication::applicationDirPath();
}

void set_program_dir(const QString& dir) { dir_override() = dir; }
