// Printing when the system has no printer at all: the CUPS client is pointed
// at a scheduler socket where nothing listens.

#include "slip/printing.h"
#include "support/cups_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPrinterInfo>
#include <QTest>

class PrintingWithoutPrinter : public QObject {
    Q_OBJECT

private slots:
    void qtKnowsNoDefaultPrinter();
    void printingFailsWithAReason();
};

void PrintingWithoutPrinter::qtKnowsNoDefaultPrinter()
{
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());
}

void PrintingWithoutPrinter::printingFailsWithAReason()
{
    QLabel window(QStringLiteral("Recibo de sueldos de:"));
    window.resize(792, 573);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    recibo::DefaultPrinter printer;
    const recibo::PrintOutcome outcome = printer.print(window);
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.problem.startsWith(QStringLiteral("No se pudo imprimir el recibo: ")));
    QVERIFY2(outcome.problem.contains(QStringLiteral("impresora predeterminada")),
             qPrintable(outcome.problem));
}

int main(int argc, char **argv)
{
    // Before Qt loads its print support: the CUPS client reads this once.
    recibo::test::NoPrintServer nothing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintingWithoutPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_printing_no_printer.moc"
