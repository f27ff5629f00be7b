// "Imprimir" on the slip window, all the way to a real CUPS queue: the job is
// one page of the printer's size with the slip on it, and without the buttons.

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "support/cups_fixture.h"
#include "support/gui.h"

using namespace recibo;
using recibo::test::child;
using recibo::test::CupsTestServer;

class SlipPrint : public QObject {
    Q_OBJECT

private slots:
    void imprimirPrintsTheSlip()
    {
        RECIBO_REQUIRE_CUPS();
        const CupsTestServer &cups = *CupsTestServer::current();
        Desk &desk = test::startFresh();
        Ingreso &ingreso = desk.ingreso();
        test::type(child<QLineEdit>(ingreso, "docente"), QStringLiteral("Pérez, Ana"));
        test::click(child<QAbstractButton>(ingreso, "horasmedio"));
        test::type(child<QLineEdit>(ingreso, "numerohorasmed"), QStringLiteral("12"));
        test::click(child<QPushButton>(ingreso, "Command1"));
        Haberes &slip = desk.haberes();
        QVERIFY(QTest::qWaitForWindowExposed(&slip));

        const QStringList before = cups.jobs();
        test::click(child<QPushButton>(slip, "Imprimir"));
        auto *message = slip.findChild<QWidget *>(QStringLiteral("mensajeImpresion"));
        QVERIFY2(!message || !message->isVisible(), "the print was reported as failed");
        const QString job = cups.waitForJob(before);
        QVERIFY2(!job.isEmpty(), qPrintable(cups.logTail()));

        const test::PdfFacts facts = test::pdfFacts(job);
        QVERIFY2(facts.ok, qPrintable(facts.problem));
        QCOMPARE(facts.pages, 1);
        const QPrinter reference(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        const QPageLayout layout = reference.pageLayout();
        const QSizeF paper = layout.fullRectPoints().size();
        QVERIFY(qAbs(facts.pageSize.width() - paper.width()) <= 1);
        QVERIFY(qAbs(facts.pageSize.height() - paper.height()) <= 1);

        // Where a window rectangle lands on the page rasterised at `dpi`: the
        // window fills the printable width or height, centred across, at the top.
        constexpr int dpi = 100;
        QString problem;
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
        // Back on the screen the window is whole again.
        QVERIFY(child(slip, "Volver")->isVisible());
        QVERIFY(!child(slip, "Text4")->isVisible());
    }
};

int main(int argc, char **argv)
{
    CupsTestServer cups; // before anything asks Qt about printers
    QApplication app(argc, argv);
    SlipPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_slip_print.moc"
