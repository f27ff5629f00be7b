#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Cargo: the national incentive (when the teacher receives it) and the second
// national sum are fixed amounts, the higher ones from 600 full-day points on.
constexpr int kFullDayPoints = 600;
constexpr int kIncentiveBelow = 110;
constexpr int kIncentiveFrom = 220;
constexpr int kNegroBelow = 100;
constexpr int kNegroFrom = 200;

// Hours: both sums are paid by the hour up to a cap. The quantity column
// shows the hours as typed, or the limit once the hours reach it.
constexpr int kIncentiveCap = 220;
constexpr int kNegroCap = 200;
struct NationalRates {
    double incentivePerHour;
    double negroPerHour;
    double quantityLimit;
    std::string_view limitText;
};
constexpr NationalRates kSecondary{7.33, 6.66, 30, "30"};
constexpr NationalRates kHigher{9.166, 8.333, 24, "24"};

// Productivity plus: 7 % of the pay of the position with seniority and zone.
constexpr double kPlusFactor = 0.07;

// Share of the plus withheld for 1, 2 and 3 days of absence; from more than 3
// days the whole plus is withheld.
constexpr double kAbsenceShare[] = {0.25, 0.5, 0.75};
constexpr double kWholePlusAfterDays = 3;

// An amount paid by the hour up to a cap; the explanation says which.
Money cappedByHours(double hours, double rate, int cap, std::string_view sep, std::string &why)
{
    const double product = hours * rate;
    if (product >= cap) {
        const Money amount = Money::whole(cap);
        why = text::join(sep, hours, " horas × ", rate, " = ", product, ", tope ", amount);
        return amount;
    }
    const Money amount = Money::fromDouble(product);
    why = text::join(sep, hours, " horas × ", rate, " = ", amount);
    return amount;
}

} // namespace

void cargoNationalSums(Run &run)
{
    CalcState &st = run.state;
    const bool fullDay = st.ptsjorcom >= kFullDayPoints;
    const std::string_view points =
        fullDay ? " con 600 puntos o más de jornada completa" : " con menos de 600 puntos de jornada completa";
    if (run.input.incentive) {
        st.montoincentivo = Money::whole(fullDay ? kIncentiveFrom : kIncentiveBelow);
        run.incentivoWhy = text::join(run.sep, "Monto fijo", points, ": ", st.montoincentivo);
    } else {
        st.montoincentivo = Money();
        run.incentivoWhy.clear();
    }
    st.montonegro = Money::whole(fullDay ? kNegroFrom : kNegroBelow);
    run.negroWhy = text::join(run.sep, "Monto fijo", points, ": ", st.montonegro);
    run.incentivoQuantity = {};
    run.negroQuantity = {};
}

void hoursNationalSums(Run &run)
{
    const NationalRates &rates = run.secondaryHours() ? kSecondary : kHigher;
    const InputValues &in = run.values;
    CalcState &st = run.state;

    if (in.hoursIncentive > 0) {
        st.montoincentivo =
            cappedByHours(in.hoursIncentive, rates.incentivePerHour, kIncentiveCap, run.sep, run.incentivoWhy);
    } else {
        st.montoincentivo = Money();
        run.incentivoWhy.clear();
    }
    st.montonegro = cappedByHours(in.hoursCode113, rates.negroPerHour, kNegroCap, run.sep, run.negroWhy);

    // The quantity limit is a test of its own, apart from the cap.
    run.incentivoQuantity =
        in.hoursIncentive >= rates.quantityLimit ? rates.limitText : std::string_view(run.input.hoursIncentive);
    run.negroQuantity =
        in.hoursCode113 >= rates.quantityLimit ? rates.limitText : std::string_view(run.input.hoursCode113);
}

void nationalRows(Run &run)
{
    CalcState &st = run.state;
    if (st.montoincentivo > Money())
        run.rows.earnings("084", std::string(run.incentivoQuantity), "Incentivo de Nación", st.montoincentivo,
                          amountText(st.montoincentivo, run.sep), std::move(run.incentivoWhy));
    run.rows.earnings("113", std::string(run.negroQuantity), "Negro de Nación", st.montonegro,
                      amountText(st.montonegro, run.sep), std::move(run.negroWhy));
}

void plusRow(Run &run)
{
    CalcState &st = run.state;
    const Money base =
        run.montojornada + st.montobasico + st.montocompbas + st.montotardif + st.montoantig + st.montozona;
    st.montoplus = Money::fromDouble(base.toDouble() * kPlusFactor);
    run.rows.earnings(
        "188", "7.0", "Plus Productividad", st.montoplus, amountText(st.montoplus, run.sep),
        text::join(run.sep, "7 % de ", base, " (básico + comp. + tarea dif. + jornada + antigüedad + zona)"));
}

void absenceReduction(Run &run)
{
    CalcState &st = run.state;
    const double days = run.values.absenceDays;
    const auto withhold = [&](double share, std::string_view dayText) {
        st.montoreajuste = Money::fromDouble(st.montoplus.toDouble() * share);
        run.reajusteWhy = text::join(run.sep, "Plus de productividad ", st.montoplus, " × ", share, " = ",
                                     st.montoreajuste, " (", dayText, " de inasistencia)");
    };
    // Only whole days 1, 2 and 3 withhold a share; fractions up to 3 withhold nothing.
    if (days == 1) {
        withhold(kAbsenceShare[0], "1 día");
    } else if (days == 2) {
        withhold(kAbsenceShare[1], "2 días");
    } else if (days == 3) {
        withhold(kAbsenceShare[2], "3 días");
    } else if (days > kWholePlusAfterDays) {
        st.montoreajuste = st.montoplus;
        run.reajusteWhy = text::join(run.sep, "Todo el plus de productividad: ", st.montoplus, " (", days,
                                     " días de inasistencia, más de 3)");
    } else {
        st.montoreajuste = Money();
        run.reajusteWhy.clear();
    }
}

void contributionBase(Run &run)
{
    CalcState &st = run.state;
    st.baseaportes = run.montojornada + st.montobasico + st.montocompbas + st.montotardif + st.montozona +
                     st.montoantig + st.montoart23 + st.montoproduct + st.montoplus - st.montoreajuste;
}

} // namespace recibo
