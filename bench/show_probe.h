#pragma once

// Shared by the two start-up programs of the bench, so that both stop the
// clock at the same moment: with RECIBO_BENCH_EXIT_ON_SHOW=1 the program
// prints "shown" and ends as soon as its window has been painted for the
// first time.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <cstdio>

namespace recibo::bench {

class ExitOnFirstPaint : public QObject {
public:
    static void watch(QWidget *window)
    {
        if (qEnvironmentVariableIntValue("RECIBO_BENCH_EXIT_ON_SHOW") == 1)
            window->installEventFilter(new ExitOnFirstPaint(window));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted_ && event->type() == QEvent::Paint) {
            painted_ = true;
            // Queued, so it runs once this paint and its flush to the screen are done.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::fputs("shown\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit ExitOnFirstPaint(QObject *parent) : QObject(parent) {}
    bool painted_ = false;
};

} // namespace recibo::bench
