// Printing when the system has no print service at all (the CUPS client is
// pointed at a socket where nothing listens), and pages that cannot be made:
// every one of these is a failure the user is told about, never a blank page.

#include "slip/printing.h"
#include "support/cups_fixture.h"
#include "support/gui.h"

#include <QBuffer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <optional>

using namespace recibo;
using recibo::test::child;

namespace {

// A device that takes no byte, as a full disk.
class RefusingDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

} // namespace

class PrintingWithoutPrinter : public QObject {
    Q_OBJECT

private slots:
    void qtKnowsNoDefaultPrinter() { QVERIFY(QPrinterInfo::defaultPrinter().isNull()); }

    void aPageThatCannotBeMadeIsAFailure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the painter cannot begin") << "painter" << "no se pudo comenzar a dibujar";
        QTest::newRow("the file cannot be opened") << "unopenable" << "no se pudo abrir";
        QTest::newRow("the bytes are refused") << "refusing" << "no se pudo escribir la página";
    }

    void aPageThatCannotBeMadeIsAFailure()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QLabel window(QStringLiteral("Recibo de sueldos de:"));
        window.resize(792, 573);
        QString problem;
        if (fault == "painter") {
            // Another painter holds the page: a second one stays inactive.
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            QPainter holder(&writer);
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin: A paint device can only be painted by one painter at a time.");
            problem = drawWindow(window, writer, QRectF(0, 0, writer.width(), writer.height()));
        } else if (fault == "unopenable") {
            QTemporaryDir folder;
            QFile file(folder.filePath(QStringLiteral("no-existe/recibo.pdf")));
            problem = writeSlipPdf(window, file);
        } else {
            RefusingDevice device;
            device.open(QIODevice::WriteOnly);
            problem = writeSlipPdf(window, device);
        }
        QVERIFY2(problem.contains(reason), qPrintable(problem));
    }

    void withoutAPrintServiceImprimirSaysSoAndOffersThePdf()
    {
        // The real default printer, whose print service is not there.
        Desk &desk = test::startFresh();
        Ingreso &ingreso = desk.ingreso();
        test::click(child<QAbstractButton>(ingreso, "horasmedio"));
        test::click(child<QPushButton>(ingreso, "Command1"));
        Haberes &slip = desk.haberes();
        test::click(child<QPushButton>(slip, "Imprimir"));
        QMessageBox *message = nullptr;
        QTRY_VERIFY((message = slip.findChild<QMessageBox *>("mensajeImpresion")) && message->isVisible());
#ifdef RECIBO_PRINT_WITH_CUPS
        const QString reason = QStringLiteral("no está en funcionamiento");
#else
        const QString reason = QStringLiteral("no hay ninguna impresora predeterminada"); // all Qt can tell
#endif
        QVERIFY2(message->informativeText().startsWith(QStringLiteral("No se pudo imprimir el recibo: ")) &&
                     message->informativeText().contains(reason),
                 qPrintable(message->informativeText()));
        QVERIFY(child<QPushButton>(slip, "Imprimir")->isEnabled());
        auto *save = message->findChild<QPushButton *>("guardarPdf");
        QVERIFY(save);
        test::click(save);
        auto *dialog = slip.findChild<QFileDialog *>("guardarRecibo");
        QVERIFY(dialog && dialog->isVisible());
    }
};

int main(int argc, char **argv)
{
    // Before anything asks for printers: the CUPS client reads this once.
    recibo::test::NoPrintServer nothing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintingWithoutPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_printing_no_printer.moc"
