#include "slip/pdf_file.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTextBoundaryFinder>

#include <QStandardPaths>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace recibo {

namespace {

// The longest name of a file most file systems take, in bytes.
constexpr qsizetype kLongestFileName = 255;
// A file that replaces another is first written beside it under its own name
// and seven characters more: the name offered leaves room for them.
constexpr qsizetype kLongestOfferedName = kLongestFileName - 7;

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

// A folder to offer in place of `failed`: the user's documents, else the
// home folder, where it exists and takes files; none otherwise.
QString otherFolder(const QString &failed)
{
    for (const QString &folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()}) {
        const QFileInfo info(folder);
        if (!folder.isEmpty() && info.isDir() && info.isWritable() && QDir(folder) != QDir(failed))
            return QDir::toNativeSeparators(info.absoluteFilePath());
    }
    return {};
}

// What the user is told: `target` is the file written, `named` the name the
// user chose (a link to `target`, or the same file).
Problem saveProblem(SaveCause cause, const QFileInfo &target, const QFileInfo &named, bool existed)
{
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    Problem problem;
    switch (cause) {
    case SaveCause::NoSpace:
        problem = {QStringLiteral("No se guardó el recibo: el disco de la carpeta «%1» está lleno.").arg(folder),
                   QStringLiteral("Libere espacio en ese disco o elija otra carpeta, y vuelva a guardar.")};
        break;
    case SaveCause::NoPermission: {
        const QString other = otherFolder(target.absolutePath());
        problem = {
            QStringLiteral("No se guardó el recibo: no tiene permiso para escribir en la carpeta «%1».").arg(folder),
            other.isEmpty() ? QStringLiteral("Elija otra carpeta y vuelva a guardar.")
                            : QStringLiteral("Elija otra carpeta, por ejemplo «%1», y vuelva a guardar.").arg(other)};
        break;
    }
    case SaveCause::NoFolder:
        if (named.isSymLink())
            problem = {QStringLiteral("No se guardó el recibo: «%1» es un enlace a «%2», y la carpeta «%3» no "
                                      "existe.")
                           .arg(named.fileName(), QDir::toNativeSeparators(target.absoluteFilePath()), folder),
                       QStringLiteral("Elija otro nombre o una carpeta que exista y vuelva a guardar.")};
        else
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

// The cause of a failed step on `target`, whose system error number was
// `error` right after it; where that number says nothing known, what can be
// seen of the folder and the disk.
SaveCause failedStep(int error, const QFileInfo &target, qint64 size)
{
    const SaveCause cause = saveCause(error);
    if (cause != SaveCause::Other)
        return cause;
    if (!QFileInfo(target.absolutePath()).isDir())
        return SaveCause::NoFolder;
    const QStorageInfo disk(target.absolutePath());
    if (disk.isValid() && disk.isReadOnly())
        return SaveCause::NoPermission;
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < size)
        return SaveCause::NoSpace;
    return SaveCause::Other;
}

// The file a name stands for: the name itself, or where its link points
// (through a chain of links), whether or not that file exists.
QFileInfo fileNamed(const QString &path)
{
    QFileInfo file(path);
    for (int hops = 0; file.isSymLink() && hops < 40; ++hops)
        file = QFileInfo(file.symLinkTarget());
    return file;
}

#ifdef Q_OS_UNIX
// Writes `pdf` beside `target` under a name of its own (the target's and
// seven characters more), has the system put it on the disk, and only then
// puts it in the target's place. Every step is checked, the flush to the
// disk and the closing among them (a full disk or a lost network drive may
// only tell there). Returns 0, or the system's error number of the step that
// failed, after which nothing of the new file is left.
int replaceWith(const QString &target, const QByteArray &pdf)
{
    const QByteArray name = QFile::encodeName(target);
    QByteArray beside = name + ".XXXXXX";
    const int fd = mkostemp(beside.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    const auto failed = [&](int error, bool open) {
        if (open)
            ::close(fd);
        ::unlink(beside.constData());
        return error;
    };
    // The file keeps the permissions it had; a new one gets the usual ones.
    struct stat before {};
    if (::stat(name.constData(), &before) == 0) {
        ::fchmod(fd, before.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    for (qsizetype done = 0; done < pdf.size();) {
        const ssize_t written = ::write(fd, pdf.constData() + done, std::size_t(pdf.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failed(written < 0 ? errno : ENOSPC, true);
        done += written;
    }
#ifdef Q_OS_DARWIN
    if (::fsync(fd) != 0)
#else
    if (::fdatasync(fd) != 0)
#endif
        return failed(errno, true);
    if (::close(fd) != 0)
        return failed(errno, false);
    if (::rename(beside.constData(), name.constData()) != 0)
        return failed(errno, false);
    // The new name on the disk too; the page is already there.
    if (const int folder =
            ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}
#else
// Where there is no POSIX file system interface, QSaveFile writes beside the
// target and replaces it once the page is written.
int replaceWith(const QString &target, const QByteArray &pdf)
{
    QSaveFile file(target);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return errno ? errno : EIO;
    if (file.write(pdf) != pdf.size() || !file.flush()) {
        const int error = errno ? errno : EIO;
        file.cancelWriting();
        return error;
    }
    errno = 0;
    return file.commit() ? 0 : (errno ? errno : EIO);
}
#endif

} // namespace

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
    const QFileInfo named(path);
    const QFileInfo target = fileNamed(path);
    const bool existed = target.exists();
    if (target.fileName().toUtf8().size() > kLongestFileName)
        return saveProblem(SaveCause::NameTooLong, target, named, existed);
    if (!QFileInfo(target.absolutePath()).isDir())
        return saveProblem(SaveCause::NoFolder, target, named, existed);
    if (const int error = replaceWith(target.absoluteFilePath(), pdf))
        return saveProblem(failedStep(error, target, pdf.size()), target, named, existed);
    if (QFileInfo(target.absoluteFilePath()).size() != pdf.size())
        return saveProblem(failedStep(0, target, pdf.size()), target, named, false);
    return {};
}

} // namespace recibo
