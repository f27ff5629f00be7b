#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// "a + b + c = total" over the amounts shown in one column of the slip.
// Every row's figure is the money text of its value.
std::string columnSum(const Slip &slip, Column column, Money total, std::string_view sep)
{
    std::string why;
    why.reserve(256);
    int terms = 0;
    for (const SlipRow &row : slip.rows) {
        if (row.column != column)
            continue;
        if (terms++ > 0)
            why += " + ";
        // The figure exactly as the row shows it, without "$ " (or "$").
        std::string_view shown = row.amount;
        shown.remove_prefix(shown.starts_with("$ ") ? 2 : 1);
        why += shown;
    }
    if (terms == 0)
        return text::join(sep, column == Column::Earnings ? "Sin haberes: " : "Sin descuentos: ", total);
    if (terms > 1) {
        why += " = ";
        text::append(why, sep, total);
    }
    return why;
}

} // namespace

void totals(Run &run)
{
    CalcState &st = run.state;
    Slip &slip = run.rows.slip();
    const std::string_view sep = run.sep;

    slip.layout = totalsLayout(run.rows.rowCounter());

    // The totals are sums of the amounts themselves, never of what the slip
    // shows; the withheld plus is a deduction, not less earnings.
    st.totalhaberes = run.montojornada + st.montobasico + st.montocompbas + st.montoart23 + st.montoproduct +
                      st.montotardif + st.montoantig + st.montoplus + st.montominimo + st.montohijos +
                      st.montohijosdisc + Money::whole(run.montofamnum) + st.montoconyuge + st.montozona +
                      st.montoincentivo + st.montonegro + st.montotransporte;
    st.totaldescuentos = st.montoiosper + st.montoosplad + st.montojubilacion + st.montoley4035 + st.montovesnar +
                         st.montocajacomp + st.montoseguro + st.montoreajuste;
    st.totalliquido = st.totalhaberes - st.totaldescuentos;

    slip.totalHaberes = st.totalhaberes;
    slip.totalDescuentos = st.totaldescuentos;
    slip.totalLiquido = st.totalliquido;
    slip.thaberes = amountText(st.totalhaberes, sep);
    slip.tdescuentos = amountText(st.totaldescuentos, sep);
    slip.liquido = amountText(st.totalliquido, sep);
    slip.thaberesExplanation = columnSum(slip, Column::Earnings, st.totalhaberes, sep);
    slip.tdescuentosExplanation = columnSum(slip, Column::Deductions, st.totaldescuentos, sep);
    slip.liquidoExplanation = text::join(sep, "Total haberes ", st.totalhaberes, " − total descuentos ",
                                         st.totaldescuentos, " = ", st.totalliquido);
}

} // namespace recibo
