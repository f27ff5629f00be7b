// The yardstick for the start-up time: a bare Qt Widgets program that shows
// one empty window of the entry window's size. With --texto the window holds
// one line of text, which is what it takes for Qt to load the system's fonts.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

#include "show_probe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Ventana vacía"));
    window.resize(792, 573);
    if (argc > 1 && std::strcmp(argv[1], "--texto") == 0) {
        auto *label = new QLabel(QStringLiteral("Recibo de haberes"), &window);
        label->move(20, 20);
    }
    recibo::bench::ExitOnFirstPaint::watch(&window);
    window.show();
    return QApplication::exec();
}
