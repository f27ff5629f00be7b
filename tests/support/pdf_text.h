#pragma once

// A PDF read back as people's tools read it (poppler-utils): the text that can
// be searched and copied, and whether its fonts travel inside the file.

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

namespace recibo::test {

// Output of a poppler tool run on `pdf`; nullopt, with the reason in `problem`, on error.
inline std::optional<QString> popplerOutput(const QString &tool, QStringList arguments, QString *problem = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (problem)
            *problem = QStringLiteral("%1 failed: %2 %3")
                           .arg(tool, process.errorString(), QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the document, laid out as on the page (pdftotext -layout).
inline std::optional<QString> pdfText(const QString &pdf, QString *problem = nullptr)
{
    return popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, problem);
}

struct PdfFonts {
    int count = 0;
    QStringList notEmbedded;
};

// The fonts of the document (pdffonts), and those not inside the file.
inline std::optional<PdfFonts> pdfFonts(const QString &pdf, QString *problem = nullptr)
{
    const std::optional<QString> out = popplerOutput(QStringLiteral("pdffonts"), {pdf}, problem);
    if (!out)
        return std::nullopt;
    // name type encoding emb sub uni object ID, after a heading and a rule of dashes.
    PdfFonts fonts;
    const QStringList lines = out->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression columns(QStringLiteral("^(\\S+).*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"));
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = columns.match(line);
        if (!match.hasMatch())
            continue;
        ++fonts.count;
        if (match.captured(2) != QLatin1String("yes"))
            fonts.notEmbedded << match.captured(1);
    }
    return fonts;
}

} // namespace recibo::test
