// The default printer through the CUPS client library: the PDF page goes to
// the default queue as it is, and the scheduler's answer comes back directly.

#include "slip/printing.h"

#include <cups/cups.h>

#include <chrono>
#include <memory>

namespace recibo {

namespace {

const char *const kJobTitle = "Recibo de haberes";

// libcups asks this often whether to keep waiting for the scheduler.
constexpr double kPollSeconds = 0.25;
// A scheduler that has not answered for this long is taken to be stuck.
constexpr std::chrono::seconds kGiveUpAfter{60};

struct Waiting {
    std::stop_token stop;
    std::chrono::steady_clock::time_point deadline;
    bool gaveUp = false;
};

int keepWaiting(http_t *, void *data)
{
    auto *waiting = static_cast<Waiting *>(data);
    if (waiting->stop.stop_requested() || std::chrono::steady_clock::now() >= waiting->deadline) {
        waiting->gaveUp = true;
        return 0;
    }
    return 1;
}

PrintOutcome failed(const QString &why) { return PrintOutcome{false, printProblem(why), 0}; }

QString notRunning() { return QStringLiteral("el servicio de impresión del sistema no está en funcionamiento."); }
QString notAnswering() { return QStringLiteral("el servicio de impresión del sistema no responde."); }

// The scheduler's last answer on this thread (libcups keeps it per thread),
// in the user's words.
QString refusal(const QString &printer, const Waiting &waiting)
{
    if (waiting.gaveUp)
        return notAnswering();
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("la impresora «%1» no está aceptando trabajos en este momento.").arg(printer);
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("la impresora «%1» ya no existe en el sistema.").arg(printer);
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        return QStringLiteral("no tiene permiso para imprimir en la impresora «%1».").arg(printer);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return notAnswering();
    default:
        break;
    }
    // Anything else: say so, with the print system's own words for whoever
    // has to look into it.
    const QString detail = QString::fromUtf8(cupsLastErrorString()).trimmed();
    QString why = QStringLiteral("el sistema de impresión no recibió el trabajo para la impresora «%1»").arg(printer);
    if (!detail.isEmpty())
        why += QStringLiteral(" (%1)").arg(detail);
    return why + QLatin1Char('.');
}

struct CloseConnection {
    void operator()(http_t *http) const { httpClose(http); }
};
struct FreeDestination {
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};

} // namespace

// CUPS takes the PDF itself: nothing more to take from the window.
void DefaultPrinter::takeFromWindow(QWidget &, SlipPage &) {}

PrintOutcome DefaultPrinter::send(const SlipPage &page, std::stop_token stop)
{
    if (page.pdf.isEmpty())
        return failed(QStringLiteral("la página está vacía."));

    // A connection of this job's own, so that the waits can be cut short.
    Waiting waiting{stop, std::chrono::steady_clock::now() + kGiveUpAfter};
    const std::unique_ptr<http_t, CloseConnection> http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
    if (!http)
        return failed(notRunning());
    httpSetTimeout(http.get(), kPollSeconds, keepWaiting, &waiting);

    const std::unique_ptr<cups_dest_t, FreeDestination> dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (!dest) {
        if (waiting.gaveUp || cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            return failed(notAnswering());
        return failed(QStringLiteral("no hay ninguna impresora predeterminada configurada en el sistema."));
    }
    const QString printer = QString::fromUtf8(dest->name);

    // The user's own defaults for the queue (lpoptions) go with the job, as lp does.
    const int job = cupsCreateJob(http.get(), dest->name, kJobTitle, dest->num_options, dest->options);
    if (job == 0)
        return failed(refusal(printer, waiting));
    // A job left without its document would wait in the queue for ever.
    const auto abandon = [&] {
        const QString why = refusal(printer, waiting);
        if (!waiting.gaveUp)
            cupsCancelJob2(http.get(), dest->name, job, 0);
        return failed(why);
    };
    if (cupsStartDocument(http.get(), dest->name, job, kJobTitle, CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        return abandon();
    if (cupsWriteRequestData(http.get(), page.pdf.constData(), static_cast<size_t>(page.pdf.size())) !=
        HTTP_STATUS_CONTINUE)
        return abandon();
    if (cupsFinishDocument(http.get(), dest->name) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return abandon();
    return PrintOutcome{true, QString(), job};
}

} // namespace recibo
