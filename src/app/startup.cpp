#include "app/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QThreadPool>
#include <QTranslator>

#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/desk.h"
#include "entry/ingreso.h"
#include "forms/accessibility.h"
#include "forms/controls.h"
#include "forms/style.h"

namespace {

std::unique_ptr<recibo::Desk> &desk()
{
    static std::unique_ptr<recibo::Desk> current;
    return current;
}

// Qt's own Spanish (its dialogs, such as the file dialog where the slip is
// saved, where the platform has none of its own) is Spain's: it says
// "fichero" where Argentina says "archivo". Its texts pass through here with
// that word put right; the rest reads the same in both.
class ArgentineQtTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool loadSpanish()
    {
        return spain_.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        QString text = spain_.translate(context, sourceText, disambiguation, n);
        // "un fichero", "el fichero": "archivo" is of the same gender.
        text.replace(QStringLiteral("fichero"), QStringLiteral("archivo"));
        text.replace(QStringLiteral("Fichero"), QStringLiteral("Archivo"));
        return text;
    }
    bool isEmpty() const override { return spain_.isEmpty(); }

private:
    QTranslator spain_;
};

// The windows go while the application still stands.
void closeDesk() { desk().reset(); }

} // namespace

void prepareApplication()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
#ifdef __GLIBC__
    // Every thread that allocates (the print sender, the file dialog's, Qt's
    // pools) would get a heap of its own, each reserving 64 MB of address
    // space; under a limit of address space (ulimit -v) those reserves alone
    // made the page fail at one limit and pass at a lower one. The few
    // threads of this program share one heap: they seldom allocate at once.
    mallopt(M_ARENA_MAX, 1);
#endif
    // Qt's painting hands tall shaded fills and large pictures to the pool of
    // threads and waits for them; when the system lets the pool start no new
    // thread (a process short of address space), that wait never ends. One
    // thread, started at the first such fill and kept for the whole run,
    // does the pool's work: painting never waits for a thread to be made.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    qAddPostRoutine(closeDesk);
    // The same look everywhere, so the coloured button faces show as designed,
    // and what a screen reader needs told before the first window is built.
    QApplication::setStyle(recibo::forms::createStyle());
    recibo::forms::installAccessibility();
    auto *translator = new ArgentineQtTranslator(qApp);
    if (translator->loadSpanish())
        QCoreApplication::installTranslator(translator);
    recibo::forms::installFontSubstitutes();
    // The program ends by "Salir" or by closing the entry window, never because
    // the last window was hidden.
    QApplication::setQuitOnLastWindowClosed(false);
}

QWidget *startEntryWindow()
{
    prepareApplication();
    desk().reset();
    desk() = std::make_unique<recibo::Desk>();
    recibo::Ingreso &ingreso = desk()->ingreso();
    ingreso.show();
    ingreso.activateWindow();
    ingreso.focusTeacherName();
    return &ingreso;
}

recibo::Desk &currentDesk()
{
    if (!desk())
        desk() = std::make_unique<recibo::Desk>();
    return *desk();
}
