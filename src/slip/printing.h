#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <vector>

// The page and the file the slip is printed and saved as.
#include "slip/pdf_file.h"
#include "slip/slip_page.h"

class QWidget;

namespace recibo {

// One page of the slip, drawn while the window shows its paper face.
struct SlipPage {
    QByteArray pdf; // one PDF page: vectors and text
    QImage picture; // the same page as a picture, for printers that take only pictures
};

// Result of one attempt to print: ok, or what happened and what the user can
// do, in plain Spanish. A job the printer took but keeps waiting (a paused
// queue) is ok with a problem that says so.
struct PrintOutcome {
    bool ok = false;
    QString problem; // one sentence; empty when ok and nothing to tell
    int job = 0;     // the print system's number for the job, where it gives one
    QString advice;  // what to do about it
};

PrintOutcome printFailure(const QString &problem, const QString &advice);
// No memory, or no thread, for preparing or sending the page.
PrintOutcome outOfMemory();
PrintOutcome noThread();

// Which CUPS client library the default printer loads (libcups.so.2 when
// empty), and how long it waits for a scheduler that does not answer (60 s):
// tests point the one at a stand-in and shorten the other.
void setPrintLibrary(const QString &file);
void setPrintGiveUp(std::chrono::milliseconds wait);

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
    // Once the outcome is reported, on the same thread: whatever the last
    // send left undone at the printer (a job it created and could not
    // confirm is cancelled), for as long as the printer waits for an answer,
    // or until `stop`.
    virtual void tidyUp(std::stop_token) {}
};

// The system's default printer, with no dialog. Where the CUPS client library
// was found at build time, the PDF page goes to the default CUPS queue as it is;
// elsewhere the page is printed as a picture through Qt's print support.
class DefaultPrinter : public SlipPrinter {
public:
    void takeFromWindow(QWidget &window, SlipPage &page) override;
    PrintOutcome send(const SlipPage &page, std::stop_token stop) override;
    void tidyUp(std::stop_token stop) override;

private:
    std::function<void(std::stop_token)> leftOver_; // from the last send
};

// Sends one page at a time to a printer on a thread of its own, and reports
// the outcome on the thread that created it.
class PrintSender : public QObject {
    Q_OBJECT
public:
    explicit PrintSender(QObject *parent = nullptr);
    // A page on its way gets a moment (3 s) to reach the printer; then it is
    // given up, and the program does not wait for it any further.
    ~PrintSender() override;

    bool busy() const { return busy_; }
    // Starts sending, and says so with an ok outcome; otherwise nothing is
    // sent and the outcome says why (the last page still on its way, no
    // thread or memory to send it with).
    PrintOutcome send(std::shared_ptr<SlipPrinter> printer, SlipPage page);

signals:
    void finished(const recibo::PrintOutcome &outcome);

private:
    struct Worker;
    struct Running {
        std::shared_ptr<Worker> worker; // shared with the thread, which may outlive this object
        std::jthread thread;
    };
    bool busy_ = false;
    // The thread of the last page, and of earlier ones still tidying up.
    std::vector<Running> threads_;
};

} // namespace recibo
