#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// The total of one column of the slip: the sum of the amounts of its rows.
// The explanation adds them up as the rows show them: "a + b + c = total".
Money columnTotal(const Slip &slip, Column column, std::string &why, std::string_view sep)
{
    Money total;
    int terms = 0;
    why.reserve(256);
    for (const SlipRow &row : slip.rows) {
        if (row.column != column)
            continue;
        if (terms++ > 0)
            why += " + ";
        text::append(why, sep, row.value);
        total += row.value;
    }
    if (terms == 0)
        why = text::join(sep, column == Column::Earnings ? "Sin haberes: " : "Sin descuentos: ", total);
    else if (terms > 1)
        text::appendAll(why, sep, " = ", total);
    return total;
}

} // namespace

void totals(Run &run)
{
    CalcState &st = run.state;
    Slip &slip = run.rows.slip();
    const std::string_view sep = run.sep;

    slip.layout = totalsLayout(run.rows.rowCounter());

    // The withheld plus is a deduction row, not less earnings.
    st.totalhaberes = columnTotal(slip, Column::Earnings, slip.thaberesExplanation, sep);
    st.totaldescuentos = columnTotal(slip, Column::Deductions, slip.tdescuentosExplanation, sep);
    st.totalliquido = st.totalhaberes - st.totaldescuentos;

    slip.thaberes = amountText(st.totalhaberes, sep);
    slip.tdescuentos = amountText(st.totaldescuentos, sep);
    slip.liquido = amountText(st.totalliquido, sep);
    slip.liquidoExplanation = text::join(sep, "Total haberes ", st.totalhaberes, " − total descuentos ",
                                         st.totaldescuentos, " = ", st.totalliquido);
}

} // namespace recibo
