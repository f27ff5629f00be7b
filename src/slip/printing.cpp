#include "slip/printing.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>
#include <QMetaObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTextBoundaryFinder>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

namespace recibo {

namespace {

// A page on its way when the program ends gets this long in all: to reach
// the printer, and after that, the last part of it, to be given up (its job
// cancelled). Then the program ends without waiting any further.
constexpr std::chrono::milliseconds kLastPageGrace{3000};
constexpr std::chrono::milliseconds kGivingUp{1500};

// The longest name of a file most file systems take, in bytes.
constexpr qsizetype kLongestFileName = 255;
// A file that replaces another is first written beside it under its own name
// and seven characters more: the name offered leaves room for them.
constexpr qsizetype kLongestOfferedName = kLongestFileName - 7;

// Passes every byte on to `target` and remembers whether any was refused:
// the PDF writer does not look at what its device answers.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QIODevice &target) : target_(target) { open(QIODevice::WriteOnly); }
    bool refused() const { return refused_; }
    qint64 written() const { return written_; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = target_.write(data, size);
        if (taken != size)
            refused_ = true;
        written_ += std::max<qint64>(taken, 0);
        return taken;
    }

private:
    QIODevice &target_;
    bool refused_ = false;
    qint64 written_ = 0;
};

// Why a file could not be written, from the system's error number (never
// its own text, which is in another language or another Spanish).
enum class SaveCause { NoSpace, NoPermission, NoFolder, NameTooLong, Other };

SaveCause saveCause(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return SaveCause::NoSpace;
    case EACCES:
    case EPERM:
    case EROFS:
        return SaveCause::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return SaveCause::NoFolder;
    case ENAMETOOLONG:
        return SaveCause::NameTooLong;
    default:
        return SaveCause::Other;
    }
}

Problem saveProblem(SaveCause cause, const QFileInfo &target, bool existed)
{
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    Problem problem;
    switch (cause) {
    case SaveCause::NoSpace:
        problem = {QStringLiteral("No se guardó el recibo: el disco de la carpeta «%1» está lleno.").arg(folder),
                   QStringLiteral("Libere espacio en ese disco o elija otra carpeta, y vuelva a guardar.")};
        break;
    case SaveCause::NoPermission:
        problem = {
            QStringLiteral("No se guardó el recibo: no tiene permiso para escribir en la carpeta «%1».").arg(folder),
            QStringLiteral("Elija otra carpeta, por ejemplo Documentos, y vuelva a guardar.")};
        break;
    case SaveCause::NoFolder:
        problem = {QStringLiteral("No se guardó el recibo: la carpeta «%1» no existe.").arg(folder),
                   QStringLiteral("Elija una carpeta que exista y vuelva a guardar.")};
        break;
    case SaveCause::NameTooLong:
        problem = {QStringLiteral("No se guardó el recibo: el nombre del archivo es demasiado largo."),
                   QStringLiteral("Elija un nombre más corto y vuelva a guardar.")};
        break;
    case SaveCause::Other:
        problem = {QStringLiteral("No se guardó el recibo: no se pudo escribir el archivo «%1» en la carpeta «%2».")
                       .arg(target.fileName(), folder),
                   QStringLiteral("Elija otra carpeta y vuelva a guardar.")};
        break;
    }
    if (existed)
        problem.advice += QStringLiteral(" El archivo «%1» que ya estaba quedó como estaba.").arg(target.fileName());
    return problem;
}

// The cause of a failed step on `file`, whose system error number was
// `error` right after it; where that number says nothing known, what can be
// seen of the folder and the disk.
SaveCause failedStep(int error, const QFileDevice &file, const QFileInfo &target, qint64 size)
{
    const SaveCause cause = saveCause(error);
    if (cause != SaveCause::Other)
        return cause;
    if (!QFileInfo(target.absolutePath()).isDir())
        return SaveCause::NoFolder;
    if (file.error() == QFileDevice::ResourceError)
        return SaveCause::NoSpace;
    const QStorageInfo disk(target.absolutePath());
    if (disk.isValid() && disk.isReadOnly())
        return SaveCause::NoPermission;
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < size)
        return SaveCause::NoSpace;
    return SaveCause::Other;
}

} // namespace

PrintOutcome printFailure(const QString &problem, const QString &advice)
{
    return PrintOutcome{false, problem, 0, advice};
}

PrintOutcome outOfMemory()
{
    return printFailure(QStringLiteral("No se pudo imprimir: no hay memoria suficiente para preparar el recibo."),
                        QStringLiteral("Cierre otros programas y vuelva a imprimir. Lo escrito en las ventanas "
                                       "sigue como estaba."));
}

PrintOutcome noThread()
{
    return printFailure(QStringLiteral("No se pudo imprimir: el sistema no permitió comenzar el envío a la "
                                       "impresora."),
                        QStringLiteral("Cierre otros programas y vuelva a imprimir, o guarde el recibo como PDF. Lo "
                                       "escrito en las ventanas sigue como estaba."));
}

QPageLayout slipPageLayout()
{
    const QPageSize paper(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                     : QPageSize::A4);
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QString drawWindow(QWidget &window, QPaintDevice &device, const QRectF &area)
{
    const QSize source = window.size();
    if (source.isEmpty() || area.isEmpty())
        return QStringLiteral("la ventana no tiene nada que dibujar.");
    auto painter = std::make_unique<QPainter>();
    try {
        if (!painter->begin(&device) || !painter->isActive())
            return QStringLiteral("no se pudo comenzar a dibujar la página.");
        const double scale = std::min(area.width() / source.width(), area.height() / source.height());
        painter->translate(area.left() + (area.width() - source.width() * scale) / 2.0, area.top());
        painter->scale(scale, scale);
        // The slip frame reaches below the window: only what is inside it is drawn.
        painter->setClipRect(QRect(QPoint(), source));
        window.render(painter.get(), QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        if (!painter->end())
            return QStringLiteral("no se pudo terminar de dibujar la página.");
    } catch (const std::bad_alloc &) {
        // Out of memory halfway, the painter still takes itself for active,
        // and would try to end the page again, and fail again, as it goes:
        // it is let go instead.
        static_cast<void>(painter.release());
        throw;
    }
    return {};
}

QString writeSlipPdf(QWidget &window, QIODevice &out)
{
    if (!out.isOpen() && !out.open(QIODevice::WriteOnly))
        return QStringLiteral("no se pudo abrir el destino de la página.");
    if (!out.isWritable())
        return QStringLiteral("el destino de la página no admite escritura.");
    CheckedDevice checked(out);
    QString problem;
    try {
        QPdfWriter writer(&checked);
        writer.setPageLayout(slipPageLayout());
        writer.setTitle(QStringLiteral("Recibo de haberes"));
        writer.setCreator(QStringLiteral("Recibo"));
        problem = drawWindow(window, writer, QRectF(0, 0, writer.width(), writer.height()));
    } catch (const std::bad_alloc &) {
        // The PDF engine's buffers grow with the page: without memory for
        // them the page is given up, and the window goes on as it was.
        return QStringLiteral("no hay memoria suficiente para preparar la página.");
    }
    if (!problem.isEmpty())
        return problem;
    // The last bytes may still sit in a buffer of the device.
    if (auto *file = qobject_cast<QFileDevice *>(&out); file && !file->flush())
        return QStringLiteral("no se pudo escribir la página.");
    if (checked.refused() || checked.written() == 0)
        return QStringLiteral("no se pudo escribir la página.");
    return {};
}

QString slipPdfName(const QString &teacher, const QDate &date)
{
    // Forbidden in a file name on Windows, and "/" everywhere.
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name = teacher.simplified();
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    const QString day = date.toString(Qt::ISODate);
    if (name.isEmpty())
        return QStringLiteral("Recibo %1.pdf").arg(day);
    // The teacher's name takes what the rest leaves of a file name, cut
    // between two characters as the user sees them (an accent stays on its
    // letter).
    const qsizetype room = kLongestOfferedName - QStringLiteral("Recibo  %1.pdf").arg(day).toUtf8().size();
    if (name.toUtf8().size() > room) {
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
        qsizetype cut = 0;
        for (qsizetype next = characters.toNextBoundary(); next > 0 && name.left(next).toUtf8().size() <= room;
             next = characters.toNextBoundary())
            cut = next;
        name = name.left(cut).trimmed();
    }
    return QStringLiteral("Recibo %1 %2.pdf").arg(name, day);
}

Problem savePdfFile(const QString &path, const QByteArray &pdf)
{
    const QFileInfo target(path);
    const bool existed = target.exists();
    if (target.fileName().toUtf8().size() > kLongestFileName)
        return saveProblem(SaveCause::NameTooLong, target, existed);
    QSaveFile file(path);
    const auto failed = [&](int error) {
        const SaveCause cause = failedStep(error, file, target, pdf.size());
        file.cancelWriting();
        return saveProblem(cause, target, existed);
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failed(errno);
    for (qint64 done = 0; done < pdf.size();) {
        errno = 0;
        const qint64 written = file.write(pdf.constData() + done, pdf.size() - done);
        if (written <= 0)
            return failed(errno);
        done += written;
    }
    // commit() may report success after its own final flush failed: the
    // flush is checked first, and the file's size after.
    errno = 0;
    if (!file.flush())
        return failed(errno);
    errno = 0;
    if (!file.commit())
        return failed(errno);
    if (QFileInfo(path).size() != pdf.size())
        return saveProblem(failedStep(0, file, target, pdf.size()), target, false);
    return {};
}

struct PrintSender::Worker {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;             // the thread has nothing more to do
    PrintSender *sender = nullptr; // where the outcome goes; none once the sender is gone
};

PrintSender::PrintSender(QObject *parent) : QObject(parent) {}

PrintSender::~PrintSender()
{
    const auto end = std::chrono::steady_clock::now() + kLastPageGrace;
    const auto allDone = [this](std::chrono::steady_clock::time_point until) {
        bool done = true;
        for (Running &running : threads_) {
            std::unique_lock lock(running.worker->mutex);
            running.worker->sender = nullptr;
            done = running.worker->ended.wait_until(lock, until, [&] { return running.worker->done; }) && done;
        }
        return done;
    };
    if (!allDone(end - kGivingUp)) {
        for (Running &running : threads_)
            running.thread.request_stop();
        allDone(end);
    }
    // A thread still caught in a call that does not come back (a system
    // call the print library cannot cut short) is left to end with the
    // program; it holds everything it uses.
    for (Running &running : threads_) {
        std::unique_lock lock(running.worker->mutex);
        const bool done = running.worker->done;
        lock.unlock();
        if (done)
            running.thread.join();
        else
            running.thread.detach();
    }
}

PrintOutcome PrintSender::send(std::shared_ptr<SlipPrinter> printer, SlipPage page)
{
    if (busy_)
        return printFailure(QStringLiteral("El recibo anterior todavía se está enviando a la impresora."),
                            QStringLiteral("Espere a que termine y vuelva a imprimir."));
    try {
        // Threads that have ended go; one still tidying up at its printer
        // stays until it is done.
        std::erase_if(threads_, [](Running &running) {
            std::unique_lock lock(running.worker->mutex);
            return running.worker->done;
        });
        auto worker = std::make_shared<Worker>();
        worker->sender = this;
        std::jthread thread([worker, printer = std::move(printer), page = std::move(page)](std::stop_token stop) {
            PrintOutcome outcome;
            try {
                outcome = printer->send(page, stop);
            } catch (const std::bad_alloc &) {
                outcome = outOfMemory();
            } catch (const std::system_error &) {
                outcome = noThread();
            }
            {
                std::lock_guard lock(worker->mutex);
                if (PrintSender *sender = worker->sender) {
                    // Runs on the sender's thread; the sender cannot go
                    // meanwhile, since it takes this lock first. Should it go
                    // before the call runs, Qt drops the call with it.
                    try {
                        QMetaObject::invokeMethod(
                            sender,
                            [sender, outcome] {
                                sender->busy_ = false;
                                emit sender->finished(outcome);
                            },
                            Qt::QueuedConnection);
                    } catch (const std::bad_alloc &) {
                        // No memory even for the report: the window learns
                        // nothing, as it would from a page never sent.
                    }
                }
            }
            try {
                printer->tidyUp(stop);
            } catch (const std::exception &) {
                // Nothing more can be done at the printer.
            }
            std::lock_guard lock(worker->mutex);
            worker->done = true;
            worker->ended.notify_all();
        });
        threads_.push_back(Running{std::move(worker), std::move(thread)});
    } catch (const std::system_error &) {
        return noThread();
    } catch (const std::bad_alloc &) {
        return outOfMemory();
    }
    busy_ = true;
    return PrintOutcome{true, {}, 0, {}};
}

} // namespace recibo
