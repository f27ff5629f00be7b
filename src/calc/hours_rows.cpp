#include "calc/groups.h"
#include "calc/numbers.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Value of one point.
constexpr double kPointValue = 0.63;

struct HoursLevel {
    double pointsPerHour;    // points that one teaching hour is worth
    std::string_view carsel; // what the slip's selection panel says is paid
    std::string_view row001; // description of row 001
};

constexpr HoursLevel kSecondary{64.7, "Horas de nivel medio", "Hs. N. Medio"};
constexpr HoursLevel kHigher{86.9, "Horas de nivel superior", "Hs. N. Superior"};

} // namespace

void hoursRows(Run &run)
{
    const HoursLevel &level = run.secondaryHours() ? kSecondary : kHigher;
    const std::string &typed = run.secondaryHours() ? run.input.hoursSecondary : run.input.hoursHigher;
    const double hours = run.values.hours;
    CalcState &st = run.state;
    const std::string_view sep = run.sep;

    const double points = hours * level.pointsPerHour;
    SlipHead &head = run.rows.slip().head;
    head.label11 = "Cantidad de horas";
    head.numcargo = typed;
    head.punbasicos = doubleText(points, sep);
    head.carsel = level.carsel;
    head.showPointBoxes = false;

    // Hours carry none of the components of a position.
    st.ptsjorcom = 0;
    st.ptsproljor = 0;
    st.ptstardif = Money();
    st.montocompbas = Money();
    st.montotardif = Money();

    st.montobasico = Money::fromDouble(hours * level.pointsPerHour * kPointValue);
    run.rows.earnings(
        "001", typed, level.row001, st.montobasico, basicAmountText(st.montobasico, sep),
        text::join(sep, hours, " horas × ", level.pointsPerHour, " puntos × ", kPointValue, " = ", st.montobasico));
}

} // namespace recibo
