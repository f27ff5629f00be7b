#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Value of one basic, complement-of-basic or differentiated-task point.
constexpr double kPointValue = 0.63;

// Value of one full-day or extended-day point.
constexpr double kDayPointValue = 0.77;

} // namespace

void cargoRows(Run &run)
{
    const InputValues &in = run.values;
    const CargoChoice &cargo = run.input.cargo;
    CalcState &st = run.state;

    st.ptsbasicos = in.ptsbasicos;

    SlipHead &head = run.rows.slip().head;
    head.label11 = "Código del cargo";
    head.numcargo = cargo.code;
    head.punbasicos = cargo.basicPointsItem;
    head.carsel = cargo.name;
    head.showPointBoxes = true;

    st.montobasico = Money::fromDouble(st.ptsbasicos * kPointValue);
    st.ptsjorcom = in.ptsjorcom;
    st.ptsproljor = in.ptsproljor;
    st.ptstardif = in.ptstardif;
    const double ptscompbas = in.ptscompbas;
    st.montocompbas = Money::fromDouble(kPointValue * ptscompbas);
    st.montojorcom = Money::fromDouble(st.ptsjorcom * kDayPointValue);
    st.montoproljor = Money::fromDouble(st.ptsproljor * kDayPointValue);
    run.montojornada = st.montojorcom + st.montoproljor;
    st.montotardif = Money::fromDouble(st.ptstardif.toDouble() * kPointValue);

    const std::string_view sep = run.sep;
    run.rows.earnings("001", "1", "Asign. de la categoría", st.montobasico, basicAmountText(st.montobasico, sep),
                      text::join(sep, st.ptsbasicos, " puntos × ", kPointValue, " = ", st.montobasico));
    if (ptscompbas > 0)
        run.rows.earnings("002", "", "Comp. de Básico", st.montocompbas, amountText(st.montocompbas, sep),
                          text::join(sep, ptscompbas, " puntos × ", kPointValue, " = ", st.montocompbas));
    // Each day row shows its own amount; together they make up montojornada,
    // which is what the totals count.
    if (st.ptsjorcom > 0)
        run.rows.earnings("052", "", "Jornada completa", st.montojorcom, amountText(st.montojorcom, sep),
                          text::join(sep, st.ptsjorcom, " puntos × ", kDayPointValue, " = ", st.montojorcom));
    if (st.ptsproljor > 0)
        run.rows.earnings("052", "", "Prol. de Jornada", st.montoproljor, amountText(st.montoproljor, sep),
                          text::join(sep, st.ptsproljor, " puntos × ", kDayPointValue, " = ", st.montoproljor));
    if (st.ptstardif > Money())
        run.rows.earnings("016", "", "Tarea diferenciada", st.montotardif, amountText(st.montotardif, sep),
                          text::join(sep, st.ptstardif, " puntos × ", kPointValue, " = ", st.montotardif));

    // A component without points pays nothing.
    if (!(ptscompbas > 0))
        st.montocompbas = Money();
    if (!(st.ptstardif > Money()))
        st.montotardif = Money();
}

} // namespace recibo
