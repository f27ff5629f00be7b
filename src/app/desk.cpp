#include "app/desk.h"
#include "app/placement.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QScreen>

#include "calc/calculate.h"
#include "dialogs/error_window.h"
#include "entry/ingreso.h"
#include "forms/locale_text.h"
#include "selection/advertencia.h"
#include "slip/haberes.h"
#include "slip/printing.h"

namespace recibo {

using forms::qtext;

namespace {

// The date and time written into the slip, in the regional short formats.
QString now()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QLocale().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           QLocale().toString(now.time(), QLocale::ShortFormat);
}

} // namespace

Desk::Desk() = default;

Desk::~Desk()
{
    errorWindow_.reset();
    haberes_.reset();
    advertencia_.reset();
    ingreso_.reset();
}

Ingreso &Desk::ingreso()
{
    if (ingreso_)
        return *ingreso_;
    ingreso_ = std::make_unique<Ingreso>();
    Ingreso *entry = ingreso_.get();
    QObject::connect(entry, &Ingreso::cargoCategoryClicked, entry, [this] {
        placeOverEntry(advertencia());
        advertencia().open();
    });
    // Hiding the dialog refers to it, so this too creates it on first use.
    QObject::connect(entry, &Ingreso::hoursCategoryClicked, entry, [this] { advertencia().hide(); });
    QObject::connect(entry, &Ingreso::calculateRequested, entry, [this](const PayInput &input) { calculate(input); });
    QObject::connect(entry, &Ingreso::quitRequested, entry, [this] { quit(); });
    return *ingreso_;
}

Advertencia &Desk::advertencia()
{
    if (advertencia_)
        return *advertencia_;
    advertencia_ = std::make_unique<Advertencia>();
    Advertencia *dialog = advertencia_.get();
    QObject::connect(dialog, &Advertencia::cargoChosen, dialog, [this](const CargoChoice &cargo) {
        haberes().showChosenCargo(cargo);
        ingreso().showChosenCargo(cargo);
        ingreso().bringForward();
    });
    QObject::connect(dialog, &Advertencia::cargoWithdrawn, dialog, [this] { ingreso().withdrawCargo(); });
    return *advertencia_;
}

Haberes &Desk::haberes()
{
    if (haberes_)
        return *haberes_;
    haberes_ = std::make_unique<Haberes>();
    Haberes *slip = haberes_.get();
    if (printer_)
        slip->setPrinter(std::move(printer_));
    QObject::connect(slip, &Haberes::backRequested, slip, [this] { ingreso().returnFromSlip(); });
    QObject::connect(slip, &Haberes::quitRequested, slip, [this] { quit(); });
    return *haberes_;
}

ErrorWindow &Desk::errorWindow()
{
    if (!errorWindow_)
        errorWindow_ = std::make_unique<ErrorWindow>();
    return *errorWindow_;
}

PayInput Desk::payInput() { return withCargo(ingreso().payInput()); }

PayInput Desk::withCargo(PayInput input)
{
    // The cargo lives in the selection dialog's controls.
    if (input.path == PayPath::Cargo)
        input.cargo = advertencia().choice();
    return input;
}

void Desk::calculate(PayInput input)
{
    if (input.path == PayPath::None) {
        placeOverEntry(errorWindow());
        errorWindow().showError();
        return;
    }
    auto outcome = recibo::calculate(withCargo(std::move(input)));
    if (const auto *problem = std::get_if<InputProblem>(&outcome)) {
        // The field to fix lives on the entry window or in the selection dialog.
        const QString field = qtext(problem->control);
        if (!ingreso().focusField(field) && advertencia_)
            advertencia_->focusField(field);
        ingreso().showInputProblem(qtext(problem->message));
        return;
    }
    ingreso().clearInputProblem();
    Haberes &slip = haberes();
    if (!slip.isVisible())
        placeSlipBesideEntry();
    slip.showSlip(std::get<Slip>(outcome), ingreso().teacherName(), now());
}

QRect Desk::entryScreen()
{
    QScreen *screen = ingreso().screen();
    return screen ? screen->availableGeometry() : QRect();
}

QMargins Desk::entryFrame()
{
    const QRect frame = ingreso().frameGeometry();
    const QRect client = ingreso().geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

void Desk::placeSlipBesideEntry()
{
    const WorkingAreas keep{ingreso().calcularOnScreen(), ingreso().fieldsOnScreen()};
    const QRect screen = entryScreen();
    const QRect entry = ingreso().frameGeometry();
    placeFramed(haberes(), entryFrame(), [=](const QSize &slip) { return slipPlace(screen, entry, slip, keep); });
}

void Desk::placeOverEntry(QWidget &dialog)
{
    // Where it is shown already, it stays where the user sees it.
    if (dialog.isVisible())
        return;
    const QRect screen = entryScreen();
    const QRect entry = ingreso().frameGeometry();
    placeFramed(dialog, entryFrame(), [=](const QSize &size) { return centredOver(screen, entry, size); });
}

void Desk::quit()
{
    if (errorWindow_)
        errorWindow_->hide();
    if (haberes_)
        haberes_->hide();
    if (advertencia_)
        advertencia_->hide();
    if (ingreso_)
        ingreso_->hide();
    if (quitHandler_)
        quitHandler_();
    else
        QCoreApplication::exit(0);
}

void Desk::setPrinter(std::unique_ptr<SlipPrinter> printer)
{
    if (haberes_)
        haberes_->setPrinter(std::move(printer));
    else
        printer_ = std::move(printer);
}

} // namespace recibo
