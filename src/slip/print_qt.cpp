// The default printer through Qt's print support, where the CUPS client
// library is not there to take the PDF page: Qt's print engines take widgets
// only as pictures, so the page goes as one picture fine enough for paper,
// drawn while the window shows its paper face and printed on the worker.

#include "slip/printing.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <QtMath>

#include <algorithm>

namespace recibo {

namespace {

constexpr int kPictureDpi = 300;

const QString kPrintAgain = QStringLiteral("Revise la impresora y vuelva a imprimir, o guarde el recibo como PDF.");

PrintOutcome failed(const QString &why, const QString &advice = kPrintAgain)
{
    return printFailure(QStringLiteral("No se pudo imprimir: %1").arg(why), advice);
}

} // namespace

void DefaultPrinter::takeFromWindow(QWidget &window, SlipPage &page)
{
    const QRect paint = slipPageLayout().paintRectPixels(kPictureDpi);
    if (window.width() <= 0 || window.height() <= 0)
        return;
    // Only as tall as the window needs at the width of the page.
    const double scale = std::min(double(paint.width()) / window.width(), double(paint.height()) / window.height());
    QImage picture(qCeil(window.width() * scale), qCeil(window.height() * scale), QImage::Format_RGB32);
    if (picture.isNull())
        return; // no memory for it: send() says so
    picture.fill(Qt::white);
    const int dotsPerMetre = qRound(kPictureDpi / 0.0254);
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    if (drawWindow(window, picture, QRectF(QPointF(0, 0), QSizeF(picture.size()))).isEmpty())
        page.picture = std::move(picture);
}

// Qt's print support loads no library of its own choosing and waits as
// long as the system's print service takes.
void setPrintLibrary(const QString &) {}
void setPrintGiveUp(std::chrono::milliseconds) {}

// Qt's print support leaves nothing to tidy up.
void DefaultPrinter::tidyUp(std::stop_token) {}

PrintOutcome DefaultPrinter::send(const SlipPage &page, std::stop_token)
{
    if (page.picture.isNull())
        return failed(QStringLiteral("no se pudo preparar la imagen de la página."));
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull() || target.printerName().isEmpty())
        return failed(QStringLiteral("el sistema no tiene una impresora predeterminada."),
                      QStringLiteral("Configure una impresora predeterminada en la configuración del sistema y "
                                     "vuelva a imprimir, o guarde el recibo como PDF."));
    const QString name = target.printerName();

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Recibo de haberes"));
    printer.setPageLayout(slipPageLayout());
    if (!printer.isValid())
        return failed(QStringLiteral("la impresora «%1» no está disponible.").arg(name));
    QPainter painter;
    if (!painter.begin(&printer))
        return failed(QStringLiteral("no se pudo comenzar a imprimir en la impresora «%1».").arg(name));
    const QSizeF area(printer.width(), printer.height());
    const double scale = std::min(area.width() / page.picture.width(), area.height() / page.picture.height());
    const QSizeF placed = QSizeF(page.picture.size()) * scale;
    painter.drawImage(QRectF(QPointF((area.width() - placed.width()) / 2.0, 0), placed), page.picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return failed(QStringLiteral("la impresora «%1» informó un error al terminar el trabajo.").arg(name));
    if (printer.printerState() == QPrinter::Aborted)
        return failed(QStringLiteral("el trabajo fue cancelado."));
    return PrintOutcome{true, {}, 0, {}};
}

} // namespace recibo
