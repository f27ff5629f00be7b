#pragma once

// What the bench needs to compare the two ways of printing the slip: the
// way the program printed before, as a printer the slip window can use, and
// readings of the process's resident memory.

#include <QString>

#include "slip/printing.h"

namespace recibo::bench {

// Resident memory of this process in KiB, now and at most since the last
// resetPeakMemory(); -1 where the system does not tell (Linux does).
long residentKiB();
long peakResidentKiB();
// Starts a new peak from the memory held now; false where the system cannot.
bool resetPeakMemory();

// The way before: QWidget::render onto a QPrinter at the printer's
// resolution, on the window's thread while it shows its paper face, to the
// default printer (or into a PDF file when there is none). The window's
// own PDF page is drawn as well and dropped.
class RenderOnQPrinter : public SlipPrinter {
public:
    explicit RenderOnQPrinter(QString fileWhenNoPrinter) : file_(std::move(fileWhenNoPrinter)) {}
    void takeFromWindow(QWidget &window, SlipPage &page) override;
    PrintOutcome send(const SlipPage &page, std::stop_token stop) override;

private:
    QString file_;
    PrintOutcome outcome_;
};

// Takes every page and keeps none: where no private print queue can run,
// the bench measures the drawing and the window only.
class DroppingPrinter : public SlipPrinter {
public:
    PrintOutcome send(const SlipPage &page, std::stop_token) override
    {
        return PrintOutcome{page.pdf.startsWith("%PDF"),
                            page.pdf.isEmpty() ? QStringLiteral("página vacía") : QString(), 0};
    }
};

} // namespace recibo::bench
