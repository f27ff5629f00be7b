// Printing through a real CUPS scheduler: a private one, started for this
// program, whose default queue keeps each job as a file.

#include "slip/printing.h"
#include "support/cups_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

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

    // Runs once, at the next painting of the window.
    std::function<void()> atNextPaint;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (atNextPaint)
            std::exchange(atNextPaint, nullptr)();
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
// the printable area of the printer's default layout, centred across, at
// the top.
class PageMap {
public:
    PageMap(const QPageLayout &layout, int dpi) : m_dpi(dpi)
    {
        const QRectF paint = layout.paintRectPoints();
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

} // namespace

class PrintingThroughCups : public QObject {
    Q_OBJECT

private slots:
    void qtSeesTheQueueAsDefault();
    void printsOnePageWithTheWindow();
    void aRefusedJobIsAFailure();
    // Stops the scheduler: keep it last.
    void aJobThatCannotBeDeliveredIsAFailure();
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

    InkWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QStringList before = cups.jobs();
    QElapsedTimer clock;
    clock.start();
    recibo::DefaultPrinter printer;
    const recibo::PrintOutcome outcome = printer.print(window);
    const qint64 submitMs = clock.elapsed();
    QVERIFY2(outcome.ok, qPrintable(outcome.problem));
    QVERIFY(outcome.problem.isEmpty());

    const QString job = cups.waitForJob(before, 20000);
    QVERIFY2(!job.isEmpty(), qPrintable(QStringLiteral("no job arrived within 20 s\n") +
                                        cups.logTail()));
    qInfo("job submitted in %lld ms, captured after %lld ms", submitMs, clock.elapsed());
    QCOMPARE(CupsTestServer::jobTitle(job), QStringLiteral("Recibo de haberes"));

    // One page, of the size Qt lays out for this printer.
    const QPrinter reference(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    const QPageLayout layout = reference.pageLayout();
    const QSizeF expected = layout.fullRectPoints().size();
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

    // Drawn at the printer's resolution, not a screen bitmap stretched to
    // the page: Qt hands widgets to a printer as a picture made in device
    // pixels, so whatever picture the page holds must be that fine.
    QString problem;
    const auto images = recibo::test::pdfImages(job, &problem);
    QVERIFY2(images.has_value(), qPrintable(problem));
    const double finest = reference.resolution() * 0.95;
    for (const recibo::test::PdfImage &image : *images)
        QVERIFY2(image.ppi.width() >= finest && image.ppi.height() >= finest,
                 qPrintable(QStringLiteral("a %1 x %2 picture at %3 x %4 ppi; the printer has %5 dpi")
                                .arg(image.pixels.width())
                                .arg(image.pixels.height())
                                .arg(image.ppi.width())
                                .arg(image.ppi.height())
                                .arg(reference.resolution())));

    // Ink where the window has it, paper where it has none.
    constexpr int dpi = 30;
    const QImage page = recibo::test::rasterFirstPage(job, dpi, &problem);
    QVERIFY2(!page.isNull(), qPrintable(problem));
    const PageMap map(layout, dpi);
    const auto share = [&](const QRect &r) { return recibo::test::darkShare(page, r); };
    QVERIFY2(share(map.inner(InkWindow::blockA)) > 0.9, "first black block missing");
    QVERIFY2(share(map.inner(InkWindow::blockB)) > 0.9, "second black block missing");
    QVERIFY2(share(map.inner(InkWindow::childBlock, 0.1)) > 0.6, "child label missing");
    const double textInk = share(map.inner(InkWindow::text, 0.0));
    QVERIFY2(textInk > 0.05 && textInk < 0.8,
             qPrintable(QStringLiteral("text ink share %1").arg(textInk)));
    QVERIFY2(share(map.inner(InkWindow::gap)) < 0.01, "ink in the white gap");
    const QRect below(0, map.bottomOfWindow(), page.width(), page.height() - map.bottomOfWindow());
    QVERIFY2(share(below) < 0.001, "ink below the printed window");
}

void PrintingThroughCups::aRefusedJobIsAFailure()
{
    RECIBO_REQUIRE_CUPS();
    const CupsTestServer &cups = *CupsTestServer::current();

    InkWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QString problem;
    QVERIFY2(cups.setAccepting(false, &problem), qPrintable(problem));
    const auto acceptAgain = qScopeGuard([&cups] { cups.setAccepting(true); });

    const QStringList before = cups.jobs();
    recibo::DefaultPrinter printer;
    const recibo::PrintOutcome refused = printer.print(window);
    QVERIFY(!refused.ok);
    QVERIFY(refused.problem.startsWith(QStringLiteral("No se pudo imprimir el recibo: ")));
    QVERIFY2(refused.problem.contains(QStringLiteral("no está aceptando trabajos")),
             qPrintable(refused.problem));
    qInfo("%s", qPrintable(refused.problem));
    QVERIFY(cups.waitForJob(before, 1500).isEmpty());

    // Once the queue accepts again, so does the printer: nothing sticks.
    QVERIFY2(cups.setAccepting(true, &problem), qPrintable(problem));
    const recibo::PrintOutcome accepted = printer.print(window);
    QVERIFY2(accepted.ok, qPrintable(accepted.problem));
    QVERIFY2(!cups.waitForJob(before, 20000).isEmpty(), qPrintable(cups.logTail()));
}

void PrintingThroughCups::aJobThatCannotBeDeliveredIsAFailure()
{
    RECIBO_REQUIRE_CUPS();
    CupsTestServer &cups = *CupsTestServer::current();

    InkWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The printer is found, the page is drawn, and while it is being drawn
    // the print server goes away: Qt's painter still ends without a word.
    window.atNextPaint = [&cups] { cups.stop(); };
    recibo::DefaultPrinter printer;
    const recibo::PrintOutcome lost = printer.print(window);
    QVERIFY(!window.atNextPaint);
    QVERIFY(!lost.ok);
    QVERIFY2(lost.problem.startsWith(QStringLiteral("No se pudo imprimir el recibo: ")),
             qPrintable(lost.problem));
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
