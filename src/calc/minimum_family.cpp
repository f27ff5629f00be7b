#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Minimum top-up: a cargo of more than 900 basic points is lifted to a
// take-home estimate of 1290. The estimate takes off 19.6 % of the
// contribution base, leaving out the decree supplement and the zone
// supplement with its share of the plus (zone x 1.07).
constexpr int kMinimumAbovePoints = 900;
constexpr int kGuaranteedTakeHome = 1290;
constexpr double kWithheldShare = 0.196;
constexpr double kZoneWithPlus = 1.07;

// Transport: 0.13472 a kilometre, four weeks a month, capped at 161.8.
constexpr double kPesosPerKm = 0.13472;
constexpr int kWeeksPerMonth = 4;
constexpr double kTransportCap = 161.8;
constexpr Money kTransportCapAmount = Money::fromUnits(1'618'000);

// Child allowance by the band of the earnings sum: up to 1900, up to 2600,
// above 2600.
struct ChildBand {
    int upTo; // highest earnings sum of the band, in whole pesos
    int perChild;
    std::string_view text;
};
constexpr ChildBand kChildBands[] = {
    {1900, 75, "hasta 1900"},
    {2600, 60, "más de 1900 y hasta 2600"},
};
constexpr ChildBand kTopChildBand{0, 45, "más de 2600"};

// Flat allowances.
constexpr int kPerDisabledChild = 400;
constexpr int kLargeFamilyChildren = 3;
constexpr int kLargeFamilyAmount = 3;
constexpr int kSpouseAmount = 15;

} // namespace

void minimumRow(Run &run)
{
    CalcState &st = run.state;
    run.bolsillo = 0;
    st.montominimo = Money();
    if (!run.cargoPath() || st.ptsbasicos <= kMinimumAbovePoints)
        return;

    const Money z = Money::fromDouble(st.montozona.toDouble() * kZoneWithPlus);
    const Money earned = run.montojornada + st.montobasico + st.montocompbas + st.montoantig + st.montotardif +
                         st.montoplus + st.montoincentivo + st.montonegro;
    const Money withheldFrom = st.baseaportes - st.montoart23 - st.montoproduct - z;
    run.bolsillo = earned.toDouble() - kWithheldShare * withheldFrom.toDouble();
    if (!(run.bolsillo < kGuaranteedTakeHome))
        return;

    st.montominimo = Money::fromDouble(kGuaranteedTakeHome - run.bolsillo);
    const std::string_view sep = run.sep;
    run.rows.earnings("172", "", "Adic para mínimo", st.montominimo, amountText(st.montominimo, sep),
                      text::join(sep, kGuaranteedTakeHome, " − ", run.bolsillo, " = ", st.montominimo,
                                 "; estimado de bolsillo ", run.bolsillo, " = ", earned, " − ", kWithheldShare, " × ",
                                 withheldFrom));
}

void transportRow(Run &run)
{
    CalcState &st = run.state;
    if (!run.input.transport) {
        st.kmsemanales = 0;
        st.montotransporte = Money();
        return;
    }
    st.kmsemanales = run.values.kilometres;
    const double product = st.kmsemanales * kPesosPerKm * kWeeksPerMonth;
    std::string why;
    if (product >= kTransportCap) {
        st.montotransporte = kTransportCapAmount;
        why = text::join(run.sep, st.kmsemanales, " km × ", kPesosPerKm, " × ", kWeeksPerMonth, " = ", product,
                         ", tope ", st.montotransporte);
    } else {
        st.montotransporte = Money::fromDouble(product);
        why = text::join(run.sep, st.kmsemanales, " km × ", kPesosPerKm, " × ", kWeeksPerMonth, " = ",
                         st.montotransporte);
    }
    run.rows.earnings("029", "", "transporte por KM", st.montotransporte, amountText(st.montotransporte, run.sep),
                      std::move(why));
}

void familyRows(Run &run)
{
    CalcState &st = run.state;
    const std::string_view sep = run.sep;

    if (run.input.children) {
        st.numhijos = run.values.children;
        // Every earnings amount so far except transport.
        const Money sum = run.montojornada + st.montobasico + st.montocompbas + st.montoart23 + st.montoproduct +
                          st.montotardif + st.montoantig + st.montoplus + st.montominimo + st.montozona +
                          st.montoincentivo + st.montonegro;
        const ChildBand *band = &kTopChildBand;
        for (const ChildBand &candidate : kChildBands) {
            if (sum <= Money::whole(candidate.upTo)) {
                band = &candidate;
                break;
            }
        }
        st.montohijos = Money::whole(st.numhijos * band->perChild);
        run.rows.earnings("1001", text::whole(st.numhijos), "Sal fam hijo", st.montohijos,
                          amountText(st.montohijos, sep),
                          text::join(sep, st.numhijos, st.numhijos == 1 ? " hijo × " : " hijos × ", band->perChild,
                                     " = ", st.montohijos, " (haberes de ", sum, ": ", band->text, ")"));
    } else {
        st.numhijos = 0;
        st.montohijos = Money();
    }

    if (run.input.disabledChildren) {
        st.numhijosdisc = run.values.disabledChildren;
        st.montohijosdisc = Money::whole(st.numhijosdisc * kPerDisabledChild);
        run.rows.earnings("1002", text::whole(st.numhijosdisc), "Sal fam hijo diferenciado", st.montohijosdisc,
                          amountText(st.montohijosdisc, sep),
                          text::join(sep, st.numhijosdisc, st.numhijosdisc == 1 ? " hijo × " : " hijos × ",
                                     kPerDisabledChild, " = ", st.montohijosdisc));
    } else {
        st.numhijosdisc = 0;
        st.montohijosdisc = Money();
    }

    const int children = st.numhijos + st.numhijosdisc;
    if (children >= kLargeFamilyChildren) {
        run.montofamnum = kLargeFamilyAmount;
        const Money amount = Money::whole(run.montofamnum);
        run.rows.earnings("1003", text::whole(children), "Familia numerosa", amount, amountText(amount, sep),
                          text::join(sep, "Monto fijo con ", children, " hijos (3 o más): ", amount));
    } else {
        run.montofamnum = 0;
    }

    if (run.input.spouse) {
        st.montoconyuge = Money::whole(kSpouseAmount);
        SlipRow &row = run.rows.earnings("1010", "", "Sal fam Cony", st.montoconyuge, amountText(st.montoconyuge, sep),
                                         text::join(sep, "Monto fijo por cónyuge: ", st.montoconyuge));
        row.showQuantity = false;
    } else {
        st.montoconyuge = Money();
    }
}

} // namespace recibo
