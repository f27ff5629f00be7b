#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

void cargoRows(Run &run)
{
    using namespace scale;
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
    head.compbas = cargo.compbas;
    head.proljor = cargo.proljor;
    head.jorcom = cargo.jorcom;
    head.tardif = cargo.tardif;

    st.montobasico = Money::fromDouble(st.ptsbasicos * kPointValue);
    st.ptsjorcom = in.ptsjorcom;
    st.ptsproljor = in.ptsproljor;
    st.ptstardif = in.ptstardif;
    st.ptscompbas = in.ptscompbas;
    st.montocompbas = Money::fromDouble(kPointValue * st.ptscompbas);
    st.montojorcom = Money::fromDouble(st.ptsjorcom * kDayPointValue);
    st.montoproljor = Money::fromDouble(st.ptsproljor * kDayPointValue);
    st.montojornada = st.montojorcom + st.montoproljor;
    st.montotardif = Money::fromDouble(st.ptstardif.toDouble() * kPointValue);

    const std::string_view sep = run.sep;
    run.rows.earnings(kCategoryRow, std::string(kCategoryQuantity), st.montobasico,
                      text::join(sep, st.ptsbasicos, text::unit(st.ptsbasicos, " punto × ", " puntos × "), kPointValue,
                                 " = ", st.montobasico));
    if (st.ptscompbas > 0)
        run.rows.earnings(kComplementRow, "", st.montocompbas,
                          text::join(sep, st.ptscompbas, text::unit(st.ptscompbas, " punto × ", " puntos × "),
                                     kPointValue, " = ", st.montocompbas));
    // Each day row shows its own amount; together they make up montojornada.
    if (st.ptsjorcom > 0)
        run.rows.earnings(kFullDayRow, "", st.montojorcom,
                          text::join(sep, st.ptsjorcom, text::unit(st.ptsjorcom, " punto × ", " puntos × "),
                                     kDayPointValue, " = ", st.montojorcom));
    if (st.ptsproljor > 0)
        run.rows.earnings(kExtendedDayRow, "", st.montoproljor,
                          text::join(sep, st.ptsproljor, text::unit(st.ptsproljor, " punto × ", " puntos × "),
                                     kDayPointValue, " = ", st.montoproljor));
    if (st.ptstardif > Money())
        run.rows.earnings(kDifferentiatedTaskRow, "", st.montotardif,
                          text::join(sep, st.ptstardif, text::unit(st.ptstardif, " punto × ", " puntos × "),
                                     kPointValue, " = ", st.montotardif));

    // A component without points pays nothing.
    if (!(st.ptscompbas > 0))
        st.montocompbas = Money();
    if (!(st.ptstardif > Money()))
        st.montotardif = Money();
}

} // namespace recibo
