#pragma once

#include "calc/pay_input.h"
#include "forms/form.h"

namespace recibo {

class Desk;

// The dialog in which the cargo is chosen, by its code or by its name. It
// keeps the choice in its own controls for the whole run; the calculation
// reads it from there.
class Advertencia : public forms::Form {
    Q_OBJECT
public:
    explicit Advertencia(Desk &desk);

    // Shows the dialog without blocking, exactly as it was left.
    void open();

    // The chosen cargo as the calculation reads it.
    CargoChoice choice() const;

private:
    Desk &desk_;
};

} // namespace recibo
