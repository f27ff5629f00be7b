#include "slip/printing.h"

#include <QIODevice>
#include <QLocale>
#include <QMetaObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QWidget>

#include <algorithm>
#include <chrono>

namespace recibo {

namespace {

// A page on its way when the program ends gets this long to reach the
// printer before it is given up.
constexpr std::chrono::seconds kLastPageGrace{3};

// Passes every byte on to `target` and remembers whether any was refused:
// the PDF writer does not look at what its device answers.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QIODevice &target) : target_(target) { open(QIODevice::WriteOnly); }
    bool refused() const { return refused_; }
    qint64 written() const { return written_; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = target_.write(data, size);
        if (taken != size)
            refused_ = true;
        written_ += std::max<qint64>(taken, 0);
        return taken;
    }

private:
    QIODevice &target_;
    bool refused_ = false;
    qint64 written_ = 0;
};

QString withDetail(const QString &why, const QString &detail)
{
    return detail.isEmpty() ? why + QLatin1Char('.') : QStringLiteral("%1 (%2).").arg(why, detail);
}

} // namespace

QPageLayout slipPageLayout()
{
    const QPageSize paper(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                     : QPageSize::A4);
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QString printProblem(const QString &why) { return QStringLiteral("No se pudo imprimir el recibo: %1").arg(why); }

QString drawWindow(QWidget &window, QPaintDevice &device, const QRectF &area)
{
    const QSize source = window.size();
    if (source.isEmpty() || area.isEmpty())
        return QStringLiteral("la ventana no tiene nada que dibujar.");
    QPainter painter;
    if (!painter.begin(&device) || !painter.isActive())
        return QStringLiteral("no se pudo comenzar a dibujar la página.");
    const double scale = std::min(area.width() / source.width(), area.height() / source.height());
    painter.translate(area.left() + (area.width() - source.width() * scale) / 2.0, area.top());
    painter.scale(scale, scale);
    // The slip frame reaches below the window: only what is inside it is drawn.
    painter.setClipRect(QRect(QPoint(), source));
    window.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (!painter.end())
        return QStringLiteral("no se pudo terminar de dibujar la página.");
    return {};
}

QString writeSlipPdf(QWidget &window, QIODevice &out)
{
    if (!out.isOpen() && !out.open(QIODevice::WriteOnly))
        return withDetail(QStringLiteral("no se pudo abrir el destino de la página"), out.errorString());
    if (!out.isWritable())
        return QStringLiteral("el destino de la página no admite escritura.");
    CheckedDevice checked(out);
    QString problem;
    {
        QPdfWriter writer(&checked);
        writer.setPageLayout(slipPageLayout());
        writer.setTitle(QStringLiteral("Recibo de haberes"));
        writer.setCreator(QStringLiteral("Recibo"));
        problem = drawWindow(window, writer, QRectF(0, 0, writer.width(), writer.height()));
    }
    if (!problem.isEmpty())
        return problem;
    if (checked.refused() || checked.written() == 0)
        return withDetail(QStringLiteral("no se pudo escribir la página"), out.errorString());
    return {};
}

QString slipPdfName(const QString &teacher, const QDate &date)
{
    // Forbidden in a file name on Windows, and "/" everywhere.
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name = teacher.simplified();
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    const QString day = date.toString(Qt::ISODate);
    if (name.isEmpty())
        return QStringLiteral("Recibo %1.pdf").arg(day);
    return QStringLiteral("Recibo %1 %2.pdf").arg(name, day);
}

PrintSender::PrintSender(QObject *parent) : QObject(parent) {}

PrintSender::~PrintSender()
{
    if (!worker_.joinable())
        return;
    {
        std::unique_lock lock(mutex_);
        landed_.wait_for(lock, kLastPageGrace, [this] { return done_; });
    }
    worker_.request_stop();
    worker_.join();
}

bool PrintSender::send(std::shared_ptr<SlipPrinter> printer, SlipPage page)
{
    if (busy_)
        return false;
    // The last thread has reported already and is ending.
    if (worker_.joinable())
        worker_.join();
    busy_ = true;
    done_ = false;
    worker_ = std::jthread([this, printer = std::move(printer), page = std::move(page)](std::stop_token stop) {
        const PrintOutcome outcome = printer->send(page, stop);
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        landed_.notify_all();
        // Runs on this object's thread. The destructor waits for this thread,
        // so the object is still there; if it goes before the call runs, Qt
        // drops the call with it.
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                busy_ = false;
                emit finished(outcome);
            },
            Qt::QueuedConnection);
    });
    return true;
}

} // namespace recibo
