#include "calc/groups.h"
#include "calc/numbers.h"
#include "calc/text.h"

namespace recibo {

void hoursRows(Run &run)
{
    const scale::HoursLevel &level = run.hoursLevel();
    const bool secondary = run.values.path == PayPath::SecondaryHours;
    const std::string &typed = secondary ? run.input.hoursSecondary : run.input.hoursHigher;
    const double hours = run.values.hours;
    CalcState &st = run.state;
    const std::string_view sep = run.sep;

    // Hours carry none of the components of a position: those values stay 0.
    SlipHead &head = run.rows.slip().head;
    head.label11 = "Cantidad de horas";
    head.numcargo = typed;
    head.punbasicos = doubleText(hours * level.pointsPerHour, sep);
    head.carsel = level.paidText;
    head.showPointBoxes = false;

    st.montobasico = Money::fromDouble(hours * level.pointsPerHour * scale::kPointValue);
    run.rows.earnings(level.row, typed, st.montobasico,
                      text::join(sep, hours, text::unit(hours, " hora × ", " horas × "), level.pointsPerHour,
                                 " puntos × ", scale::kPointValue, " = ", st.montobasico));
}

} // namespace recibo
