// "Imprimir" on the slip window, all the way to a real CUPS queue: the job is
// one page with the slip on it as text, without the buttons; and a print
// system that does not answer leaves the window in use.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>

#include <csignal>

#include "slip/printing.h"
#include "support/cups_fixture.h"
#include "support/gui.h"
#include "support/pdf_text.h"

using namespace recibo;
using recibo::test::child;
using recibo::test::CupsTestServer;

class SlipPrint : public QObject {
    Q_OBJECT

    // A slip on the secondary-hours path, as a user gets it.
    Haberes &calculate() { return test::calculateSecondaryHours(QStringLiteral("Pérez, Ana"), QStringLiteral("12")).haberes(); }

    static bool failureShown(const Haberes &slip)
    {
        auto *message = slip.findChild<QMessageBox *>(QStringLiteral("mensajeImpresion"));
        return message && message->isVisible();
    }

private slots:
    void imprimirPrintsTheSlip()
    {
        RECIBO_REQUIRE_CUPS();
        const CupsTestServer &cups = *CupsTestServer::current();
        Haberes &slip = calculate();
        QVERIFY(QTest::qWaitForWindowExposed(&slip));
        test::type(child<QLineEdit>(slip, "Text11"), QStringLiteral("Marzo"));

        const QStringList before = cups.jobs();
        test::click(child<QPushButton>(slip, "Imprimir"));
        const QString job = cups.waitForJob(before);
        QVERIFY2(!job.isEmpty(), qPrintable(cups.logTail()));
        QTRY_VERIFY(child(slip, "Imprimir")->isEnabled());
        QVERIFY2(!failureShown(slip), "the print was reported as failed");

        const test::PdfFacts facts = test::pdfFacts(job);
        QVERIFY2(facts.ok, qPrintable(facts.problem));
        QCOMPARE(facts.pages, 1);
        const QPageLayout layout = slipPageLayout();
        const QSizeF paper = layout.fullRectPoints().size();
        QVERIFY(qAbs(facts.pageSize.width() - paper.width()) <= 1);
        QVERIFY(qAbs(facts.pageSize.height() - paper.height()) <= 1);

        QString problem;
#ifdef RECIBO_PRINT_WITH_CUPS
        // The slip's own words reach the paper as text, in fonts that go with it.
        const std::optional<QString> text = test::pdfText(job, &problem);
        QVERIFY2(text, qPrintable(problem));
        for (const char *shown : {"Recibo de sueldos de:", "Pérez, Ana", "Hs. N. Medio", "Total Haberes",
                                  "Liquido a pagar", "Marzo", "VESNAR"})
            QVERIFY2(text->contains(QString::fromUtf8(shown)), shown);
        QVERIFY2(text->contains(test::caption(child(slip, "liquido"))), qPrintable(*text));
        for (const char *hidden : {"Volver", "Imprimir", "Salir", "Poné tu comentario", "Se imprime en blanco"})
            QVERIFY2(!text->contains(QString::fromUtf8(hidden)), hidden);
        const auto fonts = test::pdfFonts(job, &problem);
        QVERIFY2(fonts, qPrintable(problem));
        QVERIFY(fonts->count > 0);
        QVERIFY2(fonts->notEmbedded.isEmpty(), qPrintable(fonts->notEmbedded.join(QLatin1Char(' '))));
#endif

        // Where a window rectangle lands on the page rasterised at `dpi`: the
        // window fills the printable width or height, centred across, at the top.
        constexpr int dpi = 100;
        const QImage page = test::rasterFirstPage(job, dpi, &problem);
        QVERIFY2(!page.isNull(), qPrintable(problem));
        const QRectF paint = layout.paintRectPoints();
        const double scale = std::min(paint.width() / slip.width(), paint.height() / slip.height());
        const QPointF origin(paint.left() + (paint.width() - slip.width() * scale) / 2, paint.top());
        const auto onPage = [&](const QRect &r) {
            const double k = dpi / 72.0;
            return QRectF((origin.x() + r.x() * scale) * k, (origin.y() + r.y() * scale) * k, r.width() * scale * k,
                          r.height() * scale * k)
                .toRect();
        };
        const auto ink = [&](QWidget *w) {
            const QRect r(w->mapTo(&slip, QPoint(0, 0)), w->size());
            return test::darkShare(page, onPage(r));
        };
        QVERIFY2(ink(child(slip, "Label19(0)")) > 0.02, "the first row is not on the paper");
        QVERIFY2(ink(child(slip, "Label1(0)")) > 0.02, "the first amount is not on the paper");
        QVERIFY2(ink(child(slip, "Text4")) > 0.02, "the watermark is not on the paper");
        QVERIFY2(test::darkShare(page, onPage(QRect(656, 328, 89, 33))) < 0.005, "the Volver button was printed");
        QVERIFY2(test::darkShare(page, onPage(QRect(656, 424, 89, 33))) < 0.005, "the Salir button was printed");
        // Nothing of the frame below the window's edge, not even its light border.
        const int windowBottom = onPage(slip.rect()).bottom();
        const QRect below(0, windowBottom + 3, page.width(), page.height() - windowBottom - 3);
        QVERIFY2(test::darkShare(page, below, 250) == 0, "ink below the window");
        // Back on the screen the window is whole again.
        QVERIFY(child(slip, "Volver")->isVisible());
        QVERIFY(!child(slip, "Text4")->isVisible());
    }

    void aSchedulerThatDoesNotAnswerLeavesTheWindowInUse()
    {
        RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_PRINT_WITH_CUPS
        QSKIP("this build prints through Qt's print support, which does not pass on the scheduler's answers");
#endif
        const CupsTestServer &cups = *CupsTestServer::current();
        QVERIFY(cups.schedulerPid() > 0);
        Haberes &slip = calculate();
        QVERIFY(QTest::qWaitForWindowExposed(&slip));

        const QStringList before = cups.jobs();
        const auto signal = [&cups](int number) { return ::kill(pid_t(cups.schedulerPid()), number); };
        // Whatever happens, the scheduler runs on afterwards.
        const auto resumeAtEnd = qScopeGuard([&signal] { signal(SIGCONT); });
        QCOMPARE(signal(SIGSTOP), 0);
        auto *imprimir = child<QPushButton>(slip, "Imprimir");
        test::click(imprimir);
        QVERIFY(child(slip, "Volver")->isVisible());
        QVERIFY(!imprimir->isEnabled());

        // Half a second later the page is still on its way, and the window answers.
        QTest::qWait(500);
        QVERIFY(!imprimir->isEnabled());
        QVERIFY(cups.jobs() == before);
        QScrollBar *bar = slip.movedor();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
        QCOMPARE(slip.sostenTop(), double(100 - bar->value()));
        test::type(child<QLineEdit>(slip, "Text11"), QStringLiteral("Abril"));
        QCOMPARE(child<QLineEdit>(slip, "Text11")->text(), QStringLiteral("Abril"));

        QCOMPARE(signal(SIGCONT), 0);
        QVERIFY2(!cups.waitForJob(before).isEmpty(), qPrintable(cups.logTail()));
        QTRY_VERIFY(imprimir->isEnabled());
        QVERIFY2(!failureShown(slip), "the print was reported as failed");

        // The program may end while a page waits for a scheduler that does not
        // answer: the windows go after a short grace, and nothing is left behind.
        const QStringList landed = cups.jobs();
        QCOMPARE(signal(SIGSTOP), 0);
        test::click(imprimir);
        QElapsedTimer clock;
        clock.start();
        test::startFresh();
        // 3 s of grace, and a little for the windows to go.
        QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(signal(SIGCONT), 0);
        QVERIFY(cups.waitForJob(landed, 1000).isEmpty());
        const std::optional<QStringList> left = cups.unfinishedJobs();
        QVERIFY2(left && left->isEmpty(), qPrintable(left ? left->join(QLatin1Char('\n')) : cups.logTail()));

#ifdef RECIBO_CUPS_STANDIN
        // The same with a job already made when the scheduler stops: at the
        // end the job is cancelled, and none stays without its page.
        const auto usual = qScopeGuard([] {
            qunsetenv("RECIBO_CUPS_FAULT");
            setPrintLibrary({});
        });
        setPrintLibrary(QStringLiteral(RECIBO_CUPS_STANDIN));
        qputenv("RECIBO_CUPS_SCHEDULER", QByteArray::number(cups.schedulerPid()));
        qputenv("RECIBO_CUPS_FAULT", "cupsStartDocument:stop");
        Haberes &again = calculate();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        test::click(child<QPushButton>(again, "Imprimir"));
        QTest::qWait(300);
        clock.restart();
        test::startFresh();
        QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
        qunsetenv("RECIBO_CUPS_FAULT");
        QCOMPARE(signal(SIGCONT), 0);
        std::optional<QStringList> unfinished;
        QElapsedTimer waited;
        waited.start();
        do {
            QTest::qWait(100);
            unfinished = cups.unfinishedJobs();
        } while (unfinished && !unfinished->isEmpty() && waited.elapsed() < 5000);
        QVERIFY2(unfinished && unfinished->isEmpty(),
                 qPrintable(unfinished ? unfinished->join(QLatin1Char('\n')) : cups.logTail()));
#endif
    }
};

int main(int argc, char **argv)
{
    CupsTestServer cups; // before anything asks for printers
    QApplication app(argc, argv);
    SlipPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_slip_print.moc"
