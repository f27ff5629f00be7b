// The default printer through the CUPS client library: the PDF page goes to
// the default queue as it is, and the scheduler's answer comes back directly.

#include "slip/cups_library.h"

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace recibo {

namespace {

const char *const kJobTitle = "Recibo de haberes";

// libcups asks this often whether to keep waiting for the scheduler.
constexpr double kPollSeconds = 0.25;
// A scheduler that has not answered for this long since its last answer is
// taken to be stuck; a slow one that answers each request in time is waited
// for.
std::atomic<std::chrono::milliseconds::rep> giveUpAfter{std::chrono::milliseconds(std::chrono::seconds(60)).count()};
// Cancelling a job when the program is ending gets the rest of the grace
// that a page on its way gets.
constexpr std::chrono::milliseconds kCancelWaitAtEnd{1400};
// Connecting to a scheduler that does not take the connection.
constexpr int kConnectMilliseconds = 5000;

struct Waiting {
    std::stop_token stop;
    std::chrono::steady_clock::time_point deadline = answerDue();
    bool gaveUp = false;
    bool ending = false; // the program is ending

    static std::chrono::steady_clock::time_point answerDue()
    {
        return std::chrono::steady_clock::now() + std::chrono::milliseconds(giveUpAfter.load());
    }
    // The scheduler answered: the next answer gets the whole wait again.
    void answered()
    {
        if (!gaveUp)
            deadline = answerDue();
    }
};

int keepWaiting(http_t *, void *data)
{
    auto *waiting = static_cast<Waiting *>(data);
    if (waiting->stop.stop_requested()) {
        waiting->ending = waiting->gaveUp = true;
        return 0;
    }
    if (std::chrono::steady_clock::now() >= waiting->deadline) {
        waiting->gaveUp = true;
        return 0;
    }
    return 1;
}

const QString kPrintAgain = QStringLiteral("vuelva a imprimir, o guarde el recibo como PDF.");

PrintOutcome notRunning()
{
    return printFailure(QStringLiteral("No se pudo imprimir: el servicio de impresión del sistema no está en "
                                       "funcionamiento."),
                        QStringLiteral("Pida a quien administra el equipo que ponga en marcha el servicio de "
                                       "impresión (CUPS) y ") +
                            kPrintAgain);
}

PrintOutcome noDefaultPrinter()
{
    return printFailure(QStringLiteral("No se pudo imprimir: el sistema no tiene una impresora predeterminada."),
                        QStringLiteral("Configure una impresora predeterminada en la configuración del sistema y ") +
                            kPrintAgain);
}

// The scheduler stopped answering (or ended) before it had the whole page.
PrintOutcome serviceNotAnswering(const QString &printer)
{
    const QString what =
        printer.isEmpty()
            ? QStringLiteral("El servicio de impresión no respondió a tiempo y el recibo no se imprimió.")
            : QStringLiteral("El servicio de impresión no respondió a tiempo mientras recibía el recibo para la "
                             "impresora «%1»; el recibo no se imprimió.")
                  .arg(printer);
    return printFailure(what,
                        QStringLiteral("Revise que el servicio de impresión esté en funcionamiento y ") + kPrintAgain);
}

// The scheduler answered that the printer is busy or out of reach.
PrintOutcome printerNotAnswering(const QString &printer)
{
    return printFailure(
        QStringLiteral("La impresora «%1» no respondió a tiempo y el recibo no se imprimió.").arg(printer),
        QStringLiteral("Revise que la impresora esté encendida y conectada, y ") + kPrintAgain);
}

// The scheduler had the whole page and then said nothing more: the slip may
// come out, and printing it again could make two.
PrintOutcome mayStillPrint(const QString &printer)
{
    return printFailure(QStringLiteral("El servicio de impresión recibió el recibo entero para la impresora «%1», "
                                       "pero no confirmó el trabajo a tiempo: puede que el recibo se imprima de "
                                       "todos modos.")
                            .arg(printer),
                        QStringLiteral("Revise la impresora antes de volver a imprimir, para no imprimir el recibo "
                                       "dos veces."));
}

PrintOutcome connectionLost()
{
    return printFailure(QStringLiteral("Se cortó la comunicación con el servicio de impresión antes de que "
                                       "recibiera el recibo entero; el recibo no se imprimió."),
                        QStringLiteral("Revise que el servicio de impresión esté en funcionamiento y ") + kPrintAgain);
}

struct CloseConnection {
    const CupsLibrary *cups;
    void operator()(http_t *http) const { cups->httpClose(http); }
};
using Connection = std::unique_ptr<http_t, CloseConnection>;

struct FreeDestination {
    const CupsLibrary *cups;
    void operator()(cups_dest_t *dest) const { cups->cupsFreeDests(1, dest); }
};

struct FreeAnswer {
    const CupsLibrary *cups;
    void operator()(ipp_t *answer) const { cups->ippDelete(answer); }
};
using Answer = std::unique_ptr<ipp_t, FreeAnswer>;

// A connection to the scheduler of this job's own, whose every wait asks
// `waiting` whether to go on.
Connection connect(const CupsLibrary &cups, Waiting &waiting)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(waiting.deadline - std::chrono::steady_clock::now());
    const int msec = int(std::clamp<std::chrono::milliseconds::rep>(left.count(), 1, kConnectMilliseconds));
    Connection http(cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC, cups.cupsEncryption(), 1,
                                      msec, nullptr),
                    CloseConnection{&cups});
    if (http)
        cups.httpSetTimeout(http.get(), kPollSeconds, keepWaiting, &waiting);
    return http;
}

// Cancels a job on a connection of its own, since the job's own may be cut
// or stuck in the middle of a request. A scheduler that is stuck for now
// finds the request when it goes on, if the connection still waits for its
// answer: the wait is as long as for any answer. When the program ends
// meanwhile, one more short try.
void cancelJob(const CupsLibrary &cups, const std::string &queue, int job, std::stop_token stop)
{
    Waiting cancelling{stop};
    if (const Connection http = connect(cups, cancelling))
        cups.cupsCancelJob2(http.get(), queue.c_str(), job, 0);
    if (!cancelling.ending)
        return;
    Waiting last{std::stop_token(), std::chrono::steady_clock::now() + kCancelWaitAtEnd};
    if (const Connection http = connect(cups, last))
        cups.cupsCancelJob2(http.get(), queue.c_str(), job, 0);
}

// One print job on the default queue, from the look-up of the queue to the
// scheduler's last answer.
class Job {
public:
    Job(const CupsLibrary &cups, std::stop_token stop) : cups_(cups), waiting_{stop} {}
    PrintOutcome send(const QByteArray &pdf)
    {
        http_ = connect(cups_, waiting_);
        if (!http_)
            return waiting_.gaveUp ? serviceNotAnswering({}) : notRunning();

        const std::unique_ptr<cups_dest_t, FreeDestination> dest(cups_.cupsGetNamedDest(http_.get(), nullptr, nullptr),
                                                                 FreeDestination{&cups_});
        // Past the give-up nothing more goes to the scheduler: a request it
        // found later would make a job nobody waits for. A scheduler that
        // ended during the look-up leaves the connection broken, where one
        // that has no default printer says so on a connection still whole.
        if (!dest || waiting_.gaveUp) {
            if (waiting_.gaveUp || cups_.cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
                cups_.httpError(http_.get()) != 0)
                return serviceNotAnswering({});
            if (cups_.cupsLastError() == IPP_STATUS_ERROR_INTERNAL)
                return connectionLost();
            return noDefaultPrinter();
        }
        waiting_.answered();
        queue_ = dest->name;
        printer_ = QString::fromUtf8(dest->name);

        if (PrintOutcome refused = create(*dest); !refused.problem.isEmpty())
            return refused;
        if (waiting_.gaveUp)
            return serviceNotAnswering(printer_);
        const std::string resource = "/printers/" + queue_;
        if (cups_.cupsStartDocument(http_.get(), queue_.c_str(), job_, kJobTitle, CUPS_FORMAT_PDF, 1) !=
                HTTP_STATUS_CONTINUE ||
            cups_.cupsWriteRequestData(http_.get(), pdf.constData(), static_cast<size_t>(pdf.size())) !=
                HTTP_STATUS_CONTINUE) {
            // The scheduler may have said why before it stopped reading.
            const Answer early(waiting_.gaveUp ? nullptr : cups_.cupsGetResponse(http_.get(), resource.c_str()),
                               FreeAnswer{&cups_});
            return whyNot(early.get());
        }
        // The job is done only when the scheduler says it has the whole
        // document: no answer at all (a connection lost, a wait given up) is
        // a failure, whatever libcups last recorded.
        delivered_ = true;
        const Answer answer(cups_.cupsGetResponse(http_.get(), resource.c_str()), FreeAnswer{&cups_});
        if (!answer || waiting_.gaveUp || cups_.ippGetStatusCode(answer.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
            return whyNot(answer.get());
        ipp_attribute_t *state = cups_.ippFindAttribute(answer.get(), "job-state", IPP_TAG_ENUM);
        if (state && cups_.ippGetInteger(state, 0) >= IPP_JSTATE_CANCELED &&
            cups_.ippGetInteger(state, 0) != IPP_JSTATE_COMPLETED)
            return printFailure(
                QStringLiteral("La impresora «%1» no imprimió el recibo: el trabajo se detuvo.").arg(printer_),
                QStringLiteral("Revise la impresora y ") + kPrintAgain);
        const int job = std::exchange(job_, 0);
        // A paused queue takes the job and keeps it.
        if (const char *printerState = cups_.cupsGetOption("printer-state", dest->num_options, dest->options);
            printerState && std::atoi(printerState) == IPP_PSTATE_STOPPED)
            return PrintOutcome{
                true,
                QStringLiteral("La impresora «%1» está en pausa: el recibo queda en la cola hasta que se reanude.")
                    .arg(printer_),
                job,
                QStringLiteral("Reanude la impresora en la configuración del sistema; no hace falta volver a "
                               "imprimir.")};
        return PrintOutcome{true, {}, job, {}};
    }

    // A job created but not confirmed whole would wait in the queue without
    // its page: it is cancelled after the outcome is reported (tidyUp).
    std::function<void(std::stop_token)> leftOver()
    {
        if (job_ <= 0)
            return {};
        return [&cups = cups_, queue = queue_, job = job_](std::stop_token stop) { cancelJob(cups, queue, job, stop); };
    }

private:
    // Create-Job on this job's own connection: cupsCreateJob would look the
    // queue up again on a connection of its own, with no give-up.
    PrintOutcome create(const cups_dest_t &dest)
    {
        ipp_t *request = cups_.ippNewRequest(IPP_OP_CREATE_JOB);
        const char *uri = cups_.cupsGetOption("printer-uri-supported", dest.num_options, dest.options);
        const std::string ownUri = "ipp://localhost/printers/" + queue_;
        cups_.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri ? uri : ownUri.c_str());
        cups_.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups_.cupsUser());
        cups_.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, kJobTitle);
        // The user's own defaults for the queue (lpoptions) go with the job, as lp does.
        cups_.cupsEncodeOptions2(request, dest.num_options, dest.options, IPP_TAG_OPERATION);
        cups_.cupsEncodeOptions2(request, dest.num_options, dest.options, IPP_TAG_JOB);
        // cupsDoRequest frees the request.
        const Answer answer(cups_.cupsDoRequest(http_.get(), request, ("/printers/" + queue_).c_str()),
                            FreeAnswer{&cups_});
        if (!answer || waiting_.gaveUp || cups_.ippGetStatusCode(answer.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
            return whyNot(answer.get());
        ipp_attribute_t *id = cups_.ippFindAttribute(answer.get(), "job-id", IPP_TAG_INTEGER);
        job_ = id ? cups_.ippGetInteger(id, 0) : 0;
        if (job_ <= 0)
            return whyNot(answer.get());
        waiting_.answered();
        return {};
    }

    // Whether the whole page, with the mark that ends it, went to the
    // scheduler's side of the connection before it stopped answering: then
    // it reads the page when it goes on. A page still partly in libcups's
    // buffer never becomes a document.
    bool pageHandedOver() const { return cups_.httpGetPending(http_.get()) == 0; }

    // Why the scheduler did not take the job, from its answer or its silence.
    PrintOutcome whyNot(ipp_t *answer) const
    {
        if (waiting_.gaveUp && delivered_ && !waiting_.ending && pageHandedOver())
            return mayStillPrint(printer_);
        if (waiting_.gaveUp)
            return serviceNotAnswering(printer_);
        if (!answer)
            return connectionLost();
        switch (cups_.ippGetStatusCode(answer)) {
        case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
            return printFailure(
                QStringLiteral("La impresora «%1» no está aceptando trabajos y rechazó el recibo.").arg(printer_),
                QStringLiteral("Habilite la impresora en la configuración del sistema y ") + kPrintAgain);
        case IPP_STATUS_ERROR_NOT_FOUND:
            return printFailure(QStringLiteral("La impresora «%1» ya no existe en el sistema.").arg(printer_),
                                QStringLiteral("Configure una impresora predeterminada en la configuración del "
                                               "sistema y ") +
                                    kPrintAgain);
        case IPP_STATUS_ERROR_FORBIDDEN:
        case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        case IPP_STATUS_ERROR_NOT_AUTHORIZED:
            return printFailure(
                QStringLiteral("La impresora «%1» rechazó el recibo: no tiene permiso para imprimir en ella.")
                    .arg(printer_),
                QStringLiteral("Pida permiso a quien administra el equipo y ") + kPrintAgain);
        case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        case IPP_STATUS_ERROR_BUSY:
            return printerNotAnswering(printer_);
        default:
            return printFailure(QStringLiteral("La impresora «%1» rechazó el recibo.").arg(printer_),
                                QStringLiteral("Revise la impresora en la configuración del sistema y ") + kPrintAgain);
        }
    }

    const CupsLibrary &cups_;
    Waiting waiting_;
    Connection http_{nullptr, CloseConnection{&cups_}};
    std::string queue_;
    QString printer_;
    int job_ = 0;            // created and not yet confirmed
    bool delivered_ = false; // the whole page went to the scheduler
};

} // namespace

void setPrintGiveUp(std::chrono::milliseconds wait) { giveUpAfter = wait.count(); }

// CUPS takes the PDF itself: nothing more to take from the window.
void DefaultPrinter::takeFromWindow(QWidget &, SlipPage &) {}

PrintOutcome DefaultPrinter::send(const SlipPage &page, std::stop_token stop)
{
    if (page.pdf.isEmpty())
        return printFailure(QStringLiteral("No se pudo imprimir: la página del recibo quedó vacía."),
                            QStringLiteral("Vuelva a imprimir, o guarde el recibo como PDF."));
    PrintOutcome failure;
    const CupsLibrary *cups = libcups(failure);
    if (!cups)
        return failure;
    Job job(*cups, stop);
    const PrintOutcome outcome = job.send(page.pdf);
    leftOver_ = job.leftOver();
    return outcome;
}

void DefaultPrinter::tidyUp(std::stop_token stop)
{
    if (const auto leftOver = std::exchange(leftOver_, {}))
        leftOver(stop);
}

} // namespace recibo
