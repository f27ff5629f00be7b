#include "slip/slip_page.h"

#include <QFileDevice>
#include <QByteArray>
#include <QIODevice>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <new>

namespace recibo {

namespace {

// Passes every byte on to `target` and remembers whether any was refused:
// the PDF writer does not look at what its device answers. It also keeps the
// last bytes, where a whole PDF file has its end-of-file mark.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QIODevice &target) : target_(target) { open(QIODevice::WriteOnly); }
    bool refused() const { return refused_; }
    qint64 written() const { return written_; }
    bool endsWithPdfEnd() const { return tail_.trimmed().endsWith("%%EOF"); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = target_.write(data, size);
        if (taken != size)
            refused_ = true;
        written_ += std::max<qint64>(taken, 0);
        if (taken > 0)
            tail_ = (tail_ + QByteArray(data, qsizetype(taken))).right(kTail);
        return taken;
    }

private:
    static constexpr qsizetype kTail = 16;
    QIODevice &target_;
    QByteArray tail_;
    bool refused_ = false;
    qint64 written_ = 0;
};

// Draws `widget` and, above it, its children, each clipped to `inside` (in
// `window`'s coordinates) and to the widgets that hold it, as the screen shows
// them. Each widget is drawn on its own, with the clip set afresh: a widget may
// leave a clip behind in the drawing state (Qt's PDF engine restores a label's
// clip for its cut text in the wrong place, and keeps it), and it must not
// cut off the widgets drawn after it.
void drawWidget(QPainter &painter, QWidget &window, QWidget &widget, const QRegion &inside)
{
    const QPoint at = widget.mapTo(&window, QPoint());
    const QRegion visible = inside.intersected(QRect(at, widget.size()));
    if (visible.isEmpty())
        return;
    painter.setClipRegion(visible);
    widget.render(&painter, at, visible.translated(-at),
                  &widget == &window ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
    // Children in their stacking order, the lowest first; those hidden on
    // purpose, and windows of their own, are not in the window.
    for (QObject *object : widget.children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !(child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide)))
            drawWidget(painter, window, *child, visible);
    }
}

} // namespace

QPageLayout slipPageLayout()
{
    const QPageSize paper(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                     : QPageSize::A4);
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QString drawWindow(QWidget &window, QPaintDevice &device, const QRectF &area)
{
    const QSize source = window.size();
    if (source.isEmpty() || area.isEmpty())
        return QStringLiteral("la ventana no tiene nada que dibujar.");
    auto painter = std::make_unique<QPainter>();
    try {
        if (!painter->begin(&device) || !painter->isActive())
            return QStringLiteral("no se pudo comenzar a dibujar la página.");
        const double scale = std::min(area.width() / source.width(), area.height() / source.height());
        painter->translate(area.left() + (area.width() - source.width() * scale) / 2.0, area.top());
        painter->scale(scale, scale);
        // The slip frame reaches below the window: only what is inside it is drawn.
        drawWidget(*painter, window, window, QRegion(QRect(QPoint(), source)));
        if (!painter->end())
            return QStringLiteral("no se pudo terminar de dibujar la página.");
    } catch (const std::bad_alloc &) {
        // Out of memory halfway, the painter still takes itself for active,
        // and would try to end the page again, and fail again, as it goes:
        // it is let go instead.
        static_cast<void>(painter.release());
        throw;
    }
    return {};
}

QString writeSlipPdf(QWidget &window, QIODevice &out)
{
    if (!out.isOpen() && !out.open(QIODevice::WriteOnly))
        return QStringLiteral("no se pudo abrir el destino de la página.");
    if (!out.isWritable())
        return QStringLiteral("el destino de la página no admite escritura.");
    CheckedDevice checked(out);
    QString problem;
    try {
        QPdfWriter writer(&checked);
        writer.setPageLayout(slipPageLayout());
        writer.setTitle(QStringLiteral("Recibo de haberes"));
        writer.setCreator(QStringLiteral("Recibo"));
        problem = drawWindow(window, writer, QRectF(0, 0, writer.width(), writer.height()));
    } catch (const std::bad_alloc &) {
        // The PDF engine's buffers grow with the page: without memory for
        // them the page is given up, and the window goes on as it was.
        return QStringLiteral("no hay memoria suficiente para preparar la página.");
    }
    if (!problem.isEmpty())
        return problem;
    // The last bytes may still sit in a buffer of the device.
    if (auto *file = qobject_cast<QFileDevice *>(&out); file && !file->flush())
        return QStringLiteral("no se pudo escribir la página.");
    if (checked.refused() || checked.written() == 0)
        return QStringLiteral("no se pudo escribir la página.");
    // A page the PDF writer gave up on without a word has no end.
    if (!checked.endsWithPdfEnd())
        return QStringLiteral("no se pudo terminar la página.");
    return {};
}

} // namespace recibo
