#pragma once

#include <QPageLayout>
#include <QString>

class QIODevice;
class QPaintDevice;
class QRectF;
class QWidget;

namespace recibo {

// The paper the slip is drawn on: portrait A4 (Letter where the region
// measures in inches), with a margin of 10 mm that every printer can reach.
QPageLayout slipPageLayout();

// Draws the client area of `window` as it is now (the part of its children
// inside it, nothing beyond) onto `device`, scaled to fill `area` (device
// units) as far as its proportions allow, centred across and at the top.
// Returns an empty string, or the reason in Spanish why nothing was drawn.
QString drawWindow(QWidget &window, QPaintDevice &device, const QRectF &area);

// The window as one PDF page of slipPageLayout() written to `out` (opened for
// writing here when it is not open yet): text stays text, lines stay lines, and
// the fonts go inside the file. Returns an empty string, or the reason in
// Spanish why the page is not whole in `out` (no memory for it among them:
// the window is left as it was). A page is whole only once the PDF writer
// has written its end; after a failure what `out` holds is no page.
QString writeSlipPdf(QWidget &window, QIODevice &out);

} // namespace recibo
