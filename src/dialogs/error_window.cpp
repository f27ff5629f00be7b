#include "dialogs/error_window.h"
#include "forms/palette.h"

#include <QPushButton>

namespace recibo {

using namespace forms;

namespace {

// The control tables keep one control to a line or two.
// clang-format off

const Control kControls[] = {
    {.name = "Label1", .kind = Kind::Label, .left = 360, .top = 120, .width = 4395, .height = 450,
     .text = "No seleccionaste cargo ni horas", .fg = kCyan, .font = kArial12Bold,
     .flags = Centred | Transparent},
    {.name = "Aceptar", .kind = Kind::Button, .left = 1680, .top = 720, .width = 1800, .height = 540,
     .text = "Aceptar", .bg = kRed, .font = {"Arial", 14.25, true}},
};
// clang-format on

} // namespace

ErrorWindow::ErrorWindow() : Form("error", QStringLiteral("Error de selección"), 5115, 1515, QColor(192, 0, 0))
{
    build(kControls);
    setFixedSize(size());
    aceptar_ = require<QPushButton>("Aceptar");
    // Aceptar is both the default and the cancel button.
    setDefaultButton(aceptar_);
    setCancelButton(aceptar_);
    connect(aceptar_, &QPushButton::clicked, this, &QWidget::hide);
}

void ErrorWindow::showError()
{
    bringForward();
    aceptar_->setFocus();
}

} // namespace recibo
