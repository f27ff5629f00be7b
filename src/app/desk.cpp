#include "app/desk.h"

#include <QCoreApplication>

#include "catalogue/advertencia.h"
#include "dialogs/error_window.h"
#include "entry/ingreso.h"
#include "slip/haberes.h"
#include "slip/printing.h"

namespace recibo {

Desk::Desk() = default;

Desk::~Desk()
{
    // The slip and the dialogs refer to the entry window: let them go first.
    errorWindow_.reset();
    haberes_.reset();
    advertencia_.reset();
    ingreso_.reset();
}

Ingreso &Desk::ingreso()
{
    if (!ingreso_)
        ingreso_ = std::make_unique<Ingreso>(*this);
    return *ingreso_;
}

Advertencia &Desk::advertencia()
{
    if (!advertencia_)
        advertencia_ = std::make_unique<Advertencia>(*this);
    return *advertencia_;
}

Haberes &Desk::haberes()
{
    if (!haberes_)
        haberes_ = std::make_unique<Haberes>(*this);
    return *haberes_;
}

ErrorWindow &Desk::errorWindow()
{
    if (!errorWindow_)
        errorWindow_ = std::make_unique<ErrorWindow>();
    return *errorWindow_;
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

SlipPrinter &Desk::printer()
{
    if (!printer_)
        printer_ = std::make_unique<DefaultPrinter>();
    return *printer_;
}

void Desk::setPrinter(std::unique_ptr<SlipPrinter> printer) { printer_ = std::move(printer); }

} // namespace recibo
