#include "print_ways.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>

namespace recibo::bench {

namespace {

long statusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // The file reports no size: read it whole rather than up to its end.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

long residentKiB() { return statusKiB("VmRSS:"); }
long peakResidentKiB() { return statusKiB("VmHWM:"); }

bool resetPeakMemory()
{
    // "5" resets the peak resident size to the present one (Linux 4.0 and later).
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

void RenderOnQPrinter::takeFromWindow(QWidget &window, SlipPage &)
{
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    QPrinter printer(target, QPrinter::HighResolution);
    if (target.isNull())
        printer.setOutputFileName(file_);
    printer.setDocName(QStringLiteral("Recibo de haberes"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome_ = PrintOutcome{false, QStringLiteral("pintor inactivo"), 0};
        return;
    }
    const QSize source = window.size();
    const double width = printer.width();
    const double height = printer.height();
    const double scale = std::min(width / source.width(), height / source.height());
    painter.translate((width - source.width() * scale) / 2.0, 0.0);
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    const bool ended = painter.end();
    outcome_ = PrintOutcome{ended && printer.printerState() != QPrinter::Error,
                            ended ? QString() : QStringLiteral("el trabajo no terminó"), 0};
}

PrintOutcome RenderOnQPrinter::send(const SlipPage &, std::stop_token) { return outcome_; }

} // namespace recibo::bench
