#include "slip/printing.h"

#include <QLibrary>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>

namespace recibo {

namespace {

PrintOutcome failed(const QString &why)
{
    return PrintOutcome{false, QStringLiteral("No se pudo imprimir el recibo: %1").arg(why)};
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// Qt's native print engine on these systems hands the finished document to
// CUPS when the painter ends, but does not look at CUPS's answer: a queue
// that refuses the job goes unnoticed. The CUPS client library is already
// loaded by Qt's print support at that point and remembers, per thread, the
// status of its last request, which is the submission of our job. Returns
// an empty string when the job was accepted or when there is no CUPS client
// library to ask.
QString refusalFromCups(const QString &printer)
{
    QLibrary cups(QStringLiteral("cups"), 2);
    using LastError = int (*)();
    using LastErrorString = const char *(*)();
    const auto lastError = reinterpret_cast<LastError>(cups.resolve("cupsLastError"));
    if (lastError == nullptr)
        return {};
    const int status = lastError();
    // IPP status codes below 0x0100 are the "successful" ones.
    if (status < 0x0100)
        return {};

    switch (status) {
    case 0x0506: // client-error-not-accepting-jobs
        return QStringLiteral("la impresora «%1» no está aceptando trabajos en este momento.").arg(printer);
    case 0x0406: // client-error-not-found
        return QStringLiteral("la impresora «%1» ya no existe en el sistema.").arg(printer);
    case 0x0401: // client-error-forbidden
    case 0x0402: // client-error-not-authenticated
    case 0x0403: // client-error-not-authorized
        return QStringLiteral("no tiene permiso para imprimir en la impresora «%1».").arg(printer);
    case 0x0502: // server-error-service-unavailable
        return QStringLiteral("el servicio de impresión del sistema no responde.");
    default:
        break;
    }
    // Anything else, a print server that cannot be reached among them: say
    // so, with the print system's own words for whoever has to look into it.
    const auto lastErrorString = reinterpret_cast<LastErrorString>(cups.resolve("cupsLastErrorString"));
    const QString detail = lastErrorString != nullptr && lastErrorString() != nullptr
                               ? QString::fromLocal8Bit(lastErrorString()).trimmed()
                               : QString();
    QString why = QStringLiteral("el sistema de impresión no recibió el trabajo para la impresora «%1»").arg(printer);
    if (!detail.isEmpty())
        why += QStringLiteral(" (%1)").arg(detail);
    return why + QLatin1Char('.');
}
#else
QString refusalFromCups(const QString &) { return {}; }
#endif

} // namespace

PrintOutcome DefaultPrinter::print(QWidget &window)
{
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull() || target.printerName().isEmpty())
        return failed(QStringLiteral("no hay ninguna impresora predeterminada configurada en el sistema."));
    const QString name = target.printerName();

    const QSize source = window.size();
    if (source.isEmpty())
        return failed(QStringLiteral("la ventana no tiene nada que imprimir."));

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Recibo de haberes"));
    if (!printer.isValid())
        return failed(QStringLiteral("la impresora «%1» no está disponible.").arg(name));

    QPainter painter;
    if (!painter.begin(&printer))
        return failed(QStringLiteral("no se pudo comenzar a imprimir en la impresora «%1».").arg(name));

    // The painter's origin is the top left corner of the printable area; the
    // window is scaled to fill it as far as its proportions allow, centred
    // across and placed at the top. Drawing through the scaled painter keeps
    // text and lines at the printer's resolution.
    const double width = printer.width();
    const double height = printer.height();
    const double scale = std::min(width / source.width(), height / source.height());
    painter.translate((width - source.width() * scale) / 2.0, 0.0);
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);

    const bool ended = painter.end();
    // Asked right away: it concerns the job just handed over.
    const QString refusal = refusalFromCups(name);
    if (!ended || printer.printerState() == QPrinter::Error)
        return failed(QStringLiteral("la impresora «%1» informó un error al terminar el trabajo.").arg(name));
    if (printer.printerState() == QPrinter::Aborted)
        return failed(QStringLiteral("el trabajo fue cancelado."));
    if (!refusal.isEmpty())
        return failed(refusal);
    return PrintOutcome{true, QString()};
}

} // namespace recibo
