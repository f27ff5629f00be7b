// The program's own start-up, as main() does it, for the start-up time of
// the bench: the only addition is the probe that ends it once the entry
// window has been painted.

#include <QApplication>

#include "app/startup.h"
#include "show_probe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("recibo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Recibo"));
    prepareApplication();
    QWidget *ingreso = startEntryWindow();
    recibo::bench::ExitOnFirstPaint::watch(ingreso);
    return QApplication::exec();
}
