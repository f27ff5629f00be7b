// The program's windows started as the program starts them, in a process
// whose address space is limited from its first line, and used as a user
// would: a slip calculated, printed, then saved as PDF ("Guardar como PDF…"
// in the print message where there is one, Ctrl+S otherwise). For the
// memory fault tests and the bench's lowest limit.
//   recibo_under_limit LIMIT_MB FILE.pdf
// One line per step on standard output:
//   inicio: ok
//   imprimir: ok | <the message>
//   guardar: ok | <the message> | sin respuesta
//   datos: ok | <what changed>
// A step that does not come back within its wait (the print gets 70 s, for
// the give-up of 60 s) ends the run with "sin respuesta".

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

namespace {

void say(const char *step, const QString &what)
{
    std::printf("%s: %s\n", step, qPrintable(what.simplified()));
    std::fflush(stdout);
}

QMessageBox *shownMessage(const QWidget &slip, const char *name)
{
    auto *box = slip.findChild<QMessageBox *>(QString::fromLatin1(name));
    return box && box->isVisible() ? box : nullptr;
}

int run(const QString &file)
{
    const QString teacher = QStringLiteral("Fernández Rodríguez, María de los Ángeles");
    Desk &desk = test::calculateSecondaryHours(teacher, QStringLiteral("12"));
    Haberes &slip = desk.haberes();
    if (!QTest::qWaitForWindowExposed(&slip)) {
        say("inicio", QStringLiteral("sin respuesta"));
        return 1;
    }
    say("inicio", QStringLiteral("ok"));
    test::type(child<QLineEdit>(slip, QStringLiteral("Text11")), QStringLiteral("Marzo"));
    const QString net = test::caption(child(slip, QStringLiteral("liquido")));

    auto *imprimir = child<QPushButton>(slip, QStringLiteral("Imprimir"));
    imprimir->click();
    if (!QTest::qWaitFor([&] { return imprimir->isEnabled(); }, 70000)) {
        say("imprimir", QStringLiteral("sin respuesta"));
        return 1;
    }
    QMessageBox *printed = shownMessage(slip, "mensajeImpresion");
    say("imprimir", printed ? printed->text() : QStringLiteral("ok"));

    if (auto *save = printed ? printed->findChild<QPushButton *>(QStringLiteral("guardarPdf")) : nullptr)
        save->click();
    else
        QTest::keyClick(&slip, Qt::Key_S, Qt::ControlModifier);
    QFileDialog *dialog = nullptr;
    static_cast<void>(QTest::qWaitFor([&] {
        dialog = slip.findChild<QFileDialog *>(QStringLiteral("guardarRecibo"));
        return (dialog && dialog->isVisible()) || shownMessage(slip, "mensajeGuardar");
    }));
    if (dialog && dialog->isVisible()) {
        dialog->selectFile(file);
        static_cast<QDialog *>(dialog)->accept();
    }
    if (QMessageBox *notSaved = shownMessage(slip, "mensajeGuardar"))
        say("guardar", notSaved->text());
    else if (dialog)
        say("guardar", QStringLiteral("ok"));
    else
        say("guardar", QStringLiteral("sin respuesta"));

    QStringList changed;
    if (child<QLineEdit>(desk.ingreso(), QStringLiteral("docente"))->text() != teacher)
        changed << QStringLiteral("docente");
    if (child<QLineEdit>(desk.ingreso(), QStringLiteral("numerohorasmed"))->text() != QStringLiteral("12"))
        changed << QStringLiteral("numerohorasmed");
    if (test::caption(child(slip, QStringLiteral("Text11"))) != QStringLiteral("Marzo"))
        changed << QStringLiteral("Text11");
    if (test::caption(child(slip, QStringLiteral("liquido"))) != net)
        changed << QStringLiteral("liquido");
    if (!child(slip, QStringLiteral("Volver"))->isVisibleTo(&slip))
        changed << QStringLiteral("Volver");
    say("datos", changed.isEmpty() ? QStringLiteral("ok") : changed.join(QLatin1Char(' ')));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LIMIT_MB FILE.pdf\n", argv[0]);
        return 2;
    }
    const rlim_t limit = rlim_t(std::atol(argv[1])) * 1024 * 1024;
    if (limit > 0) {
        rlimit space{};
        getrlimit(RLIMIT_AS, &space);
        space.rlim_cur = limit;
        if (setrlimit(RLIMIT_AS, &space) != 0)
            return 2;
    }
    QApplication app(argc, argv);
    return run(QString::fromLocal8Bit(argv[2]));
}
