#include "app/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

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

// The windows go while the application still stands.
void closeDesk() { desk().reset(); }

} // namespace

void prepareApplication()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    qAddPostRoutine(closeDesk);
    // The same look everywhere, so the coloured button faces show as designed,
    // and what a screen reader needs told before the first window is built.
    QApplication::setStyle(recibo::forms::createStyle());
    recibo::forms::installAccessibility();
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
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
