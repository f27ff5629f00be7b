#include <array>

#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Where each deduction of the scale keeps its amount, in the same order.
constexpr std::array<Money CalcState::*, DeductionCount> kDeductionAmount{
    &CalcState::montoiosper, &CalcState::montoosplad,   &CalcState::montojubilacion, &CalcState::montoley4035,
    &CalcState::montovesnar, &CalcState::montocajacomp, &CalcState::montoseguro,
};
static_assert(scale::kDeductions.size() == DeductionCount);

} // namespace

void absenceRow(Run &run)
{
    const CalcState &st = run.state;
    if (st.montoreajuste > Money())
        run.rows.deduction(scale::kAbsenceRow, run.input.absenceDays, st.montoreajuste, std::move(run.reajusteWhy));
}

void deductionRows(Run &run)
{
    CalcState &st = run.state;
    for (std::size_t i = 0; i < scale::kDeductions.size(); ++i) {
        if (!run.input.deductions[i])
            continue;
        const scale::DeductionRate &d = scale::kDeductions[i];
        const Money base = d.withIncentive ? st.baseaportes + st.montoincentivo : st.baseaportes;
        Money &amount = st.*kDeductionAmount[i];
        amount = Money::fromDouble(base.toDouble() * d.rate);
        std::string why = text::join(run.sep, d.quantity, " de la base de aportes ", st.baseaportes);
        if (d.withIncentive)
            text::appendAll(why, run.sep, " + incentivo ", st.montoincentivo);
        run.rows.deduction(d.row, std::string(d.quantity), amount, std::move(why));
    }
}

} // namespace recibo
