#include <array>

#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

struct DeductionRate {
    std::string_view code;
    std::string_view caption; // description on the slip
    double rate;
    std::string_view quantity; // the percentage as the slip shows it
    bool withIncentive;        // the base also holds the national incentive
    Money CalcState::*amount;
};

// The seven contributions and insurances, in the order of their rows; each
// is a share of the contribution base.
constexpr std::array<DeductionRate, DeductionCount> kDeductions{{
    {"505", "IOSPER", 0.03, "3 %", false, &CalcState::montoiosper},
    {"508", "OSPLAD", 0.03, "3 %", false, &CalcState::montoosplad},
    {"502", "Aporte Jub.", 0.16, "16 %", false, &CalcState::montojubilacion},
    {"504", "Ley 4035", 0.006, "0,6 %", false, &CalcState::montoley4035},
    {"332", "VESNAR", 0.02, "2 %", true, &CalcState::montovesnar},
    {"512", "Caja Comp.", 0.045, "4,5 %", false, &CalcState::montocajacomp},
    {"510", "Seguro 3011", 0.02, "2 %", false, &CalcState::montoseguro},
}};

} // namespace

void absenceRow(Run &run)
{
    const CalcState &st = run.state;
    if (st.montoreajuste > Money())
        run.rows.deduction("440", run.input.absenceDays, "Reajuste cod. 188", st.montoreajuste,
                           amountText(st.montoreajuste, run.sep), std::move(run.reajusteWhy));
}

void deductionRows(Run &run)
{
    CalcState &st = run.state;
    for (std::size_t i = 0; i < kDeductions.size(); ++i) {
        const DeductionRate &d = kDeductions[i];
        Money &amount = st.*d.amount;
        if (!run.input.deductions[i]) {
            amount = Money();
            continue;
        }
        const Money base = d.withIncentive ? st.baseaportes + st.montoincentivo : st.baseaportes;
        amount = Money::fromDouble(base.toDouble() * d.rate);
        std::string why = d.withIncentive ? text::join(run.sep, d.quantity, " de la base de aportes ", st.baseaportes,
                                                       " + incentivo ", st.montoincentivo)
                                          : text::join(run.sep, d.quantity, " de la base de aportes ", st.baseaportes);
        run.rows.deduction(std::string(d.code), std::string(d.quantity), d.caption, amount, amountText(amount, run.sep),
                           std::move(why));
    }
}

} // namespace recibo
