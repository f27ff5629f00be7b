#include <QApplication>

#include "app/startup.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("recibo"));
    prepareApplication();
    startEntryWindow();
    return QApplication::exec();
}
