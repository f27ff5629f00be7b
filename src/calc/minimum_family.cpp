#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

void minimumRow(Run &run)
{
    using namespace scale;
    CalcState &st = run.state;
    if (!run.cargoPath() || st.ptsbasicos <= kMinimumAbovePoints)
        return;

    const Money z = Money::fromDouble(st.montozona.toDouble() * kZoneWithPlus);
    const Money earned = takeHomeEarnings(st);
    const Money withheldFrom = st.baseaportes - st.montoart23 - st.montoproduct - z;
    st.bolsillo = earned.toDouble() - kWithheldShare * withheldFrom.toDouble();
    if (!(st.bolsillo < kGuaranteedTakeHome))
        return;

    st.montominimo = Money::fromDouble(kGuaranteedTakeHome - st.bolsillo);
    run.rows.earnings(kMinimumRow, "", st.montominimo,
                      text::join(run.sep, kGuaranteedTakeHome, " − ", st.bolsillo, " = ", st.montominimo,
                                 "; estimado de bolsillo ", st.bolsillo, " = ", earned, " − ", kWithheldShare, " × ",
                                 withheldFrom));
}

void transportRow(Run &run)
{
    using namespace scale;
    CalcState &st = run.state;
    if (!run.input.transport)
        return;
    st.kmsemanales = run.values.kilometres;
    const double product = st.kmsemanales * kPesosPerKm * kWeeksPerMonth;
    std::string why = text::join(run.sep, st.kmsemanales, " km × ", kPesosPerKm, " × ", kWeeksPerMonth, " = ");
    if (product >= kTransportCap.toDouble()) {
        st.montotransporte = kTransportCap;
        text::appendAll(why, run.sep, product, ", tope ", st.montotransporte);
    } else {
        st.montotransporte = Money::fromDouble(product);
        text::appendAll(why, run.sep, st.montotransporte);
    }
    run.rows.earnings(kTransportRow, "", st.montotransporte, std::move(why));
}

namespace {

// The allowance per child for the band of `sum`, and the band as the
// explanation names it ("hasta 1900", "más de 1900 y hasta 2600", "más de
// 2600").
int perChild(Money sum, std::string &why, std::string_view sep)
{
    using namespace scale;
    int from = 0;
    for (const ChildBand &band : kChildBands) {
        if (sum <= Money::whole(band.upTo)) {
            if (from == 0)
                text::appendAll(why, sep, "hasta ", band.upTo);
            else
                text::appendAll(why, sep, "más de ", from, " y hasta ", band.upTo);
            return band.perChild;
        }
        from = band.upTo;
    }
    text::appendAll(why, sep, "más de ", from);
    return kPerChildAboveBands;
}

} // namespace

void familyRows(Run &run)
{
    using namespace scale;
    CalcState &st = run.state;
    const std::string_view sep = run.sep;

    if (run.input.children) {
        st.numhijos = run.values.children;
        const Money sum = childBandSum(st);
        std::string band;
        const int amount = perChild(sum, band, sep);
        st.montohijos = Money::whole(st.numhijos * amount);
        run.rows.earnings(kChildRow, text::whole(st.numhijos), st.montohijos,
                          text::join(sep, st.numhijos, text::unit(st.numhijos, " hijo × ", " hijos × "), amount, " = ",
                                     st.montohijos, " (haberes de ", sum, ": ", band, ")"));
    }

    if (run.input.disabledChildren) {
        st.numhijosdisc = run.values.disabledChildren;
        st.montohijosdisc = Money::whole(st.numhijosdisc * kPerDisabledChild);
        run.rows.earnings(kDisabledChildRow, text::whole(st.numhijosdisc), st.montohijosdisc,
                          text::join(sep, st.numhijosdisc, text::unit(st.numhijosdisc, " hijo × ", " hijos × "),
                                     kPerDisabledChild, " = ", st.montohijosdisc));
    }

    const int children = st.numhijos + st.numhijosdisc;
    if (children >= kLargeFamilyChildren) {
        st.montofamnum = Money::whole(kLargeFamilyAmount);
        run.rows.earnings(kLargeFamilyRow, text::whole(children), st.montofamnum,
                          text::join(sep, "Monto fijo con ", children, " hijos (", kLargeFamilyChildren,
                                     " o más): ", st.montofamnum));
    }

    if (run.input.spouse) {
        st.montoconyuge = Money::whole(kSpouseAmount);
        SlipRow &row = run.rows.earnings(kSpouseRow, "", st.montoconyuge,
                                         text::join(sep, "Monto fijo por cónyuge: ", st.montoconyuge));
        row.showQuantity = false;
    }
}

} // namespace recibo
