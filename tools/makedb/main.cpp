// torvisk-makedb FOLDER: writes a delivered program folder.
#include "data/schema.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: torvisk-makedb FOLDER\n");
        return 2;
    }
    QString error;
    if (!write_program_folder(args[1], &error)) {
        std::fprintf(stderr, "torvisk-makedb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
