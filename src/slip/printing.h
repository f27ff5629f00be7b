#pragma once

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QObject>
#include <QPageLayout>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

class QIODevice;
class QPaintDevice;
class QRectF;
class QWidget;

namespace recibo {

// The paper the slip is drawn on: portrait A4 (Letter where the region
// measures in inches), with a margin of 10 mm that every printer can reach.
QPageLayout slipPageLayout();

// "No se pudo imprimir el recibo: <why>", as the user reads a print failure.
QString printProblem(const QString &why);

// Draws the client area of `window` as it is now (the part of its children
// inside it, nothing beyond) onto `device`, scaled to fill `area` (device
// units) as far as its proportions allow, centred across and at the top.
// Returns an empty string, or the reason in Spanish why nothing was drawn.
QString drawWindow(QWidget &window, QPaintDevice &device, const QRectF &area);

// The window as one PDF page of slipPageLayout() written to `out` (opened for
// writing here when it is not open yet): text stays text, lines stay lines, and
// the fonts go inside the file. Returns an empty string, or the reason in
// Spanish why the page is not whole in `out`.
QString writeSlipPdf(QWidget &window, QIODevice &out);

// The name offered for a saved slip: "Recibo <teacher> <yyyy-mm-dd>.pdf", or
// "Recibo <yyyy-mm-dd>.pdf" without a name; characters a file name cannot
// hold on any common system become "_".
QString slipPdfName(const QString &teacher, const QDate &date);

// One page of the slip, drawn while the window shows its paper face.
struct SlipPage {
    QByteArray pdf; // one PDF page: vectors and text
    QImage picture; // the same page as a picture, for printers that take only pictures
};

// Result of one attempt to print: ok, or a plain Spanish reason the user can read.
struct PrintOutcome {
    bool ok = false;
    QString problem; // empty when ok
    int job = 0;     // the print system's number for the job, where it gives one
};

// Where the slip window sends its page. The window draws the page itself;
// the printer may take more from the window while it shows its paper face
// (takeFromWindow, on the window's thread), and then gets the page on a
// worker thread (send), where it must not touch any widget. The slip window
// uses the system's default printer; tests put their own in its place.
class SlipPrinter {
public:
    virtual ~SlipPrinter() = default;
    // Anything the printer needs from the window besides the PDF page
    // (nothing, unless it takes only pictures).
    virtual void takeFromWindow(QWidget &, SlipPage &) {}
    // Hands the page to the printer and waits for its answer. `stop` is
    // requested when the program ends: give up soon after.
    virtual PrintOutcome send(const SlipPage &page, std::stop_token stop) = 0;
};

// The system's default printer, with no dialog. Where the CUPS client library
// was found at build time, the PDF page goes to the default CUPS queue as it is;
// elsewhere the page is printed as a picture through Qt's print support.
class DefaultPrinter : public SlipPrinter {
public:
    void takeFromWindow(QWidget &window, SlipPage &page) override;
    PrintOutcome send(const SlipPage &page, std::stop_token stop) override;
};

// Sends one page at a time to a printer on a thread of its own, and reports
// the outcome on the thread that created it.
class PrintSender : public QObject {
    Q_OBJECT
public:
    explicit PrintSender(QObject *parent = nullptr);
    // A page on its way gets a moment to reach the printer; then it is given
    // up, and the thread is waited for.
    ~PrintSender() override;

    bool busy() const { return busy_; }
    // Starts sending; false (and nothing sent) while the last page is still on its way.
    bool send(std::shared_ptr<SlipPrinter> printer, SlipPage page);

signals:
    void finished(const recibo::PrintOutcome &outcome);

private:
    bool busy_ = false;
    std::mutex mutex_;
    std::condition_variable landed_;
    bool done_ = false; // the worker has its outcome (guarded by mutex_)
    std::jthread worker_;
};

} // namespace recibo
