// Printing through a real CUPS scheduler: a private one, started for this
// program, whose default queue keeps each job as a file.

#include "slip/printing.h"
#include "support/cups_fixture.h"
#include "support/pdf_text.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

#include <unistd.h>

using recibo::test::CupsTestServer;

namespace {

// A window of the slip's size (11880 x 8595 twips at 96 dpi) with ink at
// known places: two black blocks, a black child label, a line of big text,
// and a white gap between them.
class InkWindow : public QWidget {
public:
    static constexpr QSize extent{792, 573};
    static constexpr QRect blockA{40, 40, 240, 120};
    static constexpr QRect gap{320, 40, 140, 120};
    static constexpr QRect childBlock{500, 40, 240, 120};
    static constexpr QRect text{40, 240, 700, 70};
    static constexpr QRect blockB{500, 400, 240, 140};

    InkWindow()
    {
        setFixedSize(extent);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);

        auto *child = new QLabel(this);
        child->setGeometry(childBlock);
        child->setAutoFillBackground(true);
        QPalette cp = child->palette();
        cp.setColor(QPalette::Window, Qt::black);
        cp.setColor(QPalette::WindowText, Qt::white);
        child->setPalette(cp);
        child->setText(QStringLiteral("Imprimir"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(blockA, Qt::black);
        painter.fillRect(blockB, Qt::black);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(48);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("RECIBO DE HABERES 1234"));
    }
};

// Where the printed window lands on a page rasterised at `dpi`: fitted into
// the printable area of the slip's page, centred across, at the top.
class PageMap {
public:
    explicit PageMap(int dpi) : m_dpi(dpi)
    {
        const QRectF paint = recibo::slipPageLayout().paintRectPoints();
        m_scale = std::min(paint.width() / InkWindow::extent.width(),
                           paint.height() / InkWindow::extent.height());
        m_origin = QPointF(paint.left() + (paint.width() - InkWindow::extent.width() * m_scale) / 2.0,
                           paint.top());
    }
    // A window rectangle on the raster, shrunk by `inset` of its size on
    // every side so that edge pixels do not matter.
    QRect inner(const QRect &r, double inset = 0.2) const
    {
        const double k = m_dpi / 72.0;
        const QRectF page(m_origin.x() + r.x() * m_scale, m_origin.y() + r.y() * m_scale,
                          r.width() * m_scale, r.height() * m_scale);
        const QRectF px(page.x() * k, page.y() * k, page.width() * k, page.height() * k);
        return px.adjusted(px.width() * inset, px.height() * inset, -px.width() * inset,
                           -px.height() * inset)
            .toRect();
    }
    // Raster rows below the printed window, with a margin of two pixels.
    int bottomOfWindow() const
    {
        return int((m_origin.y() + InkWindow::extent.height() * m_scale) * m_dpi / 72.0) + 2;
    }

private:
    int m_dpi;
    double m_scale = 1.0;
    QPointF m_origin;
};

// The window's page, drawn as the slip window draws it, sent to the
// default printer.
recibo::PrintOutcome printInkWindow(recibo::DefaultPrinter &printer)
{
    InkWindow window;
    recibo::SlipPage page;
    QBuffer buffer(&page.pdf);
    const QString problem = recibo::writeSlipPdf(window, buffer);
    if (!problem.isEmpty())
        return {false, problem, 0};
    printer.takeFromWindow(window, page);
    return printer.send(page, {});
}

recibo::PrintOutcome printInkWindow()
{
    recibo::DefaultPrinter printer;
    return printInkWindow(printer);
}

} // namespace

class PrintingThroughCups : public QObject {
    Q_OBJECT

private slots:
    void qtSeesTheQueueAsDefault();
    void printsOnePageWithTheWindow();
    void aQueueThatRefusesOrWaitsIsSaidSo_data();
    void aQueueThatRefusesOrWaitsIsSaidSo();
    void theLibraryIsLoadedAgainAfterAFailure_data();
    void theLibraryIsLoadedAgainAfterAFailure();
    void aJobTheSchedulerDidNotConfirmIsAFailure_data();
    void aJobTheSchedulerDidNotConfirmIsAFailure();
    // These take the queue and then the scheduler away: keep them last.
    void withoutADefaultPrinterItIsAFailure();
    void aSchedulerThatIsNotThereIsAFailure_data();
    void aSchedulerThatIsNotThereIsAFailure();
};

void PrintingThroughCups::qtSeesTheQueueAsDefault()
{
    RECIBO_REQUIRE_CUPS();
    const CupsTestServer &cups = *CupsTestServer::current();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    QVERIFY2(!info.isNull(), qPrintable(cups.logTail()));
    QCOMPARE(info.printerName(), cups.queue());
    qInfo("scheduler ready in %.2f s", cups.startSeconds());
}

void PrintingThroughCups::printsOnePageWithTheWindow()
{
    RECIBO_REQUIRE_CUPS();
    const CupsTestServer &cups = *CupsTestServer::current();

    const QStringList before = cups.jobs();
    QElapsedTimer clock;
    clock.start();
    const recibo::PrintOutcome outcome = printInkWindow();
    const qint64 submitMs = clock.elapsed();
    QVERIFY2(outcome.ok, qPrintable(outcome.problem));
    QVERIFY(outcome.problem.isEmpty());

    const QString job = cups.waitForJob(before, 20000);
    QVERIFY2(!job.isEmpty(), qPrintable(QStringLiteral("no job arrived within 20 s\n") +
                                        cups.logTail()));
    qInfo("job %d drawn and submitted in %lld ms, captured after %lld ms", outcome.job, submitMs,
          clock.elapsed());
    QCOMPARE(CupsTestServer::jobTitle(job), QStringLiteral("Recibo de haberes"));

    // One page of the slip's paper.
    const QSizeF expected = recibo::slipPageLayout().fullRectPoints().size();
    const recibo::test::PdfFacts facts = recibo::test::pdfFacts(job);
    QVERIFY2(facts.ok, qPrintable(facts.problem));
    QCOMPARE(facts.pages, 1);
    QVERIFY2(qAbs(facts.pageSize.width() - expected.width()) <= 1.0 &&
                 qAbs(facts.pageSize.height() - expected.height()) <= 1.0,
             qPrintable(QStringLiteral("page %1 x %2 pt, expected %3 x %4 pt")
                            .arg(facts.pageSize.width())
                            .arg(facts.pageSize.height())
                            .arg(expected.width())
                            .arg(expected.height())));

    QString problem;
#ifdef RECIBO_PRINT_WITH_CUPS
    // Text that can be searched and copied, in fonts that travel with the
    // page, and no picture at all: the window is all lines and letters.
    const std::optional<QString> text = recibo::test::pdfText(job, &problem);
    QVERIFY2(text, qPrintable(problem));
    QVERIFY2(text->contains(QStringLiteral("RECIBO DE HABERES 1234")) && text->contains(QStringLiteral("Imprimir")),
             qPrintable(*text));
    const auto fonts = recibo::test::pdfFonts(job, &problem);
    QVERIFY2(fonts, qPrintable(problem));
    QVERIFY(fonts->count > 0);
    QVERIFY2(fonts->notEmbedded.isEmpty(), qPrintable(fonts->notEmbedded.join(QLatin1Char(' '))));
    const auto images = recibo::test::pdfImages(job, &problem);
    QVERIFY2(images.has_value(), qPrintable(problem));
    QCOMPARE(images->size(), 0);
#endif

    // Ink where the window has it, paper where it has none.
    constexpr int dpi = 30;
    const QImage raster = recibo::test::rasterFirstPage(job, dpi, &problem);
    QVERIFY2(!raster.isNull(), qPrintable(problem));
    const PageMap map(dpi);
    const auto share = [&](const QRect &r) { return recibo::test::darkShare(raster, r); };
    QVERIFY2(share(map.inner(InkWindow::blockA)) > 0.9, "first black block missing");
    QVERIFY2(share(map.inner(InkWindow::blockB)) > 0.9, "second black block missing");
    QVERIFY2(share(map.inner(InkWindow::childBlock, 0.1)) > 0.6, "child label missing");
    const double textInk = share(map.inner(InkWindow::text, 0.0));
    QVERIFY2(textInk > 0.05 && textInk < 0.8,
             qPrintable(QStringLiteral("text ink share %1").arg(textInk)));
    QVERIFY2(share(map.inner(InkWindow::gap)) < 0.01, "ink in the white gap");
    const QRect below(0, map.bottomOfWindow(), raster.width(), raster.height() - map.bottomOfWindow());
    QVERIFY2(share(below) < 0.001, "ink below the printed window");
}

void PrintingThroughCups::aQueueThatRefusesOrWaitsIsSaidSo_data()
{
    // How the queue is set, what the user is told, whether the print went,
    // and the advice.
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("advice");
    QTest::newRow("refusing jobs") << "refusing" << "no está aceptando trabajos y rechazó el recibo" << false << "Habilite la impresora";
    QTest::newRow("paused") << "paused" << "está en pausa: el recibo queda en la cola hasta que se reanude" << true << "Reanude la impresora";
}

void PrintingThroughCups::aQueueThatRefusesOrWaitsIsSaidSo()
{
    QFETCH(QString, queue);
    QFETCH(QString, said);
    QFETCH(bool, ok);
    QFETCH(QString, advice);
    RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_PRINT_WITH_CUPS
    QSKIP("this build prints through Qt's print support, which does not pass on the scheduler's answers");
#endif
    const CupsTestServer &cups = *CupsTestServer::current();

    QString problem;
    const auto set = [&](bool usual) {
        return queue == "paused" ? cups.setEnabled(usual, &problem) : cups.setAccepting(usual, &problem);
    };
    QVERIFY2(set(false), qPrintable(problem));
    const auto asUsual = qScopeGuard([&set] { set(true); });

    const QStringList before = cups.jobs();
    const recibo::PrintOutcome outcome = printInkWindow();
    QCOMPARE(outcome.ok, ok);
    QVERIFY2(outcome.problem.contains(said), qPrintable(outcome.problem));
    QVERIFY2(outcome.advice.contains(advice), qPrintable(outcome.advice));
    qInfo("%s", qPrintable(outcome.problem));
    QVERIFY(cups.waitForJob(before, 1500).isEmpty());

    // Once the queue is as usual, the printer is too: a paused queue prints
    // the slip it kept, a refusing one takes the next.
    QVERIFY2(set(true), qPrintable(problem));
    if (!ok) {
        const recibo::PrintOutcome accepted = printInkWindow();
        QVERIFY2(accepted.ok && accepted.problem.isEmpty(), qPrintable(accepted.problem));
    }
    QVERIFY2(!cups.waitForJob(before, 20000).isEmpty(), qPrintable(cups.logTail()));
}

void PrintingThroughCups::theLibraryIsLoadedAgainAfterAFailure_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("cause");
    QTest::newRow("not installed") << "/nonexistent/libcups.so.2" << "falta en el sistema la biblioteca de impresión";
    QTest::newRow("not a library") << RECIBO_CUPS_SCRIPT << "biblioteca de impresión CUPS del sistema está dañada";
    QTest::newRow("without the functions") << "libm.so.6" << "es de una versión que este programa no puede usar";
    QTest::newRow("not readable") << "unreadable" << "el sistema no permite leer la biblioteca";
}

void PrintingThroughCups::theLibraryIsLoadedAgainAfterAFailure()
{
    QFETCH(QString, library);
    QFETCH(QString, cause);
    RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_PRINT_WITH_CUPS
    QSKIP("this build prints through Qt's print support, which loads no library of its own");
#endif
    const CupsTestServer &cups = *CupsTestServer::current();
    const auto usual = qScopeGuard([] { recibo::setPrintLibrary({}); });
    // A file the user may not read: a user other than root, who reads anything.
    QTemporaryDir folder;
    bool asNobody = false;
    if (library == "unreadable") {
        if (geteuid() != 0)
            QSKIP("only root can print as another user");
        library = folder.filePath(QStringLiteral("libcups.so.2"));
        QVERIFY(QFile::copy(QStringLiteral(RECIBO_CUPS_SCRIPT), library));
        QVERIFY(QFile::setPermissions(library, {}) && QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ExeOther));
        asNobody = setresuid(65534, 65534, 0) == 0;
        QVERIFY(asNobody);
    }
    recibo::setPrintLibrary(library);
    const recibo::PrintOutcome failed = printInkWindow();
    if (asNobody && setresuid(0, 0, 0) != 0)
        qFatal("could not become root again");
    QVERIFY(!failed.ok);
    QVERIFY2(failed.problem.contains(cause), qPrintable(failed.problem));
    QVERIFY2(failed.advice.contains(QStringLiteral("libcups2")), qPrintable(failed.advice));
    // The loader's own words (in English) stay out of the message.
    for (const QString &text : {failed.problem, failed.advice})
        QVERIFY2(!text.contains(QStringLiteral(".so")) && !text.contains(QStringLiteral("file")), qPrintable(text));

    // The next print loads the library again.
    recibo::setPrintLibrary({});
    const QStringList before = cups.jobs();
    const recibo::PrintOutcome printed = printInkWindow();
    QVERIFY2(printed.ok, qPrintable(printed.problem));
    QVERIFY2(!cups.waitForJob(before).isEmpty(), qPrintable(cups.logTail()));
}

void PrintingThroughCups::aJobTheSchedulerDidNotConfirmIsAFailure_data()
{
    // The step at which the scheduler pauses or the connection is cut, what
    // the user is told, and whether the page may still land: a scheduler
    // paused after it got the whole job prints it when it goes on.
    // The advice fits the cause: the service that did not answer, or the
    // printer to look at before a second slip comes out. A scheduler that
    // answers every step late, but each in time, prints (nothing said).
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("advice");
    QTest::addColumn<bool>("mayLand");
    const QString service = QStringLiteral("Revise que el servicio de impresión esté en funcionamiento");
    QTest::newRow("look-up, scheduler paused") << "cupsGetNamedDest:stop" << "El servicio de impresión no respondió a tiempo" << service << false;
    QTest::newRow("Send-Document, scheduler paused, the page not through") << "cupsStartDocument:narrow" << "El servicio de impresión no respondió a tiempo" << service << false;
    QTest::newRow("Send-Document, scheduler paused, the page through") << "cupsStartDocument:stop" << "puede que el recibo se imprima de todos modos" << "Revise la impresora antes de volver a imprimir" << true;
    QTest::newRow("document, connection cut") << "cupsWriteRequestData:cut" << "Se cortó la comunicación" << service << false;
    QTest::newRow("last answer, connection cut") << "cupsGetResponse:cut" << "Se cortó la comunicación" << service << false;
    QTest::newRow("last answer, scheduler paused") << "cupsGetResponse:stop" << "puede que el recibo se imprima de todos modos" << "Revise la impresora antes de volver a imprimir" << true;
    QTest::newRow("every answer late, each in time") << "any:stall600" << "" << "" << true;
}

void PrintingThroughCups::aJobTheSchedulerDidNotConfirmIsAFailure()
{
    QFETCH(QString, fault);
    QFETCH(QString, said);
    QFETCH(QString, advice);
    QFETCH(bool, mayLand);
    RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_CUPS_STANDIN
    QSKIP("this build prints through Qt's print support, which does not pass on the scheduler's answers");
#else
    const CupsTestServer &cups = *CupsTestServer::current();
    const auto restore = qScopeGuard([&cups] {
        qunsetenv("RECIBO_CUPS_FAULT");
        ::kill(pid_t(cups.schedulerPid()), SIGCONT);
        recibo::setPrintLibrary({});
        recibo::setPrintGiveUp(std::chrono::seconds(60));
    });
    recibo::setPrintLibrary(QStringLiteral(RECIBO_CUPS_STANDIN));
    constexpr std::chrono::milliseconds giveUp{1500};
    recibo::setPrintGiveUp(giveUp);
    qputenv("RECIBO_CUPS_SCHEDULER", QByteArray::number(cups.schedulerPid()));
    qputenv("RECIBO_CUPS_FAULT", fault.toLatin1());

    const QStringList before = cups.jobs();
    QElapsedTimer clock;
    clock.start();
    recibo::DefaultPrinter printer;
    const recibo::PrintOutcome outcome = printInkWindow(printer);
    const qint64 took = clock.elapsed();
    qunsetenv("RECIBO_CUPS_FAULT");
    // As the window's sender does, once the outcome is out; the scheduler
    // goes on a moment later.
    std::jthread tidying([&printer] { printer.tidyUp({}); });
    QTest::qWait(300);
    QCOMPARE(::kill(pid_t(cups.schedulerPid()), SIGCONT), 0);
    tidying.join();
    if (said.isEmpty()) {
        // Slow, but never as slow as the give-up for one answer.
        QVERIFY2(outcome.ok && outcome.problem.isEmpty(), qPrintable(outcome.problem));
        QVERIFY2(took > giveUp.count(), qPrintable(QString::number(took)));
        QVERIFY2(!cups.waitForJob(before).isEmpty(), qPrintable(cups.logTail()));
        return;
    }
    QVERIFY2(!outcome.ok, "reported as printed");
    QVERIFY2(outcome.problem.contains(said), qPrintable(outcome.problem));
    QVERIFY2(outcome.advice.startsWith(advice), qPrintable(outcome.advice));
    // Said not printed only where it cannot come out.
    QCOMPARE(outcome.problem.contains(QStringLiteral("no se imprimió")), !mayLand);
    QVERIFY2(outcome.advice.contains(QStringLiteral("encendida")) == false, qPrintable(outcome.advice));
    // The give-up holds.
    QVERIFY2(took < giveUp.count() + 1000, qPrintable(QString::number(took)));

    // Nothing stays in the queue without its page.
    QElapsedTimer waited;
    waited.start();
    std::optional<QStringList> left;
    do {
        QTest::qWait(100);
        left = cups.unfinishedJobs();
    } while (left && !left->isEmpty() && waited.elapsed() < 5000);
    QVERIFY2(left && left->isEmpty(), qPrintable(left ? left->join(QLatin1Char('\n')) : cups.logTail()));
    if (!mayLand)
        QVERIFY2(cups.waitForJob(before, 500).isEmpty(), "a page reported as not printed was printed");
#endif
}

void PrintingThroughCups::withoutADefaultPrinterItIsAFailure()
{
    RECIBO_REQUIRE_CUPS();
    const CupsTestServer &cups = *CupsTestServer::current();
    QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"));
    if (lpadmin.isEmpty())
        lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    QCOMPARE(QProcess::execute(lpadmin, {QStringLiteral("-h"), cups.socketPath(), QStringLiteral("-x"), cups.queue()}), 0);

    const recibo::PrintOutcome outcome = printInkWindow();
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.problem.contains(QStringLiteral("no tiene una impresora predeterminada")),
             qPrintable(outcome.problem));
    QVERIFY2(outcome.advice.startsWith(QStringLiteral(
                 "Configure una impresora predeterminada en la configuración del sistema")),
             qPrintable(outcome.advice));
}

void PrintingThroughCups::aSchedulerThatIsNotThereIsAFailure_data()
{
    // In this order: the first ends the scheduler, the second finds none.
    QTest::addColumn<QString>("when");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("advice");
    QTest::newRow("it ends during the look-up") << "look-up" << "El servicio de impresión no respondió a tiempo" << "Revise que el servicio de impresión esté en funcionamiento";
    QTest::newRow("it is not there") << "before" << "el servicio de impresión del sistema no está en funcionamiento" << "Pida a quien administra el equipo que ponga en marcha el servicio";
}

void PrintingThroughCups::aSchedulerThatIsNotThereIsAFailure()
{
    QFETCH(QString, when);
    QFETCH(QString, said);
    QFETCH(QString, advice);
    RECIBO_REQUIRE_CUPS();
    CupsTestServer &cups = *CupsTestServer::current();
    const auto usual = qScopeGuard([] {
        qunsetenv("RECIBO_CUPS_FAULT");
        recibo::setPrintLibrary({});
    });
    if (when == "before") {
        cups.stop();
    } else {
#ifndef RECIBO_CUPS_STANDIN
        QSKIP("this build prints through Qt's print support, which does not pass on the scheduler's answers");
#else
        recibo::setPrintLibrary(QStringLiteral(RECIBO_CUPS_STANDIN));
        qputenv("RECIBO_CUPS_SCHEDULER", QByteArray::number(cups.schedulerPid()));
        qputenv("RECIBO_CUPS_FAULT", "cupsGetNamedDest:kill");
#endif
    }

    const recibo::PrintOutcome lost = printInkWindow();
    QVERIFY(!lost.ok);
    QVERIFY2(lost.problem.contains(said), qPrintable(lost.problem));
    QVERIFY2(lost.advice.startsWith(advice), qPrintable(lost.advice));
    qInfo("%s", qPrintable(lost.problem));
}

int main(int argc, char **argv)
{
    // The CUPS client reads where its scheduler is once, so the private one
    // must be in place before Qt loads its print support.
    CupsTestServer cups;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintingThroughCups test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_printing.moc"
