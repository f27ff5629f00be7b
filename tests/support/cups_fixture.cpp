#include "support/cups_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace recibo::test {

namespace {

CupsTestServer *s_current = nullptr;

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString describe(const QString &what) const
    {
        QString text = what;
        if (!finished)
            text += QStringLiteral(" did not finish");
        else
            text += QStringLiteral(" exited with %1").arg(exitCode);
        const QString e = QString::fromLocal8Bit(err).trimmed();
        if (!e.isEmpty())
            text += QStringLiteral(": ") + e;
        return text;
    }
};

// Finds a tool also in the administrator's directories, which a test's
// PATH may lack (cupsaccept and cupsreject live in /usr/sbin).
QString tool(const QString &name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                   QStringLiteral("/usr/local/sbin")});
    return found.isEmpty() ? name : found;
}

// Runs a program to its end with the C locale, so that numbers in its
// output have a decimal point.
Run run(const QString &program, const QStringList &args, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    Run result;
    if (!process.waitForStarted(timeoutMs)) {
        result.err = process.errorString().toLocal8Bit();
        return result;
    }
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(2000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString scriptPath()
{
    const QString fromEnv = qEnvironmentVariable("RECIBO_CUPS_SCRIPT");
    if (!fromEnv.isEmpty())
        return fromEnv;
#ifdef RECIBO_CUPS_SCRIPT
    return QStringLiteral(RECIBO_CUPS_SCRIPT);
#else
    return {};
#endif
}

void forgetPrinterChoice()
{
    // Both override the default destination in the CUPS client.
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
}

int jobNumber(const QString &path)
{
    // job-<id>.prn
    const QString base = QFileInfo(path).completeBaseName();
    return base.mid(4).toInt();
}

} // namespace

CupsTestServer::CupsTestServer()
{
    s_current = this;
    const QString script = scriptPath();
    if (script.isEmpty() || !QFileInfo::exists(script)) {
        m_reason = QStringLiteral("cups-test-server.sh not found (RECIBO_CUPS_SCRIPT is '%1')")
                       .arg(script);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    // The script's watchdog removes the scheduler and its folder once this
    // process is gone, however it ends.
    const Run started =
        run(QStringLiteral("/bin/sh"),
            {script, QStringLiteral("start"), QString::number(QCoreApplication::applicationPid())}, 60000);
    m_startSeconds = clock.elapsed() / 1000.0;
    if (started.finished && started.exitCode == 77) {
        m_state = State::Unavailable;
        m_reason = QString::fromLocal8Bit(started.err).trimmed();
        return;
    }
    if (!started.finished || started.exitCode != 0) {
        m_reason = started.describe(QStringLiteral("cups-test-server.sh start"));
        return;
    }

    const QStringList lines = QString::fromLocal8Bit(started.out).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (name == QLatin1String("RECIBO_CUPS_DIR"))
            m_dir = value;
        else if (name == QLatin1String("RECIBO_CUPS_QUEUE"))
            m_queue = value;
        else if (name == QLatin1String("RECIBO_CUPS_PS_QUEUE"))
            m_psQueue = value;
        else if (name == QLatin1String("RECIBO_CUPS_CAPTURE_DIR"))
            m_captureDir = value;
        else if (name == QLatin1String("RECIBO_CUPS_PID"))
            m_pid = value.toLongLong();
        else
            qputenv(name.toLocal8Bit().constData(), value.toLocal8Bit());
        if (name == QLatin1String("CUPS_SERVER"))
            m_socket = value;
    }
    forgetPrinterChoice();
    if (m_dir.isEmpty() || m_queue.isEmpty() || m_captureDir.isEmpty() || m_socket.isEmpty()) {
        m_reason = QStringLiteral("cups-test-server.sh start printed no usable settings: ") +
                   QString::fromLocal8Bit(started.out);
        return;
    }
    m_state = State::Running;
}

CupsTestServer::~CupsTestServer()
{
    stop();
    if (s_current == this)
        s_current = nullptr;
}

void CupsTestServer::stop()
{
    if (!m_dir.isEmpty())
        run(QStringLiteral("/bin/sh"), {scriptPath(), QStringLiteral("stop"), m_dir}, 20000);
    if (m_state == State::Running) {
        m_state = State::Broken;
        m_reason = QStringLiteral("the scheduler was stopped");
    }
}

CupsTestServer *CupsTestServer::current()
{
    return s_current;
}

QStringList CupsTestServer::jobs() const
{
    if (m_captureDir.isEmpty())
        return {};
    const QDir dir(m_captureDir);
    QStringList found;
    const QStringList names =
        dir.entryList({QStringLiteral("job-*.prn")}, QDir::Files, QDir::NoSort);
    for (const QString &name : names)
        found << dir.filePath(name);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        return jobNumber(a) < jobNumber(b);
    });
    return found;
}

QString CupsTestServer::waitForJob(const QStringList &before, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const QStringList now = jobs();
        for (const QString &job : now)
            if (!before.contains(job))
                return job;
        if (clock.elapsed() >= timeoutMs)
            return {};
        if (QCoreApplication::instance() != nullptr)
            QTest::qWait(50);
        else
            QThread::msleep(50);
    }
}

QString CupsTestServer::jobTitle(const QString &job)
{
    QFile file(QFileInfo(job).path() + QLatin1Char('/') + QFileInfo(job).completeBaseName() +
               QStringLiteral(".title"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

std::optional<QStringList> CupsTestServer::unfinishedJobs() const
{
    const Run listed = run(tool(QStringLiteral("lpstat")), {QStringLiteral("-h"), m_socket, QStringLiteral("-o")}, 10000);
    if (!listed.finished || listed.exitCode != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(listed.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool CupsTestServer::setAccepting(bool accepting, QString *problem) const
{
    const QString program = tool(accepting ? QStringLiteral("cupsaccept")
                                           : QStringLiteral("cupsreject"));
    const Run done = run(program, {QStringLiteral("-h"), m_socket, m_queue}, 10000);
    const bool ok = done.finished && done.exitCode == 0;
    if (!ok && problem != nullptr)
        *problem = done.describe(program);
    return ok;
}

bool CupsTestServer::setEnabled(bool enabled, QString *problem) const
{
    const QString program = tool(enabled ? QStringLiteral("cupsenable") : QStringLiteral("cupsdisable"));
    const Run done = run(program, {QStringLiteral("-h"), m_socket, m_queue}, 10000);
    const bool ok = done.finished && done.exitCode == 0;
    if (!ok && problem != nullptr)
        *problem = done.describe(program);
    return ok;
}

QString CupsTestServer::logTail(int lines) const
{
    if (m_dir.isEmpty())
        return {};
    QFile file(m_dir + QStringLiteral("/log/error_log"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(no scheduler log)");
    QStringList all = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    if (all.size() > lines)
        all = all.mid(all.size() - lines);
    return QStringLiteral("scheduler log:\n") + all.join(QLatin1Char('\n'));
}

// Below /dev/null nothing can ever exist: no scheduler listens on such a
// socket, and there is no client.conf or lpoptions to read; nor is there a
// folder to create or to remove.
NoPrintServer::NoPrintServer()
{
    qputenv("CUPS_SERVER", socketPath().toLocal8Bit());
    qputenv("CUPS_SERVERROOT", "/dev/null/etc");
    qputenv("HOME", "/dev/null/home");
    forgetPrinterChoice();
}

QString NoPrintServer::socketPath() const
{
    return QStringLiteral("/dev/null/cups.sock");
}

PdfFacts pdfFacts(const QString &pdf)
{
    PdfFacts facts;
    const Run info = run(tool(QStringLiteral("pdfinfo")), {pdf}, 20000);
    if (!info.finished || info.exitCode != 0) {
        facts.problem = info.describe(QStringLiteral("pdfinfo"));
        return facts;
    }
    const QString text = QString::fromLocal8Bit(info.out);
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)\\s*$"),
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression size(
        QStringLiteral("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts"),
        QRegularExpression::MultilineOption);
    const auto p = pages.match(text);
    const auto s = size.match(text);
    if (!p.hasMatch() || !s.hasMatch()) {
        facts.problem = QStringLiteral("unexpected pdfinfo output:\n") + text;
        return facts;
    }
    facts.pages = p.captured(1).toInt();
    facts.pageSize = QSizeF(s.captured(1).toDouble(), s.captured(2).toDouble());
    facts.ok = true;
    return facts;
}

std::optional<QList<PdfImage>> pdfImages(const QString &pdf, QString *problem)
{
    const Run list = run(tool(QStringLiteral("pdfimages")), {QStringLiteral("-list"), pdf}, 20000);
    if (!list.finished || list.exitCode != 0) {
        if (problem != nullptr)
            *problem = list.describe(QStringLiteral("pdfimages"));
        return std::nullopt;
    }
    // A heading, a rule of dashes, then one line per image:
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList lines =
        QString::fromLocal8Bit(list.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    qsizetype rule = -1;
    for (qsizetype i = 0; i < lines.size() && rule < 0; ++i)
        if (lines[i].startsWith(QStringLiteral("---")))
            rule = i;
    if (rule < 0) {
        if (problem != nullptr)
            *problem = QStringLiteral("unexpected pdfimages output:\n") + lines.join('\n');
        return std::nullopt;
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QList<PdfImage> images;
    for (qsizetype i = rule + 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(blanks, Qt::SkipEmptyParts);
        if (f.size() < 14) {
            if (problem != nullptr)
                *problem = QStringLiteral("unexpected pdfimages line: ") + lines[i];
            return std::nullopt;
        }
        if (f[2] == QLatin1String("smask") || f[2] == QLatin1String("mask"))
            continue;
        images.append(PdfImage{f[0].toInt(), QSize(f[3].toInt(), f[4].toInt()),
                               QSizeF(f[12].toDouble(), f[13].toDouble())});
    }
    return images;
}

QImage rasterFirstPage(const QString &pdf, int dpi, QString *problem)
{
    const Run raster = run(tool(QStringLiteral("pdftoppm")),
                           {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                            QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                            QStringLiteral("1"), pdf},
                           30000);
    if (!raster.finished || raster.exitCode != 0) {
        if (problem != nullptr)
            *problem = raster.describe(QStringLiteral("pdftoppm"));
        return {};
    }
    QImage image = QImage::fromData(raster.out, "PGM");
    if (image.isNull()) {
        if (problem != nullptr)
            *problem = QStringLiteral("pdftoppm wrote no readable PGM image");
        return {};
    }
    return image.convertToFormat(QImage::Format_Grayscale8);
}

double darkShare(const QImage &grey, const QRect &area, int threshold)
{
    const QImage image = grey.format() == QImage::Format_Grayscale8
                             ? grey
                             : grey.convertToFormat(QImage::Format_Grayscale8);
    const QRect r = area.intersected(image.rect());
    if (r.isEmpty())
        return 0.0;
    qint64 dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = r.left(); x <= r.right(); ++x)
            if (line[x] < threshold)
                ++dark;
    }
    return double(dark) / (qint64(r.width()) * r.height());
}

} // namespace recibo::test
