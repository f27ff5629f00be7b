#include "slip/printing.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

namespace recibo {

namespace {

// A page on its way when the program ends gets this long in all: to reach
// the printer, and after that, the last part of it, to be given up (its job
// cancelled). Then the program ends without waiting any further.
constexpr std::chrono::milliseconds kLastPageGrace{3000};
constexpr std::chrono::milliseconds kGivingUp{1500};

} // namespace

PrintOutcome printFailure(const QString &problem, const QString &advice)
{
    return PrintOutcome{false, problem, 0, advice};
}

PrintOutcome outOfMemory()
{
    return printFailure(QStringLiteral("No se pudo imprimir: no hay memoria suficiente para preparar el recibo."),
                        QStringLiteral("Cierre otros programas y vuelva a imprimir. Lo escrito en las ventanas "
                                       "sigue como estaba."));
}

PrintOutcome noThread()
{
    return printFailure(QStringLiteral("No se pudo imprimir: el sistema no permitió comenzar el envío a la "
                                       "impresora."),
                        QStringLiteral("Cierre otros programas y vuelva a imprimir, o guarde el recibo como PDF. Lo "
                                       "escrito en las ventanas sigue como estaba."));
}
struct PrintSender::Worker {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;             // the thread has nothing more to do
    PrintSender *sender = nullptr; // where the outcome goes; none once the sender is gone
};

PrintSender::PrintSender(QObject *parent) : QObject(parent) {}

PrintSender::~PrintSender()
{
    const auto end = std::chrono::steady_clock::now() + kLastPageGrace;
    const auto allDone = [this](std::chrono::steady_clock::time_point until) {
        bool done = true;
        for (Running &running : threads_) {
            std::unique_lock lock(running.worker->mutex);
            running.worker->sender = nullptr;
            done = running.worker->ended.wait_until(lock, until, [&] { return running.worker->done; }) && done;
        }
        return done;
    };
    if (!allDone(end - kGivingUp)) {
        for (Running &running : threads_)
            running.thread.request_stop();
        allDone(end);
    }
    // A thread still caught in a call that does not come back (a system
    // call the print library cannot cut short) is left to end with the
    // program; it holds everything it uses.
    for (Running &running : threads_) {
        std::unique_lock lock(running.worker->mutex);
        const bool done = running.worker->done;
        lock.unlock();
        if (done)
            running.thread.join();
        else
            running.thread.detach();
    }
}

PrintOutcome PrintSender::send(std::shared_ptr<SlipPrinter> printer, SlipPage page)
{
    if (busy_)
        return printFailure(QStringLiteral("El recibo anterior todavía se está enviando a la impresora."),
                            QStringLiteral("Espere a que termine y vuelva a imprimir."));
    try {
        // Threads that have ended go; one still tidying up at its printer
        // stays until it is done.
        std::erase_if(threads_, [](Running &running) {
            std::unique_lock lock(running.worker->mutex);
            return running.worker->done;
        });
        auto worker = std::make_shared<Worker>();
        worker->sender = this;
        std::jthread thread([worker, printer = std::move(printer), page = std::move(page)](std::stop_token stop) {
            PrintOutcome outcome;
            try {
                outcome = printer->send(page, stop);
            } catch (const std::bad_alloc &) {
                outcome = outOfMemory();
            } catch (const std::system_error &) {
                outcome = noThread();
            }
            {
                std::lock_guard lock(worker->mutex);
                if (PrintSender *sender = worker->sender) {
                    // Runs on the sender's thread; the sender cannot go
                    // meanwhile, since it takes this lock first. Should it go
                    // before the call runs, Qt drops the call with it.
                    try {
                        QMetaObject::invokeMethod(
                            sender,
                            [sender, outcome] {
                                sender->busy_ = false;
                                emit sender->finished(outcome);
                            },
                            Qt::QueuedConnection);
                    } catch (const std::bad_alloc &) {
                        // No memory even for the report: the window learns
                        // nothing, as it would from a page never sent.
                    }
                }
            }
            try {
                printer->tidyUp(stop);
            } catch (const std::exception &) {
                // Nothing more can be done at the printer.
            }
            std::lock_guard lock(worker->mutex);
            worker->done = true;
            worker->ended.notify_all();
        });
        threads_.push_back(Running{std::move(worker), std::move(thread)});
    } catch (const std::system_error &) {
        return noThread();
    } catch (const std::bad_alloc &) {
        return outOfMemory();
    }
    busy_ = true;
    return PrintOutcome{true, {}, 0, {}};
}

} // namespace recibo
