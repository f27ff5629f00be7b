#pragma once

// Helpers for tests that print for real: a private CUPS scheduler whose
// default queue keeps every job it receives as a file, and small readers of
// the PDF that Qt sends (page count and size, a grey raster of the page).
//
// Typical use, in a test program with its own main():
//
//   int main(int argc, char **argv)
//   {
//       recibo::test::CupsTestServer cups; // before QApplication
//       QApplication app(argc, argv);
//       MyTest test;
//       return QTest::qExec(&test, argc, argv);
//   }
//
//   void MyTest::prints()
//   {
//       RECIBO_REQUIRE_CUPS();
//       auto &cups = *recibo::test::CupsTestServer::current();
//       const QStringList before = cups.jobs();
//       ... print ...
//       const QString job = cups.waitForJob(before);
//       QVERIFY2(!job.isEmpty(), qPrintable(cups.logTail()));
//   }
//
// The scheduler is started by scripts/cups-test-server.sh; the target needs
// the RECIBO_CUPS_SCRIPT definition (see recibo_use_cups_fixture in
// tests/slip/CMakeLists.txt) or the variable of the same name in the
// environment.

#include <QImage>
#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTest>

#include <optional>

namespace recibo::test {

class CupsTestServer {
public:
    enum class State {
        Running,     // ready; this process prints to its default queue
        Unavailable, // cannot run on this machine (not root, CUPS missing): skip
        Broken,      // should have run but did not: fail
    };

    // Starts the scheduler in a fresh temporary folder and points this
    // process's CUPS client at it (CUPS_SERVER, CUPS_SERVERROOT, HOME; LPDEST
    // and PRINTER are removed). Call it before QApplication is created and
    // before anything asks Qt about printers: the CUPS client library reads
    // its settings once. Only one may exist at a time.
    CupsTestServer();
    ~CupsTestServer(); // stops the scheduler
    CupsTestServer(const CupsTestServer &) = delete;
    CupsTestServer &operator=(const CupsTestServer &) = delete;

    // The instance alive in this process, or nullptr.
    static CupsTestServer *current();

    State state() const { return m_state; }
    bool running() const { return m_state == State::Running; }
    // Why the scheduler is not running (script output), empty when it is.
    QString reason() const { return m_reason; }

    QString queue() const { return m_queue; }
    // A second queue that keeps its jobs in the same folder, after CUPS has
    // turned them into PostScript (as for a PostScript printer).
    QString psQueue() const { return m_psQueue; }
    QString socketPath() const { return m_socket; }
    QString captureDir() const { return m_captureDir; }
    // The scheduler's process, for tests that pause it (kill -STOP / -CONT).
    qint64 schedulerPid() const { return m_pid; }
    // Seconds the script took to start the scheduler and its queue.
    double startSeconds() const { return m_startSeconds; }

    // Captured jobs, oldest first (full paths of job-<id>.prn).
    QStringList jobs() const;
    // Waits, at most timeoutMs, for a job that is not in `before`; returns
    // its path, or an empty string if none arrived.
    QString waitForJob(const QStringList &before, int timeoutMs = 20000) const;
    // The title the job was submitted with.
    static QString jobTitle(const QString &job);

    // Stops the scheduler now (the destructor does it otherwise); the
    // process keeps pointing at its socket, where nothing listens any more.
    void stop();

    // The jobs the scheduler holds that are neither completed nor cancelled
    // (lpstat -o), one line each; nullopt when lpstat fails.
    std::optional<QStringList> unfinishedJobs() const;

    // Makes the queue accept or refuse new jobs (cupsaccept / cupsreject).
    bool setAccepting(bool accepting, QString *problem = nullptr) const;
    // Resumes or pauses the queue (cupsenable / cupsdisable): a paused queue
    // takes jobs and keeps them.
    bool setEnabled(bool enabled, QString *problem = nullptr) const;

    // The end of the scheduler's error log, for failure messages.
    QString logTail(int lines = 30) const;

private:
    QString m_dir; // the scheduler's folder, which the script removes
    State m_state = State::Broken;
    QString m_reason;
    QString m_queue;
    QString m_psQueue;
    QString m_socket;
    QString m_captureDir;
    qint64 m_pid = 0;
    double m_startSeconds = 0.0;
};

// Points this process's CUPS client at a socket where no scheduler listens,
// with an empty client configuration: Qt then knows no printer at all. Like
// CupsTestServer, create it before anything asks Qt about printers.
class NoPrintServer {
public:
    NoPrintServer();
    QString socketPath() const;
};

struct PdfFacts {
    bool ok = false;
    QString problem; // why the file could not be read
    int pages = 0;
    QSizeF pageSize; // first page, in points
};

// Page count and size of the first page, from pdfinfo.
PdfFacts pdfFacts(const QString &pdf);

struct PdfImage {
    int page = 0;
    QSize pixels;
    QSizeF ppi; // pixels per inch as placed on the page
};

// The raster images of the document (pdfimages -list), soft masks left out;
// nullopt on error.
std::optional<QList<PdfImage>> pdfImages(const QString &pdf, QString *problem = nullptr);

// The first page rasterised in grey by pdftoppm at `dpi` dots per inch;
// a null image on error.
QImage rasterFirstPage(const QString &pdf, int dpi, QString *problem = nullptr);

// Share (0 to 1) of the pixels of `area` darker than `threshold` (0 black,
// 255 white) in a grey image; the area is clipped to the image.
double darkShare(const QImage &grey, const QRect &area, int threshold = 128);

} // namespace recibo::test

// Inside a test function: skips it when the scheduler cannot run on this
// machine, fails it when the scheduler should run but does not. Afterwards
// CupsTestServer::current() is the running server.
#define RECIBO_REQUIRE_CUPS()                                                                  \
    do {                                                                                       \
        const ::recibo::test::CupsTestServer *cups_ = ::recibo::test::CupsTestServer::current(); \
        QVERIFY2(cups_ != nullptr, "no CupsTestServer was created before QApplication");       \
        if (cups_->state() == ::recibo::test::CupsTestServer::State::Unavailable)              \
            QSKIP(qPrintable(QStringLiteral("no private CUPS scheduler here: ") + cups_->reason())); \
        QVERIFY2(cups_->running(),                                                             \
                 qPrintable(QStringLiteral("the private CUPS scheduler did not start: ") +     \
                            cups_->reason()));                                                 \
    } while (false)
