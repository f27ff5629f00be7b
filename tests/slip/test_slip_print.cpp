// "Imprimir" on the slip window, all the way to a real CUPS queue: the job is
// one page with the slip on it as text, without the buttons; and a print
// system that does not answer leaves the window in use.

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QGroupBox>
#include <QScrollBar>

#include <csignal>

#include "slip/printing.h"
#include "support/cups_fixture.h"
#include "support/gui.h"
#include "support/pdf_text.h"

using namespace recibo;
using recibo::test::child;
using recibo::test::CupsTestServer;

namespace {

// The system's printer, keeping what it was given: the page as sent, and the
// window in its paper face drawn into a picture of the whole page at kDpi
// (in pixels, where anything see-through is blended as on the screen).
class KeepingPrinter : public DefaultPrinter {
public:
    static constexpr int kDpi = 150;
    void takeFromWindow(QWidget &window, SlipPage &page) override
    {
        DefaultPrinter::takeFromWindow(window, page);
        const QPageLayout layout = slipPageLayout();
        picture = QImage(layout.fullRectPixels(kDpi).size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(drawWindow(window, picture, layout.paintRectPixels(kDpi)).isEmpty());
    }
    PrintOutcome send(const SlipPage &page, std::stop_token stop) override
    {
        pdf = page.pdf;
        return DefaultPrinter::send(page, stop);
    }
    QByteArray pdf;
    QImage picture;
};

// Output of a tool, or nullopt with the reason in `problem`.
std::optional<QByteArray> toolOutput(const QString &tool, const QStringList &arguments, QString *problem)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *problem = tool + QStringLiteral(" failed: ") + process.errorString() + QLatin1Char(' ') +
                   QString::fromLocal8Bit(process.readAllStandardError());
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

// Where a rectangle of `window` lands on its page rasterised at kInkDpi: the
// window fills the printable width or height, centred across, at the top.
constexpr int kInkDpi = 100;
QRect pageRect(const QWidget &window, const QRect &r)
{
    const QRectF paint = slipPageLayout().paintRectPoints();
    const double scale = std::min(paint.width() / window.width(), paint.height() / window.height());
    const QPointF origin(paint.left() + (paint.width() - window.width() * scale) / 2, paint.top());
    const double k = kInkDpi / 72.0;
    return QRectF((origin.x() + r.x() * scale) * k, (origin.y() + r.y() * scale) * k, r.width() * scale * k,
                  r.height() * scale * k)
        .toRect();
}

// A control's place in its window.
QRect inWindow(const QWidget &window, const QWidget *control)
{
    return QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
}

} // namespace

class SlipPrint : public QObject {
    Q_OBJECT

    // A slip on the secondary-hours path, as a user gets it.
    Haberes &calculate(const QString &teacher = QStringLiteral("Pérez, Ana"))
    {
        return test::calculateSecondaryHours(teacher, QStringLiteral("12")).haberes();
    }

    // A slip printed through a KeepingPrinter (left in `printer`), and the
    // job the scheduler kept of it (its path in `job`).
    void printKept(KeepingPrinter *&printer, QString &job, int timeoutMs = 20000,
                   const QString &teacher = QStringLiteral("Pérez, Ana"))
    {
        const CupsTestServer &cups = *CupsTestServer::current();
        Haberes &slip = calculate(teacher);
        auto kept = std::make_unique<KeepingPrinter>();
        printer = kept.get();
        currentDesk().setPrinter(std::move(kept));
        QVERIFY(QTest::qWaitForWindowExposed(&slip));
        const QStringList before = cups.jobs();
        test::click(child<QPushButton>(slip, "Imprimir"));
        job = cups.waitForJob(before, timeoutMs);
        QVERIFY2(!job.isEmpty(), qPrintable(cups.logTail()));
        QTRY_VERIFY(child(slip, "Imprimir")->isEnabled());
    }

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

        const QImage page = test::rasterFirstPage(job, kInkDpi, &problem);
        QVERIFY2(!page.isNull(), qPrintable(problem));
        const auto onPage = [&slip](const QRect &r) { return pageRect(slip, r); };
        const auto ink = [&](QWidget *w) { return test::darkShare(page, onPage(inWindow(slip, w))); };
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

    // A name wider than its box is cut at the box, as on the screen, and
    // everything drawn after it is on the page as with a short name: the
    // rows' codes, quantities and descriptions with their rules, and the
    // totals' captions.
    void aLongNameKeepsThePageWhole_data()
    {
        QTest::addColumn<QString>("teacher");
        QTest::newRow("36 characters, just wider than the box") << QStringLiteral("Domínguez Montenegro, Wanda Mercedes");
        QTest::newRow("41 characters") << QStringLiteral("Fernández Rodríguez, María de los Ángeles");
        QTest::newRow("twice the box") << QStringLiteral("Fernández Rodríguez de Echeverría Larrañaga, María de los "
                                                         "Ángeles Inmaculada");
    }

    void aLongNameKeepsThePageWhole()
    {
        QFETCH(QString, teacher);
        RECIBO_REQUIRE_CUPS();
        const auto inkOf = [this](const QString &who, QList<double> &ink) {
            KeepingPrinter *printer = nullptr;
            QString job, problem;
            printKept(printer, job, 20000, who);
            const QImage page = test::rasterFirstPage(job, kInkDpi, &problem);
            QVERIFY2(!page.isNull(), qPrintable(problem));
            const Haberes &slip = currentDesk().haberes();
            const QRect rows = inWindow(slip, child(slip, "cod(0)")).united(inWindow(slip, child(slip, "Label17")));
            const QRect name = inWindow(slip, child(slip, "docente"));
            const QRect frame = inWindow(slip, slip.sosten());
            // Beside the name's box, up to the frame's edge.
            const QRect besideName(name.right() + 3, name.top() + 3, frame.right() - name.right() - 6, name.height() - 6);
            ink = {test::darkShare(page, pageRect(slip, rows)), test::darkShare(page, pageRect(slip, name)),
                   test::darkShare(page, pageRect(slip, besideName))};
        };
        QList<double> shortName, longName;
        inkOf(QStringLiteral("Pérez, Ana"), shortName);
        inkOf(teacher, longName);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(shortName[0] > 0.03, qPrintable(QString::number(shortName[0])));
        QVERIFY2(std::abs(longName[0] - shortName[0]) < 0.002,
                 qPrintable(QStringLiteral("ink of the rows: %1 against %2").arg(longName[0]).arg(shortName[0])));
        QVERIFY2(longName[1] > shortName[1], "the name is not on the page");
        QCOMPARE(longName[2], 0.0);
    }

    // The page carries nothing see-through: no soft-masked picture, no fill
    // or stroke below full opacity. And it looks as the window in its paper
    // face does, drawn in pixels with every shade blended as Fusion blends it.
    void thePrintedPageHasNoTransparency()
    {
        RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_PRINT_WITH_CUPS
        QSKIP("this build prints pictures through Qt's print support");
#endif
        KeepingPrinter *printer = nullptr;
        QString job;
        printKept(printer, job);
        if (QTest::currentTestFailed())
            return;

        // The objects' dictionaries are plain text; only their streams are packed.
        QFile file(job);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        static const QRegularExpression softMask(QStringLiteral("/SMask(?!\\s*/None)"));
        QVERIFY(!softMask.match(QString::fromLatin1(bytes)).hasMatch());
        static const QRegularExpression opacity(QStringLiteral("/(ca|CA)\\s+([0-9.]+)"));
        int opacities = 0;
        for (const auto &match : opacity.globalMatch(QString::fromLatin1(bytes))) {
            ++opacities;
            QVERIFY2(match.captured(2).toDouble() >= 1.0, qPrintable(match.captured(0)));
        }
        QVERIFY(opacities > 0); // Qt states the opacity of its drawing state

        QString problem;
        const QImage paper = test::rasterFirstPage(job, KeepingPrinter::kDpi, &problem);
        QVERIFY2(!paper.isNull(), qPrintable(problem));
        const QImage screen = printer->picture.convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(std::abs(paper.width() - screen.width()) <= 1 && std::abs(paper.height() - screen.height()) <= 1);
        // Text and hairlines are drawn by two renderers, a shade or half a
        // pixel apart here and there: the two are compared square by square
        // (a tenth of an inch across), where a frame or a shade blended wrong
        // stays a difference.
        constexpr int kSquare = KeepingPrinter::kDpi / 10;
        const auto meanOf = [](const QImage &grey, int left, int top) {
            int sum = 0;
            for (int y = top; y < top + kSquare; ++y)
                for (int x = left; x < left + kSquare; ++x)
                    sum += grey.constScanLine(y)[x];
            return double(sum) / (kSquare * kSquare);
        };
        double worst = 0;
        int squares = 0, apart = 0;
        for (int top = 0; top + kSquare <= std::min(paper.height(), screen.height()); top += kSquare) {
            for (int left = 0; left + kSquare <= std::min(paper.width(), screen.width()); left += kSquare) {
                const double d = std::abs(meanOf(paper, left, top) - meanOf(screen, left, top));
                worst = std::max(worst, d);
                ++squares;
                apart += d > 4 ? 1 : 0;
            }
        }
        qInfo("page against the window in pixels: %d of %d squares more than 4 grey levels apart, the most %.1f",
              apart, squares, worst);
        // Blended over a backdrop a shade off white, the page is apart in a
        // quarter of its squares; drawn right, in about one in twenty-five.
        QVERIFY2(apart < squares / 10 && worst < 64, qPrintable(QStringLiteral("%1 %2").arg(apart).arg(worst)));
    }

    // Through CUPS's PostScript path (a PostScript printer's queue), every
    // character of the page is still drawn as text: the rows, amounts and
    // totals are not turned into a picture on the way.
    void aPostScriptQueueKeepsTheText()
    {
        RECIBO_REQUIRE_CUPS();
#ifndef RECIBO_PRINT_WITH_CUPS
        QSKIP("this build prints pictures through Qt's print support");
#endif
        const QString ghostscript = QStandardPaths::findExecutable(QStringLiteral("gs"));
        if (ghostscript.isEmpty())
            QSKIP("no Ghostscript to read the PostScript job (scripts/install-deps.sh test installs it)");
        const CupsTestServer &cups = *CupsTestServer::current();
        QVERIFY(!cups.psQueue().isEmpty());
        qputenv("LPDEST", cups.psQueue().toLocal8Bit());
        const auto defaultQueueAgain = qScopeGuard([] { qunsetenv("LPDEST"); });
        KeepingPrinter *printer = nullptr;
        QString job;
        printKept(printer, job, 60000);
        if (QTest::currentTestFailed())
            return;
        Haberes &slip = currentDesk().haberes();

        QFile postscript(job);
        QVERIFY(postscript.open(QIODevice::ReadOnly));
        QVERIFY(postscript.read(4) == "%!PS");
        // Ghostscript lists each character drawn as text, with its place.
        QString problem;
        const auto drawn =
            toolOutput(ghostscript,
                       {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                        QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=txtwrite"), QStringLiteral("-dTextFormat=0"),
                        QStringLiteral("-sOutputFile=-"), job},
                       &problem);
        QVERIFY2(drawn, qPrintable(problem));
        const int characters = int(drawn->count("<char "));

        // The characters of the page as the program sent it (blanks are no glyphs).
        QTemporaryFile sent;
        QVERIFY(sent.open());
        sent.write(printer->pdf);
        sent.flush();
        const std::optional<QString> text = test::pdfText(sent.fileName(), &problem);
        QVERIFY2(text, qPrintable(problem));
        QVERIFY(text->contains(test::caption(child(slip, "liquido"))));
        int letters = 0;
        for (const QChar c : *text)
            letters += c.isSpace() ? 0 : 1;
        QVERIFY(letters > 300);
        QCOMPARE(characters, letters);
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
