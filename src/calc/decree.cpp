#include "calc/groups.h"
#include "calc/numbers.h"
#include "calc/text.h"

namespace recibo {

namespace {

using scale::kDecreeBands;
using scale::kDecreeBandTop;
using scale::kDecreeFullDayPoints;

// The column of the supplement table for these basic and full-day points.
int bandColumn(int basicPoints, int fullDayPoints)
{
    if (fullDayPoints >= kDecreeFullDayPoints)
        return basicPoints <= kDecreeBandTop[0] ? kDecreeBands : kDecreeBands + 1;
    int column = 0;
    while (column < kDecreeBands - 1 && basicPoints > kDecreeBandTop[static_cast<std::size_t>(column)])
        ++column;
    return column;
}

// Adds the band of basic points of a column as the explanation names it:
// "hasta 971", "de 972 a 1169", "2221 o más".
void appendBandText(std::string &out, int column, std::string_view sep)
{
    const auto top = [](int band) { return kDecreeBandTop[static_cast<std::size_t>(band)]; };
    // From the full-day threshold on the table splits at the first band's top.
    if (column == 0 || column == kDecreeBands)
        text::appendAll(out, sep, "hasta ", top(0));
    else if (column == kDecreeBands + 1)
        text::appendAll(out, sep, top(0) + 1, " o más");
    else if (column == kDecreeBands - 1)
        text::appendAll(out, sep, top(column - 1) + 1, " o más");
    else
        text::appendAll(out, sep, "de ", top(column - 1) + 1, " a ", top(column));
}

} // namespace

void cargoSupplement(Run &run)
{
    CalcState &st = run.state;
    const int option = run.values.seniorityOption;
    const int column = bandColumn(st.ptsbasicos, st.ptsjorcom);
    st.montoart23 = Money::whole(scale::kDecreeSupplement[option][column]);
    run.art23Why = text::join(
        run.sep, "Tabla del decreto 5863/05: ", scale::kSeniorityBands[static_cast<std::size_t>(option)].caption, ", ",
        st.ptsbasicos, " puntos básicos (");
    appendBandText(run.art23Why, column, run.sep);
    text::appendAll(run.art23Why, run.sep, "), jornada completa ", st.ptsjorcom,
                    column < kDecreeBands ? " puntos (menos de " : " puntos (", kDecreeFullDayPoints,
                    column < kDecreeBands ? ") = " : " o más) = ", st.montoart23);
}

void hoursSupplement(Run &run)
{
    const scale::HoursLevel &level = run.hoursLevel();
    const double hours = run.values.hoursCode06;
    CalcState &st = run.state;
    if (hours >= level.supplementFullFromHours) {
        st.montoart23 = Money::whole(level.supplementFullAmount);
        run.art23Quantity = text::whole(level.supplementFullFromHours);
        run.art23Why = text::join(run.sep, hours, text::unit(hours, " hora", " horas"), " con código 06 (",
                                  level.supplementFullFromHours, " o más): monto fijo ", st.montoart23);
    } else {
        st.montoart23 = Money::fromDouble(hours * scale::kDecreePesosPerHour06);
        run.art23Quantity = run.input.hoursCode06;
        run.art23Why = text::join(run.sep, hours, text::unit(hours, " hora", " horas"), " con código 06 × ",
                                  scale::kDecreePesosPerHour06, " = ", st.montoart23);
    }
}

void decreeRows(Run &run)
{
    CalcState &st = run.state;
    const std::string_view sep = run.sep;
    run.rows.earnings(scale::kDecreeSupplementRow, std::move(run.art23Quantity), st.montoart23,
                      std::move(run.art23Why));

    st.montoproduct = Money::fromDouble(st.montoart23.toDouble() * scale::kDecreeProductivityShare);
    run.rows.earnings(scale::kDecreeProductivityRow, doubleText(scale::kDecreeProductivityQuantity, sep),
                      st.montoproduct,
                      text::join(sep, st.montoart23, " × ", scale::kDecreeProductivityShare, " = ", st.montoproduct));
}

} // namespace recibo
