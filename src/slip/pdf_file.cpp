#include "slip/pdf_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTextBoundaryFinder>

#include <cerrno>

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

} // namespace recibo
