// The program's speed in one run:
//   Calculo_recibo_ejemplo   the core calculation of the 18-row example slip,
//                            with the heap allocations it makes;
//   Calcular_ventanas        "Calcular" on the windows, headless, from the
//                            click to the slip window painted with 18 rows;
//   Imprimir_ventana         "Imprimir" on the slip window: the click to the
//                            window back for the screen and painted, to the
//                            scheduler's answer, and the peak resident memory;
//                            side by side with the way it printed before;
//   Arranque_hasta_ingreso   program start to the entry window painted,
//                            against a bare Qt program whose window draws one
//                            line of text (and one with an empty window);
//   Memoria_minima           the lowest limit of address space (ulimit -v)
//                            at which the windows start, and at which a slip
//                            is printed and then saved as PDF; and what a
//                            print then a save from its message come to at a
//                            spread of limits.
// A summary with the goals follows Google Benchmark's own table.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QStyleOptionButton>
#include <QSysInfo>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include <sched.h>

#include "alloc_counter.h"
#include "app/desk.h"
#include "app/startup.h"
#include "calc/calculate.h"
#include "selection/advertencia.h"
#include "entry/ingreso.h"
#include "example_slip.h"
#include "forms/form.h"
#include "print_ways.h"
#include "slip/haberes.h"
#include "slip/printing.h"
#include "support/cups_fixture.h"

namespace {

using namespace recibo;
using recibo::bench::kExampleRows;

constexpr double kSlipGoalMicroseconds = 5;
constexpr double kCalcularGoalMilliseconds = 5;
// Start-up against a bare Qt program whose window draws one line of text.
constexpr double kStartRatioGoal = 1.3;
constexpr double kPrintRestoredGoalMilliseconds = 100;
constexpr double kPrintMemoryGoalMiB = 60;

struct PrintClick {
    double handlerMs = -1; // the click itself: the page drawn and the window put back
    double restoredMs = -1;
    double doneMs = -1;
    double peakMiB = -1;
    std::string problem; // what the window reported, or why nothing could be measured
};

// What the summary reports besides the times Google Benchmark measured.
struct Findings {
    // Core calculation.
    double allocationsPerSlip = -1;
    int rowBlocks = -1;   // heap blocks the 18 rows own: the row vector and the longer texts
    int otherBlocks = -1; // heap blocks of the rest of the slip (head, total texts)
    std::vector<std::string> slipRemarks;
    // Windows.
    std::vector<std::string> windowRemarks;
    int windowRows = -1;
    // Start-up.
    int starts = 0;
    double bareMedianMs = -1;
    double reciboMedianMs = -1;
    double textMedianMs = -1; // the bare window with one line of text
    // Printing: medians of the clicks of each way.
    struct PrintWay {
        int clicks = 0;
        double handlerMs = -1;  // the click itself, to the window put back (not yet painted)
        double restoredMs = -1; // click to the window back for the screen and painted
        double doneMs = -1;     // click to the printer's answer
        double peakMiB = -1;    // peak resident memory above what the program held before the click
    };
    PrintWay printNow;
    PrintWay printBefore;
    PrintClick firstPrint;   // the first of the run, which loads what printing needs
    std::string printTarget; // where the pages went
    std::vector<std::string> printRemarks;
    // Memory: the lowest limits, in MB, and the steps at a spread of limits.
    int startsMb = -1;
    int printsAndSavesMb = -1;
    std::vector<std::pair<int, std::string>> spread;
};
Findings findings;

// -- Core calculation ------------------------------------------------------

// 1 when the string keeps its text on the heap, 0 when inside itself.
int heapBlock(const std::string &text)
{
    const auto *inside = reinterpret_cast<const char *>(&text);
    const std::less<const char *> before;
    const bool local = !before(text.data(), inside) && before(text.data(), inside + sizeof text);
    return local ? 0 : 1;
}

int rowHeapBlocks(const Slip &slip)
{
    int blocks = slip.rows.capacity() > 0 ? 1 : 0;
    for (const SlipRow &row : slip.rows)
        blocks += heapBlock(row.code) + heapBlock(row.quantity) + heapBlock(row.amount) + heapBlock(row.explanation);
    return blocks;
}

int otherHeapBlocks(const Slip &slip)
{
    int blocks = 0;
    for (const std::string *text : {&slip.head.label11, &slip.head.numcargo, &slip.head.punbasicos, &slip.head.carsel,
                                    &slip.thaberes, &slip.tdescuentos, &slip.liquido, &slip.thaberesExplanation,
                                    &slip.tdescuentosExplanation, &slip.liquidoExplanation})
        blocks += heapBlock(*text);
    return blocks;
}

// Compares the slip with the figures of the worked example; returns what differs.
std::vector<std::string> differencesFromExample(const Slip &slip)
{
    static const char *const codes[] = {"001",  "010",  "078", "006", "014", "084", "113", "188", "172",
                                        "1001", "1010", "505", "508", "502", "504", "332", "512", "510"};
    std::vector<std::string> differences;
    if (static_cast<int>(slip.rows.size()) != kExampleRows) {
        differences.push_back("el recibo tiene " + std::to_string(slip.rows.size()) + " renglones, no " +
                              std::to_string(kExampleRows));
    } else {
        for (int i = 0; i < kExampleRows; ++i) {
            if (slip.rows[static_cast<std::size_t>(i)].code != codes[i])
                differences.push_back("renglón " + std::to_string(i + 1) + ": código " +
                                      slip.rows[static_cast<std::size_t>(i)].code + ", se esperaba " + codes[i]);
        }
    }
    const auto total = [&](const char *name, Money value, std::int64_t expected) {
        if (value.units() != expected)
            differences.push_back(std::string(name) + " = " + moneyText(value, ",") + ", se esperaba " +
                                  moneyText(Money::fromUnits(expected), ","));
    };
    total("total haberes", slip.values.totalhaberes, 19614107);
    total("total descuentos", slip.values.totaldescuentos, 3815578);
    total("líquido", slip.values.totalliquido, 15798529);
    return differences;
}

void Calculo_recibo_ejemplo(benchmark::State &st)
{
    const PayInput input = recibo::bench::examplePayInput();
    auto first = calculate(input);
    if (const auto *problem = std::get_if<InputProblem>(&first)) {
        st.SkipWithError(("el cálculo rechaza el ejemplo: " + problem->message).c_str());
        return;
    }
    const Slip &slip = std::get<Slip>(first);
    findings.slipRemarks = differencesFromExample(slip);
    if (static_cast<int>(slip.rows.size()) != kExampleRows) {
        st.SkipWithError(findings.slipRemarks.front().c_str());
        return;
    }
    findings.rowBlocks = rowHeapBlocks(slip);
    findings.otherBlocks = otherHeapBlocks(slip);

    const std::uint64_t before = recibo::bench::allocationCount();
    for (auto _ : st) {
        auto outcome = calculate(input);
        benchmark::DoNotOptimize(outcome);
        benchmark::ClobberMemory();
    }
    const std::uint64_t allocations = recibo::bench::allocationCount() - before;
    findings.allocationsPerSlip = static_cast<double>(allocations) / static_cast<double>(st.iterations());
    st.counters["asignaciones"] = findings.allocationsPerSlip;
    st.counters["de_los_renglones"] = findings.rowBlocks;
    st.counters["resto_del_recibo"] = findings.otherBlocks;
    st.SetLabel(std::to_string(slip.rows.size()) + " renglones");
}
// Medians of five runs: the machine may be busy with other work now and then.
BENCHMARK(Calculo_recibo_ejemplo)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// -- "Calcular" on the windows ---------------------------------------------

// Empties a text box and types the text key by key, as the user does.
void type(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// Clicks a check box or option when it is not on yet; where the click does
// not switch it on, switches it on directly and says so.
void switchOn(QAbstractButton *button, std::vector<std::string> &remarks)
{
    // A check box reacts to its box and caption only: aim at the box.
    QPoint where = button->rect().center();
    if (auto *box = qobject_cast<QCheckBox *>(button)) {
        QStyleOptionButton option;
        option.initFrom(box);
        where = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    if (!button->isChecked())
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
    if (!button->isChecked()) {
        remarks.push_back("un clic no marcó " + button->objectName().toStdString() + ": se marcó directamente");
        button->setChecked(true);
    }
}

int shownRows(const Haberes &haberes)
{
    int rows = 0;
    for (int i = 0; i < kSlipPositions; ++i) {
        const QWidget *code = haberes.findChild<QWidget *>(forms::elementName("cod", i));
        if (code && code->isVisibleTo(&haberes))
            ++rows;
    }
    return rows;
}

// The codes of the rows shown, for a message.
std::string shownCodes(const Haberes &haberes)
{
    std::string codes;
    for (int i = 0; i < kSlipPositions; ++i) {
        const auto *code = haberes.findChild<QLabel *>(forms::elementName("cod", i));
        if (code && code->isVisibleTo(&haberes))
            codes += (codes.empty() ? "" : " ") + code->text().toStdString();
    }
    return codes;
}

// Counts the paint events of the slip window itself.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == parent())
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Enters the example through the windows as a user would. Returns what could
// not be done the user's way; a text in `failure` stops the bench.
std::vector<std::string> enterExample(Desk &desk, std::string &failure)
{
    std::vector<std::string> remarks;
    Ingreso &ingreso = desk.ingreso();
    const auto box = [&](QWidget &window, const char *name) {
        return window.findChild<QLineEdit *>(QString::fromLatin1(name));
    };
    const auto button = [&](const char *name) {
        return ingreso.findChild<QAbstractButton *>(QString::fromLatin1(name));
    };

    type(box(ingreso, "docente"), QStringLiteral("Docente de ejemplo"));

    // The cargo: the option opens the selection dialog; there the code 609
    // and the points of the example.
    switchOn(button("cargo"), remarks);
    Advertencia &dialog = desk.advertencia();
    if (!dialog.isVisible()) {
        remarks.push_back("la opción Cargo no abrió el diálogo de selección: se abrió directamente");
        dialog.open();
    }
    QLineEdit *codcargo = box(dialog, "codcargo");
    if (!codcargo) {
        failure = "el diálogo de selección no tiene el cuadro codcargo";
        return remarks;
    }
    type(codcargo, QString::fromLatin1(recibo::bench::kExampleCode));
    const struct {
        const char *name;
        const char *points;
    } points[] = {{"punbas", "1000"}, {"compbas", "0"}, {"jorcom", "0"}, {"proljor", "0"}, {"tardif", "0"}};
    for (const auto &point : points) {
        QLineEdit *pointBox = box(dialog, point.name);
        if (!pointBox) {
            failure = std::string("el diálogo de selección no tiene el cuadro ") + point.name;
            return remarks;
        }
        // punbas is read-only for the user: its text is set as the dialog sets it.
        if (pointBox->isReadOnly())
            pointBox->setText(QString::fromLatin1(point.points));
        else
            type(pointBox, QString::fromLatin1(point.points));
    }
    if (auto *listo = dialog.findChild<QPushButton *>(QStringLiteral("Command1")); listo && listo->isEnabled())
        QTest::mouseClick(listo, Qt::LeftButton);
    else
        remarks.push_back("\"Listo\" del diálogo no está habilitado tras escribir el código 609");
    if (!button("cargo")->isChecked()) {
        remarks.push_back("\"Listo\" apagó la opción Cargo: se volvió a marcar sin reglas");
        ingreso.deselectAllCategories();
        button("cargo")->setChecked(true);
    }
    if (dialog.choice().code != recibo::bench::kExampleCode)
        remarks.push_back("el diálogo no entrega el código 609 como cargo elegido");

    // Seniority 30 %, zone "Alejada radio urbano", incentive, family, absences, deductions.
    switchOn(button("Option4"), remarks);
    if (box(ingreso, "porcantig")->text() != QStringLiteral("30 %"))
        remarks.push_back("la opción \"Entre 5 y 7 años\" no muestra 30 %");
    ingreso.findChild<QComboBox *>(QStringLiteral("zona"))->setCurrentIndex(1);
    switchOn(button("opincentivo"), remarks);
    switchOn(button("hijos"), remarks);
    if (box(ingreso, "cantidadhijos")->isVisible()) {
        type(box(ingreso, "cantidadhijos"), QStringLiteral("2"));
    } else {
        remarks.push_back("marcar Hijos no mostró la cantidad de hijos: se escribió sin mostrarla");
        box(ingreso, "cantidadhijos")->setText(QStringLiteral("2"));
    }
    switchOn(button("conyuge"), remarks);
    box(ingreso, "dinasist")->setText(QStringLiteral("0"));
    for (const char *deduction : {"Iosper", "Osplad", "APORTEJUB", "Ley4035", "VESNAR", "cajacomp", "Seguro3011"})
        switchOn(button(deduction), remarks);
    return remarks;
}

// Clicks "Calcular" and processes events until the slip window has been
// painted. Returns false when it is not painted within the deadline.
bool clickAndWaitForSlip(QAbstractButton *calcular, Haberes &haberes, PaintCounter &counter,
                         double *clickMilliseconds = nullptr)
{
    const int paintsBefore = counter.paints;
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(calcular, Qt::LeftButton);
    if (clickMilliseconds)
        *clickMilliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    QElapsedTimer deadline;
    deadline.start();
    while (!(haberes.isVisible() && counter.paints > paintsBefore)) {
        if (deadline.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

void hideSlip(Haberes &haberes)
{
    haberes.hide();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Calcular_ventanas(benchmark::State &st)
{
    startEntryWindow();
    Desk &desk = currentDesk();
    desk.setQuitHandler([] {}); // nothing here may end the bench
    QCoreApplication::processEvents(QEventLoop::AllEvents);

    std::string failure;
    findings.windowRemarks = enterExample(desk, failure);
    if (!failure.empty()) {
        st.SkipWithError(failure.c_str());
        return;
    }

    Ingreso &ingreso = desk.ingreso();
    auto *calcular = ingreso.findChild<QAbstractButton *>(QStringLiteral("Command1"));
    Haberes &haberes = desk.haberes();
    auto *counter = new PaintCounter(&haberes);
    haberes.installEventFilter(counter);

    // A first calculation places the slip window and checks the result.
    if (!clickAndWaitForSlip(calcular, haberes, *counter)) {
        if (ingreso.inputMessage() && ingreso.inputMessage()->isVisible())
            failure = "el cálculo rechazó los datos: " + ingreso.inputMessage()->text().toStdString();
        else
            failure = "la ventana Haberes no se mostró tras \"Calcular\"";
        st.SkipWithError(failure.c_str());
        return;
    }
    findings.windowRows = shownRows(haberes);
    if (findings.windowRows != kExampleRows) {
        failure = "Haberes muestra " + std::to_string(findings.windowRows) + " renglones, no " +
                  std::to_string(kExampleRows) + ": " + shownCodes(haberes);
        st.SkipWithError(failure.c_str());
        return;
    }

    double clickTotal = 0;
    for (auto _ : st) {
        st.PauseTiming();
        hideSlip(haberes);
        st.ResumeTiming();
        double click = 0;
        const bool shown = clickAndWaitForSlip(calcular, haberes, *counter, &click);
        clickTotal += click;
        st.PauseTiming();
        if (!shown || shownRows(haberes) != kExampleRows) {
            st.SkipWithError("la ventana Haberes no se mostró con 18 renglones");
            st.ResumeTiming();
            break;
        }
        st.ResumeTiming();
    }
    // The click itself: the calculation, the slip written into the window and
    // the window shown; the rest is the first paint.
    st.counters["clic_ms"] = benchmark::Counter(clickTotal, benchmark::Counter::kAvgIterations);
    st.SetLabel(std::to_string(findings.windowRows) + " renglones");
    hideSlip(haberes);
}
BENCHMARK(Calcular_ventanas)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// -- "Imprimir" on the slip window --------------------------------------------

// Processes events until `done` holds; false after `milliseconds`.
bool processUntil(const std::function<bool()> &done, int milliseconds)
{
    QElapsedTimer deadline;
    deadline.start();
    while (!done()) {
        if (deadline.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// One click on "Imprimir", timed to the window restored and painted and to
// the printer's answer, with the peak resident memory above what the program
// held just before the click.
PrintClick clickImprimir(Haberes &haberes, PaintCounter &counter)
{
    PrintClick click;
    auto *imprimir = haberes.findChild<QPushButton *>(QStringLiteral("Imprimir"));
    const bool peak = recibo::bench::resetPeakMemory();
    const long before = recibo::bench::residentKiB();
    const auto start = std::chrono::steady_clock::now();
    const auto since = [&start] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    QTest::mouseClick(imprimir, Qt::LeftButton);
    click.handlerMs = since();
    // The handler has put the window back; the paint that shows it comes next.
    const int paintsAfterHandler = counter.paints;
    if (!processUntil([&] { return counter.paints > paintsAfterHandler; }, 20000)) {
        click.problem = "la ventana no se volvió a pintar";
        return click;
    }
    click.restoredMs = since();
    if (!processUntil([&] { return imprimir->isEnabled(); }, 90000)) {
        click.problem = "la impresora no respondió en 90 s";
        return click;
    }
    click.doneMs = since();
    if (peak && before > 0)
        click.peakMiB = double(recibo::bench::peakResidentKiB() - before) / 1024.0;
    if (auto *message = haberes.findChild<QMessageBox *>(QStringLiteral("mensajeImpresion"));
        message && message->isVisible()) {
        click.problem = message->text().toStdString();
        message->hide();
    }
    return click;
}

void Imprimir_ventana(benchmark::State &st)
{
    startEntryWindow();
    Desk &desk = currentDesk();
    desk.setQuitHandler([] {});
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::string failure;
    enterExample(desk, failure);
    if (!failure.empty()) {
        st.SkipWithError(failure.c_str());
        return;
    }
    Haberes &haberes = desk.haberes();
    auto *counter = new PaintCounter(&haberes);
    haberes.installEventFilter(counter);
    if (!clickAndWaitForSlip(desk.ingreso().findChild<QAbstractButton *>(QStringLiteral("Command1")), haberes,
                             *counter)) {
        st.SkipWithError("la ventana Haberes no se mostró tras \"Calcular\"");
        return;
    }

    // To the private print queue where it runs (root, CUPS installed); the
    // bench never prints on the machine's own printers.
    const test::CupsTestServer *cups = test::CupsTestServer::current();
    const bool queue = cups && cups->running();
    findings.printTarget = queue ? "la cola privada de un CUPS propio (" + cups->queue().toStdString() + ")"
                                 : "ninguna impresora: la página nueva se descarta y la de antes va a un PDF";
    QTemporaryDir folder;
    const QString oldFile = folder.filePath(QStringLiteral("antes.pdf"));
    const auto current = [queue]() -> std::unique_ptr<SlipPrinter> {
        if (queue)
            return std::make_unique<DefaultPrinter>();
        return std::make_unique<recibo::bench::DroppingPrinter>();
    };

    const auto envClicks = [](const char *name, int fallback) {
        const int value = qEnvironmentVariableIntValue(name);
        return value > 0 ? value : fallback;
    };
    const int clicks = envClicks("RECIBO_BENCH_PRINTS", 7);
    const int oldClicks = envClicks("RECIBO_BENCH_PRINTS_BEFORE", 3);
    for (auto _ : st) {
        const auto measure = [&](Findings::PrintWay &way, int count, const auto &makePrinter) {
            std::vector<double> handler, restored, done, peak;
            for (int i = 0; i < count; ++i) {
                desk.setPrinter(makePrinter());
                const PrintClick click = clickImprimir(haberes, *counter);
                if (!click.problem.empty())
                    findings.printRemarks.push_back(click.problem);
                if (click.restoredMs < 0 || click.doneMs < 0)
                    return false;
                handler.push_back(click.handlerMs);
                restored.push_back(click.restoredMs);
                done.push_back(click.doneMs);
                if (click.peakMiB >= 0)
                    peak.push_back(click.peakMiB);
            }
            way.clicks = count;
            way.handlerMs = median(handler);
            way.restoredMs = median(restored);
            way.doneMs = median(done);
            way.peakMiB = peak.empty() ? -1 : median(peak);
            return true;
        };
        // The first print loads what printing needs; it is reported apart.
        desk.setPrinter(current());
        findings.firstPrint = clickImprimir(haberes, *counter);
        if (!measure(findings.printNow, clicks, current) || !measure(findings.printBefore, oldClicks, [&] {
                return std::make_unique<recibo::bench::RenderOnQPrinter>(oldFile);
            })) {
            st.SkipWithError("un clic en \"Imprimir\" no terminó");
            break;
        }
        st.SetIterationTime(findings.printNow.restoredMs / 1000);
    }
    if (findings.printNow.clicks > 0) {
        st.counters["restaurada_ms"] = findings.printNow.restoredMs;
        st.counters["respuesta_ms"] = findings.printNow.doneMs;
        st.counters["pico_MiB"] = findings.printNow.peakMiB;
        st.counters["antes_restaurada_ms"] = findings.printBefore.restoredMs;
        st.counters["antes_pico_MiB"] = findings.printBefore.peakMiB;
        st.SetLabel("medianas de " + std::to_string(findings.printNow.clicks) + " y " +
                    std::to_string(findings.printBefore.clicks) + " clics");
    }
    desk.setPrinter(std::make_unique<recibo::bench::DroppingPrinter>());
    hideSlip(haberes);
}
BENCHMARK(Imprimir_ventana)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// -- Start-up --------------------------------------------------------------

// The environment the bench was started in, kept before the private print
// queue points HOME and the CUPS settings elsewhere: the programs are timed
// as a user starts them.
QProcessEnvironment userEnvironment;

// The processor every timed start runs on. On a shared virtual machine one
// processor can run a quarter slower than the other for seconds at a time,
// and a program that starts on one and goes on on the other measures
// anything in between; on one processor, both programs meet the same one.
int startProcessor = -1;

// Starts the program and returns the milliseconds until it reports its
// window painted, or a negative value when it does not.
double millisecondsToShown(const QString &program, const QStringList &arguments = {})
{
    QProcess process;
    QProcessEnvironment environment = userEnvironment;
    environment.insert(QStringLiteral("RECIBO_BENCH_EXIT_ON_SHOW"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (const int processor = startProcessor; processor >= 0) {
        process.setChildProcessModifier([processor] {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(processor, &one);
            sched_setaffinity(0, sizeof one, &one);
        });
    }
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());

    const auto start = std::chrono::steady_clock::now();
    process.start(program, arguments);
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(20000))
            break;
    }
    const auto end = std::chrono::steady_clock::now();
    const bool shown = process.canReadLine() && process.readLine().trimmed() == "shown";
    if (!process.waitForFinished(20000))
        process.kill();
    process.waitForFinished(5000);
    if (!shown)
        return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void Arranque_hasta_ingreso(benchmark::State &st)
{
    const QString directory = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString bare = directory + QStringLiteral(RECIBO_BENCH_BARE_WINDOW);
    const QString recibo = directory + QStringLiteral(RECIBO_BENCH_RECIBO_WINDOW);
    const int starts = std::max(1, qEnvironmentVariableIntValue("RECIBO_BENCH_STARTS") > 0
                                       ? qEnvironmentVariableIntValue("RECIBO_BENCH_STARTS")
                                       : 20);

    const QStringList withText{QStringLiteral("--texto")};
    startProcessor = sched_getcpu();

    for (auto _ : st) {
        // One start of each first, so that all find their libraries in the cache.
        if (millisecondsToShown(bare) < 0 || millisecondsToShown(recibo) < 0 ||
            millisecondsToShown(bare, withText) < 0) {
            st.SkipWithError("un programa de arranque no mostró su ventana");
            break;
        }
        std::vector<double> bareTimes;
        std::vector<double> reciboTimes;
        std::vector<double> textTimes;
        bool failed = false;
        // Alternated, so that a slow moment of the machine falls on all of them.
        for (int i = 0; i < starts && !failed; ++i) {
            const bool bareFirst = i % 2 == 0;
            const double first = millisecondsToShown(bareFirst ? bare : recibo);
            const double second = millisecondsToShown(bareFirst ? recibo : bare);
            const double text = millisecondsToShown(bare, withText);
            failed = first < 0 || second < 0 || text < 0;
            bareTimes.push_back(bareFirst ? first : second);
            reciboTimes.push_back(bareFirst ? second : first);
            textTimes.push_back(text);
        }
        if (failed) {
            st.SkipWithError("un programa de arranque no mostró su ventana");
            break;
        }
        findings.starts = starts;
        findings.bareMedianMs = median(bareTimes);
        findings.reciboMedianMs = median(reciboTimes);
        findings.textMedianMs = median(textTimes);
        st.SetIterationTime(findings.reciboMedianMs / 1000);
    }
    if (findings.bareMedianMs > 0) {
        st.counters["vacio_ms"] = findings.bareMedianMs;
        st.counters["con_texto_ms"] = findings.textMedianMs;
        st.counters["recibo_ms"] = findings.reciboMedianMs;
        st.counters["proporcion"] = findings.reciboMedianMs / findings.textMedianMs;
        st.SetLabel("medianas de " + std::to_string(findings.starts) + " arranques de cada uno, en el procesador " +
                    std::to_string(startProcessor));
    }
}
BENCHMARK(Arranque_hasta_ingreso)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// -- Lowest limit of address space -------------------------------------------

// What the windows came to in a process limited to `megabytes` of address
// space from its start (recibo_under_limit): a slip calculated, printed (to
// the bench's queue where it has one), then saved as PDF.
struct LimitRun {
    bool started = false;
    bool printed = false;
    bool saved = false; // and the file is a whole PDF page
    std::string said;   // the steps, one after another
};

LimitRun runUnderLimit(int megabytes)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Recibo.pdf"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral(RECIBO_BENCH_UNDER_LIMIT), {QString::number(megabytes), file});
    // Below what it needs to start, the program may wait for ever.
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    LimitRun run;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        run.said += (run.said.empty() ? "" : "; ") + line.toStdString();
        run.started |= line == "inicio: ok";
        run.printed |= line == "imprimir: ok";
        run.saved |= line == "guardar: ok";
    }
    QFile saved(file);
    run.saved = run.saved && saved.open(QIODevice::ReadOnly) && saved.readAll().trimmed().endsWith("%%EOF");
    return run;
}

// The lowest limit in (low, high] at which `enough` holds, found by halving
// (what the program needs grows with what it does, not with the limit);
// -1 where it does not hold even at `high`.
int lowestLimit(int low, int high, const std::function<bool(const LimitRun &)> &enough)
{
    if (!enough(runUnderLimit(high)))
        return -1;
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        (enough(runUnderLimit(middle)) ? high : low) = middle;
    }
    return high;
}

void Memoria_minima(benchmark::State &st)
{
    for (auto _ : st) {
        const auto started = std::chrono::steady_clock::now();
        findings.startsMb = lowestLimit(40, 600, [](const LimitRun &run) { return run.started; });
        findings.printsAndSavesMb = lowestLimit(40, 600, [](const LimitRun &run) { return run.printed && run.saved; });
        findings.spread.clear();
        for (const int megabytes : {110, 130, 150, 190, 250, 270, 290})
            findings.spread.emplace_back(megabytes, runUnderLimit(megabytes).said);
        st.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    st.counters["arranca_MB"] = findings.startsMb;
    st.counters["imprime_y_guarda_MB"] = findings.printsAndSavesMb;
}
BENCHMARK(Memoria_minima)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// -- Summary -----------------------------------------------------------------

// Keeps the time per iteration of every benchmark besides printing the table.
class Reporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the table is meant to be copied.
    Reporter() : ConsoleReporter(OO_Tabular) {}

    struct Result {
        bool error = false;
        std::string message;
        double seconds = -1; // real time per iteration
        std::map<std::string, double> counters;
    };
    std::map<std::string, Result> results;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            Result &result = results[name];
            if (result.seconds >= 0 && !median)
                continue; // with repetitions the median wins
            result.error = run.error_occurred;
            result.message = run.error_message;
            result.seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto &[counter, value] : run.counters)
                result.counters[counter] = value.value;
        }
    }
};

std::string cpuModel()
{
    // Only where the system describes its processors this way (Linux).
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // The file reports no size: read it whole rather than up to its end.
        const QList<QByteArray> lines = cpuinfo.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("model name"))
                return line.mid(line.indexOf(':') + 1).trimmed().toStdString();
        }
    }
    return QSysInfo::currentCpuArchitecture().toStdString();
}

const char *verdict(bool met) { return met ? "cumplido" : "NO cumplido"; }

void printSummary(const Reporter &reporter)
{
    const auto result = [&](const char *name) {
        const auto found = reporter.results.find(name);
        return found == reporter.results.end() ? Reporter::Result{true, "no se ejecutó", -1} : found->second;
    };

    std::printf("\n== Resumen\n");
    std::printf("Máquina: %u núcleos, %s; %s; Qt %s\n", std::thread::hardware_concurrency(), cpuModel().c_str(),
                QSysInfo::prettyProductName().toUtf8().constData(), qVersion());

    const Reporter::Result slip = result("Calculo_recibo_ejemplo");
    if (slip.error) {
        std::printf("Cálculo del recibo de ejemplo: sin medir (%s)\n", slip.message.c_str());
    } else {
        const double microseconds = slip.seconds * 1e6;
        std::printf("Cálculo del recibo de ejemplo (18 renglones): %.3f µs por recibo; meta < %.0f µs: %s\n",
                    microseconds, kSlipGoalMicroseconds, verdict(microseconds < kSlipGoalMicroseconds));
        const int owned = findings.rowBlocks + findings.otherBlocks;
        std::printf("  asignaciones de memoria por cálculo: %.1f; las del propio recibo: %d (renglones %d, "
                    "resto del recibo %d); de más: %.1f\n",
                    findings.allocationsPerSlip, owned, findings.rowBlocks, findings.otherBlocks,
                    findings.allocationsPerSlip - owned);
    }
    for (const std::string &remark : findings.slipRemarks)
        std::printf("  aviso: %s\n", remark.c_str());

    const Reporter::Result calcular = result("Calcular_ventanas");
    if (calcular.error) {
        std::printf("\"Calcular\" en las ventanas: sin medir (%s)\n", calcular.message.c_str());
    } else {
        const double milliseconds = calcular.seconds * 1e3;
        std::printf("\"Calcular\" en las ventanas, del clic a Haberes pintada con %d renglones: %.3f ms; "
                    "meta < %.0f ms: %s\n",
                    findings.windowRows, milliseconds, kCalcularGoalMilliseconds,
                    verdict(milliseconds < kCalcularGoalMilliseconds));
        const auto click = calcular.counters.find("clic_ms");
        if (click != calcular.counters.end())
            std::printf("  de ellos, el clic hasta Haberes escrita y mostrada (sin pintar): %.3f ms; la pintura: "
                        "%.3f ms\n",
                        click->second, milliseconds - click->second);
    }
    for (const std::string &remark : findings.windowRemarks)
        std::printf("  aviso: %s\n", remark.c_str());

    const Reporter::Result print = result("Imprimir_ventana");
    if (print.error || findings.printNow.clicks == 0) {
        std::printf("\"Imprimir\": sin medir (%s)\n", print.message.c_str());
    } else {
        const Findings::PrintWay &now = findings.printNow;
        const Findings::PrintWay &before = findings.printBefore;
        std::printf("\"Imprimir\", a %s (medianas de %d clics):\n", findings.printTarget.c_str(), now.clicks);
        std::printf("  del clic a la ventana restaurada y pintada: %.1f ms; meta < %.0f ms: %s\n", now.restoredMs,
                    kPrintRestoredGoalMilliseconds, verdict(now.restoredMs < kPrintRestoredGoalMilliseconds));
        std::printf("  de ellos, el clic hasta la página dibujada y la ventana devuelta (sin pintar): %.1f ms\n",
                    now.handlerMs);
        std::printf("  del clic a la respuesta de la impresora (en segundo plano): %.1f ms\n", now.doneMs);
        if (now.peakMiB < 0)
            std::printf("  memoria: sin medir (el sistema no informa el pico de memoria residente)\n");
        else
            std::printf("  memoria residente máxima por encima de la previa: %.1f MiB; meta <= %.0f MiB: %s\n",
                        now.peakMiB, kPrintMemoryGoalMiB, verdict(now.peakMiB <= kPrintMemoryGoalMiB));
        const PrintClick &first = findings.firstPrint;
        std::printf("  la primera del programa: ventana restaurada en %.1f ms, %.1f MiB por encima de la previa\n",
                    first.restoredMs, first.peakMiB);
        std::printf("  como antes, QWidget::render sobre QPrinter a su resolución (mediana de %d): ventana "
                    "restaurada en %.1f ms, %.1f MiB por encima de la previa\n",
                    before.clicks, before.restoredMs, before.peakMiB);
    }
    for (const std::string &remark : findings.printRemarks)
        std::printf("  aviso: %s\n", remark.c_str());

    const Reporter::Result start = result("Arranque_hasta_ingreso");
    if (start.error || findings.bareMedianMs <= 0) {
        std::printf("Arranque hasta ingreso: sin medir (%s)\n", start.message.c_str());
    } else {
        const double ratio = findings.reciboMedianMs / findings.textMedianMs;
        std::printf("Arranque hasta la ventana pintada (mediana de %d): recibo %.1f ms, programa Qt con una línea "
                    "de texto %.1f ms, proporción %.2f; meta <= %.1f: %s\n",
                    findings.starts, findings.reciboMedianMs, findings.textMedianMs, ratio, kStartRatioGoal,
                    verdict(ratio <= kStartRatioGoal));
        std::printf("  referencia: el programa Qt con la ventana vacía (no carga fuentes) %.1f ms; recibo / vacío "
                    "%.2f\n",
                    findings.bareMedianMs, findings.reciboMedianMs / findings.bareMedianMs);
    }

    const Reporter::Result memory = result("Memoria_minima");
    if (memory.error || findings.startsMb < 0) {
        std::printf("Memoria mínima: sin medir (%s)\n", memory.message.c_str());
    } else {
        std::printf("Límite de espacio de direcciones más bajo (ulimit -v) con el que las ventanas arrancan: %d MB; "
                    "con el que además imprimen y guardan el recibo como PDF: %d MB\n",
                    findings.startsMb, findings.printsAndSavesMb);
        for (const auto &[megabytes, said] : findings.spread)
            std::printf("  %d MB: %s\n", megabytes, said.c_str());
    }
}

QtMessageHandler qtMessages = nullptr;

// The offscreen platform cannot raise windows and says so each time the
// windows ask; everything else Qt says is passed on.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    if (qtMessages)
        qtMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    // Headless, whatever the session offers.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    qtMessages = qInstallMessageHandler(quietMessages);
    userEnvironment = QProcessEnvironment::systemEnvironment();
    // A print queue of its own where it can run one (root, CUPS installed),
    // set up before anything asks for printers; RECIBO_BENCH_SIN_CUPS=1 skips it.
    std::optional<recibo::test::CupsTestServer> cups;
    if (qEnvironmentVariableIntValue("RECIBO_BENCH_SIN_CUPS") != 1)
        cups.emplace();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("recibo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Recibo"));
    prepareApplication();
    // The decimal comma, as on an Argentine desktop.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));

    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
