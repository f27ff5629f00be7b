#include "catalogue/advertencia.h"

#include "app/desk.h"

namespace recibo {

Advertencia::Advertencia(Desk &desk)
    : Form("advertencia", QStringLiteral("Selección de cargo"), 9735, 6855, QColor(0, 128, 128)), desk_(desk)
{
}

void Advertencia::open()
{
    show();
    raise();
    activateWindow();
}

CargoChoice Advertencia::choice() const { return {}; }

} // namespace recibo
