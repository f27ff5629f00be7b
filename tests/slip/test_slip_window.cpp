// The slip window: clearing and writing rows, the totals block, scrolling,
// going back to the entry window, what is on screen while printing, the
// window in use while a page is sent, the slip as a PDF file and as text.

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QFileDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <condition_variable>
#include <mutex>

#include "forms/line.h"
#include "slip/printing.h"
#include "support/gui.h"
#include "support/pdf_text.h"

using namespace recibo;
using recibo::test::child;

namespace {

SlipRow earnings(const char *code, const char *quantity, const char *description, const char *amount)
{
    return SlipRow{code, quantity, true, description, amount, Column::Earnings, Money(), {}};
}

SlipRow deduction(const char *code, const char *quantity, const char *description, const char *amount)
{
    return SlipRow{code, quantity, true, description, amount, Column::Deductions, Money(), {}};
}

Slip slipOf(std::vector<SlipRow> rows)
{
    Slip slip;
    slip.head = {"Código del cargo", "609", "2000", "Director 1era Categoría", true, "40", "0", "620", "0"};
    slip.rows = std::move(rows);
    slip.layout = totalsLayout(int(slip.rows.size()));
    slip.thaberes = "$ 10";
    slip.tdescuentos = "$ 2";
    slip.liquido = "$ 8";
    return slip;
}

// Remembers what was on the window at the moment its page was drawn, and
// answers with the outcome it was given; a held printer answers only once
// released, as a print system that is slow to answer.
class SpyPrinter : public SlipPrinter {
public:
    explicit SpyPrinter(PrintOutcome outcome = {true, {}, 1}, bool held = false)
        : outcome_(std::move(outcome)), held_(held)
    {
    }
    void takeFromWindow(QWidget &window, SlipPage &page) override
    {
        ++prints;
        for (const char *name : {"Volver", "Imprimir", "Salir", "Text1", "Text12", "Text11", "Text2", "Text3",
                                 "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "movedor"})
            visibleAtPrint[name] = child(window, name)->isVisibleTo(&window);
        frameAtPrint = child(window, "sosten")->palette().color(QPalette::Window);
        windowAtPrint = window.palette().color(QPalette::Window);
        focusAtPrint = window.focusWidget();
        pdfAtPrint = page.pdf.startsWith("%PDF");
    }
    PrintOutcome send(const SlipPage &, std::stop_token stop) override
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, stop, [this] { return !held_; });
        return outcome_;
    }
    void release()
    {
        {
            std::lock_guard lock(mutex_);
            held_ = false;
        }
        released_.notify_all();
    }
    int prints = 0;
    std::map<std::string, bool> visibleAtPrint;
    QColor frameAtPrint, windowAtPrint;
    QWidget *focusAtPrint = nullptr;
    bool pdfAtPrint = false;

private:
    PrintOutcome outcome_;
    std::mutex mutex_;
    std::condition_variable_any released_;
    bool held_;
};

} // namespace

class SlipWindowTest : public QObject {
    Q_OBJECT

    Haberes &slip() { return currentDesk().haberes(); }
    QWidget *at(const char *array, int i) { return child(slip(), QStringLiteral("%1(%2)").arg(array).arg(i)); }

    // A calculation on the secondary-hours path, as a user starts one.
    void calculateHours(const QString &teacher)
    {
        Ingreso &ingreso = currentDesk().ingreso();
        test::type(child<QLineEdit>(ingreso, "docente"), teacher);
        test::click(child<QAbstractButton>(ingreso, "horasmedio"));
        test::click(child<QPushButton>(ingreso, "Command1"));
        QVERIFY(slip().isVisible());
    }

private slots:
    void init() { test::startFresh(); }

    void rowsAreWrittenInOrderAndClosedUp()
    {
        SlipRow spouse = earnings("1010", "", "Sal fam Cony", "$ 15");
        spouse.showQuantity = false;
        slip().showSlip(slipOf({earnings("001", "1", "Asign. de la categoría", "$611,73"), spouse,
                                deduction("505", "3 %", "IOSPER", "$ 36,594")}),
                        QStringLiteral("Ana"), QStringLiteral("hoy"));
        const Haberes &h = slip();
        QVERIFY(h.isVisible() && h.isEnabled());

        QCOMPARE(test::caption(at("cod", 0)), QStringLiteral("001"));
        QCOMPARE(test::caption(at("Label10", 0)), QStringLiteral("1"));
        QCOMPARE(test::caption(at("Label19", 0)), QStringLiteral("Asign. de la categoría"));
        QCOMPARE(test::caption(at("Label1", 0)), QStringLiteral("$611,73"));
        QVERIFY(at("Line8", 0)->isVisibleTo(&h));

        // The spouse row shows no quantity.
        QVERIFY(at("cod", 1)->isVisibleTo(&h));
        QVERIFY(!at("Label10", 1)->isVisibleTo(&h));
        QCOMPARE(test::caption(at("Label1", 1)), QStringLiteral("$ 15"));

        // A deduction stands in the deductions column of its own position.
        QVERIFY(at("Label1", 2 + 27)->isVisibleTo(&h));
        QVERIFY(!at("Label1", 2)->isVisibleTo(&h));
        QCOMPARE(test::caption(at("Label1", 29)), QStringLiteral("$ 36,594"));
        QVERIFY(!at("Label1", 27)->isVisibleTo(&h));
        QVERIFY(!at("Label1", 28)->isVisibleTo(&h));

        for (int i = 3; i < 27; ++i) {
            QVERIFY(!at("cod", i)->isVisibleTo(&h));
            QVERIFY(!at("Label19", i)->isVisibleTo(&h));
            QVERIFY(!at("Line8", i)->isVisibleTo(&h));
        }

        // "Copiar el recibo": the scale's line, the panel, a header row, the
        // same rows as text with a tab between columns, the name, the date
        // line and the comment.
        test::type(slip().findChild<QLineEdit *>(QStringLiteral("Text11")), QStringLiteral("Marzo, con descuento"));
        slip().copiarRecibo();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Desde Mayo de 2.008\n"
                                                                      "Director 1era Categoría\n"
                                                                      "Código del cargo\t609\n"
                                                                      "Puntaje\t2000\n"
                                                                      "Ptos. Comp Básico\t40\n"
                                                                      "Prol jorn\t0\n"
                                                                      "Jorn Comp\t620\n"
                                                                      "Tarea dif\t0\n"
                                                                      "Código\tCantidad\tConcepto\tHaberes\tDescuentos\n"
                                                                      "001\t1\tAsign. de la categoría\t$611,73\t\n"
                                                                      "1010\t\tSal fam Cony\t$ 15\t\n"
                                                                      "505\t3 %\tIOSPER\t\t$ 36,594\n"
                                                                      "\t\tTotal Haberes\t$ 10\t\n"
                                                                      "\t\tTotal descuentos\t\t$ 2\n"
                                                                      "\t\tLiquido a pagar\t\t$ 8\n"
                                                                      "Ana\n"
                                                                      "hoy\n"
                                                                      "Marzo, con descuento\n"));
    }

    void amountsStayRightAligned_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("rightEdge"); // twips
        QTest::newRow("earnings 0") << 0 << 5250;
        QTest::newRow("earnings 22 (fixed width)") << 22 << 5250;
        QTest::newRow("earnings 24") << 24 << 5250;
        QTest::newRow("deductions 27") << 27 << 6450;
        QTest::newRow("deductions 49") << 49 << 6450;
        QTest::newRow("deductions 53 (fixed width)") << 53 << 6450;
    }

    void amountsStayRightAligned()
    {
        QFETCH(int, element);
        QFETCH(int, rightEdge);
        std::vector<SlipRow> rows;
        const int position = element % 27;
        for (int i = 0; i <= position; ++i)
            rows.push_back(element >= 27 ? deduction("505", "3 %", "IOSPER", "$ 12345,6789")
                                         : earnings("002", "", "Comp. de Básico", "$ 12345,6789"));
        slip().showSlip(slipOf(rows), {}, {});
        QWidget *amount = at("Label1", element);
        QVERIFY(amount->isVisibleTo(&slip()));
        const QRect g = amount->geometry();
        QVERIFY2(qAbs((g.x() + g.width()) * 15 - rightEdge) <= 15, qPrintable(QString::number(g.x() + g.width())));
        QVERIFY(g.width() * 15 > 600); // wide enough for the whole amount
    }

    void secondSlipHidesWhatItDoesNotWrite()
    {
        std::vector<SlipRow> many;
        for (int i = 0; i < 18; ++i)
            many.push_back(earnings("010", "30 %", "Antigüedad", "$ 1"));
        for (int i = 0; i < 8; ++i)
            many.push_back(deduction("505", "3 %", "IOSPER", "$ 2"));
        slip().showSlip(slipOf(many), {}, {});
        QVERIFY(at("Label1", 25 + 27)->isVisibleTo(&slip()));

        slip().showSlip(slipOf({earnings("001", "10", "Hs. N. Medio", "$407,61"),
                                deduction("505", "3 %", "IOSPER", "$ 9")}),
                        {}, {});
        const Haberes &h = slip();
        for (int i = 2; i < 27; ++i) {
            QVERIFY(!at("cod", i)->isVisibleTo(&h));
            QVERIFY(!at("Label10", i)->isVisibleTo(&h));
            QVERIFY(!at("Label19", i)->isVisibleTo(&h));
            QVERIFY(!at("Line8", i)->isVisibleTo(&h));
            QVERIFY(!at("Label1", i)->isVisibleTo(&h));
        }
        for (int k = 27; k < 54; ++k)
            QCOMPARE(at("Label1", k)->isVisibleTo(&h), k == 28);
        QVERIFY(!at("Label1", 1)->isVisibleTo(&h));
        // Hidden positions keep their old captions until written over.
        QCOMPARE(test::caption(at("Label19", 5)), QStringLiteral("Antigüedad"));
    }

    void totalsBlockFollowsTheRows_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("line6");
        QTest::addColumn<int>("haberesTop");
        QTest::addColumn<int>("line17");
        QTest::newRow("18 rows") << 18 << 6720 << 6920 << 8020;
        QTest::newRow("20 rows") << 20 << 7350 << 7550 << 8650;
        QTest::newRow("26 rows") << 26 << 9240 << 9440 << 10540;
        QTest::newRow("5 rows") << 5 << 2625 << 2825 << 3925;
    }

    void totalsBlockFollowsTheRows()
    {
        QFETCH(int, rows);
        QFETCH(int, line6);
        QFETCH(int, haberesTop);
        QFETCH(int, line17);
        slip().showSlip(slipOf(std::vector<SlipRow>(size_t(rows), earnings("001", "1", "x", "$1"))), {}, {});
        const auto line = [this](const char *name) { return child<forms::Line>(slip(), name); };
        QCOMPARE(line("Line6")->y1(), double(line6));
        QCOMPARE(line("Line6")->y2(), double(line6));
        QCOMPARE(line("Line15")->y1(), double(line6 + 500));
        QCOMPARE(line("Line16")->y2(), double(line6 + 900));
        QCOMPARE(line("Line17")->y1(), double(line17));
        for (const char *name : {"Line1", "Line2", "Line3(0)", "Line3(1)", "Line5", "Line7"})
            QCOMPARE(line(name)->y2(), double(line17));
        QCOMPARE(line("Line4")->y1(), 735.0);
        QCOMPARE(child(slip(), "thaberes")->y(), qRound(haberesTop / 15.0));
        QCOMPARE(child(slip(), "Label15")->y(), qRound(haberesTop / 15.0));
        QCOMPARE(child(slip(), "Label16")->y(), qRound((haberesTop + 400) / 15.0));
        QCOMPARE(child(slip(), "liquido")->y(), qRound((haberesTop + 800) / 15.0));
        QCOMPARE(test::caption(child(slip(), "liquido")), QStringLiteral("$ 8"));
    }

    void calcularShowsTheSlipWithNameAndDate()
    {
        calculateHours(QStringLiteral("Muñoz, José"));
        QCOMPARE(test::caption(child(slip(), "docente")), QStringLiteral("Muñoz, José"));
        const QString when = test::caption(child(slip(), "Text10"));
        QVERIFY2(when.startsWith(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)), qPrintable(when));
        QVERIFY(when.contains(QLatin1Char(':')));
        QVERIFY(currentDesk().ingreso().isVisible()); // the entry window stays usable
        QVERIFY(currentDesk().ingreso().isEnabled());
        QCOMPARE(test::caption(at("cod", 0)), QStringLiteral("001"));
    }

    void headHidesThePointBoxesOnTheHoursPaths()
    {
        Slip cargo = slipOf({earnings("001", "1", "Asign. de la categoría", "$1260")});
        slip().showSlip(cargo, {}, {});
        for (const char *name : {"Label14", "Label20", "Label21", "Label2", "proljor", "jorcom", "tardif", "compbas"})
            QVERIFY(child(slip(), name)->isVisibleTo(&slip()));
        QCOMPARE(test::caption(child(slip(), "Label11")), QStringLiteral("Código del cargo"));
        QCOMPARE(test::caption(child(slip(), "carsel")), QStringLiteral("Director 1era Categoría"));
        Slip hours = cargo;
        hours.head = {"Cantidad de horas", "12", "776,4", "Horas de nivel medio", false};
        slip().showSlip(hours, {}, {});
        for (const char *name : {"Label14", "Label20", "Label21", "Label2", "proljor", "jorcom", "tardif", "compbas"})
            QVERIFY(!child(slip(), name)->isVisibleTo(&slip()));
        QCOMPARE(test::caption(child(slip(), "punbasicos")), QStringLiteral("776,4"));
    }

    void scrollMovesAndGrowsTheFrame()
    {
        Haberes &h = slip();
        QScrollBar *bar = h.movedor();
        QCOMPARE(bar->singleStep(), 100);
        QCOMPARE(bar->pageStep(), 500);
        QCOMPARE(h.sostenTop(), 0.0);
        bar->setValue(100);
        QCOMPARE(h.sostenTop(), 0.0);
        QCOMPARE(h.sostenHeight(), 12100.0);
        bar->setValue(600);
        QCOMPARE(h.sostenTop(), -500.0);
        bar->setValue(100);
        QCOMPARE(h.sostenTop(), 0.0);
        QCOMPARE(h.sostenHeight(), 12800.0);
        QCOMPARE(h.sosten()->y(), 0);
        bar->setValue(0);
        QCOMPARE(h.sostenTop(), 100.0);
        QCOMPARE(h.sosten()->y(), 7);
        bar->setValue(500);
        QCOMPARE(h.sostenTop(), -400.0);
        QCOMPARE(h.sosten()->height(), qRound(h.sostenHeight() / 15));
    }

    void theLongestSlipCanBeScrolledIntoView()
    {
        std::vector<SlipRow> rows(26, earnings("001", "1", "x", "$1"));
        slip().showSlip(slipOf(rows), {}, {});
        Haberes &h = slip();
        h.movedor()->setValue(h.movedor()->maximum());
        const int closingLine = qRound((h.sostenTop() + 10540) / 15);
        QVERIFY2(closingLine < h.height(), qPrintable(QString::number(closingLine)));
        QVERIFY(qRound((h.sostenTop() + 735) / 15) < 0); // the first rows scroll away above
    }

    void anArrowClickScrollsOneStep()
    {
        calculateHours(QStringLiteral("Ana"));
        QScrollBar *bar = slip().movedor();
        const int before = bar->value();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
        QCOMPARE(bar->value(), before + 100);
        QCOMPARE(slip().sostenTop(), double(100 - bar->value()));
    }

    void barFollowsTheWindowHeight_data()
    {
        QTest::addColumn<int>("heightTwips");
        QTest::addColumn<int>("barTwips");
        QTest::newRow("5000") << 5000 << 4600;
        QTest::newRow("design") << 8595 << 8195;
        QTest::newRow("shorter than 400") << 120 << 0;
    }

    void barFollowsTheWindowHeight()
    {
        QFETCH(int, heightTwips);
        QFETCH(int, barTwips);
        calculateHours(QStringLiteral("Ana"));
        // The height that counts is the outer one, title bar and borders included.
        const int decoration = slip().frameGeometry().height() - slip().height();
        slip().resize(slip().width(), std::max(qRound(heightTwips / 15.0) - decoration, 1));
        QTRY_VERIFY2(qAbs(slip().movedor()->height() * 15 - barTwips) <= 15,
                     qPrintable(QStringLiteral("bar %1 px, window %2 px, frame %3 px")
                                    .arg(slip().movedor()->height())
                                    .arg(slip().height())
                                    .arg(slip().frameGeometry().height())));
        QVERIFY(slip().movedor()->height() >= 0);
    }

    void volverGoesBackAndKeepsTheData()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        test::click(child<QAbstractButton>(ingreso, "Option4"));
        calculateHours(QStringLiteral("Ana"));
        test::click(child<QPushButton>(slip(), "Volver"));
        QVERIFY(!slip().isVisible());
        QVERIFY(!slip().isEnabled());
        QVERIFY(ingreso.isVisible());
        for (const char *name : {"cargo", "horasmedio", "horassup"})
            QVERIFY(!child<QAbstractButton>(ingreso, name)->isChecked());
        QVERIFY(child<QAbstractButton>(ingreso, "Option4")->isChecked());
        QCOMPARE(child<QLineEdit>(ingreso, "docente")->text(), QStringLiteral("Ana"));
        for (const char *name : {"numerohorasmed", "numerohorassup", "Label3", "Label4", "cargoselect", "codcarval"})
            QVERIFY(!child(ingreso, name)->isVisibleTo(&ingreso));
        // The shared hour boxes keep their captions on screen.
        QVERIFY(child(ingreso, "numhorascod06")->isVisibleTo(&ingreso));
        // A new calculation needs a new choice.
        test::click(child<QPushButton>(ingreso, "Command1"));
        QVERIFY(currentDesk().errorWindow().isVisible());
        QVERIFY(!slip().isVisible());
    }

    void closingTheSlipGoesBackLikeVolver()
    {
        calculateHours(QStringLiteral("Ana"));
        slip().close();
        QVERIFY(!slip().isVisible());
        QVERIFY(!child<QAbstractButton>(currentDesk().ingreso(), "horasmedio")->isChecked());
        QVERIFY(currentDesk().hasHaberes()); // hidden, never destroyed
    }

    void salirOnTheSlipEndsTheProgram()
    {
        bool quit = false;
        test::startFresh(&quit);
        calculateHours(QStringLiteral("Ana"));
        test::click(child<QPushButton>(slip(), "Salir"));
        QVERIFY(quit);
        QVERIFY(!slip().isVisible());
    }

    void printingShowsThePaperFace()
    {
        calculateHours(QStringLiteral("Ana"));
        test::type(child<QLineEdit>(slip(), "Text11"), QStringLiteral("Marzo"));
        auto spy = std::make_unique<SpyPrinter>();
        SpyPrinter *printer = spy.get();
        currentDesk().setPrinter(std::move(spy));
        test::click(child<QPushButton>(slip(), "Imprimir"));
        QCOMPARE(printer->prints, 1);
        QVERIFY(printer->pdfAtPrint);
        for (const char *hidden : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
            QVERIFY2(!printer->visibleAtPrint[hidden], hidden);
        for (const char *shown : {"Text11", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9",
                                  "movedor"})
            QVERIFY2(printer->visibleAtPrint[shown], shown);
        QCOMPARE(printer->frameAtPrint, QColor(Qt::white));
        QCOMPARE(printer->windowAtPrint, QColor(Qt::white));
        QVERIFY2(!printer->focusAtPrint, "a focus frame on paper");

        // Afterwards the window is back for the screen, in its after-print colours.
        const auto restored = [this] {
            for (const char *name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
                QVERIFY2(child(slip(), name)->isVisibleTo(&slip()), name);
            for (const char *name : {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"})
                QVERIFY2(!child(slip(), name)->isVisibleTo(&slip()), name);
            QCOMPARE(slip().sosten()->palette().color(QPalette::Window), QColor(0, 255, 255));
            QCOMPARE(slip().palette().color(QPalette::Window), QColor(0, 192, 192));
        };
        restored();
        QCOMPARE(test::caption(child(slip(), "Text11")), QStringLiteral("Marzo"));
        QTRY_VERIFY(child(slip(), "Imprimir")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), child(slip(), "Imprimir"));
        test::click(child<QPushButton>(slip(), "Imprimir"));
        QCOMPARE(printer->prints, 2);
        QCOMPARE(printer->frameAtPrint, QColor(Qt::white));
        restored();
        QTRY_VERIFY(child(slip(), "Imprimir")->isEnabled());
        QVERIFY(!slip().findChild<QMessageBox *>("mensajeImpresion") ||
                !slip().findChild<QMessageBox *>("mensajeImpresion")->isVisible());
    }

    void whileThePageIsSentTheWindowStaysInUse()
    {
        calculateHours(QStringLiteral("Ana"));
        QVERIFY(QTest::qWaitForWindowActive(&slip()));
        auto spy = std::make_unique<SpyPrinter>(PrintOutcome{true, {}, 7}, true);
        SpyPrinter *printer = spy.get();
        currentDesk().setPrinter(std::move(spy));
        auto *imprimir = child<QPushButton>(slip(), "Imprimir");
        test::click(imprimir);
        QVERIFY(child(slip(), "Volver")->isVisible());
        QVERIFY(!child(slip(), "Text2")->isVisible());
        QVERIFY(!imprimir->isEnabled());
        QCOMPARE(slip().cursor().shape(), Qt::BusyCursor);
        QTest::keyClick(&slip(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(printer->prints, 1); // one page at a time

        // Scrolling and typing go on meanwhile.
        QScrollBar *bar = slip().movedor();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
        QCOMPARE(slip().sostenTop(), double(100 - bar->value()));
        QVERIFY(bar->value() > 0);
        test::type(child<QLineEdit>(slip(), "Text11"), QStringLiteral("Abril"));
        QCOMPARE(test::caption(child(slip(), "Text11")), QStringLiteral("Abril"));

        printer->release();
        QTRY_VERIFY(imprimir->isEnabled());
        QCOMPARE(slip().cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!slip().findChild<QMessageBox *>("mensajeImpresion"));
    }

    void aFailedPrintOffersThePdf()
    {
        calculateHours(QStringLiteral("Ana"));
        const QString what = QStringLiteral("No se pudo imprimir: el sistema no tiene una impresora predeterminada.");
        const QString advice = QStringLiteral("Configure una impresora predeterminada en la configuración del sistema.");
        currentDesk().setPrinter(std::make_unique<SpyPrinter>(printFailure(what, advice)));
        test::click(child<QPushButton>(slip(), "Imprimir"));
        QMessageBox *message = nullptr;
        QTRY_VERIFY((message = slip().findChild<QMessageBox *>("mensajeImpresion")) && message->isVisible());
        QVERIFY(!message->isModal());
        // Said once: what happened, then what to do; the title says neither again.
        QCOMPARE(message->text(), what);
        QCOMPARE(message->informativeText(), advice);
        QCOMPARE(message->windowTitle(), QStringLiteral("Imprimir el recibo"));
        for (const char *name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
            QVERIFY(child(slip(), name)->isVisibleTo(&slip()));
        QVERIFY(child(slip(), "Imprimir")->isEnabled());
        QVERIFY(!child(slip(), "Text2")->isVisibleTo(&slip()));
        QCOMPARE(slip().palette().color(QPalette::Window), QColor(0, 192, 192));

        // "Guardar como PDF…": the dialog opens in Documents with the slip's name.
        auto *save = message->findChild<QPushButton *>("guardarPdf");
        QVERIFY(save);
        QCOMPARE(save->text(), QStringLiteral("Guardar como PDF…"));
        test::click(save);
        auto *dialog = slip().findChild<QFileDialog *>("guardarRecibo");
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(!dialog->isModal());
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(dialog->directory().absolutePath(),
                 QFileInfo(documents).isDir() ? QDir(documents).absolutePath() : QDir::homePath());
        const QString name = slipPdfName(QStringLiteral("Ana"), QDate::currentDate());
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), name);
        // In Argentine Spanish: "archivo", never Spain's "fichero".
        QStringList texts;
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            texts << label->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            texts << button->text() << button->toolTip();
        QVERIFY2(texts.filter(QStringLiteral("archivo"), Qt::CaseInsensitive).size() > 0, qPrintable(texts.join('|')));
        QVERIFY2(texts.filter(QStringLiteral("fichero"), Qt::CaseInsensitive).isEmpty(), qPrintable(texts.join('|')));

        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
        QString problem;
        const std::optional<QString> text = test::pdfText(path, &problem);
        QVERIFY2(text, qPrintable(problem));
        QVERIFY2(text->contains(QStringLiteral("Recibo de sueldos de:")) && text->contains(QStringLiteral("Ana")) &&
                     text->contains(QStringLiteral("Hs. N. Medio")) && text->contains(QStringLiteral("VESNAR")),
                 qPrintable(*text));
        QVERIFY2(!text->contains(QStringLiteral("Volver")), "the buttons are on the saved page");

        // A file that cannot be written is said so.
        dialog->setVisible(false);
        test::click(save);
        dialog->selectFile(folder.filePath(QStringLiteral("no-existe/recibo.pdf")));
        static_cast<QDialog *>(dialog)->accept();
        auto *notSaved = slip().findChild<QMessageBox *>("mensajeGuardar");
        QVERIFY(notSaved && notSaved->isVisible() && !notSaved->isModal());
        QVERIFY2(notSaved->text().startsWith(QStringLiteral("No se guardó el recibo: la carpeta «")) &&
                     notSaved->text().endsWith(QStringLiteral("no-existe» no existe.")),
                 qPrintable(notSaved->text()));
        QCOMPARE(notSaved->informativeText(), QStringLiteral("Elija una carpeta que exista y vuelva a guardar."));
    }

    // A printer that took the slip but keeps it waiting (a paused queue):
    // the window says so, as it says a failure.
    void aPrintThatWaitsIsSaidSo()
    {
        calculateHours(QStringLiteral("Ana"));
        const QString what = QStringLiteral("La impresora «Aula» está en pausa: el recibo queda en la cola hasta que se reanude.");
        currentDesk().setPrinter(std::make_unique<SpyPrinter>(PrintOutcome{true, what, 4, QStringLiteral("Reanude la impresora.")}));
        test::click(child<QPushButton>(slip(), "Imprimir"));
        QMessageBox *message = nullptr;
        QTRY_VERIFY((message = slip().findChild<QMessageBox *>("mensajeImpresion")) && message->isVisible());
        QCOMPARE(message->text(), what);
        QVERIFY(child(slip(), "Imprimir")->isEnabled());
    }

    void theMenuAndTheKeys_data()
    {
        QTest::addColumn<QString>("menuItem"); // empty: the key instead
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("menu Imprimir") << "Imprimir" << 0 << "printed";
        QTest::newRow("menu Guardar como PDF") << "Guardar como PDF…" << 0 << "file dialog";
        QTest::newRow("menu Copiar el recibo") << "Copiar el recibo" << 0 << "copied";
        QTest::newRow("Ctrl+P") << "" << int(Qt::Key_P) << "printed";
        QTest::newRow("Ctrl+S") << "" << int(Qt::Key_S) << "file dialog";
        QTest::newRow("Ctrl+C") << "" << int(Qt::Key_C) << "copied";
    }

    void theMenuAndTheKeys()
    {
        QFETCH(QString, menuItem);
        QFETCH(int, key);
        QFETCH(QString, effect);
        calculateHours(QStringLiteral("Ana"));
        QVERIFY(QTest::qWaitForWindowActive(&slip()));
        auto spy = std::make_unique<SpyPrinter>();
        SpyPrinter *printer = spy.get();
        currentDesk().setPrinter(std::move(spy));
        QGuiApplication::clipboard()->clear();
        const auto place = [this] {
            QList<QRect> places;
            for (QWidget *widget : slip().findChildren<QWidget *>())
                if (widget->window() == &slip())
                    places << QRect(widget->mapTo(&slip(), QPoint()), widget->size());
            return places;
        };
        const QList<QRect> before = place();

        if (menuItem.isEmpty()) {
            QTest::keyClick(&slip(), Qt::Key(key), Qt::ControlModifier);
        } else {
            // A right click on a row of the slip.
            QWidget *row = at("Label19", 0);
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), row->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(row, &click);
            auto *menu = slip().findChild<QMenu *>("menuRecibo");
            QVERIFY(menu && menu->isVisible());
            QStringList items;
            for (const QAction *action : menu->actions())
                items << action->text();
            QCOMPARE(items, (QStringList{"Imprimir", "Guardar como PDF…", "Copiar el recibo"}));
            QAction *chosen = menu->actions().at(items.indexOf(menuItem));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            QTRY_VERIFY(!menu->isVisible());
        }
        QCOMPARE(printer->prints, effect == "printed" ? 1 : 0);
        auto *dialog = slip().findChild<QFileDialog *>("guardarRecibo");
        QCOMPARE(dialog && dialog->isVisible(), effect == "file dialog");
        QCOMPARE(QGuiApplication::clipboard()->text(), effect == "copied" ? slip().slipText() : QString());
        QTRY_VERIFY(child(slip(), "Imprimir")->isEnabled());
        QCOMPARE(place(), before); // nothing on the window moved or came in
    }

    void ctrlCInATextBox_data()
    {
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("copiesTheSlip");
        QTest::newRow("with a selection: the box copies it") << true << false;
        QTest::newRow("nothing selected: the slip") << false << true;
    }

    void ctrlCInATextBox()
    {
        QFETCH(bool, select);
        QFETCH(bool, copiesTheSlip);
        calculateHours(QStringLiteral("Ana"));
        QVERIFY(QTest::qWaitForWindowActive(&slip()));
        auto *comment = child<QLineEdit>(slip(), "Text11");
        test::type(comment, QStringLiteral("Marzo"));
        if (select)
            comment->selectAll();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(comment, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copiesTheSlip ? slip().slipText() : QStringLiteral("Marzo"));
    }

    void theNameOfTheSavedSlip_data()
    {
        QTest::addColumn<QString>("teacher");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a name") << "Pérez, Ana" << "Recibo Pérez, Ana 2026-03-05.pdf";
        QTest::newRow("no name") << "  " << "Recibo 2026-03-05.pdf";
        QTest::newRow("characters a file cannot hold") << "A/B\\C:D*E?F\"G<H>I|J" << "Recibo A_B_C_D_E_F_G_H_I_J 2026-03-05.pdf";
        QTest::newRow("blanks run together") << " Ana \t María " << "Recibo Ana María 2026-03-05.pdf";
        // 248 bytes at most: "Recibo " and " 2026-03-05.pdf" take 22, which
        // leaves 226 for the name, 113 "Ñ" of 2 bytes each.
        QTest::newRow("a name too long for a file") << QString(130, QChar(0xD1))
                                                    << "Recibo " + QString(113, QChar(0xD1)) + " 2026-03-05.pdf";
        // "é" written as "e" and its accent (3 bytes): 75 of them fit, and
        // no accent is parted from its letter.
        QTest::newRow("a long name with separate accents")
            << QString::fromUtf8("e\u0301").repeated(100)
            << "Recibo " + QString::fromUtf8("e\u0301").repeated(75) + " 2026-03-05.pdf";
    }

    void theNameOfTheSavedSlip()
    {
        QFETCH(QString, teacher);
        QFETCH(QString, expected);
        QCOMPARE(slipPdfName(teacher, QDate(2026, 3, 5)), expected);
    }
};

QTEST_MAIN(SlipWindowTest)
#include "test_slip_window.moc"
