#include "shell/A_main.h"
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    A_main w;
    w.show();
    return app.exec();
}
