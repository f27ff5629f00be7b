#include <cmath>

#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// An amount paid by the hour up to a cap; the explanation says which.
Money cappedByHours(double hours, double rate, int cap, std::string_view sep, std::string &why)
{
    const double product = hours * rate;
    if (product >= cap) {
        const Money amount = Money::whole(cap);
        why =
            text::join(sep, hours, text::unit(hours, " hora × ", " horas × "), rate, " = ", product, ", tope ", amount);
        return amount;
    }
    const Money amount = Money::fromDouble(product);
    why = text::join(sep, hours, text::unit(hours, " hora × ", " horas × "), rate, " = ", amount);
    return amount;
}

// The quantity of rows 084 and 113 on the hours paths: the hours as typed,
// or the level's limit once the hours reach it. The limit is a test of its
// own, apart from the cap of the amount.
std::string hoursQuantity(double hours, const std::string &typed, int limit)
{
    return hours >= limit ? text::whole(limit) : typed;
}

} // namespace

void cargoNationalSums(Run &run)
{
    using namespace scale;
    CalcState &st = run.state;
    const bool fullDay = st.ptsjorcom >= kNationalFullDayPoints;
    const auto fixedAmountWhy = [&](Money amount) {
        return fullDay ? text::join(run.sep, "Monto fijo con ", kNationalFullDayPoints,
                                    " puntos o más de jornada completa: ", amount)
                       : text::join(run.sep, "Monto fijo con menos de ", kNationalFullDayPoints,
                                    " puntos de jornada completa: ", amount);
    };
    if (run.input.incentive) {
        st.montoincentivo = Money::whole(fullDay ? kIncentiveFullDay : kIncentiveBelowFullDay);
        run.incentivoWhy = fixedAmountWhy(st.montoincentivo);
    }
    st.montonegro = Money::whole(fullDay ? kNegroFullDay : kNegroBelowFullDay);
    run.negroWhy = fixedAmountWhy(st.montonegro);
}

void hoursNationalSums(Run &run)
{
    const scale::HoursLevel &level = run.hoursLevel();
    const InputValues &in = run.values;
    CalcState &st = run.state;

    if (in.hoursIncentive > 0)
        st.montoincentivo =
            cappedByHours(in.hoursIncentive, level.incentivePerHour, scale::kIncentiveCap, run.sep, run.incentivoWhy);
    st.montonegro = cappedByHours(in.hoursCode113, level.negroPerHour, scale::kNegroCap, run.sep, run.negroWhy);

    run.incentivoQuantity = hoursQuantity(in.hoursIncentive, run.input.hoursIncentive, level.nationalQuantityLimit);
    run.negroQuantity = hoursQuantity(in.hoursCode113, run.input.hoursCode113, level.nationalQuantityLimit);
}

void nationalRows(Run &run)
{
    const CalcState &st = run.state;
    if (st.montoincentivo > Money())
        run.rows.earnings(scale::kIncentiveRow, std::move(run.incentivoQuantity), st.montoincentivo,
                          std::move(run.incentivoWhy));
    run.rows.earnings(scale::kNegroRow, std::move(run.negroQuantity), st.montonegro, std::move(run.negroWhy));
}

void plusRow(Run &run)
{
    CalcState &st = run.state;
    const Money base = supplementedPay(st);
    st.montoplus = Money::fromDouble(base.toDouble() * scale::kPlusShare);
    run.rows.earnings(
        scale::kPlusRow, std::string(scale::kPlusQuantity), st.montoplus,
        text::join(run.sep, std::lround(scale::kPlusShare * 100), " % de ", base, " (", kSupplementedPayParts, ")"));
}

void absenceReduction(Run &run)
{
    CalcState &st = run.state;
    const double days = run.values.absenceDays;
    // Only whole days 1, 2 and 3 withhold a share; fractions up to 3 withhold nothing.
    for (std::size_t i = 0; i < scale::kAbsenceShare.size(); ++i) {
        const double share = scale::kAbsenceShare[i];
        if (days == static_cast<double>(i + 1)) {
            st.montoreajuste = Money::fromDouble(st.montoplus.toDouble() * share);
            run.reajusteWhy =
                text::join(run.sep, "Plus de productividad ", st.montoplus, " × ", share, " = ", st.montoreajuste, " (",
                           i + 1, text::unit(i + 1, " día", " días"), " de inasistencia)");
            return;
        }
    }
    constexpr auto wholePlusAfterDays = static_cast<double>(scale::kAbsenceShare.size());
    if (days > wholePlusAfterDays) {
        st.montoreajuste = st.montoplus;
        run.reajusteWhy = text::join(run.sep, "Todo el plus de productividad: ", st.montoplus, " (", days,
                                     " días de inasistencia, más de ", scale::kAbsenceShare.size(), ")");
    }
}

} // namespace recibo
