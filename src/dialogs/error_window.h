#pragma once

#include "forms/form.h"

class QPushButton;

namespace recibo {

// Tells the user that "Calcular" was pressed without choosing a cargo or hours.
class ErrorWindow : public forms::Form {
    Q_OBJECT
public:
    ErrorWindow();

    // Shows the window without blocking; if it is already shown, brings it forward.
    void showError();
    QPushButton *aceptar() const { return aceptar_; }

private:
    QPushButton *aceptar_;
};

} // namespace recibo
