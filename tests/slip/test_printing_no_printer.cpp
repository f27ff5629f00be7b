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

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QMap>

#include <cstdlib>
#include <optional>
#include <vector>

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace recibo;
using recibo::test::child;

namespace {

// Faults of a disk that only the flush to the disk or the closing report (a
// network drive, a disk whose writes fail later): the error number each
// gives for files in `faultyFolder`, or 0.
int syncFault = 0;
int closeFault = 0;
QByteArray faultyFolder;

bool inFaultyFolder(int fd)
{
    if (faultyFolder.isEmpty())
        return false;
    char path[4096];
    const ssize_t length = readlink(qPrintable(QStringLiteral("/proc/self/fd/%1").arg(fd)), path, sizeof path);
    return length > 0 && QByteArray(path, length).startsWith(faultyFolder);
}

} // namespace

// The system's own, but for the faults above.
extern "C" int fdatasync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fdatasync"));
    if (syncFault && inFaultyFolder(fd)) {
        errno = syncFault;
        return -1;
    }
    return real(fd);
}

extern "C" int close(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
    const bool fails = closeFault && inFaultyFolder(fd);
    const int closed = real(fd);
    if (fails) {
        errno = closeFault;
        return -1;
    }
    return closed;
}

namespace {

// A device that takes no byte, as a full disk.
class RefusingDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};


// A page of a window with one line of text, as it is saved.
QByteArray labelPage()
{
    QLabel window(QStringLiteral("Recibo de sueldos de: Pérez, Ana"));
    window.resize(792, 573);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    return writeSlipPdf(window, buffer).isEmpty() ? pdf : QByteArray();
}

// The soft limit of one resource of this process, for a while: the hard
// limit stays, so the soft one can be raised again.
class Limit {
public:
    Limit(int resource, rlim_t soft) : resource_(resource)
    {
        getrlimit(resource_, &before_);
        rlimit lower = before_;
        lower.rlim_cur = soft;
        ok_ = setrlimit(resource_, &lower) == 0;
    }
    ~Limit() { setrlimit(resource_, &before_); }
    bool ok() const { return ok_; }

private:
    int resource_;
    rlimit before_{};
    bool ok_ = false;
};

// The address space this process uses now, in bytes.
rlim_t addressSpace()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return rlim_t(line.mid(7).trimmed().split(' ').value(0).toLongLong()) * 1024;
    return 0;
}

// While it lives, this process can get no more address space, and all the
// memory it had free is taken but `spare` bytes: enough for a message, not
// for a page. Large pieces first: the heaps of other threads keep room that
// only a large request is sent to.
class LittleMemory {
public:
    explicit LittleMemory(std::size_t spare)
    {
        taken_.reserve(std::size_t(1) << 18);
        limit_.emplace(RLIMIT_AS, addressSpace());
        for (std::size_t size = std::size_t(64) << 20; size >= 16 * 1024; size /= 4) {
            while (taken_.size() < taken_.capacity()) {
                void *block = std::malloc(size);
                if (!block)
                    break;
                taken_.push_back({block, size});
            }
        }
        for (std::size_t freed = 0; freed < spare && !taken_.empty(); taken_.pop_back()) {
            freed += taken_.back().second;
            std::free(taken_.back().first);
        }
    }
    ~LittleMemory()
    {
        limit_.reset();
        for (const auto &[block, size] : taken_)
            std::free(block);
    }
    bool ok() const { return limit_ && limit_->ok(); }

private:
    std::vector<std::pair<void *, std::size_t>> taken_;
    std::optional<Limit> limit_;
};

// While it lives, this process may start no thread: the limit of processes
// of its user is 1, for a user other than root where the test runs as root
// (root is not held to that limit). The saved user stays root, so root comes
// back at the end.
class NoThreads {
public:
    NoThreads()
    {
        if (geteuid() == 0) {
            asNobody_ = setresuid(65534, 65534, 0) == 0;
            if (!asNobody_)
                return;
        }
        limit_.emplace(RLIMIT_NPROC, 1);
    }
    ~NoThreads()
    {
        limit_.reset();
        if (asNobody_ && setresuid(0, 0, 0) != 0)
            qFatal("could not become root again");
    }
    bool ok() const { return limit_ && limit_->ok(); }

private:
    bool asNobody_ = false;
    std::optional<Limit> limit_;
};

// Mounts a small tmpfs at `folder` (root only): writable, or read-only.
bool mountSmallDisk(const QString &folder, const QString &options)
{
    return QProcess::execute(QStringLiteral("mount"),
                             {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                              QStringLiteral("tmpfs"), folder}) == 0;
}

void unmount(const QString &folder) { QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder}); }

// Fills the disk of `folder` until at most `free` bytes are left.
void fillUpTo(const QString &folder, qint64 free)
{
    QFile filler(folder + QStringLiteral("/relleno"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (QStorageInfo(folder).bytesAvailable() > free && filler.write(block) == block.size()) {
    }
}

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
        const QString reason = QStringLiteral("no tiene una impresora predeterminada"); // all Qt can tell
#endif
        QVERIFY2(message->text().startsWith(QStringLiteral("No se pudo imprimir: ")) && message->text().contains(reason),
                 qPrintable(message->text()));
        QVERIFY2(message->informativeText().contains(QStringLiteral("guarde el recibo como PDF")),
                 qPrintable(message->informativeText()));
        QVERIFY(child<QPushButton>(slip, "Imprimir")->isEnabled());
        auto *save = message->findChild<QPushButton *>("guardarPdf");
        QVERIFY(save);
        test::click(save);
        auto *dialog = slip.findChild<QFileDialog *>("guardarRecibo");
        QVERIFY(dialog && dialog->isVisible());
        dialog->hide();
    }

    void aFaultWhilePrintingOrSavingLeavesTheWindowsAsTheyWere_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("said");
        QTest::newRow("no memory, Imprimir") << "memory" << "Imprimir" << "mensajeImpresion" << "no hay memoria suficiente";
        QTest::newRow("no memory, Guardar como PDF") << "memory" << "Guardar" << "mensajeGuardar" << "no hay memoria suficiente";
        QTest::newRow("no memory, Imprimir then Guardar como PDF in its message") << "memory" << "Imprimir, Guardar" << "mensajeGuardar" << "no hay memoria suficiente";
        QTest::newRow("no thread, Imprimir") << "threads" << "Imprimir" << "mensajeImpresion" << "no permitió comenzar el envío";
    }

    void aFaultWhilePrintingOrSavingLeavesTheWindowsAsTheyWere()
    {
        QFETCH(QString, fault);
        QFETCH(QString, action);
        QFETCH(QString, message);
        QFETCH(QString, said);
#if defined(__SANITIZE_ADDRESS__)
        if (fault == "memory")
            QSKIP("AddressSanitizer reserves more address space than any limit that leaves room to work");
#endif
        Desk &desk = test::calculateSecondaryHours(QStringLiteral("Pérez, Ana"), QStringLiteral("12"));
        Ingreso &ingreso = desk.ingreso();
        Haberes &slip = desk.haberes();
        QVERIFY(QTest::qWaitForWindowExposed(&slip));
        test::type(child<QLineEdit>(slip, "Text11"), QStringLiteral("Marzo"));
        const QString earnings = test::caption(child(slip, "Label1(0)"));
        const QString net = test::caption(child(slip, "liquido"));
        // Printed once before (to no print service), so that the fonts are
        // loaded and the fault falls on the page itself.
        test::click(child<QPushButton>(slip, "Imprimir"));
        QTRY_VERIFY(child(slip, "Imprimir")->isEnabled());
        slip.findChild<QMessageBox *>("mensajeImpresion")->hide();
        slip.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&slip));

        {
            std::optional<LittleMemory> memory;
            std::optional<NoThreads> threads;
            if (fault == "memory") {
                memory.emplace(1024 * 1024);
                QVERIFY(memory->ok());
            } else {
                threads.emplace();
                QVERIFY(threads->ok());
            }
            if (action.startsWith("Imprimir"))
                test::click(child<QPushButton>(slip, "Imprimir"));
            // Saving from the print's message draws a page of its own.
            if (action == "Imprimir, Guardar")
                test::click(slip.findChild<QMessageBox *>("mensajeImpresion")->findChild<QPushButton *>("guardarPdf"));
            else if (action == "Guardar")
                for (QAction *item : slip.actions())
                    if (item->text() == QStringLiteral("Guardar como PDF…"))
                        item->trigger();
        }
        auto *box = slip.findChild<QMessageBox *>(message);
        QVERIFY(box && box->isVisible());
        QVERIFY2(box->text().contains(said), qPrintable(box->text()));
        QVERIFY(!box->informativeText().isEmpty());
        auto *dialog = slip.findChild<QFileDialog *>("guardarRecibo");
        QVERIFY(!dialog || !dialog->isVisible());

        // The windows and what they hold are as they were.
        QVERIFY(slip.isVisible() && ingreso.isVisible());
        for (const char *name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
            QVERIFY2(child(slip, name)->isVisibleTo(&slip), name);
        QVERIFY(!child(slip, "Text2")->isVisibleTo(&slip));
        QTRY_VERIFY(child(slip, "Imprimir")->isEnabled());
        QCOMPARE(child<QLineEdit>(slip, "Text11")->text(), QStringLiteral("Marzo"));
        QCOMPARE(test::caption(child(slip, "Label1(0)")), earnings);
        QCOMPARE(test::caption(child(slip, "liquido")), net);
        QCOMPARE(child<QLineEdit>(ingreso, "docente")->text(), QStringLiteral("Pérez, Ana"));
        QCOMPARE(child<QLineEdit>(ingreso, "numerohorasmed")->text(), QStringLiteral("12"));
        box->hide();
    }

    // The program in a process whose address space is limited from its
    // start, at limits spread over what it needs: a slip printed (to no
    // print service), then saved from the print's message. At every limit
    // the program goes on to the end with the windows as they were, and the
    // file is either a whole page or not there, with a message saying there
    // is not enough memory.
    void aPrintThenASaveUnderALimitOfAddressSpace_data()
    {
        QTest::addColumn<int>("megabytes");
        for (const int megabytes : {110, 130, 150, 190, 250, 270, 290})
            QTest::newRow(qPrintable(QStringLiteral("%1 MB").arg(megabytes))) << megabytes;
    }

    void aPrintThenASaveUnderALimitOfAddressSpace()
    {
        QFETCH(int, megabytes);
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than any of these limits");
#endif
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Recibo.pdf"));
        QProcess program;
        program.start(QStringLiteral(RECIBO_UNDER_LIMIT), {QString::number(megabytes), file});
        QVERIFY(program.waitForFinished(150000));
        const QString said = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 qPrintable(said + QString::fromLocal8Bit(program.readAllStandardError())));
        QMap<QString, QString> step;
        for (const QString &line : said.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            step[line.section(QStringLiteral(": "), 0, 0)] = line.section(QStringLiteral(": "), 1);
        QCOMPARE(step.value("inicio"), QStringLiteral("ok"));
        QVERIFY2(step.value("imprimir").contains(QStringLiteral("no está en funcionamiento")) ||
                     step.value("imprimir").contains(QStringLiteral("no hay memoria suficiente")),
                 qPrintable(said));
        QCOMPARE(step.value("datos"), QStringLiteral("ok"));
        QFile saved(file);
        if (step.value("guardar") == QStringLiteral("ok")) {
            QVERIFY(saved.open(QIODevice::ReadOnly));
            const QByteArray pdf = saved.readAll();
            QVERIFY2(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"), qPrintable(said));
            const test::PdfFacts facts = test::pdfFacts(file);
            QVERIFY2(facts.ok && facts.pages == 1, qPrintable(facts.problem));
        } else {
            QVERIFY2(step.value("guardar").startsWith(QStringLiteral("No se guardó el recibo: no hay memoria suficiente")),
                     qPrintable(said));
            QVERIFY2(!saved.exists(), "a file was left by a save that failed");
        }
        qInfo("%s", qPrintable(said.simplified()));
    }

    void aSaveThatFailsSaysWhyAndKeepsTheFileThatWasThere_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("advice");
        QTest::newRow("disk full") << "full" << "está lleno" << "Libere espacio";
        QTest::newRow("disk nearly full") << "nearly full" << "está lleno" << "Libere espacio";
        QTest::newRow("read-only disk") << "read-only" << "no tiene permiso para escribir" << "Elija otra carpeta";
        QTest::newRow("no such folder") << "missing" << "no existe" << "Elija una carpeta que exista";
        QTest::newRow("name too long") << "long name" << "demasiado largo" << "Elija un nombre más corto";
        QTest::newRow("read-only disk, a Documents folder to offer") << "read-only, Documents" << "no tiene permiso para escribir" << "Elija otra carpeta, por ejemplo «";
        QTest::newRow("the flush to the disk fails") << "sync" << "no se pudo escribir el archivo «Recibo.pdf»" << "Elija otra carpeta";
        QTest::newRow("the closing fails, disk full") << "close" << "está lleno" << "Libere espacio";
        QTest::newRow("a link to a folder that does not exist") << "dangling link" << "«enlace.pdf» es un enlace a «" << "Elija otro nombre o una carpeta que exista";
    }

    void aSaveThatFailsSaysWhyAndKeepsTheFileThatWasThere()
    {
        QFETCH(QString, place);
        QFETCH(QString, said);
        QFETCH(QString, advice);
        const bool smallDisk = place == "full" || place == "nearly full" || place.startsWith("read-only");
        if (smallDisk && geteuid() != 0)
            QSKIP("a small full or read-only disk needs root to mount it");
        const QByteArray pdf = labelPage();
        QVERIFY(!pdf.isEmpty());

        QTemporaryDir top;
        const QString folder = top.filePath(QStringLiteral("disco"));
        QVERIFY(QDir().mkpath(folder));
        const auto unmountAtEnd = qScopeGuard([&] {
            if (smallDisk)
                unmount(folder);
        });
        // A machine may forbid mounts even to root (a container, say).
        if (smallDisk && !mountSmallDisk(folder, QStringLiteral("size=64k")))
            QSKIP("no small disk can be mounted here");
        // A file of the same name that was there before.
        const QByteArray old = "un recibo anterior";
        QString path = folder + QStringLiteral("/Recibo.pdf");
        {
            QFile before(path);
            QVERIFY(before.open(QIODevice::WriteOnly) && before.write(old) == old.size());
        }
        if (place == "full")
            fillUpTo(folder, 0);
        else if (place == "nearly full")
            fillUpTo(folder, pdf.size() / 2);
        else if (place.startsWith("read-only"))
            QVERIFY(mountSmallDisk(folder, QStringLiteral("remount,ro")));
        else if (place == "missing")
            path = folder + QStringLiteral("/no-existe/Recibo.pdf");
        else if (place == "long name")
            path = folder + QLatin1Char('/') + QString(300, QLatin1Char('a')) + QStringLiteral(".pdf");
        else if (place == "dangling link")
            QVERIFY(QFile::link(top.filePath(QStringLiteral("otra/Recibo.pdf")), path = folder + QStringLiteral("/enlace.pdf")));
        // A home with a Documents folder, or none at all.
        const QByteArray home = qgetenv("HOME");
        const auto homeAgain = qScopeGuard([home] { qputenv("HOME", home); });
        if (place == "read-only, Documents") {
            QVERIFY(QDir().mkpath(top.filePath(QStringLiteral("casa/Documents"))));
            qputenv("HOME", QFile::encodeName(top.filePath(QStringLiteral("casa"))));
        }
        faultyFolder = QFile::encodeName(folder);
        syncFault = place == "sync" ? EIO : 0;
        closeFault = place == "close" ? ENOSPC : 0;
        const Problem problem = savePdfFile(path, pdf);
        syncFault = closeFault = 0;
        QVERIFY2(problem.what.startsWith(QStringLiteral("No se guardó el recibo: ")) && problem.what.contains(said),
                 qPrintable(problem.what));
        QVERIFY2(problem.advice.startsWith(advice), qPrintable(problem.advice));
        // The folder offered in its place exists; a link names where it points.
        if (const qsizetype at = problem.advice.indexOf(QStringLiteral("por ejemplo «")); at >= 0) {
            const QString offered = problem.advice.mid(at + 13).section(QStringLiteral("»"), 0, 0);
            QVERIFY2(QFileInfo(offered).isDir() && offered != folder, qPrintable(offered));
        }
        if (place == "dangling link")
            QVERIFY2(problem.what.contains(QStringLiteral("carpeta «%1» no existe").arg(top.filePath("otra"))),
                     qPrintable(problem.what));
        // In the program's own words only: nothing of the system's text.
        for (const char *foreign : {"fichero", "directorio", "No such", "denied", "Unknown", "desconocido", "("})
            QVERIFY2(!problem.what.contains(QString::fromUtf8(foreign)) &&
                         !problem.advice.contains(QString::fromUtf8(foreign)),
                     foreign);

        // The file that was there is whole, and nothing half written is left.
        QFile before(folder + QStringLiteral("/Recibo.pdf"));
        QVERIFY(before.open(QIODevice::ReadOnly));
        QCOMPARE(before.readAll(), old);
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("relleno"));
        left.removeAll(QStringLiteral("enlace.pdf"));
        QCOMPARE(left, QStringList{QStringLiteral("Recibo.pdf")});
    }

    void aSaveToAPlaceThatTakesItIsWhole()
    {
        const QByteArray pdf = labelPage();
        QVERIFY(!pdf.isEmpty());
        QTemporaryDir folder;
        // The longest name offered, over a file that was there.
        const QString path = folder.filePath(slipPdfName(QString(200, QChar(0xD1)), QDate(2026, 3, 5)));
        QCOMPARE(QFileInfo(path).fileName().toUtf8().size(), 248);
        QFile before(path);
        QVERIFY(before.open(QIODevice::WriteOnly) && before.write("anterior") == 8);
        before.close();
        QVERIFY2(!savePdfFile(path, pdf).failed(), qPrintable(savePdfFile(path, pdf).what));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), pdf);
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
