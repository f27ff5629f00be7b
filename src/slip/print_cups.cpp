// The default printer through the CUPS client library: the PDF page goes to
// the default queue as it is, and the scheduler's answer comes back directly.

#include "slip/printing.h"

#include <QLibrary>

#include <cups/cups.h>

#include <chrono>
#include <memory>

namespace recibo {

namespace {

// The CUPS client library, loaded when the first page is sent. Linked to the
// program, it would bring some twenty libraries (TLS, Kerberos, service
// discovery) into every start of the program, for a step most runs never
// take. The header gives every function its exact type.
struct CupsLibrary {
    decltype(&::httpConnect2) httpConnect2 = nullptr;
    decltype(&::httpSetTimeout) httpSetTimeout = nullptr;
    decltype(&::httpClose) httpClose = nullptr;
    decltype(&::cupsServer) cupsServer = nullptr;
    decltype(&::ippPort) ippPort = nullptr;
    decltype(&::cupsEncryption) cupsEncryption = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::cupsLastErrorString) cupsLastErrorString = nullptr;
    decltype(&::cupsCreateJob) cupsCreateJob = nullptr;
    decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
    decltype(&::cupsStartDocument) cupsStartDocument = nullptr;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
    decltype(&::cupsFinishDocument) cupsFinishDocument = nullptr;
    bool loaded = false;
};

template <typename Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

CupsLibrary loadCups()
{
    CupsLibrary cups;
    QLibrary library(QStringLiteral("cups"), 2); // libcups.so.2; it stays loaded for the rest of the run
    if (!library.load())
        return cups;
    cups.loaded = resolve(library, "httpConnect2", cups.httpConnect2) &&
                  resolve(library, "httpSetTimeout", cups.httpSetTimeout) &&
                  resolve(library, "httpClose", cups.httpClose) && resolve(library, "cupsServer", cups.cupsServer) &&
                  resolve(library, "ippPort", cups.ippPort) &&
                  resolve(library, "cupsEncryption", cups.cupsEncryption) &&
                  resolve(library, "cupsGetNamedDest", cups.cupsGetNamedDest) &&
                  resolve(library, "cupsFreeDests", cups.cupsFreeDests) &&
                  resolve(library, "cupsLastError", cups.cupsLastError) &&
                  resolve(library, "cupsLastErrorString", cups.cupsLastErrorString) &&
                  resolve(library, "cupsCreateJob", cups.cupsCreateJob) &&
                  resolve(library, "cupsCancelJob2", cups.cupsCancelJob2) &&
                  resolve(library, "cupsStartDocument", cups.cupsStartDocument) &&
                  resolve(library, "cupsWriteRequestData", cups.cupsWriteRequestData) &&
                  resolve(library, "cupsFinishDocument", cups.cupsFinishDocument);
    return cups;
}

// Loaded once, by whichever thread sends the first page.
const CupsLibrary &libcups()
{
    static const CupsLibrary library = loadCups();
    return library;
}

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
    switch (libcups().cupsLastError()) {
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
    const QString detail = QString::fromUtf8(libcups().cupsLastErrorString()).trimmed();
    QString why = QStringLiteral("el sistema de impresión no recibió el trabajo para la impresora «%1»").arg(printer);
    if (!detail.isEmpty())
        why += QStringLiteral(" (%1)").arg(detail);
    return why + QLatin1Char('.');
}

struct CloseConnection {
    void operator()(http_t *http) const { libcups().httpClose(http); }
};
struct FreeDestination {
    void operator()(cups_dest_t *dest) const { libcups().cupsFreeDests(1, dest); }
};

} // namespace

// CUPS takes the PDF itself: nothing more to take from the window.
void DefaultPrinter::takeFromWindow(QWidget &, SlipPage &) {}

PrintOutcome DefaultPrinter::send(const SlipPage &page, std::stop_token stop)
{
    if (page.pdf.isEmpty())
        return failed(QStringLiteral("la página está vacía."));
    if (!libcups().loaded)
        return failed(QStringLiteral("falta en el sistema la biblioteca de impresión CUPS (libcups2)."));

    // A connection of this job's own, so that the waits can be cut short.
    Waiting waiting{stop, std::chrono::steady_clock::now() + kGiveUpAfter};
    const std::unique_ptr<http_t, CloseConnection> http(
        libcups().httpConnect2(libcups().cupsServer(), libcups().ippPort(), nullptr, AF_UNSPEC,
                               libcups().cupsEncryption(), 1, 30000, nullptr));
    if (!http)
        return failed(notRunning());
    libcups().httpSetTimeout(http.get(), kPollSeconds, keepWaiting, &waiting);

    const std::unique_ptr<cups_dest_t, FreeDestination> dest(libcups().cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (!dest) {
        if (waiting.gaveUp || libcups().cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            return failed(notAnswering());
        return failed(QStringLiteral("no hay ninguna impresora predeterminada configurada en el sistema."));
    }
    const QString printer = QString::fromUtf8(dest->name);

    // The user's own defaults for the queue (lpoptions) go with the job, as lp does.
    const int job = libcups().cupsCreateJob(http.get(), dest->name, kJobTitle, dest->num_options, dest->options);
    if (job == 0)
        return failed(refusal(printer, waiting));
    // A job left without its document would wait in the queue for ever.
    const auto abandon = [&] {
        const QString why = refusal(printer, waiting);
        if (!waiting.gaveUp)
            libcups().cupsCancelJob2(http.get(), dest->name, job, 0);
        return failed(why);
    };
    if (libcups().cupsStartDocument(http.get(), dest->name, job, kJobTitle, CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        return abandon();
    if (libcups().cupsWriteRequestData(http.get(), page.pdf.constData(), static_cast<size_t>(page.pdf.size())) !=
        HTTP_STATUS_CONTINUE)
        return abandon();
    if (libcups().cupsFinishDocument(http.get(), dest->name) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return abandon();
    return PrintOutcome{true, QString(), job};
}

} // namespace recibo
