#pragma once

#include <string>
#include <string_view>

#include "calc/slip.h"

namespace recibo {

// The captions of the three totals, as the slip prints them.
inline constexpr std::string_view kTotalHaberes = "Total Haberes";
inline constexpr std::string_view kTotalDescuentos = "Total descuentos";
inline constexpr std::string_view kLiquidoAPagar = "Liquido a pagar";

// What the slip's text copy is made of besides the calculation: the teacher's
// name, the date line and the comment written on the slip, as shown.
struct SlipTextExtras {
    std::string_view teacher;
    std::string_view dateLine;
    std::string_view comment;
};

// The slip as plain text, ready to paste into a spreadsheet or a message:
// the scale's line ("Desde Mayo de 2.008"); the selection panel as the
// calculation wrote it (what is paid; "Código del cargo" or "Cantidad de
// horas" with its value; "Puntaje" with the points; on the cargo path the
// four point boxes, each caption with its value); a header row (Código,
// Cantidad, Concepto, Haberes, Descuentos), then one row a line with its
// code, quantity, description, earnings and deductions separated by tabs,
// as the slip shows them; then the three totals, each caption with its
// amount in the column it stands in; then the teacher's name, the date line
// and, when there is one, the comment. Every line ends with a line feed.
std::string slipText(const Slip &slip, const SlipTextExtras &extras);

} // namespace recibo
